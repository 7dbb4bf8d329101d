#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <fstream>
#include <httplib.h>
#include <mutex>
#include <string>
#include <vector>

// One part of a multipart body as received.
struct LoggedPart {
    std::string name;
    std::string filename;
    std::uint64_t length = 0;
    std::string value; // a form field's text (a part without filename), at most 64 KiB
};

inline constexpr std::size_t kLoggedValueLimit = 64 * 1024;

// One JSON object per line for every request, written as the request arrives, so a test can
// assert on exactly what went over the wire.
class RequestLog {
public:
    // Appends to `path`; an empty path logs nothing. False when the file cannot be opened.
    bool open(const std::string& path);
    // `bodyLength` counts the bytes of the request body as received.
    void write(const httplib::Request& req, std::uint64_t bodyLength);
    // The same for a multipart body read part by part, whose `parts` the request lacks.
    void write(const httplib::Request& req, std::uint64_t bodyLength,
               const std::vector<LoggedPart>& parts);

private:
    std::mutex m_mutex;
    std::ofstream m_file;
    QElapsedTimer m_clock; // since open(): when each request arrived
};
