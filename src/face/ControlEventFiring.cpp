#include "common/LocalPath.h"
#include "face/CMxVantrel2Ctrl.h"

#include <cmath>

void CMxVantrel2Ctrl::addfileError(short code, const QString& fullPath) {
    notifyDerivedProperties();
    emit OnAddfileError(code, LocalFileName(fullPath), fullPath);
}

void CMxVantrel2Ctrl::loadCompleted() {
    notifyDerivedProperties();
    emit OnLoadCompleat();
}

void CMxVantrel2Ctrl::localAttachCompleted() {
    notifyDerivedProperties();
    emit OnLocalAttachCompleat();
}

void CMxVantrel2Ctrl::popupMenu(short menuId) {
    notifyDerivedProperties();
    emit OnPopupMenu(menuId);
}

void CMxVantrel2Ctrl::renameCompleted(short code) {
    notifyDerivedProperties();
    emit OnRenameCompleat(code);
}

void CMxVantrel2Ctrl::openfileCompleted(short code) {
    notifyDerivedProperties();
    emit OnOpenfileCompleat(code);
}

void CMxVantrel2Ctrl::listItemDoubleClicked() {
    notifyDerivedProperties();
    emit OnListItemDoubleClicked();
}

void CMxVantrel2Ctrl::downloadCompleted(short code) {
    notifyDerivedProperties();
    emit OnDownloadCompleat(code);
}

void CMxVantrel2Ctrl::dragDropError(short code, const QString& name) {
    notifyDerivedProperties();
    emit OnDragDropingErr(code, name);
}

void CMxVantrel2Ctrl::dragDropCompleted() {
    notifyDerivedProperties();
    emit OnDragDropCompleat();
}

void CMxVantrel2Ctrl::xmlLoadCompleted(short code) {
    notifyDerivedProperties();
    emit OnXMLLoadCompleat(code);
}

void CMxVantrel2Ctrl::newFolderCompleted(short code, int insertIndex, const QString& path) {
    notifyDerivedProperties();
    emit OnNewFolderCompleat(code, insertIndex, path);
}

// Whole bytes, without wrapping at 4 GiB.
void CMxVantrel2Ctrl::serverItemDeleteCompleted(short code, double deletedBytes) {
    notifyDerivedProperties();
    emit OnServerItemDeleteCompleat(code, std::trunc(deletedBytes));
}

void CMxVantrel2Ctrl::functionKeyPressed(const QString& keyName) {
    notifyDerivedProperties();
    emit OnFunctionKeyPress(keyName);
}

void CMxVantrel2Ctrl::nodeUpDownCompleted(short code, short upDown) {
    notifyDerivedProperties();
    emit OnNodeUpDownCompleat(code, upDown);
}

void CMxVantrel2Ctrl::listItemClicked() {
    notifyDerivedProperties();
    emit OnListItemClicked();
}

void CMxVantrel2Ctrl::treeSelectionChanged(const QString& path) {
    notifyDerivedProperties();
    emit OnTreeSelChanged(path);
}

void CMxVantrel2Ctrl::dragDownSelectTarget(short dragId, const QString& dragPath,
                                           const QString& dragXPath, const QString& dropPath) {
    notifyDerivedProperties();
    emit OnDargDownSelectTarget(dragId, dragPath, dragXPath, dropPath);
}
