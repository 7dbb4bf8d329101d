#include "UploadHandling.h"

#include "FileServing.h"
#include "Misbehaviour.h"
#include "PostReplies.h"

#include <atomic>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The steps of a client-supplied path that are safe to use as names below the upload folder:
// no empty, ".", ".." or NUL-holding step; both separators split.
std::vector<std::string> SafeSteps(const std::string& text) {
    std::vector<std::string> steps;
    std::string step;
    auto flush = [&] {
        if (!step.empty() && step != "." && step != ".." && step.find('\0') == std::string::npos)
            steps.push_back(step);
        step.clear();
    };
    for (char c : text) {
        if (c == '/' || c == '\\')
            flush();
        else
            step += c;
    }
    flush();
    return steps;
}

// The request line and every header of `req`, one "Name: value" line each, CRLF-ended.
void WriteHead(const httplib::Request& req, const fs::path& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << req.method << ' ' << req.target << ' ' << req.version << "\r\n";
    for (const auto& [name, value] : req.headers) {
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
            name == "LOCAL_PORT")
            continue; // the library's own entries, not sent by the client
        file << name << ": " << value << "\r\n";
    }
}

bool IsInside(const fs::path& folder, const fs::path& candidate) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(candidate, error);
    if (error)
        return false;
    const auto mismatch = std::mismatch(folder.begin(), folder.end(), real.begin(), real.end());
    return mismatch.first == folder.end();
}

// Receives one multipart body part by part.
class UploadReceiver {
public:
    explicit UploadReceiver(fs::path folder) : folder_(std::move(folder)) {}

    bool beginPart(const httplib::MultipartFormData& part) {
        finishFile();
        parts_.push_back({part.name, part.filename, 0, {}});
        if (part.name == "file_attach" && !stored_)
            return openTarget(part.filename);
        return true;
    }

    bool write(const char* data, std::size_t length) {
        if (!parts_.empty()) {
            LoggedPart& part = parts_.back();
            part.length += length;
            if (part.filename.empty() && part.value.size() < kLoggedValueLimit)
                part.value.append(data, std::min(length, kLoggedValueLimit - part.value.size()));
        }
        if (file_)
            file_->write(data, static_cast<std::streamsize>(length));
        return !file_ || file_->good();
    }

    // The stored file's path below the folder ("/a/b.txt"); empty when none was stored.
    std::string finish() {
        finishFile();
        return stored_ ? storedName_ : std::string();
    }
    const std::vector<LoggedPart>& parts() const { return parts_; }

private:
    std::string fieldValue(const std::string& name) const {
        for (const LoggedPart& part : parts_) {
            if (part.name == name && part.filename.empty())
                return part.value;
        }
        return {};
    }

    bool openTarget(const std::string& filename) {
        fs::path target = folder_;
        std::string name;
        for (const std::string& step : SafeSteps(fieldValue("path"))) {
            target /= step;
            name += "/" + step;
        }
        std::error_code error;
        fs::create_directories(target, error);
        const std::vector<std::string> fileSteps = SafeSteps(filename);
        const std::string base = fileSteps.empty() ? "file_attach.bin" : fileSteps.back();
        target /= base;
        name += "/" + base;
        if (!IsInside(folder_, target.parent_path()) || fs::is_symlink(target))
            return false;
        file_.emplace(target, std::ios::binary | std::ios::trunc);
        storedName_ = name;
        return file_->is_open();
    }

    void finishFile() {
        if (!file_)
            return;
        file_->close();
        stored_ = !file_->fail();
        file_.reset();
    }

    fs::path folder_;
    std::vector<LoggedPart> parts_;
    std::optional<std::ofstream> file_;
    std::string storedName_;
    bool stored_ = false;
};

bool StatusOverrideAppliesToTarget(const ServerOptions& options, const httplib::Request& req) {
    return StatusOverrideApplies(options, req.path) || StatusOverrideApplies(options, req.target);
}

void EchoBody(const httplib::Request& req, httplib::Response& res,
              const httplib::ContentReader& content, const ServerOptions& options, RequestLog& log,
              ConnectionCuts& cuts) {
    std::string body;
    content([&](const char* data, std::size_t length) {
        body.append(data, length);
        return true;
    });
    log.write(req, body.size());
    const auto serve = [&](const ServerOptions& shaped) {
        SetEchoBody(res, body, shaped);
    };
    if (!cuts.cut(req, res, serve))
        serve(options);
}

// The answer to a multipart upload whose file part was stored as `stored` (empty: none).
void AnswerUpload(const fs::path& root, const httplib::Request& req, httplib::Response& res,
                  const std::string& stored, const ServerOptions& options) {
    if (StatusOverrideAppliesToTarget(options, req)) {
        ServeStatusOverride(root, req, res, options);
    } else if (!options.uploadError.empty()) {
        SetEchoBody(res, "[page error:]" + options.uploadError, options);
    } else if (stored.empty()) {
        res.status = 400;
        res.set_content("no file_attach stored", "text/plain");
    } else {
        SetEchoBody(res, stored, options);
    }
}

} // namespace

bool InstallUploadRoute(httplib::Server& server, const fs::path& root, const ServerOptions& options,
                        RequestLog& log, ConnectionCuts& cuts) {
    std::error_code error;
    const fs::path folder = fs::canonical(options.uploadDir, error);
    if (error || !fs::is_directory(folder))
        return false;
    server.Post(".*", [folder, root, &options, &log, &cuts](const httplib::Request& req,
                                                            httplib::Response& res,
                                                            const httplib::ContentReader& content) {
        SleepUnlessStopping(options.delayMs);
        if (!req.is_multipart_form_data()) {
            EchoBody(req, res, content, options, log, cuts);
            return;
        }
        UploadReceiver receiver{folder};
        content([&](const httplib::MultipartFormData& part) { return receiver.beginPart(part); },
                [&](const char* data, std::size_t length) { return receiver.write(data, length); });
        const std::string stored = receiver.finish();
        log.write(req, req.get_header_value<std::uint64_t>("Content-Length"), receiver.parts());
        const auto serve = [&](const ServerOptions& shaped) {
            AnswerUpload(root, req, res, stored, shaped);
        };
        if (!cuts.cut(req, res, serve))
            serve(options);
    });
    return true;
}

bool InstallBodyKeepingRoute(httplib::Server& server, const ServerOptions& options,
                             RequestLog& log) {
    std::error_code error;
    const fs::path folder = fs::canonical(options.bodyDir, error);
    if (error || !fs::is_directory(folder))
        return false;
    auto count = std::make_shared<std::atomic<int>>(0);
    server.Post(".*", [folder, count, &log, &options](const httplib::Request& req,
                                                      httplib::Response& res,
                                                      const httplib::ContentReader& content) {
        const std::string number = std::to_string(++*count);
        const std::string name = number + ".body";
        WriteHead(req, folder / (number + ".head"));
        std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
        // The library parses any multipart body itself; without its content type for the
        // moment of reading, the body arrives as sent.
        auto& headers = const_cast<httplib::Request&>(req).headers;
        auto type = headers.extract("Content-Type");
        std::uint64_t length = 0;
        content([&](const char* data, std::size_t size) {
            length += size;
            return static_cast<bool>(file.write(data, static_cast<std::streamsize>(size)));
        });
        if (!type.empty())
            headers.insert(std::move(type));
        log.write(req, length, {});
        SetPostReply(res, "/" + name, options);
    });
    return true;
}
