// Script methods that act on the panes: by the focused pane, through the pane commands, or by
// asking a pane about its selection.
#include "common/FocusPanes.h"
#include "common/PaneAccess.h"
#include "common/WorkingFolders.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/server/ServerPaneController.h"
#include "session/ControlSession.h"
#include "session/PaneCommand.h"

#include <filesystem>
#include <system_error>

namespace {

// The pane a `selectData` of "server", "local" or "auto" names: for "auto", the side whose
// `serverPane` or `localPane` has the focus. Null for any other text, and for "auto" while
// neither has it.
template <typename Access>
Access* paneFor(ControlSession& session, const QString& selectData, qint16 serverPane,
                qint16 localPane) {
    const bool automatic = selectData == "auto";
    if (selectData == "server" || (automatic && session.focusPane() == serverPane))
        return &session.serverPane();
    if (selectData == "local" || (automatic && session.focusPane() == localPane))
        return &session.localPane();
    return nullptr;
}

ListPaneAccess* listFor(ControlSession& session, const QString& selectData) {
    return paneFor<ListPaneAccess>(session, selectData, ServerListPane, LocalListPane);
}

TreePaneAccess* treeFor(ControlSession& session, const QString& selectData) {
    return paneFor<TreePaneAccess>(session, selectData, ServerTreePane, LocalTreePane);
}

} // namespace

short CMxVantrel2Ctrl::GetCurrentFocusCtrl() {
    return session_->focusPane();
}

void CMxVantrel2Ctrl::SelectAllListItem() {
    if (session_->focusPane() == ServerListPane)
        session_->runCommand(PaneCommand::ServerSelectAll);
    else if (session_->focusPane() == LocalListPane)
        session_->runCommand(PaneCommand::LocalSelectAll);
}

void CMxVantrel2Ctrl::Upfolder() {
    if (IsServerSide(session_->focusPane()))
        session_->runCommand(PaneCommand::ServerUpFolder);
    else if (IsLocalSide(session_->focusPane()))
        session_->runCommand(PaneCommand::LocalUpFolder);
}

void CMxVantrel2Ctrl::Newfolder() {
    if (IsServerSide(session_->focusPane())) {
        session_->focusOn(ServerListPane);
        session_->runCommand(PaneCommand::ServerNewFolder);
    } else if (IsLocalSide(session_->focusPane())) {
        session_->focusOn(LocalListPane);
        session_->runCommand(PaneCommand::LocalNewFolder);
    }
}

void CMxVantrel2Ctrl::SetRenameModeList(int index) {
    session_->renameModeList(index);
}

void CMxVantrel2Ctrl::SetRenameModeTree() {
    session_->renameModeTree();
}

void CMxVantrel2Ctrl::DeleteSelectedItem() {
    if (IsServerSide(session_->focusPane()))
        session_->runCommand(PaneCommand::ServerDelete);
    else if (IsLocalSide(session_->focusPane()))
        session_->runCommand(PaneCommand::LocalDelete);
}

int CMxVantrel2Ctrl::GetSelectedListCount(const QString& selectData) {
    ListPaneAccess* list = listFor(*session_, selectData);
    return list ? list->selectedCount() : 0;
}

QString CMxVantrel2Ctrl::GetTreeSelectedName(const QString& selectData) {
    TreePaneAccess* tree = treeFor(*session_, selectData);
    return tree ? tree->selectedName() : QString();
}

bool CMxVantrel2Ctrl::GetSelectedListIsFolder(const QString& selectData, int index) {
    ListPaneAccess* list = listFor(*session_, selectData);
    return list && list->selectedIsFolder(index);
}

QString CMxVantrel2Ctrl::GetSelectedListItem(const QString& selectData, const QString& getdatatype,
                                             int index) {
    ListPaneAccess* list = listFor(*session_, selectData);
    return list ? list->selectedField(getdatatype, index) : QString();
}

void CMxVantrel2Ctrl::SelectedItemOpen() {
    if (session_->focusPane() == ServerListPane)
        session_->runCommand(PaneCommand::ServerOpen);
    else if (session_->focusPane() == LocalListPane)
        session_->runCommand(PaneCommand::LocalOpen);
}

void CMxVantrel2Ctrl::RefreshItem() {
    if (IsServerSide(session_->focusPane()))
        session_->runCommand(PaneCommand::ServerRefresh);
    else if (IsLocalSide(session_->focusPane()))
        session_->runCommand(PaneCommand::LocalRefresh);
}

void CMxVantrel2Ctrl::SelectedItemDown() {
    session_->runCommand(PaneCommand::Download);
}

void CMxVantrel2Ctrl::SelectedItemAddServerList() {
    session_->runCommand(PaneCommand::AddLocalSelection);
}

QString CMxVantrel2Ctrl::GetServerSelectedFolderPath() {
    return session_->serverPane().selectedPath();
}

short CMxVantrel2Ctrl::SetLocalGoFolder(const QString& szPath) {
    if (settings().LocalUIType != 2)
        return LocalGoFolderCode::PaneNotShown;
    if (szPath.isEmpty())
        return LocalGoFolderCode::EmptyPath;
    // Asked before the path is looked at, so a refused page learns nothing of what exists.
    if (!session_->pageMayUse(PagePathUse::OpenFolder, szPath))
        return LocalGoFolderCode::NotAllowed;
    QString path = szPath;
    if (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    if (PathKind(path) != 1)
        return LocalGoFolderCode::NotAFolder;
    // The folder exists; the tree stops quietly where it cannot follow (a hidden step).
    session_->ensureLocalPaneSetUp();
    session_->localPane().goToFolder(path);
    return LocalGoFolderCode::Opened;
}

short CMxVantrel2Ctrl::ServerFolderPosUp() {
    return session_->serverPane().moveFolder(-1);
}

short CMxVantrel2Ctrl::ServerFolderPosDown() {
    return session_->serverPane().moveFolder(1);
}

void CMxVantrel2Ctrl::ServerNewfolderByName(const QString& szFolName) {
    session_->focusOn(ServerListPane);
    session_->serverPane().newFolder(szFolName);
}

short CMxVantrel2Ctrl::SetServerGoFolder(const QString& szPath, short nCh) {
    return session_->serverPane().goToFolder(szPath, nCh);
}

void CMxVantrel2Ctrl::SetServerListDraw(bool bDraw) {
    session_->serverPane().setListDraw(bDraw);
}

void CMxVantrel2Ctrl::BeepOn() {}

void CMxVantrel2Ctrl::DragSelectedItemDown() {
    session_->dragSelectedItemDown();
}

QString CMxVantrel2Ctrl::GetServerCurDropPath() {
    return session_->serverCurDropPath();
}

// Only a regular file or a symbolic link (never what it points to) is deleted; a folder or
// anything else is refused.
bool CMxVantrel2Ctrl::DeleteLocalFile(const QString& path) {
    if (!session_->pageMayUse(PagePathUse::Delete, path))
        return false;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path.toStdString(), error);
    if (error || !(fs::is_regular_file(status) || fs::is_symlink(status)))
        return false;
    return fs::remove(path.toStdString(), error) && !error;
}
