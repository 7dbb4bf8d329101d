#include "transfer/RateLimiter.h"

#include <algorithm>
#include <thread>

namespace {

constexpr auto kBurst = std::chrono::milliseconds(100);
constexpr auto kAbortCheck = std::chrono::milliseconds(20);

} // namespace

RateLimiter::RateLimiter(qint64 bytesPerSecond) : bytesPerSecond_(bytesPerSecond) {}

void RateLimiter::take(qint64 bytes, const std::atomic<bool>* abort) {
    if (bytesPerSecond_ <= 0 || bytes <= 0)
        return;
    Clock::time_point due;
    {
        std::lock_guard lock(mutex_);
        const Clock::time_point now = Clock::now();
        const Clock::time_point earliest = now - kBurst;
        if (!started_ || paidUntil_ < earliest)
            paidUntil_ = earliest;
        started_ = true;
        paidUntil_ += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(bytes) / bytesPerSecond_));
        due = paidUntil_;
    }
    for (Clock::time_point now = Clock::now(); now < due; now = Clock::now()) {
        if (abort && abort->load())
            return;
        std::this_thread::sleep_for(std::min<Clock::duration>(due - now, kAbortCheck));
    }
}

qint64 RateFromKBps(qint64 kilobytesPerSecond) {
    return kilobytesPerSecond > 0 ? kilobytesPerSecond * 1024 : 0;
}
