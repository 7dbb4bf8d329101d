#include "panes/server/ServerTreeItemModel.h"

#include "common/Formatting.h"

ServerTreeItemModel::ServerTreeItemModel(ServerTreeModel& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    tree_.setObserver(this);
}

ServerTreeItemModel::~ServerTreeItemModel() {
    tree_.setObserver(nullptr);
}

ServerTreeNode* ServerTreeItemModel::node(const QModelIndex& index) {
    return index.isValid() ? static_cast<ServerTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex ServerTreeItemModel::indexOf(const ServerTreeNode* node) const {
    const int row = tree_.rowOf(node);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<ServerTreeNode*>(node));
}

QModelIndex ServerTreeItemModel::index(int row, int column, const QModelIndex& parent) const {
    const auto& children = tree_.childrenOf(node(parent));
    if (column != 0 || row < 0 || row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, children[row].get());
}

QModelIndex ServerTreeItemModel::parent(const QModelIndex& child) const {
    const ServerTreeNode* n = node(child);
    return n ? indexOf(n->parent) : QModelIndex();
}

int ServerTreeItemModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(tree_.childrenOf(node(parent)).size());
}

int ServerTreeItemModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ServerTreeItemModel::data(const QModelIndex& index, int role) const {
    const ServerTreeNode* n = node(index);
    if (!n)
        return {};
    if (role == Qt::DisplayRole)
        return ShownText(n->label);
    if (role == Qt::EditRole)
        return n->label;
    if (role == Qt::DecorationRole)
        return n->isDisk ? icons_.diskIcon() : icons_.folderIcon();
    return {};
}

Qt::ItemFlags ServerTreeItemModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (ServerTreeModel::isRenameable(node(index)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ServerTreeItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    emit nameEdited(index, value.toString());
    return true;
}

void ServerTreeItemModel::aboutToReset() {
    beginResetModel();
}

void ServerTreeItemModel::reset() {
    endResetModel();
}

void ServerTreeItemModel::aboutToInsert(ServerTreeNode* parent, int row) {
    beginInsertRows(indexOf(parent), row, row);
}

void ServerTreeItemModel::inserted() {
    endInsertRows();
}

void ServerTreeItemModel::aboutToRemove(ServerTreeNode* parent, int row) {
    beginRemoveRows(indexOf(parent), row, row);
}

void ServerTreeItemModel::removed() {
    endRemoveRows();
}

void ServerTreeItemModel::aboutToMove(ServerTreeNode* fromParent, int from,
                                      ServerTreeNode* toParent, int to) {
    beginMoveRows(indexOf(fromParent), from, from, indexOf(toParent), to);
}

void ServerTreeItemModel::moved() {
    endMoveRows();
}

void ServerTreeItemModel::expandedChanged(ServerTreeNode* node) {
    emit nodeExpansionChanged(indexOf(node), node->expanded);
}

void ServerTreeItemModel::labelChanged(ServerTreeNode* node) {
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index);
}

void ServerTreeItemModel::selectionChanged(ServerTreeNode* node) {
    emit nodeSelected(indexOf(node));
}
