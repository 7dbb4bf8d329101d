#include "panes/server/LocalFileFacts.h"

#include "common/LocalPath.h"

#include <QFile>
#include <QMimeDatabase>
#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace {

// A name decoded from bytes that were not UTF-8 carries replacement characters or broken
// surrogates; it cannot name the file it came from.
bool isFaithfulText(const QString& text) {
    return text.isValidUtf16() && !text.contains(QChar::ReplacementCharacter);
}

QDateTime toDateTime(std::filesystem::file_time_type time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(system.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(ms.count());
}

} // namespace

bool ReadLocalFileFacts(const QString& fullPath, LocalFileFacts& facts) {
    namespace fs = std::filesystem;
    if (fullPath.isEmpty() || !isFaithfulText(fullPath))
        return false;
    const fs::path path(QFile::encodeName(fullPath).toStdString());
    std::error_code error;
    if (!fs::is_regular_file(fs::status(path, error)) || error)
        return false;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        return false;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error)
        return false;
    facts.name = LocalFileName(fullPath);
    facts.size = static_cast<double>(size);
    facts.modified = toDateTime(time);
    return true;
}

QString FormatFileTime(const QDateTime& time, const QString& format) {
    if (format.isEmpty() || !time.isValid())
        return QString();
    const std::time_t seconds = time.toSecsSinceEpoch();
    std::tm parts{};
    if (!localtime_r(&seconds, &parts))
        return QString();
    std::array<char, 256> buffer{};
    const std::size_t length =
        std::strftime(buffer.data(), buffer.size(), format.toUtf8().constData(), &parts);
    return QString::fromUtf8(buffer.data(), static_cast<qsizetype>(length));
}

QString FileTypeName(const QString& fileName) {
    static const QMimeDatabase database;
    const QList<QMimeType> types = database.mimeTypesForFileName(fileName);
    return types.isEmpty() ? QStringLiteral("File") : types.front().comment();
}
