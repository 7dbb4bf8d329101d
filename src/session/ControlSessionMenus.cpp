#include "common/ControlEvents.h"
#include "session/ControlSession.h"

#include <limits>

namespace {

// The server list's rows for the menu: ".." stands for no entry and is not counted; a
// queued local file among them makes the selection fail the server test.
MenuSelection ServerListSelection(const ServerListModel& list) {
    MenuSelection selection;
    for (const int row : list.selectedRows()) {
        const ServerRowKind kind = list.row(row).kind;
        if (kind == ServerRowKind::Parent)
            continue;
        ++selection.rows;
        if (kind == ServerRowKind::LocalFile)
            selection.serverItems = false;
    }
    return selection;
}

} // namespace

QList<PopupMenuItem> ControlSession::popupMenu(qint16 pane) {
    switch (pane) {
    case ServerListPane:
        return PopupMenuItems(uiConfig_, pane, ServerListSelection(server_.list()));
    case LocalListPane:
        return PopupMenuItems(uiConfig_, pane,
                              {static_cast<int>(local_->list().selectedRows().size())});
    case LocalTreePane:
        if (!local_->selected() || local_->selected() == local_->tree().root())
            return {};
        return PopupMenuItems(uiConfig_, pane);
    default:
        return PopupMenuItems(uiConfig_, pane);
    }
}

void ControlSession::popupMenuChosen(qint16 pane, int command) {
    setFocusPane(pane);
    if (command < kFirstReportedCommand || command > kLastReportedCommand)
        return;
    // The event carries a short; a code beyond it could only arrive as another number.
    const int code = PopupEventCode(uiConfig_, command);
    if (code > 0 && code <= std::numeric_limits<short>::max())
        events_.popupMenu(static_cast<short>(code));
}
