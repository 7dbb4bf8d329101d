#pragma once

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <mutex>

// Holds a byte stream to a rate shared by every thread that takes from it, so several
// connections of one run together stay under the cap. A pause after an idle spell may be made
// up by a burst of a tenth of a second's worth; beyond that, bytes wait their turn.
class RateLimiter {
public:
    // `bytesPerSecond` 0 or less: no limit, take() never waits.
    explicit RateLimiter(qint64 bytesPerSecond);
    RateLimiter(const RateLimiter&) = delete;
    RateLimiter& operator=(const RateLimiter&) = delete;

    bool limited() const { return bytesPerSecond_ > 0; }
    // Waits until `bytes` more fit the rate. Returns at once when `abort` (may be null) is
    // raised, within about 20 ms of it, so a cancel is never held up.
    void take(qint64 bytes, const std::atomic<bool>* abort);

private:
    using Clock = std::chrono::steady_clock;

    const qint64 bytesPerSecond_;
    std::mutex mutex_;
    Clock::time_point paidUntil_; // when every byte taken so far is due
    bool started_ = false;
};

// KB/s as the page gives it (KB of 1024 bytes, as every transfer window shows sizes) in bytes
// per second; 0 for 0 or less.
qint64 RateFromKBps(qint64 kilobytesPerSecond);
