#pragma once

#include "xml/XmlNode.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// One folder of the server tree. It holds its catalogue element, so two siblings of the same
// name never stand in for each other; path-based lookups still take the first match.
struct ServerTreeNode {
    ServerTreeNode() = default;
    // Frees the subtree without recursion, so any depth is safe to drop.
    ~ServerTreeNode();
    ServerTreeNode(const ServerTreeNode&) = delete;
    ServerTreeNode& operator=(const ServerTreeNode&) = delete;

    XmlNode element;
    QString label;
    quint64 serial = 0; // unique over the model's life; never reused
    bool isDisk = false;
    bool expanded = false;
    ServerTreeNode* parent = nullptr; // null for top-level (disk) nodes
    std::vector<std::unique_ptr<ServerTreeNode>> children;
};

// Told before and after every change, so a Qt model can forward it to its views.
class ServerTreeObserver {
public:
    virtual ~ServerTreeObserver() = default;
    virtual void aboutToReset() = 0;
    virtual void reset() = 0;
    // `parent` null: the top level.
    virtual void aboutToInsert(ServerTreeNode* parent, int row) = 0;
    virtual void inserted() = 0;
    virtual void aboutToRemove(ServerTreeNode* parent, int row) = 0;
    virtual void removed() = 0;
    // The node at `from` of `fromParent` goes before the row `to` of `toParent` (as
    // QAbstractItemModel::beginMoveRows).
    virtual void aboutToMove(ServerTreeNode* fromParent, int from, ServerTreeNode* toParent,
                             int to) = 0;
    virtual void moved() = 0;
    virtual void expandedChanged(ServerTreeNode* node) = 0;
    virtual void labelChanged(ServerTreeNode* node) = 0;
    virtual void selectionChanged(ServerTreeNode* node) = 0;
};

// The server folder tree without a window: one node per FOLDER element, nested as in the
// catalogue, and the one selected node. Selecting only records the selection; what a
// selection change does (fill the list, remember, tell script) is the controller's.
class ServerTreeModel {
public:
    ServerTreeModel() = default;
    ServerTreeModel(const ServerTreeModel&) = delete;
    ServerTreeModel& operator=(const ServerTreeModel&) = delete;

    void setObserver(ServerTreeObserver* observer) { observer_ = observer; }

    // Deletes every node; the selection goes without any selection-change handling.
    void clear();
    // Builds the nodes from the FOLDER children of `root`, every level at once. False when
    // `root` is empty.
    bool build(const XmlNode& root);

    const std::vector<std::unique_ptr<ServerTreeNode>>& topLevel() const { return top_; }
    const std::vector<std::unique_ptr<ServerTreeNode>>& childrenOf(const ServerTreeNode* p) const;
    // Row of `node` among its siblings; -1 for null.
    int rowOf(const ServerTreeNode* node) const;

    ServerTreeNode* selected() const { return selected_; }
    // Records the selection; false when it was already that node.
    bool setSelected(ServerTreeNode* node);
    void setExpanded(ServerTreeNode* node, bool expanded);

    // The first child of `parent` (null: the top level) labelled `label`, exactly.
    ServerTreeNode* childByLabel(const ServerTreeNode* parent, const QString& label) const;
    // The node of `serial`; null once it is removed (serials are never reused).
    ServerTreeNode* nodeBySerial(quint64 serial) const { return bySerial_.value(serial); }
    // The child of `parent` (null: the top level) that holds `element`.
    ServerTreeNode* childByElement(const ServerTreeNode* parent, const XmlNode& element) const;
    // A new folder node for `element` at `row` of `parent`'s children.
    ServerTreeNode* insertChild(ServerTreeNode* parent, const XmlNode& element, int row);
    // Removes `node` and its subtree. A selection inside it is dropped without handling.
    void remove(ServerTreeNode* node);
    // Swaps `node` with its previous (delta -1) or next (delta 1) sibling; false at an end.
    bool moveAmongSiblings(ServerTreeNode* node, int delta);
    // Moves `node` with its subtree to `row` of `newParent`'s children (not the top level);
    // it keeps its serial and the selection. False when `newParent` is already its parent,
    // or is `node` or below it.
    bool moveUnder(ServerTreeNode* node, ServerTreeNode* newParent, int row);
    // Shows `node` under `label` (its element was renamed); the order of siblings stays.
    void relabel(ServerTreeNode* node, const QString& label);
    // Whether the view may rename `node` in place: every folder but a top-level (disk) one.
    static bool isRenameable(const ServerTreeNode* node) { return node && node->parent; }

    // Labels from the top-level node down, joined by "/"; empty for null.
    static QString serverPath(const ServerTreeNode* node);

private:
    std::vector<std::unique_ptr<ServerTreeNode>>& siblingsOf(const ServerTreeNode* node);
    std::unique_ptr<ServerTreeNode> makeNode(const XmlNode& element, ServerTreeNode* parent);
    // Makes the nodes of every FOLDER below `start`'s element, level by level.
    void addFolderChildren(ServerTreeNode* start);
    void forget(ServerTreeNode* subtree);
    static bool contains(const ServerTreeNode* ancestor, const ServerTreeNode* node);

    std::vector<std::unique_ptr<ServerTreeNode>> top_;
    ServerTreeNode* selected_ = nullptr;
    ServerTreeObserver* observer_ = nullptr;
    QHash<quint64, ServerTreeNode*> bySerial_;
    quint64 lastSerial_ = 0;
};
