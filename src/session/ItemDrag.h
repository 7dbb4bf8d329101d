#pragma once

#include "common/FocusPanes.h"

#include <QString>
#include <QStringList>
#include <array>

struct ControlSettings;
struct ServerTreeNode;

// The views (FocusPane numbers) a drag may end on.
class DropTargets {
public:
    void allow(qint16 pane) {
        if (pane > NoPane && pane <= LocalListPane)
            allowed_[pane] = true;
    }
    bool allows(qint16 pane) const {
        return pane > NoPane && pane <= LocalListPane && allowed_[pane];
    }
    bool any() const { return allows(1) || allows(2) || allows(3) || allows(4); }

private:
    std::array<bool, 5> allowed_{};
};

// Where a drag from `source` may end under the page's settings; none when no drag may start.
// `hasItems`: a list has rows selected, a tree's dragged folder is not a top node.
DropTargets DragTargetsFrom(qint16 source, const ControlSettings& settings, bool hasItems);

// A point of a drag over the control: the view under it and, over a tree, the folder of the
// row under it (none when no row is there).
struct DropPoint {
    qint16 pane = NoPane;
    ServerTreeNode* serverFolder = nullptr;
    QString localFolder;
    bool topNode = false; // the tree's row is a top node
};

// A drag in progress. Folders are held by tree-node serial, which no reload reuses.
struct ItemDrag {
    qint16 source = NoPane;
    DropTargets targets;
    // The dragged server folder (tree), or the folder the server list shows (list).
    quint64 serverFolder = 0;
    // The dragged local folder (local tree).
    QString localFolder;
};

// A drag onto the local pane that waits for the page (IsDragDownAfterEvent) to call
// DragSelectedItemDown. It names the dragged entries, never holds them, so a reload or a
// removal meanwhile leaves nothing to download.
struct PendingDragDownload {
    enum Kind : qint16 { None = 0, TreeFolder = 1, ListEntries = 2 };
    qint16 kind = None;
    quint64 serverFolder = 0; // the dragged folder, or the folder holding the entries
    QStringList entryNames;   // ListEntries: the dragged entries, in list order
    QString localFolder;
};
