#pragma once

#include "xml/PopupMenus.h"

#include <QList>
#include <QPoint>
#include <functional>

class QWidget;

// Opens `items` as a popup menu at `globalPos` (its top-left corner) over `parent` and
// returns at once; `chosen` gets the command number of the item the user picks. The menu
// deletes itself once it closes. No items: nothing opens.
void ShowPopupMenu(QWidget* parent, const QList<PopupMenuItem>& items, const QPoint& globalPos,
                   std::function<void(int command)> chosen);
