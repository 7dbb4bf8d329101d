#pragma once

#include "xml/XmlNode.h"

#include <QtGlobal>

// A server-list entry named across page events and nested event loops: its catalogue element
// and the generation it was taken under. ServerPaneController::rowAt finds its row again, or
// nothing once that generation is over; the element is never touched after that.
struct ServerEntryRef {
    XmlNode element; // empty: no entry
    quint64 generation = 0;
};
