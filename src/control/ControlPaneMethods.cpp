// Script methods that act on the panes: by the focused pane, through the pane commands, or by
// asking a pane about its selection.
#include "common/PaneAccess.h"
#include "common/WorkingFolders.h"
#include "control/CMxVantrel2Ctrl.h"
#include "control/PaneCommand.h"
#include "control/PaneHostWindow.h"
#include "panes/server/ServerPaneController.h"

#include <filesystem>
#include <system_error>

namespace {

enum FocusPane : qint16 {
    ServerTreePane = 1,
    ServerListPane = 2,
    LocalTreePane = 3,
    LocalListPane = 4
};

bool isServerSide(qint16 focus) {
    return focus == ServerTreePane || focus == ServerListPane;
}
bool isLocalSide(qint16 focus) {
    return focus == LocalTreePane || focus == LocalListPane;
}

// The list a `selectData` of "server", "local" or "auto" names; null for any other text, for
// "auto" while no list has the focus, and while the pane is not built.
ListPaneAccess* listFor(const PaneHostWindow& host, const QString& selectData) {
    if (selectData == "server")
        return host.serverList();
    if (selectData == "local")
        return host.localList();
    if (selectData == "auto") {
        if (host.focusPane() == ServerListPane)
            return host.serverList();
        if (host.focusPane() == LocalListPane)
            return host.localList();
    }
    return nullptr;
}

TreePaneAccess* treeFor(const PaneHostWindow& host, const QString& selectData) {
    if (selectData == "server")
        return host.serverTree();
    if (selectData == "local")
        return host.localTree();
    if (selectData == "auto") {
        if (host.focusPane() == ServerTreePane)
            return host.serverTree();
        if (host.focusPane() == LocalTreePane)
            return host.localTree();
    }
    return nullptr;
}

} // namespace

short CMxVantrel2Ctrl::GetCurrentFocusCtrl() {
    return paneHost_->focusPane();
}

void CMxVantrel2Ctrl::SelectAllListItem() {
    if (paneHost_->focusPane() == ServerListPane)
        paneHost_->runCommand(PaneCommand::ServerSelectAll);
    else if (paneHost_->focusPane() == LocalListPane)
        paneHost_->runCommand(PaneCommand::LocalSelectAll);
}

void CMxVantrel2Ctrl::Upfolder() {
    if (isServerSide(paneHost_->focusPane()))
        paneHost_->runCommand(PaneCommand::ServerUpFolder);
    else if (isLocalSide(paneHost_->focusPane()))
        paneHost_->runCommand(PaneCommand::LocalUpFolder);
}

void CMxVantrel2Ctrl::Newfolder() {
    if (isServerSide(paneHost_->focusPane())) {
        paneHost_->setFocusPane(ServerListPane);
        paneHost_->pane(PaneLayout::ServerList)->setFocus();
        paneHost_->runCommand(PaneCommand::ServerNewFolder);
    } else if (isLocalSide(paneHost_->focusPane())) {
        paneHost_->setFocusPane(LocalListPane);
        paneHost_->pane(PaneLayout::LocalList)->setFocus();
        paneHost_->runCommand(PaneCommand::LocalNewFolder);
    }
}

void CMxVantrel2Ctrl::SetRenameModeList(int) {}

void CMxVantrel2Ctrl::SetRenameModeTree() {
    TreePaneAccess* tree = nullptr;
    if (paneHost_->focusPane() == ServerTreePane)
        tree = paneHost_->serverTree();
    else if (paneHost_->focusPane() == LocalTreePane)
        tree = paneHost_->localTree();
    else
        return;
    if (!tree || !tree->selectedHasParent())
        renameCompleted(-404);
}

void CMxVantrel2Ctrl::DeleteSelectedItem() {
    if (isServerSide(paneHost_->focusPane()))
        paneHost_->runCommand(PaneCommand::ServerDelete);
    else if (isLocalSide(paneHost_->focusPane()))
        paneHost_->runCommand(PaneCommand::LocalDelete);
}

