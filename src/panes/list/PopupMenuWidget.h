#pragma once

#include "xml/PopupMenus.h"

#include <QList>
#include <QPoint>
#include <functional>

class FileListView;
class QTreeView;
class QWidget;

// Opens `items` as a popup menu at `globalPos` (its top-left corner) over `parent` and
// returns at once; `chosen` gets the command number of the item the user picks. The menu
// deletes itself once it closes. No items: nothing opens.
void ShowPopupMenu(QWidget* parent, const QList<PopupMenuItem>& items, const QPoint& globalPos,
                   std::function<void(int command)> chosen);

// One view's menu: built anew at each right click, and told the command the user picks.
struct ViewMenu {
    std::function<QList<PopupMenuItem>()> items;
    std::function<void(int command)> chosen;
};

// Right clicks on the rows of `tree` open its menu; the row under the cursor becomes current
// first, and empty space opens nothing.
void OpenMenusOnTreeRows(QTreeView& tree, ViewMenu menu);
// Right clicks anywhere on `list` open its menu.
void OpenMenusOnList(FileListView& list, ViewMenu menu);
