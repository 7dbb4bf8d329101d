#include "transfer/TransferDisplay.h"

#include "common/Formatting.h"

#include <QLatin1String>
#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>

namespace {

constexpr int kTickMs = 200;
constexpr int kMeasureMs = 1000;

// `value` (finite, not negative) rounded to a whole number as "%.0f" writes it.
QString wholeText(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 0);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString twoDigits(std::int64_t value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString KBText(double bytes) {
    if (!std::isfinite(bytes) || bytes <= 0)
        return QStringLiteral("0");
    if (bytes < 1024)
        return QStringLiteral("1");
    return wholeText(bytes / 1024);
}

int ProgressUnits(double bytes) {
    if (!std::isfinite(bytes) || bytes <= 0)
        return 0;
    if (bytes < 1024)
        return 1;
    return static_cast<int>(std::min(std::round(bytes / 1024), static_cast<double>(INT_MAX)));
}

QString SpeedText(double bytesPerSecond) {
    return GroupThousands(KBText(bytesPerSecond)) + QLatin1String("KB/sec");
}

QString TimeLeftText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds % 3600 / 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

QString PercentText(double done, double total, bool finished) {
    double percent = 0;
    if (!std::isfinite(total) || total <= 0)
        percent = finished ? 100 : 0;
    else if (std::isfinite(done))
        percent = std::clamp(done / total * 100, 0.0, 100.0);
    return wholeText(percent) + QLatin1Char('%');
}

std::int64_t SecondsLeft(double total, double done, double bytesPerSecond) {
    if (!std::isfinite(bytesPerSecond) || bytesPerSecond <= 0 || !std::isfinite(total) ||
        !std::isfinite(done))
        return -1;
    const double seconds = std::max(total - done, 0.0) / bytesPerSecond;
    return static_cast<std::int64_t>(std::min(seconds, 1e15));
}

QString SizeLineText(double total, double done, const QString& caption, bool finished) {
    return QLatin1Char('(') + SizeText(total) + QLatin1String(" / ") + SizeText(done) +
           QLatin1String(", ") + PercentText(done, total, finished) + QLatin1Char(' ') + caption +
           QLatin1Char(')');
}

bool RateMeter::tick(double bytesNow) {
    elapsedMs_ += kTickMs;
    if (elapsedMs_ < kMeasureMs)
        return false;
    elapsedMs_ = 0;
    rate_ = std::max(bytesNow - lastBytes_, 0.0);
    lastBytes_ = bytesNow;
    return true;
}
