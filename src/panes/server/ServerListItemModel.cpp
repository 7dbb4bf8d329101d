#include "panes/server/ServerListItemModel.h"

#include "common/Formatting.h"
#include "common/ListRoles.h"

ServerListItemModel::ServerListItemModel(ServerListModel& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), exposed_(rows.rowCount()) {
    rows_.setObserver(this);
}

ServerListItemModel::~ServerListItemModel() {
    rows_.setObserver(nullptr);
}

int ServerListItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : exposed_;
}

int ServerListItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ServerListColumnCount;
}

QIcon ServerListItemModel::icon(int row) const {
    const ServerListRow& entry = rows_.row(row);
    if (entry.kind == ServerRowKind::Parent || entry.kind == ServerRowKind::Folder)
        return icons_.folderIcon();
    return icons_.fileIcon(rows_.text(row, NameColumn));
}

QVariant ServerListItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= exposed_)
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return ShownText(rows_.text(row, index.column()));
    case Qt::EditRole:
        return index.column() == NameColumn ? QVariant(rows_.text(row, NameColumn)) : QVariant();
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(icon(row)) : QVariant();
    case Qt::ForegroundRole: {
        const auto text = rows_.colours(row).text;
        return text ? QVariant(*text) : QVariant();
    }
    case SelectionBarRole: {
        const auto bar = rows_.colours(row).selectionBar;
        return bar ? QVariant(*bar) : QVariant();
    }
    case kSortValueRole: {
        const bool file = rows_.row(row).kind != ServerRowKind::Parent &&
                          rows_.row(row).kind != ServerRowKind::Folder;
        return file && index.column() == SizeColumn
                   ? QVariant(rows_.row(row).element.attribute(QStringLiteral("size")).toDouble())
                   : QVariant();
    }
    case ImageIndexRole: {
        const ServerListRow& entry = rows_.row(row);
        const bool folder =
            entry.kind == ServerRowKind::Parent || entry.kind == ServerRowKind::Folder;
        return folder ? 0 : icons_.fileIconIndex(rows_.text(row, NameColumn));
    }
    default:
        return {};
    }
}

Qt::ItemFlags ServerListItemModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.row() < exposed_ && index.column() == NameColumn &&
        rows_.isRenameable(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ServerListItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    emit nameEdited(index, value.toString());
    return true;
}

void ServerListItemModel::reorderRows(const std::vector<int>& order) {
    flush();
    rows_.reorder(order);
}

void ServerListItemModel::aboutToReset() {
    beginResetModel();
}

void ServerListItemModel::reset() {
    exposed_ = rows_.rowCount();
    pending_ = 0;
    endResetModel();
}

void ServerListItemModel::aboutToInsert(int first, int last) {
    deferring_ = !rows_.drawing() && first == exposed_ + pending_;
    if (deferring_) {
        pending_ += last - first + 1;
        return;
    }
    flush();
    beginInsertRows({}, first, last);
}

void ServerListItemModel::inserted() {
    if (deferring_) {
        deferring_ = false;
        return;
    }
    exposed_ = rows_.rowCount();
    endInsertRows();
}

void ServerListItemModel::aboutToRemove(int row) {
    flush();
    beginRemoveRows({}, row, row);
}

void ServerListItemModel::removed() {
    exposed_ = rows_.rowCount();
    endRemoveRows();
}

void ServerListItemModel::rowChanged(int row) {
    if (row < exposed_)
        emit dataChanged(index(row, 0), index(row, ServerListColumnCount - 1));
}

void ServerListItemModel::selectionChanged() {
    emit rowSelectionChanged();
}

void ServerListItemModel::drawingChanged(bool on) {
    if (on)
        flush();
    emit drawingSwitched(on);
}

void ServerListItemModel::aboutToReorder() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ServerListItemModel::reordered(const std::vector<int>& order) {
    const QModelIndexList before = persistentIndexList();
    changePersistentIndexList(before, MovedIndexes(*this, before, order));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// Announces the rows appended while drawing was off; they are already in the plain model,
// and the views ask for none of them before endInsertRows.
void ServerListItemModel::flush() {
    if (pending_ == 0)
        return;
    beginInsertRows({}, exposed_, exposed_ + pending_ - 1);
    exposed_ += pending_;
    pending_ = 0;
    endInsertRows();
}
