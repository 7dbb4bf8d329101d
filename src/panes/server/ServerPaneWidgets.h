#pragma once

#include "common/PaneAccess.h"
#include "panes/server/ServerPaneController.h"

#include <QObject>
#include <functional>
#include <memory>

class FileListView;
struct DownloadHost;
class QTreeView;
class ServerListItemModel;
class ServerTreeItemModel;

// What the server pane needs of the window that holds it.
struct ServerPaneHost {
    ServerCatalogue& catalogue;
    ChangeJournal& journal;
    ControlSettings& settings;
    UIConfig& uiConfig;
    std::function<Prompter&()> prompter; // the host's current one, which the page may replace
    ControlEvents& events;
    QWidget* window;
    std::function<qint16()> focusPane;
    std::function<void(qint16)> setFocusPane;
    std::function<void(int code, std::function<void()> action)> registerCommand;
    std::function<bool(const QString& path)> openLocal; // a file or folder, with its program
};

// The server pane's widgets: the folder tree and the file list over the controller's models.
// The views forward input to the controller and follow what the models say; the pane
// registers its commands with the host and is the document load's ServerPaneLoading.
class ServerPaneWidgets : public QObject, public ServerPaneLoading {
    Q_OBJECT
public:
    explicit ServerPaneWidgets(ServerPaneHost host);
    ~ServerPaneWidgets() override;

    ServerPaneController& controller() { return controller_; }
    QTreeView* treeView() const { return tree_; }
    FileListView* listView() const { return list_; }

    void applyConfiguration() override;
    void clear() override { controller_.clear(); }
    bool buildTree() override { return controller_.buildTree(); }
    void selectFirstFolder() override { controller_.selectFirstFolder(); }

private:
    void connectTree();
    void connectList();
    void registerCommands();
    void showListSelection();
    void takeListSelection();
    void download();
    DownloadHost downloadHost();

    ServerPaneHost host_;
    std::unique_ptr<Prompter> prompter_; // asks whichever prompter the host has at the time
    ServerPaneController controller_;
    ServerTreeItemModel* treeModel_;
    ServerListItemModel* listModel_;
    QTreeView* tree_;
    FileListView* list_;
    bool syncing_ = false;
};
