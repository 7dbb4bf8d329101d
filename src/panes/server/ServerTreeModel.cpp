#include "panes/server/ServerTreeModel.h"

#include <algorithm>
#include <utility>

namespace {

const QString kFolder = QStringLiteral("FOLDER");

// The first of `children` that `matches`; null when none does.
template <typename Match>
ServerTreeNode* FirstChild(const std::vector<std::unique_ptr<ServerTreeNode>>& children,
                           Match matches) {
    const auto found = std::find_if(children.begin(), children.end(),
                                    [&matches](const auto& child) { return matches(*child); });
    return found == children.end() ? nullptr : found->get();
}

} // namespace

ServerTreeNode::~ServerTreeNode() {
    // Each node taken off the list hands its children over first, so it dies childless.
    std::vector<std::unique_ptr<ServerTreeNode>> doomed = std::move(children);
    while (!doomed.empty()) {
        std::unique_ptr<ServerTreeNode> node = std::move(doomed.back());
        doomed.pop_back();
        for (auto& child : node->children)
            doomed.push_back(std::move(child));
        node->children.clear();
    }
}

const std::vector<std::unique_ptr<ServerTreeNode>>&
ServerTreeModel::childrenOf(const ServerTreeNode* parent) const {
    return parent ? parent->children : top_;
}

std::vector<std::unique_ptr<ServerTreeNode>>&
ServerTreeModel::siblingsOf(const ServerTreeNode* node) {
    return node->parent ? node->parent->children : top_;
}

std::unique_ptr<ServerTreeNode> ServerTreeModel::makeNode(const XmlNode& element,
                                                          ServerTreeNode* parent) {
    auto node = std::make_unique<ServerTreeNode>();
    node->element = element;
    node->label = element.attribute(QStringLiteral("name"));
    node->isDisk = !parent && element.attribute(QStringLiteral("type")) == QLatin1String("disk");
    node->parent = parent;
    node->serial = ++lastSerial_;
    bySerial_.insert(node->serial, node.get());
    return node;
}

// Without recursion: a deeply nested catalogue must not exhaust the stack.
void ServerTreeModel::addFolderChildren(ServerTreeNode* start) {
    std::vector<ServerTreeNode*> pending{start};
    while (!pending.empty()) {
        ServerTreeNode* node = pending.back();
        pending.pop_back();
        for (const XmlNode& folder : node->element.selectAll(kFolder))
            node->children.push_back(makeNode(folder, node));
        for (auto& child : node->children)
            pending.push_back(child.get());
    }
}

void ServerTreeModel::forget(ServerTreeNode* subtree) {
    std::vector<ServerTreeNode*> pending{subtree};
    while (!pending.empty()) {
        ServerTreeNode* node = pending.back();
        pending.pop_back();
        bySerial_.remove(node->serial);
        for (auto& child : node->children)
            pending.push_back(child.get());
    }
}

void ServerTreeModel::clear() {
    if (observer_)
        observer_->aboutToReset();
    selected_ = nullptr;
    top_.clear();
    bySerial_.clear();
    if (observer_)
        observer_->reset();
}

bool ServerTreeModel::build(const XmlNode& root) {
    if (root.isNull())
        return false;
    if (observer_)
        observer_->aboutToReset();
    selected_ = nullptr;
    top_.clear();
    bySerial_.clear();
    for (const XmlNode& folder : root.selectAll(kFolder)) {
        top_.push_back(makeNode(folder, nullptr));
        addFolderChildren(top_.back().get());
    }
    if (observer_)
        observer_->reset();
    return true;
}

int ServerTreeModel::rowOf(const ServerTreeNode* node) const {
    if (!node)
        return -1;
    const auto& siblings = childrenOf(node->parent);
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [node](const auto& child) { return child.get() == node; });
    return found == siblings.end() ? -1 : static_cast<int>(found - siblings.begin());
}

