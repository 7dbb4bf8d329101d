#pragma once

#include <QString>

// How the panes, the document load and the transfer windows tell the control that something
// happened. The control turns each call into the page's event of the same name, at once and on
// the UI thread, so a page handler runs before the caller goes on and sees the state of that
// moment. A caller must therefore hold no node, row or item pointer across a call.
// Only the UI thread calls these; a worker hands its result over with RunOnUiThread first.
class ControlEvents {
public:
    virtual ~ControlEvents() = default;

    // `fullPath` is the refused file; the event names it and its last path step.
    virtual void addfileError(short code, const QString& fullPath) = 0;
    virtual void loadCompleted() = 0;
    virtual void localAttachCompleted() = 0;
    virtual void popupMenu(short menuId) = 0;
    virtual void renameCompleted(short code) = 0;
    virtual void openfileCompleted(short code) = 0;
    virtual void listItemDoubleClicked() = 0;
    virtual void downloadCompleted(short code) = 0;
    virtual void dragDropError(short code, const QString& name) = 0;
    virtual void dragDropCompleted() = 0;
    virtual void xmlLoadCompleted(short code) = 0;
    virtual void newFolderCompleted(short code, int insertIndex, const QString& path) = 0;
    virtual void serverItemDeleteCompleted(short code, double deletedBytes) = 0;
    virtual void functionKeyPressed(const QString& keyName) = 0;
    virtual void nodeUpDownCompleted(short code, short upDown) = 0;
    virtual void listItemClicked() = 0;
    virtual void treeSelectionChanged(const QString& path) = 0;
    virtual void dragDownSelectTarget(short dragId, const QString& dragPath,
                                      const QString& dragXPath, const QString& dropPath) = 0;
};
