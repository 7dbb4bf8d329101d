#pragma once

#include <cstdint>
#include <fstream>
#include <httplib.h>
#include <mutex>
#include <string>

// One JSON object per line for every request, written as the request arrives, so a test can
// assert on exactly what went over the wire.
class RequestLog {
public:
    // Appends to `path`; an empty path logs nothing. False when the file cannot be opened.
    bool open(const std::string& path);
    // `bodyLength` counts the bytes of the request body as received.
    void write(const httplib::Request& req, std::uint64_t bodyLength);

private:
    std::mutex m_mutex;
    std::ofstream m_file;
};
