#pragma once

#include "panes/local/LocalNamespace.h"

#include <QAbstractItemModel>
#include <memory>
#include <vector>

// What a node of the local tree stands for. Desktop and Computer are virtual unless the
// desktop folder exists; volumes and folders always carry a path.
enum class LocalNodeKind { Desktop, Computer, Volume, Folder };

struct LocalTreeNode {
    LocalNodeKind kind = LocalNodeKind::Folder;
    QString label;
    std::filesystem::path path; // empty for a virtual node
    LocalTreeNode* parent = nullptr;
    std::vector<std::unique_ptr<LocalTreeNode>> children;
    bool loaded = false; // children read (on first expansion)
    bool isVirtual() const { return path.empty(); }
};

// The local folder tree without a window: Desktop at the root; under it a virtual Computer
// node holding the file-system root and the mounted volumes, then the home folder, then the
// desktop folder's own sub-folders. Children are read when a node is first expanded, folders
// only, hidden names left out, in natural order. Rows hold their node (internal pointer).
class LocalTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit LocalTreeModel(const LocalNamespace& names, QObject* parent = nullptr);

    // Builds the Desktop root with its first level; the root's children are read at once.
    void buildRoot();
    LocalTreeNode* root() const { return root_.get(); }

    // Reads the children of `node` unless they were read.
    void ensureChildren(LocalTreeNode* node);
    // Forgets and reads the children of `node` again (refresh).
    void reloadChildren(LocalTreeNode* node);
    // Inserts a folder child of `node` in its sorted place; null when `node` has not been
    // read yet (the new folder appears when it is).
    LocalTreeNode* insertFolder(LocalTreeNode* node, const LocalEntry& entry);
    // Removes `node` (not the root) with its subtree.
    void removeNode(LocalTreeNode* node);
    // The folder at `from` was renamed to `to`: every node read so far that shows it takes
    // the new label, and the paths below it follow; each keeps its place among its siblings
    // until they are read again.
    void followRename(const std::filesystem::path& from, const std::filesystem::path& to);
    // Whether `node` may be renamed in place: a real folder, but neither a volume, the
    // desktop nor the home folder.
    bool isRenameable(const LocalTreeNode* node) const;

    // The node of the existing folder `path` (absolute, "/" separated, no trailing "/"):
    // Computer, the volume with the longest matching mount point, then the path's steps,
    // reading children on the way; null when a step is not found.
    LocalTreeNode* nodeForPath(const std::filesystem::path& path);

    QModelIndex indexOf(const LocalTreeNode* node) const;
    static LocalTreeNode* node(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // An edit of a folder's name changes nothing here: it is handed on as nameEdited for the
    // pane to rename the folder.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // The user finished editing the name of `index` with `text`.
    void nameEdited(const QModelIndex& index, const QString& text);

private:
    std::vector<std::unique_ptr<LocalTreeNode>> readChildren(LocalTreeNode* node) const;
    LocalTreeNode* childWithPath(LocalTreeNode* node, const std::filesystem::path& path);
    LocalTreeNode* volumeFor(const std::filesystem::path& path);
    void moveNode(LocalTreeNode* node, const std::filesystem::path& path);

    const LocalNamespace& names_;
    std::unique_ptr<LocalTreeNode> root_;
};
