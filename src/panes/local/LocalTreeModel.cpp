#include "panes/local/LocalTreeModel.h"

#include "common/ThemeIcons.h"
#include "panes/local/LocalOrder.h"
#include "panes/local/RealLocalNamespace.h"

#include <QIcon>
#include <QPersistentModelIndex>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<LocalTreeNode> makeNode(LocalNodeKind kind, const QString& label,
                                        const fs::path& path, LocalTreeNode* parent) {
    auto node = std::make_unique<LocalTreeNode>();
    node->kind = kind;
    node->label = label;
    node->path = path;
    node->parent = parent;
    return node;
}

QString iconName(LocalNodeKind kind) {
    switch (kind) {
    case LocalNodeKind::Desktop:
        return QStringLiteral("user-desktop");
    case LocalNodeKind::Computer:
        return QStringLiteral("computer");
    case LocalNodeKind::Volume:
        return QStringLiteral("drive-harddisk");
    case LocalNodeKind::Folder:
        break;
    }
    return QStringLiteral("folder");
}

// Whether `prefix` is `path` or one of its ancestors, step by step.
bool isWithin(const fs::path& path, const fs::path& prefix) {
    auto p = path.begin();
    for (auto q = prefix.begin(); q != prefix.end(); ++q, ++p) {
        if (q->empty())
            continue;
        if (p == path.end() || *p != *q)
            return false;
    }
    return true;
}

std::size_t stepCount(const fs::path& path) {
    return static_cast<std::size_t>(std::distance(path.begin(), path.end()));
}

} // namespace

LocalTreeModel::LocalTreeModel(const LocalNamespace& names, QObject* parent)
    : QAbstractItemModel(parent), names_(names) {}

void LocalTreeModel::buildRoot() {
    beginResetModel();
    const fs::path desktop = names_.desktopFolder();
    root_ = makeNode(LocalNodeKind::Desktop, QStringLiteral("Desktop"),
                     names_.isFolder(desktop) ? desktop : fs::path(), nullptr);
    root_->children = readChildren(root_.get());
    root_->loaded = true;
    endResetModel();
}

std::vector<std::unique_ptr<LocalTreeNode>>
LocalTreeModel::readChildren(LocalTreeNode* node) const {
    std::vector<std::unique_ptr<LocalTreeNode>> children;
    if (node->kind == LocalNodeKind::Desktop) {
        children.push_back(
            makeNode(LocalNodeKind::Computer, QStringLiteral("Computer"), fs::path(), node));
        const fs::path home = names_.homeFolder();
        if (names_.isFolder(home))
            children.push_back(
                makeNode(LocalNodeKind::Folder, PathText(home.filename()), home, node));
    }
    if (node->kind == LocalNodeKind::Computer) {
        for (const LocalVolume& volume : names_.volumes())
            children.push_back(makeNode(LocalNodeKind::Volume, volume.label, volume.root, node));
        return children;
    }
    std::vector<LocalEntry> entries;
    if (!node->isVirtual() && names_.list(node->path, true, entries)) {
        SortLocalEntries(entries);
        for (const LocalEntry& entry : entries)
            children.push_back(makeNode(LocalNodeKind::Folder, entry.name, entry.path, node));
    }
    return children;
}

void LocalTreeModel::ensureChildren(LocalTreeNode* node) {
    if (!node || node->loaded)
        return;
    auto children = readChildren(node);
    node->loaded = true;
    if (children.empty()) {
        const QModelIndex index = indexOf(node);
        emit dataChanged(index, index);
        return;
    }
    beginInsertRows(indexOf(node), 0, static_cast<int>(children.size()) - 1);
    node->children = std::move(children);
    endInsertRows();
}

void LocalTreeModel::reloadChildren(LocalTreeNode* node) {
    if (!node)
        return;
    if (!node->children.empty()) {
        beginRemoveRows(indexOf(node), 0, static_cast<int>(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    node->loaded = false;
    ensureChildren(node);
}

LocalTreeNode* LocalTreeModel::insertFolder(LocalTreeNode* node, const LocalEntry& entry) {
    if (!node || !node->loaded)
        return nullptr;
    auto& siblings = node->children;
    std::size_t row = 0;
    while (row < siblings.size() && (siblings[row]->kind != LocalNodeKind::Folder ||
                                     NaturalCompare(siblings[row]->label, entry.name) <= 0))
        ++row;
    beginInsertRows(indexOf(node), static_cast<int>(row), static_cast<int>(row));
    auto child = makeNode(LocalNodeKind::Folder, entry.name, entry.path, node);
    LocalTreeNode* inserted = child.get();
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(row), std::move(child));
    endInsertRows();
    return inserted;
}

void LocalTreeModel::removeNode(LocalTreeNode* node) {
    if (!node || !node->parent)
        return;
    auto& siblings = node->parent->children;
    for (std::size_t row = 0; row < siblings.size(); ++row) {
        if (siblings[row].get() != node)
            continue;
        beginRemoveRows(indexOf(node->parent), static_cast<int>(row), static_cast<int>(row));
        siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(row));
        endRemoveRows();
        return;
    }
}

void LocalTreeModel::followRename(const fs::path& from, const fs::path& to) {
    if (!root_ || from.empty())
        return;
    std::vector<LocalTreeNode*> shown;
    std::vector<LocalTreeNode*> pending{root_.get()};
    while (!pending.empty()) {
        LocalTreeNode* node = pending.back();
        pending.pop_back();
        if (node->kind == LocalNodeKind::Folder && node->path == from) {
            shown.push_back(node);
            continue;
        }
        for (const auto& child : node->children)
            pending.push_back(child.get());
    }
    for (LocalTreeNode* node : shown)
        moveNode(node, to);
}

void LocalTreeModel::moveNode(LocalTreeNode* node, const fs::path& path) {
    const fs::path old = node->path;
    node->label = PathText(path.filename());
    node->path = path;
    std::vector<LocalTreeNode*> pending;
    for (const auto& child : node->children)
        pending.push_back(child.get());
    while (!pending.empty()) {
        LocalTreeNode* below = pending.back();
        pending.pop_back();
        below->path = path / below->path.lexically_relative(old);
        for (const auto& child : below->children)
            pending.push_back(child.get());
    }
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index);
}

