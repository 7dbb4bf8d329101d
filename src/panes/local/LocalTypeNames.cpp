#include "panes/local/LocalTypeNames.h"

#include <QHash>
#include <QMimeDatabase>
#include <mutex>

namespace {

LocalType typeOf(const QMimeType& mime) {
    return {mime.comment(), mime.iconName()};
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
    static const LocalType folder =
        typeOf(QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")));
    return folder;
}
