#include "panes/server/ExtensionIcons.h"

#include <QMimeDatabase>

namespace {

QString extensionOf(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

QIcon iconForName(const QString& fileName) {
    static const QMimeDatabase database;
    const QList<QMimeType> types = database.mimeTypesForFileName(fileName);
    if (!types.isEmpty()) {
        const QIcon icon = QIcon::fromTheme(types.front().iconName(),
                                            QIcon::fromTheme(types.front().genericIconName()));
        if (!icon.isNull())
            return icon;
    }
    return QIcon::fromTheme(QStringLiteral("text-x-generic"));
}

} // namespace

QIcon ExtensionIcons::folderIcon() const {
    return QIcon::fromTheme(QStringLiteral("folder"));
}

QIcon ExtensionIcons::diskIcon() const {
    return QIcon::fromTheme(QStringLiteral("drive-harddisk"), folderIcon());
}

const ExtensionIcons::Entry& ExtensionIcons::entryFor(const QString& fileName) {
    const QString extension = extensionOf(fileName);
    auto found = byExtension_.find(extension);
    if (found == byExtension_.end()) {
        const int index = static_cast<int>(byExtension_.size()) + 1;
        found = byExtension_.insert(extension, Entry{iconForName(fileName), index});
    }
    return *found;
}

QIcon ExtensionIcons::fileIcon(const QString& fileName) {
    return entryFor(fileName).icon;
}

int ExtensionIcons::fileIconIndex(const QString& fileName) {
    return entryFor(fileName).index;
}
