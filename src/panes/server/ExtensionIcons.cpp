#include "panes/server/ExtensionIcons.h"

#include "common/FileTypes.h"
#include "common/ThemeIcons.h"

QIcon ExtensionIcons::folderIcon() const {
    return ThemeIcon(QStringLiteral("folder"), IconKind::Folder);
}

QIcon ExtensionIcons::diskIcon() const {
    return ThemeIcon(QStringLiteral("drive-harddisk"), IconKind::Drive);
}

const ExtensionIcons::Entry& ExtensionIcons::entryFor(const QString& fileName) {
    const QString extension = ExtensionOf(fileName);
    auto found = byExtension_.find(extension);
    if (found == byExtension_.end()) {
        const int index = static_cast<int>(byExtension_.size()) + 1;
        found = byExtension_.insert(extension, Entry{FileTypeIcon(fileName), index});
    }
    return *found;
}

QIcon ExtensionIcons::fileIcon(const QString& fileName) {
    return entryFor(fileName).icon;
}

int ExtensionIcons::fileIconIndex(const QString& fileName) {
    return entryFor(fileName).index;
}
