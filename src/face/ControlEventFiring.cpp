#include "common/LocalPath.h"
#include "face/CMxVantrel2Ctrl.h"

#include <cmath>

void CMxVantrel2Ctrl::addfileError(short code, const QString& fullPath) {
    emit OnAddfileError(code, LocalFileName(fullPath), fullPath);
}

void CMxVantrel2Ctrl::loadCompleted() {
    emit OnLoadCompleat();
}

void CMxVantrel2Ctrl::localAttachCompleted() {
    emit OnLocalAttachCompleat();
}

void CMxVantrel2Ctrl::popupMenu(short menuId) {
    emit OnPopupMenu(menuId);
}

void CMxVantrel2Ctrl::renameCompleted(short code) {
    emit OnRenameCompleat(code);
}

void CMxVantrel2Ctrl::openfileCompleted(short code) {
    emit OnOpenfileCompleat(code);
}

void CMxVantrel2Ctrl::listItemDoubleClicked() {
    emit OnListItemDoubleClicked();
}

void CMxVantrel2Ctrl::downloadCompleted(short code) {
    emit OnDownloadCompleat(code);
}

void CMxVantrel2Ctrl::dragDropError(short code, const QString& name) {
    emit OnDragDropingErr(code, name);
}

void CMxVantrel2Ctrl::dragDropCompleted() {
    emit OnDragDropCompleat();
}

void CMxVantrel2Ctrl::xmlLoadCompleted(short code) {
    emit OnXMLLoadCompleat(code);
}

void CMxVantrel2Ctrl::newFolderCompleted(short code, int insertIndex, const QString& path) {
    emit OnNewFolderCompleat(code, insertIndex, path);
}

// Whole bytes, without wrapping at 4 GiB.
void CMxVantrel2Ctrl::serverItemDeleteCompleted(short code, double deletedBytes) {
    emit OnServerItemDeleteCompleat(code, std::trunc(deletedBytes));
}

void CMxVantrel2Ctrl::functionKeyPressed(const QString& keyName) {
    emit OnFunctionKeyPress(keyName);
}

void CMxVantrel2Ctrl::nodeUpDownCompleted(short code, short upDown) {
    emit OnNodeUpDownCompleat(code, upDown);
}

void CMxVantrel2Ctrl::listItemClicked() {
    emit OnListItemClicked();
}

void CMxVantrel2Ctrl::treeSelectionChanged(const QString& path) {
    emit OnTreeSelChanged(path);
}

void CMxVantrel2Ctrl::dragDownSelectTarget(short dragId, const QString& dragPath,
                                           const QString& dragXPath, const QString& dropPath) {
    emit OnDargDownSelectTarget(dragId, dragPath, dragXPath, dropPath);
}
