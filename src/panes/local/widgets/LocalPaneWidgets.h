#pragma once

#include "panes/list/PopupMenuWidget.h"

#include <QObject>

class ControlSession;
class FileListView;
class LabelEditing;
class LocalPaneController;
class QTreeView;
class QWidget;

// The local pane's widgets (folder tree, file list) over the session's local pane, and the
// desktop drops onto the control's window, which attach what they carry.
class LocalPaneWidgets : public QObject {
    Q_OBJECT
public:
    LocalPaneWidgets(ControlSession& session, QWidget* window);
    ~LocalPaneWidgets() override;

    QTreeView* treeView() const { return tree_; }
    FileListView* listView() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyConfiguration();
    void connectTree();
    void connectList();
    bool takeDrop(QEvent* event);
    void openRenameEditor(qint16 pane, int row, const QString& text);
    // The menu of `pane` (a FocusPane number) through the session.
    ViewMenu menuOf(qint16 pane);

    ControlSession& session_;
    LocalPaneController& controller_;
    QWidget* window_;
    QTreeView* tree_;
    FileListView* list_;
    LabelEditing* treeEditing_;
    bool syncing_ = false;
};