bool ServerTreeModel::setSelected(ServerTreeNode* node) {
    if (node == selected_)
        return false;
    selected_ = node;
    if (observer_)
        observer_->selectionChanged(node);
    return true;
}

void ServerTreeModel::setExpanded(ServerTreeNode* node, bool expanded) {
    if (!node || node->expanded == expanded)
        return;
    node->expanded = expanded;
    if (observer_)
        observer_->expandedChanged(node);
}

ServerTreeNode* ServerTreeModel::childByLabel(const ServerTreeNode* parent,
                                              const QString& label) const {
    return FirstChild(childrenOf(parent),
                      [&label](const ServerTreeNode& child) { return child.label == label; });
}

ServerTreeNode* ServerTreeModel::childByElement(const ServerTreeNode* parent,
                                                const XmlNode& element) const {
    return FirstChild(childrenOf(parent),
                      [&element](const ServerTreeNode& child) { return child.element == element; });
}

ServerTreeNode* ServerTreeModel::insertChild(ServerTreeNode* parent, const XmlNode& element,
                                             int row) {
    auto& siblings = parent ? parent->children : top_;
    row = std::clamp(row, 0, static_cast<int>(siblings.size()));
    if (observer_)
        observer_->aboutToInsert(parent, row);
    auto node = makeNode(element, parent);
    addFolderChildren(node.get());
    ServerTreeNode* placed = node.get();
    siblings.insert(siblings.begin() + row, std::move(node));
    if (observer_)
        observer_->inserted();
    return placed;
}

bool ServerTreeModel::contains(const ServerTreeNode* ancestor, const ServerTreeNode* node) {
    for (; node; node = node->parent) {
        if (node == ancestor)
            return true;
    }
    return false;
}

void ServerTreeModel::remove(ServerTreeNode* node) {
    const int row = rowOf(node);
    if (row < 0)
        return;
    if (observer_)
        observer_->aboutToRemove(node->parent, row);
    if (contains(node, selected_))
        selected_ = nullptr;
    forget(node);
    auto& siblings = siblingsOf(node);
    siblings.erase(siblings.begin() + row);
    if (observer_)
        observer_->removed();
}

bool ServerTreeModel::moveAmongSiblings(ServerTreeNode* node, int delta) {
    const int row = rowOf(node);
    auto& siblings = siblingsOf(node);
    const int other = row + delta;
    if (row < 0 || other < 0 || other >= static_cast<int>(siblings.size()))
        return false;
    const int first = std::min(row, other);
    // The later of the two goes before the earlier one.
    if (observer_)
        observer_->aboutToMove(node->parent, first + 1, node->parent, first);
    std::swap(siblings[first], siblings[first + 1]);
    if (observer_)
        observer_->moved();
    return true;
}

bool ServerTreeModel::moveUnder(ServerTreeNode* node, ServerTreeNode* newParent, int row) {
    const int from = rowOf(node);
    if (from < 0 || !newParent || node->parent == newParent || contains(node, newParent))
        return false;
    auto& oldSiblings = siblingsOf(node);
    row = std::clamp(row, 0, static_cast<int>(newParent->children.size()));
    if (observer_)
        observer_->aboutToMove(node->parent, from, newParent, row);
    std::unique_ptr<ServerTreeNode> owned = std::move(oldSiblings[from]);
    oldSiblings.erase(oldSiblings.begin() + from);
    node->parent = newParent;
    newParent->children.insert(newParent->children.begin() + row, std::move(owned));
    if (observer_)
        observer_->moved();
    return true;
}

void ServerTreeModel::relabel(ServerTreeNode* node, const QString& label) {
    if (!node || node->label == label)
        return;
    node->label = label;
    if (observer_)
        observer_->labelChanged(node);
}

QString ServerTreeModel::serverPath(const ServerTreeNode* node) {
    QStringList labels;
    for (; node; node = node->parent)
        labels.prepend(node->label);
    return labels.join(QLatin1Char('/'));
}
