#include "panes/server/ServerListModel.h"

#include "common/Formatting.h"
#include "xml/ServerPath.h"

#include <algorithm>

namespace {
const QString kName = QStringLiteral("name");
} // namespace

QString DisplaySize(const QString& sizeText) {
    return SizeText(SizeValue(sizeText));
}

void ServerListModel::fill(const XmlNode& folder, bool hasParent) {
    if (observer_)
        observer_->aboutToReset();
    rows_.clear();
    selectedCacheValid_ = false;
    if (hasParent)
        rows_.push_back({ServerRowKind::Parent, {}, false});
    const XmlNodeList folders = folder.selectAll(QStringLiteral("FOLDER"));
    const XmlNodeList files = folder.selectAll(QStringLiteral("FILE"));
    rows_.reserve(rows_.size() + folders.count() + files.count());
    for (const XmlNode& child : folders)
        rows_.push_back({ServerRowKind::Folder, child, false});
    for (const XmlNode& child : files)
        rows_.push_back({FileRowKind(child), child, false});
    if (observer_)
        observer_->reset();
}

void ServerListModel::clear() {
    if (observer_)
        observer_->aboutToReset();
    rows_.clear();
    selectedCacheValid_ = false;
    if (observer_)
        observer_->reset();
}

bool ServerListModel::startsWithParent() const {
    return !rows_.empty() && rows_.front().kind == ServerRowKind::Parent;
}

int ServerListModel::insertFolder(const XmlNode& folder, int row) {
    row = std::clamp(row, 0, rowCount());
    if (observer_)
        observer_->aboutToInsert(row, row);
    rows_.insert(rows_.begin() + row, {ServerRowKind::Folder, folder, false});
    selectedCacheValid_ = false;
    if (observer_)
        observer_->inserted();
    return row;
}

int ServerListModel::appendFile(const XmlNode& file, ServerRowKind kind) {
    const int row = rowCount();
    if (observer_)
        observer_->aboutToInsert(row, row);
    rows_.push_back({kind, file, false});
    if (observer_)
        observer_->inserted();
    return row;
}

void ServerListModel::removeRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    if (observer_)
        observer_->aboutToRemove(row);
    const bool wasSelected = rows_[row].selected;
    rows_.erase(rows_.begin() + row);
    selectedCacheValid_ = false;
    if (observer_)
        observer_->removed();
    if (wasSelected)
        notifySelection();
}

void ServerListModel::setKind(int row, ServerRowKind kind) {
    if (row < 0 || row >= rowCount())
        return;
    rows_[row].kind = kind;
    if (observer_)
        observer_->rowChanged(row);
}

int ServerListModel::rowOf(const XmlNode& element) const {
    if (element.isNull())
        return -1;
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&element](const ServerListRow& r) {
        return r.element == element;
    });
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void ServerListModel::rowEdited(int row) {
    if (row >= 0 && row < rowCount() && observer_)
        observer_->rowChanged(row);
}

bool ServerListModel::isRenameable(int row) const {
    return row >= 0 && row < rowCount() && rows_[row].kind != ServerRowKind::Parent;
}

QString ServerListModel::text(int row, int column) const {
    const ServerListRow& r = rows_[row];
    if (r.kind == ServerRowKind::Parent)
        return column == NameColumn ? QStringLiteral("..") : QString();
    if (column == NameColumn)
        return r.element.attribute(kName);
    if (r.kind == ServerRowKind::Folder)
        return column == TypeColumn ? folderTypeName_ : QString();
    switch (column) {
    case SizeColumn:
        return DisplaySize(r.element.attribute(QStringLiteral("size")));
    case TypeColumn:
        return r.element.attribute(QStringLiteral("type"));
    case DateColumn:
        return r.element.attribute(QStringLiteral("modifydate"));
    default:
        return QString();
    }
}

void ServerListModel::setSelectedRows(const std::vector<int>& rows) {
    for (ServerListRow& r : rows_)
        r.selected = false;
    for (int index : rows) {
        if (index >= 0 && index < rowCount())
            rows_[index].selected = true;
    }
    notifySelection();
}

void ServerListModel::selectAllButParent() {
    for (ServerListRow& r : rows_)
        r.selected = r.kind != ServerRowKind::Parent;
    notifySelection();
}

void ServerListModel::clearSelection() {
    setSelectedRows({});
}

const std::vector<int>& ServerListModel::selectedRows() const {
    if (!selectedCacheValid_) {
        selectedCache_.clear();
        for (int i = 0; i < rowCount(); ++i) {
            if (rows_[i].selected)
                selectedCache_.push_back(i);
        }
        selectedCacheValid_ = true;
    }
    return selectedCache_;
}

int ServerListModel::firstSelectedRow() const {
    const auto& selected = selectedRows();
    return selected.empty() ? -1 : selected.front();
}

void ServerListModel::deselectLeadingParent() {
    const int first = firstSelectedRow();
    if (first < 0 || rows_[first].kind != ServerRowKind::Parent)
        return;
    rows_[first].selected = false;
    notifySelection();
}

void ServerListModel::notifySelection() {
    selectedCacheValid_ = false;
    if (observer_)
        observer_->selectionChanged();
}

void ServerListModel::setDrawing(bool on) {
    if (drawing_ == on)
        return;
    drawing_ = on;
    if (observer_)
        observer_->drawingChanged(on);
}

void ServerListModel::reorder(const std::vector<int>& order) {
    if (order.size() != rows_.size())
        return;
    if (observer_)
        observer_->aboutToReorder();
    std::vector<ServerListRow> sorted;
    sorted.reserve(rows_.size());
    for (int old : order)
        sorted.push_back(rows_[old]);
    rows_ = std::move(sorted);
    selectedCacheValid_ = false;
    if (observer_)
        observer_->reordered(order);
}
