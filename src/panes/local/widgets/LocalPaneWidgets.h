#pragma once

#include "common/PaneAccess.h"
#include "panes/local/LocalAttach.h"
#include "panes/local/LocalPaneController.h"
#include "panes/local/ServerAttachTarget.h"

#include <QObject>
#include <functional>
#include <memory>

class FileListView;
class LocalNamespace;
class QTreeView;
class ServerCatalogue;
class ServerPaneController;
class UIConfig;

// What the local pane needs of the window that holds it.
struct LocalPaneHost {
    ControlSettings& settings;
    UIConfig& uiConfig;
    ServerCatalogue& catalogue;
    ServerPaneController& server;
    ControlEvents& events;
    QWidget* window; // the pane host: parent of the views, target of desktop drops
    std::function<Prompter&()> prompter;
    std::function<qint16()> focusPane;
    std::function<void(qint16)> setFocusPane;
    std::function<void(int code, std::function<void()> action)> registerCommand;
    std::function<void(qint16 mode)> applyListViewMode;
    std::function<bool(const QString& path)> openLocal; // a file or folder, with its program
};

// The local pane's widgets (folder tree, file list) over the controller's models, its
// commands 10012-10020, attaching (dialogs, script, desktop drops, folder scans) and the
// upload list of the files the server pane queued in this run. The pane sets itself up the
// first time its tree is shown with LocalUIType 2, or when script opens a local folder.
class LocalPaneWidgets : public QObject,
                         public TreePaneAccess,
                         public ListPaneAccess,
                         public LocalAttachAccess {
    Q_OBJECT
public:
    LocalPaneWidgets(LocalPaneHost host, std::unique_ptr<LocalNamespace> names);
    ~LocalPaneWidgets() override;

    LocalPaneController& controller() { return *controller_; }
    QTreeView* treeView() const { return tree_; }
    FileListView* listView() const { return list_; }
    LocalAttach& attach() { return attach_; }

    // Builds the tree and fills the list once; later calls do nothing.
    void ensureSetUp();

    // TreePaneAccess
    QString selectedName() const override { return controller_->selectedName(); }
    QString selectedPath() const override { return controller_->selectedPath(); }
    bool selectedHasParent() const override { return controller_->selectedHasParent(); }
    bool goToFolder(const QString& path) override;

    // ListPaneAccess
    int firstSelectedRow() const override { return controller_->firstSelectedRow(); }
    int selectedCount() override { return controller_->selectedCount(); }
    bool selectedIsFolder(int index) const override { return controller_->selectedIsFolder(index); }
    QString selectedField(const QString& field, int index) const override {
        return controller_->selectedField(field, index);
    }

    // LocalAttachAccess
    void fileAttach() override { attach_.fileAttach(); }
    void folderAttach() override { attach_.folderAttach(); }
    void addLocalFile(const QString& localFile) override { attach_.addLocalFile(localFile); }
    qint16 buildUploadRows(QList<UploadRow>& rows) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyConfiguration();
    void connectTree();
    void connectList();
    void registerCommands();
    void addSelection(qint16 focus);
    bool takeDrop(QEvent* event);

    LocalPaneHost host_;
    std::unique_ptr<LocalNamespace> names_;
    std::unique_ptr<LocalPaneController> controller_;
    ServerAttachTarget target_;
    LocalAttach attach_;
    QTreeView* tree_;
    FileListView* list_;
    bool syncing_ = false;
};
