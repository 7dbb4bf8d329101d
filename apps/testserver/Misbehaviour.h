#pragma once

#include "ServerOptions.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <httplib.h>

// Set when the server is stopping, so deliberate waits end at once.
extern std::atomic<bool> g_stopping;

// Sleeps up to `milliseconds`, returning early when the server stops.
void SleepUnlessStopping(int milliseconds);

// Copies `length` bytes starting at `offset` of a reply body into `buffer`; false on failure.
using BodyReader = std::function<bool(std::uint64_t offset, char* buffer, std::size_t length)>;

// Sets `res` to send a body of `size` bytes from `read`, throttled by --rate and cut by
// --drop-after. Byte ranges of the request are applied by the server library.
void SetShapedBody(httplib::Response& res, std::uint64_t size, const std::string& contentType,
                   BodyReader read, const ServerOptions& options);

// Sends `body` back as the reply, shaped as SetShapedBody does.
void SetEchoBody(httplib::Response& res, std::string body, const ServerOptions& options);

// True when --status applies to `path`.
bool StatusOverrideApplies(const ServerOptions& options, const std::string& path);
