// Script methods that read the change journal and read or edit the server catalogue.
#include "control/CMxVantrel2Ctrl.h"
#include "control/PaneHostWindow.h"
#include "panes/server/ServerPaneController.h"

int CMxVantrel2Ctrl::GetCurrentUploadFileCnt() {
    return paneHost_->journal().GetCurrentUploadFileCnt();
}

QString CMxVantrel2Ctrl::GetCurrentUploadFileData(const QString& selectData, int index) {
    return paneHost_->journal().GetCurrentUploadFileData(selectData, index);
}

int CMxVantrel2Ctrl::GetServerDeleteFileCount() {
    return paneHost_->journal().GetServerDeleteFileCount();
}

QString CMxVantrel2Ctrl::GetServerDeleteFile(int index) {
    return paneHost_->journal().GetServerDeleteFile(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFilename(int index) {
    return paneHost_->journal().GetServerDeleteFilename(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFilePath(int index) {
    return paneHost_->journal().GetServerDeleteFilePath(index);
}

double CMxVantrel2Ctrl::GetServerDeleteFilesize(int index) {
    return paneHost_->journal().GetServerDeleteFilesize(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFileXmlPath(int index) {
    return paneHost_->journal().GetServerDeleteFileXmlPath(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFileXmlQuery(int index) {
    return paneHost_->journal().GetServerDeleteFileXmlQuery(index);
}

void CMxVantrel2Ctrl::RemoveDeleteList() {
    paneHost_->journal().RemoveDeleteList();
}

int CMxVantrel2Ctrl::GetRenameFolderCount() {
    return paneHost_->journal().GetRenameFolderCount();
}

QString CMxVantrel2Ctrl::GetRenameFolderOldPath(int index) {
    return paneHost_->journal().GetRenameFolderOldPath(index);
}

QString CMxVantrel2Ctrl::GetRenameFolderNewPath(int index) {
    return paneHost_->journal().GetRenameFolderNewPath(index);
}

int CMxVantrel2Ctrl::GetRenameFileCount() {
    return paneHost_->journal().GetRenameFileCount();
}

QString CMxVantrel2Ctrl::GetRenameOldFile(int index) {
    return paneHost_->journal().GetRenameOldFile(index);
}

QString CMxVantrel2Ctrl::GetRenameNewFile(int index) {
    return paneHost_->journal().GetRenameNewFile(index);
}

QString CMxVantrel2Ctrl::GetRenameXmlPath(int index) {
    return paneHost_->journal().GetRenameXmlPath(index);
}

QString CMxVantrel2Ctrl::GetRenamePathType(int index) {
    return paneHost_->journal().GetRenamePathType(index);
}

QString CMxVantrel2Ctrl::GetRenameName(const QString& gubun, int index) {
    return paneHost_->journal().GetRenameName(gubun, index);
}

void CMxVantrel2Ctrl::RemoveRenameList() {
    paneHost_->journal().RemoveRenameList();
}

int CMxVantrel2Ctrl::GetDragDropFolderCount() {
    return paneHost_->journal().GetDragDropFolderCount();
}

QString CMxVantrel2Ctrl::GetDragFolderPath(int index) {
    return paneHost_->journal().GetDragFolderPath(index);
}

QString CMxVantrel2Ctrl::GetDropFolderPath(int index) {
    return paneHost_->journal().GetDropFolderPath(index);
}

int CMxVantrel2Ctrl::GetDragDropFileCount() {
    return paneHost_->journal().GetDragDropFileCount();
}

QString CMxVantrel2Ctrl::GetDragFile(int index) {
    return paneHost_->journal().GetDragFile(index);
}

QString CMxVantrel2Ctrl::GetDropFile(int index) {
    return paneHost_->journal().GetDropFile(index);
}

QString CMxVantrel2Ctrl::GetDropXmlPath(int index) {
    return paneHost_->journal().GetDropXmlPath(index);
}

void CMxVantrel2Ctrl::RemoveDragList() {
    paneHost_->journal().RemoveDragList();
}

int CMxVantrel2Ctrl::GetOldOWFileCount() {
    return paneHost_->journal().GetOldOWFileCount();
}

QString CMxVantrel2Ctrl::GetOldOWFile(int index) {
    return paneHost_->journal().GetOldOWFile(index);
}

QString CMxVantrel2Ctrl::GetOldOWFilename(int index) {
    return paneHost_->journal().GetOldOWFilename(index);
}

double CMxVantrel2Ctrl::GetOldOWFilesize(int index) {
    return paneHost_->journal().GetOldOWFilesize(index);
}

QString CMxVantrel2Ctrl::GetOldOWXmlPath(int index) {
    return paneHost_->journal().GetOldOWXmlPath(index);
}

QString CMxVantrel2Ctrl::GetOldOWFileDate(int index) {
    return paneHost_->journal().GetOldOWFileDate(index);
}

QString CMxVantrel2Ctrl::GetOldOWXmlQuery(int index) {
    return paneHost_->journal().GetOldOWXmlQuery(index);
}

void CMxVantrel2Ctrl::RemoveOldOWList() {
    paneHost_->journal().RemoveOldOWList();
}

short CMxVantrel2Ctrl::SetServerReplacePathAllfile(const QString& oldPath, const QString& newPath) {
    return paneHost_->catalogue().SetServerReplacePathAllfile(oldPath, newPath);
}

short CMxVantrel2Ctrl::SetServerReplacePathfile(const QString& DropXmlPath,
                                                const QString& NewFilePath) {
    return paneHost_->catalogue().SetServerReplacePathfile(DropXmlPath, NewFilePath);
}

double CMxVantrel2Ctrl::GetServerPathFileSize(const QString& size_gubun,
                                              const QString& ServerPath) {
    return paneHost_->catalogue().GetServerPathFileSize(size_gubun, ServerPath);
}

int CMxVantrel2Ctrl::GetDiskCount() {
    return paneHost_->catalogue().GetDiskCount();
}

QString CMxVantrel2Ctrl::GetDiskName(int index) {
    return paneHost_->catalogue().GetDiskName(index);
}

double CMxVantrel2Ctrl::GetServerAllFilesize(const QString& size_gubun) {
    return paneHost_->catalogue().GetServerAllFilesize(size_gubun);
}

int CMxVantrel2Ctrl::GetServerListFolderCount(const QString& ServerPath, bool IsChild) {
    return paneHost_->catalogue().GetServerListFolderCount(ServerPath, IsChild);
}

QString CMxVantrel2Ctrl::GetServerListFolderItem(const QString& ServerPath, bool IsChild,
                                                 const QString& DataName, int index) {
    return paneHost_->catalogue().GetServerListFolderItem(ServerPath, IsChild, DataName, index);
}

int CMxVantrel2Ctrl::GetServerListFileCount(const QString& ServerPath, bool IsChild) {
    return paneHost_->catalogue().GetServerListFileCount(ServerPath, IsChild);
}

QString CMxVantrel2Ctrl::GetServerListFileItem(const QString& ServerPath, bool IsChild,
                                               const QString& DataName, int index) {
    return paneHost_->catalogue().GetServerListFileItem(ServerPath, IsChild, DataName, index);
}

short CMxVantrel2Ctrl::AddServerFile(const QString& szfPath, const QString& szfName, double lfSize,
                                     const QString& szfTypename, const QString& szfModDate) {
    return paneHost_->serverPane().addServerFile(szfPath, szfName, lfSize, szfTypename, szfModDate);
}

bool CMxVantrel2Ctrl::ServerListPrgDeleteItem(const QString& path, const QString& filename) {
    return paneHost_->serverPane().deleteListEntry(path, filename);
}