int CMxVantrel2Ctrl::GetSelectedListCount(const QString& selectData) {
    ListPaneAccess* list = listFor(*paneHost_, selectData);
    return list ? list->selectedCount() : 0;
}

QString CMxVantrel2Ctrl::GetTreeSelectedName(const QString& selectData) {
    TreePaneAccess* tree = treeFor(*paneHost_, selectData);
    return tree ? tree->selectedName() : QString();
}

bool CMxVantrel2Ctrl::GetSelectedListIsFolder(const QString& selectData, int index) {
    ListPaneAccess* list = listFor(*paneHost_, selectData);
    return list && list->selectedIsFolder(index);
}

QString CMxVantrel2Ctrl::GetSelectedListItem(const QString& selectData, const QString& getdatatype,
                                             int index) {
    ListPaneAccess* list = listFor(*paneHost_, selectData);
    return list ? list->selectedField(getdatatype, index) : QString();
}

void CMxVantrel2Ctrl::SelectedItemOpen() {
    if (paneHost_->focusPane() == ServerListPane)
        paneHost_->runCommand(PaneCommand::ServerOpen);
    else if (paneHost_->focusPane() == LocalListPane)
        paneHost_->runCommand(PaneCommand::LocalOpen);
}

void CMxVantrel2Ctrl::RefreshItem() {
    if (isServerSide(paneHost_->focusPane()))
        paneHost_->runCommand(PaneCommand::ServerRefresh);
    else if (isLocalSide(paneHost_->focusPane()))
        paneHost_->runCommand(PaneCommand::LocalRefresh);
}

void CMxVantrel2Ctrl::SelectedItemDown() {
    paneHost_->runCommand(PaneCommand::Download);
}

void CMxVantrel2Ctrl::SelectedItemAddServerList() {
    paneHost_->runCommand(PaneCommand::AddLocalSelection);
}

QString CMxVantrel2Ctrl::GetServerSelectedFolderPath() {
    TreePaneAccess* tree = paneHost_->serverTree();
    return tree ? tree->selectedPath() : QString();
}

short CMxVantrel2Ctrl::SetLocalGoFolder(const QString& szPath) {
    if (settings().LocalUIType != 2)
        return -3;
    if (szPath.isEmpty())
        return -1;
    QString path = szPath;
    if (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    if (PathKind(path) != 1)
        return -2;
    // The folder exists; the tree stops quietly where it cannot follow (a hidden step).
    if (TreePaneAccess* tree = paneHost_->localTree())
        tree->goToFolder(path);
    return 0;
}

short CMxVantrel2Ctrl::ServerFolderPosUp() {
    return paneHost_->serverPane().moveFolder(-1);
}

short CMxVantrel2Ctrl::ServerFolderPosDown() {
    return paneHost_->serverPane().moveFolder(1);
}

void CMxVantrel2Ctrl::ServerNewfolderByName(const QString& szFolName) {
    paneHost_->setFocusPane(ServerListPane);
    paneHost_->pane(PaneLayout::ServerList)->setFocus();
    paneHost_->serverPane().newFolder(szFolName);
}

short CMxVantrel2Ctrl::SetServerGoFolder(const QString& szPath, short nCh) {
    return paneHost_->serverPane().goToFolder(szPath, nCh);
}

void CMxVantrel2Ctrl::SetServerListDraw(bool bDraw) {
    paneHost_->serverPane().setListDraw(bDraw);
}

void CMxVantrel2Ctrl::BeepOn() {}

void CMxVantrel2Ctrl::DragSelectedItemDown() {}

QString CMxVantrel2Ctrl::GetServerCurDropPath() {
    return paneHost_->ServerCurDropPath;
}

// Only a regular file or a symbolic link (never what it points to) is deleted; a folder or
// anything else is refused.
bool CMxVantrel2Ctrl::DeleteLocalFile(const QString& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path.toStdString(), error);
    if (error || !(fs::is_regular_file(status) || fs::is_symlink(status)))
        return false;
    return fs::remove(path.toStdString(), error) && !error;
}
