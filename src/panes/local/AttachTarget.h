#pragma once

#include <QString>

struct ServerTreeNode;

// What attaching needs of the server pane: the adding operation for one file into one
// catalogue folder, and the folder of a given name inside another. UI thread only.
class AttachTarget {
public:
    virtual ~AttachTarget() = default;

    // The folder selected in the server tree; null when there is none.
    virtual ServerTreeNode* currentFolder() = 0;
    // A batch of adds shares one overwrite-for-all answer; begin resets it.
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
    // The adding operation's code for the local file `fullPath` queued into `folder`.
    virtual short addFile(const QString& fullPath, ServerTreeNode* folder) = 0;
    // The sub-folder `name` of `parent`, made (element, node, row) when it is missing.
    // 0 with `child` set; -1001 when a file holds that name; another negative code when
    // the folder could not be made.
    virtual short enterFolder(ServerTreeNode* parent, const QString& name,
                              ServerTreeNode*& child) = 0;
    // Switches redrawing of the server tree and list off around a batch, and back on.
    virtual void setDrawing(bool on) = 0;
};

// The adding operation replaced an entry of that name instead of adding one.
inline constexpr short kReplacedCode = -1099;

// The two adding codes that end a whole batch (disk allowance used up, the overwrite
// question cancelled); every other refusal only skips the one file.
inline bool EndsBatch(short code) {
    return code == -1008 || code == -1014;
}
