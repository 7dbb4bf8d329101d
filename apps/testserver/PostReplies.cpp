#include "PostReplies.h"

#include "Misbehaviour.h"

#include <fstream>
#include <iterator>
#include <zlib.h>

namespace {

constexpr int kGzipWindowBits = 15 + 16; // zlib's way of asking for a gzip wrapper
constexpr int kZlibWindowBits = 15;
constexpr int kMemoryLevel = 8;

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return !stream.bad();
}

} // namespace

std::string CompressedAs(const std::string& bytes, const std::string& coding) {
    if (coding != "gzip" && coding != "deflate")
        return bytes;
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED,
                     coding == "gzip" ? kGzipWindowBits : kZlibWindowBits, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return bytes;
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const bool whole = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return whole ? out : bytes;
}

void SetPostReply(httplib::Response& res, std::string body, const ServerOptions& options) {
    if (!options.postReply.empty() && !ReadFile(options.postReply, body)) {
        res.status = 500;
        res.set_content("cannot read --post-reply\n", "text/plain");
        return;
    }
    if (!options.postEncoding.empty()) {
        body = CompressedAs(body, options.postEncoding);
        res.set_header("Content-Encoding", options.postEncoding);
    }
    SetEchoBody(res, std::move(body), options);
}
