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

QString TypeNameTail(const QString& fileName) {
    return fileName.size() <= kTypeNameTail ? fileName : fileName.last(kTypeNameTail);
}

QString ExtensionOf(const QString& fileName) {
    const QString tail = TypeNameTail(fileName);
    const qsizetype dot = tail.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : tail.mid(dot + 1).toLower();
}

LocalType TypeOfFile(const QString& fileName) {
    static std::mutex mutex;
    static QHash<QString, LocalType> cache;
    const QString extension = ExtensionOf(fileName);
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
