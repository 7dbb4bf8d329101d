#include "transfer/DateText.h"

#include <ctime>

QString DateText(const QDateTime& when, const QString& format) {
    if (format.isEmpty())
        return {};
    const std::time_t seconds = static_cast<std::time_t>(when.toSecsSinceEpoch());
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return {};
    char buffer[256];
    const QByteArray pattern = format.toLocal8Bit();
    const size_t written = std::strftime(buffer, sizeof buffer, pattern.constData(), &local);
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(written));
}
