// Must not build: the session sits below the control's widgets.
#include "control/PaneHostWindow.h"
