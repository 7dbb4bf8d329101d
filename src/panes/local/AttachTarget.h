#pragma once

#include "panes/server/AddCodes.h"
#include "panes/server/ServerFolderRef.h"

#include <QString>

// What attaching needs of the server pane: the adding operation for one file into one
// catalogue folder, and the folder of a given name inside another. Folders are named by
// ServerFolderRef, never by node, because every refusal fires an event and a scan runs a
// nested event loop, and the page may replace the catalogue from either. UI thread only.
class AttachTarget {
public:
    virtual ~AttachTarget() = default;

    // The folder selected in the server tree; a ref to no folder when there is none.
    virtual ServerFolderRef currentFolder() = 0;
    // False once the catalogue generation `folder` was taken under is over (a reload, a
    // removal, another selection): the batch that holds it stops and adds nothing more.
    virtual bool isCurrent(const ServerFolderRef& folder) const = 0;
    // A batch of adds shares one overwrite-for-all answer; begin resets it.
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
    // The adding operation's code for the local file `fullPath` queued into `folder`;
    // AddCode::CancelledBatch when `folder` is no longer current.
    virtual short addFile(const QString& fullPath, const ServerFolderRef& folder) = 0;
    // The sub-folder `name` of `parent`, made (element, node, row) when it is missing.
    // 0 with `child` set; AddCode::NameTaken when a file holds that name; a kNewFolder code
    // when the folder could not be made; AddCode::CancelledBatch when `parent` is not current.
    virtual short enterFolder(const ServerFolderRef& parent, const QString& name,
                              ServerFolderRef& child) = 0;
    // Switches redrawing of the server tree and list off around a batch, and back on.
    virtual void setDrawing(bool on) = 0;
};
