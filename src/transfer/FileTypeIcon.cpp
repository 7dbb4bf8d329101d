#include "transfer/FileTypeIcon.h"

#include <QMimeDatabase>
#include <QMimeType>

namespace {

QIcon fallbackIcon(bool isFolder) {
    const QString name = isFolder ? QStringLiteral("folder") : QStringLiteral("text-x-generic");
    return QIcon::fromTheme(name);
}

} // namespace

QIcon FileTypeIcon(const QString& fileName, bool isFolder) {
    if (isFolder)
        return fallbackIcon(true);
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (type.isValid()) {
        const QIcon icon = QIcon::fromTheme(type.iconName());
        if (!icon.isNull())
            return icon;
        const QIcon generic = QIcon::fromTheme(type.genericIconName());
        if (!generic.isNull())
            return generic;
    }
    return fallbackIcon(false);
}
