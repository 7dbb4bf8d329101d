#include "common/FileTypes.h"

#include "common/ThemeIcons.h"

#include <QHash>
#include <QMimeDatabase>
#include <mutex>

namespace {

LocalType typeOf(const QMimeType& mime) {
    return {mime.comment(), MimeIconNames(mime.iconName(), mime.genericIconName())};
}

} // namespace

LocalType TypeOfFile(const QString& fileName) {
    static std::mutex mutex;
    static QHash<QString, LocalType> cache;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
    const std::lock_guard lock(mutex);
    const auto found = cache.constFind(extension);
    if (found != cache.constEnd())
        return *found;
    static const QMimeDatabase database;
    const QMimeType mime =
        extension.isEmpty() ? database.mimeTypeForName(QStringLiteral("application/octet-stream"))
                            : database.mimeTypeForFile(QStringLiteral("x.") + extension,
                                                       QMimeDatabase::MatchExtension);
    return *cache.insert(extension, typeOf(mime));
}

LocalType FolderType() {
    static const LocalType folder = {
        QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment(),
        QStringLiteral("folder")};
    return folder;
}
