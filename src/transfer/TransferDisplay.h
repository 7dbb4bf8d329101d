#pragma once

#include <QString>
#include <cstdint>

// Display rules shared by every transfer window (upload, download, open). All of them accept
// any double, including NaN, infinities and negatives, and never show those.

// Whole kilobytes as digits: "0" for 0 (or less, or not finite), "1" for 1..1023 bytes,
// otherwise bytes / 1024 rounded ("%.0f").
QString KBText(double bytes);

// `KBText` read back as a number: the unit of every transfer progress bar. Clamped to int.
int ProgressUnits(double bytes);

// "1,234KB/sec" for a rate in bytes per second.
QString SpeedText(double bytesPerSecond);

// "hh:mm:ss" with each field zero-padded to two digits; hours of 100 or more keep all their
// digits. Negative seconds show as "00:00:00".
QString TimeLeftText(std::int64_t seconds);

// `done` against `total` as a whole percentage with "%" ("%.0f%%"), clamped to 0..100. A total
// of 0 (or less) shows "100%" once `finished`, "0%" before.
QString PercentText(double done, double total, bool finished);

// Seconds left at `bytesPerSecond`, truncated; -1 when the rate is 0 or less (the time-left
// text is then left unchanged).
std::int64_t SecondsLeft(double total, double done, double bytesPerSecond);

// The size line of the multi-file windows: "(" total " / " done ", " percent " " caption ")";
// the percentage as `PercentText(done, total, finished)`.
QString SizeLineText(double total, double done, const QString& caption, bool finished);

// The one-second speed measurement of the 200 ms window timers.
class RateMeter {
public:
    // Called on every 200 ms tick with the current byte counter. Returns true on every fifth
    // tick, when `bytesPerSecond()` holds a fresh measurement.
    bool tick(double bytesNow);
    double bytesPerSecond() const { return rate_; }

private:
    int elapsedMs_ = 0;
    double lastBytes_ = 0;
    double rate_ = 0;
};
