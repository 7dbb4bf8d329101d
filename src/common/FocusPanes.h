#pragma once

#include <QtGlobal>

// The panes by the numbers page script sees (GetCurrentFocusCtrl, the delete and download
// commands); NoPane before any pane had the focus.
enum FocusPane : qint16 {
    NoPane = 0,
    ServerTreePane = 1,
    ServerListPane = 2,
    LocalTreePane = 3,
    LocalListPane = 4,
};

inline bool IsServerSide(qint16 pane) {
    return pane == ServerTreePane || pane == ServerListPane;
}

inline bool IsLocalSide(qint16 pane) {
    return pane == LocalTreePane || pane == LocalListPane;
}
