#include "FileServing.h"

#include "Misbehaviour.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

Lookup FindUnderRoot(const fs::path& root, const std::string& requestPath, fs::path& found) {
    if (requestPath.empty() || requestPath.front() != '/' ||
        requestPath.find('\0') != std::string::npos)
        return Lookup::Outside;
    const fs::path relative = fs::path(requestPath).relative_path();
    if (std::any_of(relative.begin(), relative.end(),
                    [](const fs::path& step) { return step == ".."; }))
        return Lookup::Outside;
    std::error_code error;
    const fs::path resolved = fs::canonical(root / relative, error);
    if (error)
        return Lookup::Missing;
    const auto [rootEnd, unused] =
        std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
    if (rootEnd != root.end())
        return Lookup::Outside;
    if (!fs::is_regular_file(resolved, error))
        return Lookup::Missing;
    found = resolved;
    return Lookup::Found;
}

namespace {

// Pages and their scripts go to browsers by type; everything else is plain bytes, as the
// control takes it.
const char* ContentTypeOf(const fs::path& file) {
    const std::string extension = file.extension().string();
    if (extension == ".html" || extension == ".htm")
        return "text/html; charset=utf-8";
    if (extension == ".js" || extension == ".mjs")
        return "text/javascript; charset=utf-8";
    return "application/octet-stream";
}

bool SetFileBody(const fs::path& file, httplib::Response& res, const ServerOptions& options) {
    auto stream = std::make_shared<std::ifstream>(file, std::ios::binary);
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (!*stream || error)
        return false;
    auto read = [stream](std::uint64_t offset, char* buffer, std::size_t length) {
        stream->clear();
        stream->seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(stream->read(buffer, static_cast<std::streamsize>(length)));
    };
    SetShapedBody(res, size, ContentTypeOf(file), read, options);
    return true;
}

// A strong entity tag of the file's size and modification time, and that time as an HTTP
// date: what a resuming client sends back in If-Range.
struct Validators {
    std::string entityTag;
    std::string lastModified;
};

Validators ValidatorsOf(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    const auto written = fs::last_write_time(file, error);
    const auto since = std::chrono::file_clock::to_sys(written).time_since_epoch();
    char tag[64];
    std::snprintf(tag, sizeof tag, "\"%llx-%llx\"", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(
                      std::chrono::duration_cast<std::chrono::nanoseconds>(since).count()));
    const std::time_t seconds =
        static_cast<std::time_t>(std::chrono::duration_cast<std::chrono::seconds>(since).count());
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char date[64];
    std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return {tag, date};
}

void SetRefusal(httplib::Response& res, Lookup lookup) {
    res.status = lookup == Lookup::Outside ? 403 : 404;
    res.set_content(lookup == Lookup::Outside ? "forbidden\n" : "not found\n", "text/plain");
}

} // namespace

void ServeFile(const fs::path& root, const httplib::Request& req, httplib::Response& res,
               const ServerOptions& options) {
    fs::path file;
    const Lookup lookup = FindUnderRoot(root, req.path, file);
    if (lookup != Lookup::Found) {
        SetRefusal(res, lookup);
        return;
    }
    const Validators validators = ValidatorsOf(file);
    res.set_header("ETag", validators.entityTag);
    res.set_header("Last-Modified", validators.lastModified);
    // A range is only served of the file the client began: an If-Range that names another
    // version gets the whole body.
    const bool otherVersion = req.has_header("If-Range") &&
                              req.get_header_value("If-Range") != validators.entityTag &&
                              req.get_header_value("If-Range") != validators.lastModified;
    if (options.ignoreRange || otherVersion) {
        // The library applies Range on its own; clearing it answers the whole body.
        const_cast<httplib::Request&>(req).ranges.clear();
    }
    if (!SetFileBody(file, res, options)) {
        res.status = 500;
        res.set_content("cannot read\n", "text/plain");
    }
}

void ServeStatusOverride(const fs::path& root, const httplib::Request& req, httplib::Response& res,
                         const ServerOptions& options) {
    const_cast<httplib::Request&>(req).ranges.clear();
    res.status = options.status;
    if (options.status >= 300 && options.status < 400)
        res.set_header("Location", "/");
    fs::path file;
    if (FindUnderRoot(root, req.path, file) == Lookup::Found && SetFileBody(file, res, options))
        return;
    res.set_content("<html><body>status " + std::to_string(options.status) + "</body></html>",
                    "text/html");
}
