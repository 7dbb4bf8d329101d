#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"

#include <gtest/gtest.h>

TEST(ControlLayout, LayoutModeAssignmentMovesThePanesAtOnce) {
    CMxVantrel2Ctrl ctrl;
    ControlWindow window(ctrl.session());
    window.resize(900, 600);
    ctrl.loadPropertySet({{"LocalUIType", "2"}});
    window.show();
    PaneHostWindow& host = window.paneHost();
    EXPECT_EQ(host.pane(PaneLayout::LocalTree)->geometry(), QRect(0, 304, 300, 296));

    ctrl.setLocalUIType(0);
    EXPECT_EQ(host.pane(PaneLayout::ServerList)->geometry(), QRect(0, 0, 900, 600));
    EXPECT_FALSE(host.pane(PaneLayout::ServerTree)->isVisible());
    EXPECT_TRUE(ctrl.isModified());
}
