#pragma once

#include "session/ControlSession.h"

class QWidget;

// The session's windows as modal Qt windows over `parent`: the folder scan, the upload and
// download windows, the open window and the form post window.
SessionWindows SessionWindowsOver(ControlSession& session, QWidget* parent);
