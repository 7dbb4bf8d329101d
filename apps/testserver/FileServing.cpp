#include "FileServing.h"

#include "Misbehaviour.h"

#include <algorithm>
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
    SetShapedBody(res, size, "application/octet-stream", read, options);
    return true;
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
    if (options.ignoreRange) {
        // The library applies Range on its own; this flag is the misbehaving server that
        // answers the whole body instead.
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
