#pragma once

#include <QtGlobal>

// A server folder named across page events and nested event loops, which may replace the
// catalogue: the serial of its tree node and the catalogue generation it was taken under.
// ServerPaneController::folderAt finds it again, or nothing once that generation is over.
struct ServerFolderRef {
    quint64 node = 0; // 0: no folder
    quint64 generation = 0;
};
