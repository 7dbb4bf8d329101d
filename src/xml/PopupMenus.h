#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class UIConfig;

// The right-click menus the page defines in the UI configuration. The control has no menu
// commands of its own: a chosen item only tells the page its event code (OnPopupMenu).

// Only these command numbers ("id") report a choice; other items show but do nothing.
inline constexpr int kFirstReportedCommand = 20000;
inline constexpr int kLastReportedCommand = 21000;
// The event code of a command that no ITEM carries.
inline constexpr int kNoEventCode = -1;

// One entry of a menu, in display order.
struct PopupMenuItem {
    bool separator = false; // "id" is "-"; the other fields are empty
    int command = 0;        // decimal value of "id", 0 when it is not a number
    QString text;           // "name"

    bool operator==(const PopupMenuItem&) const = default;
};

// What a list's selection held when it was right-clicked.
struct MenuSelection {
    int rows = 0;
    // The server list's test: false when the selection holds a queued local file, which
    // leaves out the items typed "server" (downloads and the like) unless nothing is selected.
    bool serverItems = true;
};

// The menu of pane `pane` (a FocusPane) for `selection`, read from the loaded document anew:
// the trees' single section; a list's NOSELECT, ONESELECT or MORESELECT section followed by
// its COMMON section. Missing sections, an unknown pane or no document give no items.
QList<PopupMenuItem> PopupMenuItems(const UIConfig& config, qint16 pane,
                                    const MenuSelection& selection = {});

// The event code of a chosen `command`: the "eventcode" value of the first ITEM below
// POPUPMENU, in document order across every section, whose "id" reads exactly as `command`
// in decimal; 0 when that value is not a number, kNoEventCode when no ITEM matches.
int PopupEventCode(const UIConfig& config, int command);
