#include "Misbehaviour.h"

#include <algorithm>
#include <chrono>
#include <fnmatch.h>
#include <memory>
#include <thread>
#include <vector>

std::atomic<bool> g_stopping{false};

void SleepUnlessStopping(int milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!g_stopping && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

namespace {

constexpr std::size_t kPieceBytes = 16 * 1024;
constexpr int kRateTicksPerSecond = 10;

// Per-reply state: how much has gone out, for --drop-after.
struct ShapedBody {
    BodyReader read;
    std::int64_t dropAfter;
    int rateKbps;
    int trickleMs;
    std::int64_t sent = 0;

    std::size_t pieceSize(std::size_t remaining) const {
        std::size_t piece = std::min(remaining, kPieceBytes);
        if (rateKbps > 0)
            piece = std::min<std::size_t>(
                piece, std::max<std::size_t>(1, rateKbps * 1024 / kRateTicksPerSecond));
        if (trickleMs > 0)
            piece = std::min<std::size_t>(piece, 1);
        if (dropAfter >= 0)
            piece = std::min<std::size_t>(piece, static_cast<std::size_t>(dropAfter - sent));
        return piece;
    }

    bool provide(std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (g_stopping || (dropAfter >= 0 && sent >= dropAfter))
            return false; // closing the connection cuts the body short of its length
        const std::size_t piece = pieceSize(length);
        std::vector<char> buffer(piece);
        if (!read(offset, buffer.data(), piece) || !sink.write(buffer.data(), piece))
            return false;
        sent += static_cast<std::int64_t>(piece);
        if (rateKbps > 0)
            SleepUnlessStopping(static_cast<int>(piece * 1000 / (rateKbps * 1024)));
        if (trickleMs > 0)
            SleepUnlessStopping(trickleMs);
        return true;
    }
};

} // namespace

void SetShapedBody(httplib::Response& res, std::uint64_t size, const std::string& contentType,
                   BodyReader read, const ServerOptions& options) {
    auto body = std::make_shared<ShapedBody>(
        ShapedBody{std::move(read), options.dropAfter, options.rateKbps, options.trickleMs});
    if (size == 0) {
        res.set_content("", contentType);
        return;
    }
    res.set_content_provider(
        size, contentType, [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            return body->provide(offset, length, sink);
        });
}

void SetEchoBody(httplib::Response& res, std::string body, const ServerOptions& options) {
    auto shared = std::make_shared<std::string>(std::move(body));
    SetShapedBody(
        res, shared->size(), "application/octet-stream",
        [shared](std::uint64_t offset, char* buffer, std::size_t length) {
            shared->copy(buffer, length, offset);
            return true;
        },
        options);
}

bool StatusOverrideApplies(const ServerOptions& options, const std::string& path) {
    return options.status != 0 && fnmatch(options.statusPath.c_str(), path.c_str(), 0) == 0;
}
