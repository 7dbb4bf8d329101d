#include "Quirks.h"

#include "ConnectionCuts.h"
#include "FileServing.h"
#include "Misbehaviour.h"

#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHop = "/hop/";
constexpr std::string_view kFtpHop = "/hop-ftp/";

bool ServeRedirect(const httplib::Request& req, httplib::Response& res) {
    const std::string& path = req.path;
    std::string location;
    if (path.rfind(kFtpHop, 0) == 0) {
        location = "ftp://127.0.0.1/" + path.substr(kFtpHop.size());
    } else if (path.rfind(kHop, 0) == 0) {
        const std::size_t slash = path.find('/', kHop.size());
        if (slash == std::string::npos)
            return false;
        const int hops = std::atoi(path.substr(kHop.size(), slash - kHop.size()).c_str());
        const std::string rest = path.substr(slash);
        location = hops > 0 ? std::string(kHop) + std::to_string(hops - 1) + rest : rest;
    } else {
        return false;
    }
    res.status = 302;
    res.set_header("Location", location);
    res.set_content("moved\n", "text/plain");
    return true;
}

bool FileText(const fs::path& root, const std::string& path, std::string& text) {
    fs::path file;
    if (FindUnderRoot(root, path, file) != Lookup::Found)
        return false;
    std::ifstream stream(file, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return static_cast<bool>(stream) || stream.eof();
}

bool ServeRangeOddity(const fs::path& root, const httplib::Request& req, httplib::Response& res,
                      const ServerOptions& options) {
    std::string text;
    if (req.ranges.size() != 1 || !FileText(root, req.path, text))
        return false;
    const auto size = std::to_string(text.size());
    auto& ranges = const_cast<httplib::Request&>(req).ranges;
    const auto start = static_cast<std::size_t>(std::max<ssize_t>(ranges.front().first, 0));
    ranges.clear();
    if (options.quirk == "range-416") {
        res.status = 416;
        res.set_header("Content-Range", "bytes */" + size);
        res.set_content("range not satisfiable\n", "text/plain");
        return true;
    }
    const std::size_t late = std::min(start + 1, text.size());
    res.status = 206;
    res.set_header("Content-Range", "bytes " + std::to_string(late) + "-" +
                                        std::to_string(text.size() - 1) + "/" + size);
    res.set_content(text.substr(late), "application/octet-stream");
    return true;
}

// A chunked body of "x" that goes on until the client leaves or the server stops.
void ServeEndless(httplib::Response& res, const ServerOptions& options) {
    constexpr std::size_t kPiece = 16 * 1024;
    const int pauseMs =
        options.rateKbps > 0 ? static_cast<int>(kPiece * 1000 / (options.rateKbps * 1024)) : 0;
    res.set_chunked_content_provider("application/octet-stream",
                                     [pauseMs](std::size_t, httplib::DataSink& sink) {
                                         if (g_stopping)
                                             return false;
                                         const std::string piece(kPiece, 'x');
                                         SleepUnlessStopping(pauseMs);
                                         return sink.write(piece.data(), piece.size());
                                     });
}

// The file behind a head whose Content-Length lies, written raw and then closed.
bool ServeLyingLength(const fs::path& root, const httplib::Request& req, httplib::Response& res,
                      const std::string& quirk) {
    std::string text;
    if (!FileText(root, req.path, text))
        return false;
    const std::string size = std::to_string(text.size());
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n";
    if (quirk == "excess-length") {
        head += "Content-Length: " + size + "\r\n";
        text += std::string(64, '!');
    } else if (quirk == "huge-length") {
        head += "Content-Length: 99999999999999999999999\r\n";
    } else {
        head += "Content-Length: " + std::to_string(text.size() / 2) + "\r\n";
        head += "Content-Length: " + size + "\r\n";
    }
    if (!SendRawAndClose(req, head + "\r\n" + text)) {
        res.status = 500;
        res.set_content("connection not found\n", "text/plain");
    }
    return true;
}

} // namespace

bool ServeQuirk(const fs::path& root, const httplib::Request& req, httplib::Response& res,
                const ServerOptions& options) {
    if (options.quirk == "redirect")
        return ServeRedirect(req, res);
    if (options.quirk == "range-416" || options.quirk == "range-start-off")
        return ServeRangeOddity(root, req, res, options);
    if (options.quirk == "endless") {
        ServeEndless(res, options);
        return true;
    }
    if (options.quirk == "excess-length" || options.quirk == "huge-length" ||
        options.quirk == "two-lengths")
        return ServeLyingLength(root, req, res, options.quirk);
    return false;
}
