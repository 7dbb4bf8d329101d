#include "control/PaneLayout.h"

#include <gtest/gtest.h>

TEST(PaneLayout, FirstSizeGivesTreesAThirdAndTheTopRowHalf) {
    PaneLayout layout;
    layout.setMode(2);
    layout.resize(900, 600);
    const auto r = layout.paneRects();
    EXPECT_EQ(r[PaneLayout::ServerTree], QRect(0, 0, 300, 300));
    EXPECT_EQ(r[PaneLayout::ServerList], QRect(304, 0, 596, 300));
    EXPECT_EQ(r[PaneLayout::LocalTree], QRect(0, 304, 300, 296));
    EXPECT_EQ(r[PaneLayout::LocalList], QRect(304, 304, 596, 296));
    EXPECT_EQ(layout.horizontalBar(), QRect(0, 300, 900, 4));
    EXPECT_EQ(layout.lowerBar(), QRect(300, 304, 4, 296));

    layout.resize(1200, 800);
    EXPECT_EQ(layout.serverTreeWidth(), 300) << "positions once set survive a resize";
}

TEST(PaneLayout, ModesZeroAndOneHideTheOtherPanes) {
    PaneLayout layout;
    layout.resize(900, 600);
    auto r = layout.paneRects();
    EXPECT_EQ(r[PaneLayout::ServerList], QRect(0, 0, 900, 600));
    EXPECT_TRUE(r[PaneLayout::ServerTree].isEmpty());
    EXPECT_TRUE(layout.upperBar().isEmpty());

    layout.setMode(1);
    r = layout.paneRects();
    EXPECT_EQ(r[PaneLayout::ServerTree], QRect(0, 0, 300, 600));
    EXPECT_EQ(r[PaneLayout::ServerList], QRect(304, 0, 596, 600));
    EXPECT_TRUE(r[PaneLayout::LocalList].isEmpty());
    EXPECT_EQ(layout.upperBar(), QRect(300, 0, 4, 600));
    EXPECT_TRUE(layout.horizontalBar().isEmpty());

    layout.setMode(7);
    EXPECT_FALSE(layout.modeIsKnown());
}
