// Script methods that read the change journal and read or edit the server catalogue.
#include "face/CMxVantrel2Ctrl.h"
#include "panes/server/ServerPaneController.h"
#include "session/ControlSession.h"

int CMxVantrel2Ctrl::GetCurrentUploadFileCnt() {
    return session_->journal().GetCurrentUploadFileCnt();
}

QString CMxVantrel2Ctrl::GetCurrentUploadFileData(const QString& selectData, int index) {
    return session_->journal().GetCurrentUploadFileData(selectData, index);
}

int CMxVantrel2Ctrl::GetServerDeleteFileCount() {
    return session_->journal().GetServerDeleteFileCount();
}

QString CMxVantrel2Ctrl::GetServerDeleteFile(int index) {
    return session_->journal().GetServerDeleteFile(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFilename(int index) {
    return session_->journal().GetServerDeleteFilename(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFilePath(int index) {
    return session_->journal().GetServerDeleteFilePath(index);
}

double CMxVantrel2Ctrl::GetServerDeleteFilesize(int index) {
    return session_->journal().GetServerDeleteFilesize(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFileXmlPath(int index) {
    return session_->journal().GetServerDeleteFileXmlPath(index);
}

QString CMxVantrel2Ctrl::GetServerDeleteFileXmlQuery(int index) {
    return session_->journal().GetServerDeleteFileXmlQuery(index);
}

void CMxVantrel2Ctrl::RemoveDeleteList() {
    session_->journal().RemoveDeleteList();
}

int CMxVantrel2Ctrl::GetRenameFolderCount() {
    return session_->journal().GetRenameFolderCount();
}

QString CMxVantrel2Ctrl::GetRenameFolderOldPath(int index) {
    return session_->journal().GetRenameFolderOldPath(index);
}

QString CMxVantrel2Ctrl::GetRenameFolderNewPath(int index) {
    return session_->journal().GetRenameFolderNewPath(index);
}

int CMxVantrel2Ctrl::GetRenameFileCount() {
    return session_->journal().GetRenameFileCount();
}

QString CMxVantrel2Ctrl::GetRenameOldFile(int index) {
    return session_->journal().GetRenameOldFile(index);
}

QString CMxVantrel2Ctrl::GetRenameNewFile(int index) {
    return session_->journal().GetRenameNewFile(index);
}

QString CMxVantrel2Ctrl::GetRenameXmlPath(int index) {
    return session_->journal().GetRenameXmlPath(index);
}

QString CMxVantrel2Ctrl::GetRenamePathType(int index) {
    return session_->journal().GetRenamePathType(index);
}

QString CMxVantrel2Ctrl::GetRenameName(const QString& gubun, int index) {
    return session_->journal().GetRenameName(gubun, index);
}

void CMxVantrel2Ctrl::RemoveRenameList() {
    session_->journal().RemoveRenameList();
}

int CMxVantrel2Ctrl::GetDragDropFolderCount() {
    return session_->journal().GetDragDropFolderCount();
}

QString CMxVantrel2Ctrl::GetDragFolderPath(int index) {
    return session_->journal().GetDragFolderPath(index);
}

QString CMxVantrel2Ctrl::GetDropFolderPath(int index) {
    return session_->journal().GetDropFolderPath(index);
}

int CMxVantrel2Ctrl::GetDragDropFileCount() {
    return session_->journal().GetDragDropFileCount();
}

QString CMxVantrel2Ctrl::GetDragFile(int index) {
    return session_->journal().GetDragFile(index);
}

QString CMxVantrel2Ctrl::GetDropFile(int index) {
    return session_->journal().GetDropFile(index);
}

QString CMxVantrel2Ctrl::GetDropXmlPath(int index) {
    return session_->journal().GetDropXmlPath(index);
}

void CMxVantrel2Ctrl::RemoveDragList() {
    session_->journal().RemoveDragList();
}

int CMxVantrel2Ctrl::GetOldOWFileCount() {
    return session_->journal().GetOldOWFileCount();
}

QString CMxVantrel2Ctrl::GetOldOWFile(int index) {
    return session_->journal().GetOldOWFile(index);
}

QString CMxVantrel2Ctrl::GetOldOWFilename(int index) {
    return session_->journal().GetOldOWFilename(index);
}

double CMxVantrel2Ctrl::GetOldOWFilesize(int index) {
    return session_->journal().GetOldOWFilesize(index);
}

QString CMxVantrel2Ctrl::GetOldOWXmlPath(int index) {
    return session_->journal().GetOldOWXmlPath(index);
}

QString CMxVantrel2Ctrl::GetOldOWFileDate(int index) {
    return session_->journal().GetOldOWFileDate(index);
}

QString CMxVantrel2Ctrl::GetOldOWXmlQuery(int index) {
    return session_->journal().GetOldOWXmlQuery(index);
}

void CMxVantrel2Ctrl::RemoveOldOWList() {
    session_->journal().RemoveOldOWList();
}

short CMxVantrel2Ctrl::SetServerReplacePathAllfile(const QString& oldPath, const QString& newPath) {
    return session_->catalogue().SetServerReplacePathAllfile(oldPath, newPath);
}

short CMxVantrel2Ctrl::SetServerReplacePathfile(const QString& DropXmlPath,
                                                const QString& NewFilePath) {
    return session_->catalogue().SetServerReplacePathfile(DropXmlPath, NewFilePath);
}

double CMxVantrel2Ctrl::GetServerPathFileSize(const QString& size_gubun,
                                              const QString& ServerPath) {
    return session_->catalogue().GetServerPathFileSize(size_gubun, ServerPath);
}

int CMxVantrel2Ctrl::GetDiskCount() {
    return session_->catalogue().GetDiskCount();
}

QString CMxVantrel2Ctrl::GetDiskName(int index) {
    return session_->catalogue().GetDiskName(index);
}

double CMxVantrel2Ctrl::GetServerAllFilesize(const QString& size_gubun) {
    return session_->catalogue().GetServerAllFilesize(size_gubun);
}

int CMxVantrel2Ctrl::GetServerListFolderCount(const QString& ServerPath, bool IsChild) {
    return session_->catalogue().GetServerListFolderCount(ServerPath, IsChild);
}

QString CMxVantrel2Ctrl::GetServerListFolderItem(const QString& ServerPath, bool IsChild,
                                                 const QString& DataName, int index) {
    return session_->catalogue().GetServerListFolderItem(ServerPath, IsChild, DataName, index);
}

int CMxVantrel2Ctrl::GetServerListFileCount(const QString& ServerPath, bool IsChild) {
    return session_->catalogue().GetServerListFileCount(ServerPath, IsChild);
}

QString CMxVantrel2Ctrl::GetServerListFileItem(const QString& ServerPath, bool IsChild,
                                               const QString& DataName, int index) {
    return session_->catalogue().GetServerListFileItem(ServerPath, IsChild, DataName, index);
}

short CMxVantrel2Ctrl::AddServerFile(const QString& szfPath, const QString& szfName, double lfSize,
                                     const QString& szfTypename, const QString& szfModDate) {
    return session_->serverPane().addServerFile(szfPath, szfName, lfSize, szfTypename, szfModDate);
}

bool CMxVantrel2Ctrl::ServerListPrgDeleteItem(const QString& path, const QString& filename) {
    return session_->serverPane().deleteListEntry(path, filename);
}
