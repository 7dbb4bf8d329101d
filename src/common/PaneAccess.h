#pragma once

#include <QList>
#include <QString>

// What the control's script methods need of a file list (server or local), so one method
// serves either pane.
class ListPaneAccess {
public:
    virtual ~ListPaneAccess() = default;
    // Index of the first selected row, or -1.
    virtual int firstSelectedRow() const = 0;
    // Selected rows, after deselecting a parent row ".." that comes first in the selection.
    virtual int selectedCount() = 0;
    // Whether selected row number `index` is a folder; false out of range.
    virtual bool selectedIsFolder(int index) const = 0;
    // Field `field` of selected row number `index`; empty out of range or for unknown fields.
    virtual QString selectedField(const QString& field, int index) const = 0;
};

// What the control's script methods need of a folder tree.
class TreePaneAccess {
public:
    virtual ~TreePaneAccess() = default;
    // The selected item as the tree reports it; empty when nothing is selected.
    virtual QString selectedName() const = 0;
    // The path of the selected folder; empty when nothing is selected.
    virtual QString selectedPath() const = 0;
    // Opens and selects the folder at `path`; false when the tree has no such folder.
    virtual bool goToFolder(const QString& path) = 0;
};
