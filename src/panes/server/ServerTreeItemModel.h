#pragma once

#include "panes/server/ExtensionIcons.h"
#include "panes/server/ServerTreeModel.h"

#include <QAbstractItemModel>

// The server tree as a Qt model: each index carries its ServerTreeNode; changes of the plain
// model are forwarded as they happen.
class ServerTreeItemModel : public QAbstractItemModel, private ServerTreeObserver {
    Q_OBJECT
public:
    explicit ServerTreeItemModel(ServerTreeModel& tree, QObject* parent = nullptr);
    ~ServerTreeItemModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Folder names are editable in place, except those of the top-level (disk) folders. An
    // edit changes nothing here: it is handed on as nameEdited for the pane to rename it.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The node of an index (null for the invisible root) and the index of a node.
    static ServerTreeNode* node(const QModelIndex& index);
    QModelIndex indexOf(const ServerTreeNode* node) const;

signals:
    // The plain model's expansion or selection changed; the view follows.
    void nodeExpansionChanged(const QModelIndex& index, bool expanded);
    void nodeSelected(const QModelIndex& index);
    // The user finished editing the name of `index` with `text`.
    void nameEdited(const QModelIndex& index, const QString& text);

private:
    void aboutToReset() override;
    void reset() override;
    void aboutToInsert(ServerTreeNode* parent, int row) override;
    void inserted() override;
    void aboutToRemove(ServerTreeNode* parent, int row) override;
    void removed() override;
    void aboutToMove(ServerTreeNode* fromParent, int from, ServerTreeNode* toParent,
                     int to) override;
    void moved() override;
    void expandedChanged(ServerTreeNode* node) override;
    void labelChanged(ServerTreeNode* node) override;
    void selectionChanged(ServerTreeNode* node) override;

    ServerTreeModel& tree_;
    ExtensionIcons icons_;
};
