#include "panes/server/FolderNameIndex.h"

#include "panes/server/ServerListModel.h"

namespace {
const QString kName = QStringLiteral("name");
} // namespace

void FolderNameIndex::prepare(const XmlNode& folder, const ServerListModel* shown) {
    if (valid_ && folder_ == folder)
        return;
    entries_.clear();
    folder_ = folder;
    valid_ = true;
    for (const XmlNode& child : folder.selectAll(QStringLiteral("*"))) {
        const QString name = child.attribute(kName);
        Entry& entry = entries_[name];
        if (entry.element.isNull())
            entry.element = child;
        if (child.name() == QLatin1String("FOLDER"))
            entry.heldByFolder = true;
    }
    if (!shown)
        return;
    for (int row = 0; row < shown->rowCount(); ++row) {
        const XmlNode& element = shown->row(row).element;
        const auto found = entries_.find(element.attribute(kName));
        if (found != entries_.end() && found->element == element)
            found->row = row;
    }
}

void FolderNameIndex::appended(const XmlNode& child, int row) {
    const QString name = child.attribute(kName);
    if (valid_ && child.parent() == folder_ && !entries_.contains(name))
        entries_.insert(name, Entry{child, row, false});
}

void FolderNameIndex::forget(const XmlNode& folder) {
    if (folder_ == folder)
        invalidate();
}

void FolderNameIndex::invalidate() {
    valid_ = false;
    folder_ = XmlNode();
    entries_.clear();
}