bool LocalTreeModel::isRenameable(const LocalTreeNode* node) const {
    return node && node->kind == LocalNodeKind::Folder && node->parent &&
           node->path != names_.homeFolder();
}

LocalTreeNode* LocalTreeModel::volumeFor(const fs::path& path) {
    if (!root_ || root_->children.empty())
        return nullptr;
    LocalTreeNode* computer = root_->children.front().get();
    ensureChildren(computer);
    LocalTreeNode* best = nullptr;
    for (const auto& volume : computer->children) {
        if (isWithin(path, volume->path) &&
            (!best || stepCount(volume->path) > stepCount(best->path)))
            best = volume.get();
    }
    return best;
}

LocalTreeNode* LocalTreeModel::childWithPath(LocalTreeNode* node, const fs::path& path) {
    ensureChildren(node);
    for (const auto& child : node->children) {
        if (child->path == path)
            return child.get();
    }
    return nullptr;
}

LocalTreeNode* LocalTreeModel::nodeForPath(const fs::path& path) {
    LocalTreeNode* current = volumeFor(path);
    if (!current)
        return nullptr;
    fs::path walked = current->path;
    for (const fs::path& step : path.lexically_relative(current->path)) {
        if (step.empty() || step == ".")
            continue;
        walked /= step;
        current = childWithPath(current, walked);
        if (!current)
            return nullptr;
    }
    return current;
}

QModelIndex LocalTreeModel::indexOf(const LocalTreeNode* node) const {
    if (!node)
        return {};
    if (!node->parent)
        return createIndex(0, 0, const_cast<LocalTreeNode*>(node));
    const auto& siblings = node->parent->children;
    for (std::size_t row = 0; row < siblings.size(); ++row) {
        if (siblings[row].get() == node)
            return createIndex(static_cast<int>(row), 0, const_cast<LocalTreeNode*>(node));
    }
    return {};
}

LocalTreeNode* LocalTreeModel::node(const QModelIndex& index) {
    return index.isValid() ? static_cast<LocalTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex LocalTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 && root_ ? createIndex(0, 0, root_.get()) : QModelIndex();
    const LocalTreeNode* owner = node(parent);
    if (!owner || row >= static_cast<int>(owner->children.size()))
        return {};
    return createIndex(row, 0, owner->children[static_cast<std::size_t>(row)].get());
}

QModelIndex LocalTreeModel::parent(const QModelIndex& child) const {
    const LocalTreeNode* owned = node(child);
    return owned ? indexOf(owned->parent) : QModelIndex();
}

int LocalTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    if (!parent.isValid())
        return root_ ? 1 : 0;
    return static_cast<int>(node(parent)->children.size());
}

int LocalTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant LocalTreeModel::data(const QModelIndex& index, int role) const {
    const LocalTreeNode* owned = node(index);
    if (!owned)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return owned->label;
    if (role == Qt::ToolTipRole)
        return PathText(owned->path);
    if (role == Qt::DecorationRole)
        return ThemeIcon(iconName(owned->kind),
                         owned->kind == LocalNodeKind::Volume ? IconKind::Drive : IconKind::Folder);
    return {};
}

bool LocalTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid())
        return root_ != nullptr;
    const LocalTreeNode* owner = node(parent);
    return !owner->loaded || !owner->children.empty();
}

bool LocalTreeModel::canFetchMore(const QModelIndex& parent) const {
    const LocalTreeNode* owner = node(parent);
    return owner && !owner->loaded;
}

// A view asks from inside its own handling (an expansion, a walk over the rows); the rows
// arrive from the event loop, so no insertion starts while another is being reported.
void LocalTreeModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, pending = QPersistentModelIndex(parent)] {
            if (pending.isValid())
                ensureChildren(node(pending));
        },
        Qt::QueuedConnection);
}

Qt::ItemFlags LocalTreeModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (isRenameable(node(index)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool LocalTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    emit nameEdited(index, value.toString());
    return true;
}
