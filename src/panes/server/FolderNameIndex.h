#pragma once

#include "xml/XmlNode.h"

#include <QHash>
#include <QString>

class ServerListModel;

// The first child of one catalogue folder under each name, and its list row when that folder
// is the one shown, so the duplicate test of a batch does not scan the folder per file. It is
// only trusted while nothing else changes the folder: the controller keeps it for a batch (or
// while script has switched list drawing off) and drops it at every other change.
class FolderNameIndex {
public:
    struct Entry {
        XmlNode element;
        int row = -1;              // -1 when the folder is not shown
        bool heldByFolder = false; // some FOLDER child carries the name
    };

    // Reindexes when `folder` is not the folder indexed; `shown` gives the rows when it is
    // the folder the list shows (null otherwise).
    void prepare(const XmlNode& folder, const ServerListModel* shown);
    // The first child named `name`; an empty entry when none.
    Entry find(const QString& name) const { return entries_.value(name); }
    // A child appended to the indexed folder (at `row` of the list, or -1).
    void appended(const XmlNode& child, int row);
    // Drops the index when it is of `folder`, whose children changed otherwise than appended.
    void forget(const XmlNode& folder);
    void invalidate();

private:
    XmlNode folder_;
    bool valid_ = false;
    QHash<QString, Entry> entries_;
};
