#include "ServerOptions.h"

#include <charconv>
#include <string_view>

namespace {

template <typename Number> bool ParseNumber(std::string_view text, Number minimum, Number& out) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < minimum)
        return false;
    out = value;
    return true;
}

// Applies one "--flag value" pair; false when the flag is unknown or the value bad.
bool ApplyValueFlag(std::string_view flag, std::string_view value, ServerOptions& options) {
    if (flag == "--root")
        return !(options.root = value).empty();
    if (flag == "--port")
        return ParseNumber(value, 0, options.port) && options.port <= 65535;
    if (flag == "--log")
        return !(options.logPath = value).empty();
    if (flag == "--status")
        return ParseNumber(value, 100, options.status) && options.status <= 599;
    if (flag == "--status-path")
        return !(options.statusPath = value).empty();
    if (flag == "--drop-after")
        return ParseNumber<std::int64_t>(value, 0, options.dropAfter);
    if (flag == "--rate")
        return ParseNumber(value, 1, options.rateKbps);
    if (flag == "--trickle-ms")
        return ParseNumber(value, 1, options.trickleMs);
    if (flag == "--delay-ms")
        return ParseNumber(value, 0, options.delayMs);
    if (flag == "--upload-dir")
        return !(options.uploadDir = value).empty();
    if (flag == "--keep-body")
        return !(options.bodyDir = value).empty();
    if (flag == "--post-reply")
        return !(options.postReply = value).empty();
    if (flag == "--post-encoding")
        return value == "gzip" || value == "deflate" ? !(options.postEncoding = value).empty()
                                                     : false;
    if (flag == "--upload-error")
        return !(options.uploadError = value).empty();
    if (flag == "--quirk")
        return value == "redirect" || value == "range-416" || value == "range-start-off" ||
                       value == "endless" || value == "excess-length" || value == "huge-length" ||
                       value == "two-lengths"
                   ? !(options.quirk = value).empty()
                   : false;
    if (flag == "--cut")
        return value == "before-head" || value == "in-head" || value == "after-head" ||
                       value == "reset"
                   ? !(options.cut = value).empty()
                   : false;
    if (flag == "--cut-path")
        return !(options.cutPath = value).empty();
    if (flag == "--cut-skip")
        return ParseNumber(value, 0, options.cutSkip);
    return false;
}

} // namespace

ParseOutcome ParseServerOptions(int argc, char** argv, ServerOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        if (flag == "--help" || flag == "-h")
            return ParseOutcome::Help;
        if (flag == "--ignore-range") {
            options.ignoreRange = true;
            continue;
        }
        if (i + 1 >= argc || !ApplyValueFlag(flag, argv[i + 1], options)) {
            error = "bad or incomplete option: " + std::string(flag);
            return ParseOutcome::Bad;
        }
        ++i;
    }
    if (options.root.empty()) {
        error = "--root DIR is required";
        return ParseOutcome::Bad;
    }
    return ParseOutcome::Run;
}

const char* ServerUsage() {
    return R"(usage: vantrel-testserver --root DIR [options]

Serves the files under DIR over HTTP on 127.0.0.1 only, for tests and demos.
Prints "listening on PORT" as its first line. Stops on SIGTERM or SIGINT.

  --root DIR          folder to serve (required); paths leading outside it are refused (403)
  --port N            port to listen on; 0 (default) picks a free one
  --log FILE.jsonl    append one JSON line per request: method, path, query, headers,
                      body_length, remote_port (same port: same connection),
                      at_ms (when it arrived, in ms since the server started), parts
                      (name, filename, length, and value for a field without filename)
                      of a multipart body; header values are
                      logged as the server library parsed them (percent-decoded, empty
                      ones dropped)
  --status CODE       answer CODE instead of serving (body: the file if it exists, else a
                      short page; 3xx replies carry "Location: /") ...
  --status-path GLOB  ... for request paths matching GLOB (default "*", every path)
  --drop-after BYTES  close the connection after BYTES body bytes of a reply
  --ignore-range      answer a Range request with 200 and the whole body
  --rate KBPS         send reply bodies at about KBPS KiB per second
  --trickle-ms MS     send reply bodies one byte every MS milliseconds (above 1000: under
                      one byte per second)
  --delay-ms MS       wait MS milliseconds before answering each request
  --upload-dir DIR    store the "file_attach" part of a multipart POST (any path) under DIR,
                      named by its "path" field and its filename's last step, never outside
                      DIR; answers 200 with the stored path ("/folder/name"). --status then
                      also matches the path with its query (e.g. "*upinx=1")
  --upload-error TEXT answer every upload with "[page error:]TEXT"
  --keep-body DIR     store every POST body as it arrived, unparsed, as DIR/N.body (N counts
                      from 1), its request line and headers as DIR/N.head ("Name: value"
                      lines as the server library parsed them), and answer 200 with
                      "/N.body"; takes the place of --upload-dir
  --post-reply FILE   answer every POST that is echoed or kept with the bytes of FILE
  --post-encoding C   compress those POST replies as C ("gzip" or "deflate") and say so in
                      Content-Encoding, whatever the request accepts
  --quirk NAME        one protocol oddity: "redirect" (GET /hop/N/PATH answers 302 to
                      /hop/N-1/PATH, /hop/0/PATH to /PATH, /hop-ftp/PATH to an ftp: URL),
                      "range-416" (a Range request gets 416 with "Content-Range: bytes */SIZE"),
                      "range-start-off" (a Range request gets 206 starting one byte late),
                      "endless" (every GET gets 200 and a chunked body of "x" that never
                      ends; --rate applies), "excess-length" (the file with a Content-Length
                      that is 64 bytes short of what follows), "huge-length" (the file with
                      "Content-Length: 99999999999999999999999"), "two-lengths" (the file
                      with two different Content-Length lines, the second true); the last
                      three close the connection after the bytes
  --cut WHERE         break the connection of a reply: "before-head" (close without a
                      byte), "in-head" (close after the status line and part of a header),
                      "after-head" (the whole head, then close without a body byte),
                      "reset" (reset instead of answering; a POST body is read first) ...
  --cut-path GLOB     ... for requests whose path, or path and query, match GLOB (default
                      "*") ...
  --cut-skip N        ... after letting the first N of those through (default 0)
  --help              this text

GET serves files, with single byte ranges (206 and Content-Range), ETag and Last-Modified; a
Range whose If-Range names another version of the file gets the whole file (200).
POST answers 200 with the request body echoed back (multipart bodies: empty reply).
Bad options exit with status 2.
)";
}
