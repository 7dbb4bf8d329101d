#pragma once

#include "panes/list/PopupMenuWidget.h"

#include <QObject>

class ControlSession;
class FileListView;
class LabelEditing;
class QTreeView;
class QWidget;
class ServerListItemModel;
class ServerPaneController;
class ServerTreeItemModel;

// The server pane's widgets: the folder tree and the file list over the session's server
// pane. The views forward input to the controller and follow what its models say.
class ServerPaneWidgets : public QObject {
    Q_OBJECT
public:
    ServerPaneWidgets(ControlSession& session, QWidget* window);
    ~ServerPaneWidgets() override;

    QTreeView* treeView() const { return tree_; }
    FileListView* listView() const { return list_; }

private:
    void applyConfiguration();
    void connectTree();
    void connectList();
    void showListSelection();
    void takeListSelection();
    void openRenameEditor(qint16 pane, int row, const QString& text);
    // The menu of `pane` (a FocusPane number) through the session.
    ViewMenu menuOf(qint16 pane);

    ControlSession& session_;
    ServerPaneController& controller_;
    ServerTreeItemModel* treeModel_;
    ServerListItemModel* listModel_;
    QTreeView* tree_;
    FileListView* list_;
    LabelEditing* treeEditing_;
    bool syncing_ = false;
};
