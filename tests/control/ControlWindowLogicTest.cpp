#include "control/ControlKeys.h"
#include "control/PaneLayout.h"
#include "control/SplitterDrag.h"
#include "control/WindowRegion.h"

#include <gtest/gtest.h>

namespace {
PaneLayout modeTwo(int width = 900, int height = 600) {
    PaneLayout layout;
    layout.setMode(2);
    layout.resize(width, height);
    return layout;
}
} // namespace

TEST(PaneLayout, TinySizesNeverGiveNegativeRectangles) {
    for (int mode : {0, 1, 2}) {
        for (QSize size : {QSize(0, 0), QSize(3, 2), QSize(7, 9)}) {
            PaneLayout layout;
            layout.setMode(mode);
            layout.setServerTreeWidth(50);
            layout.setTopRowHeight(40);
            layout.resize(size.width(), size.height());
            for (const QRect& r : layout.paneRects()) {
                EXPECT_GE(r.width(), 0) << mode;
                EXPECT_GE(r.height(), 0) << mode;
            }
            for (const QRect& bar : {layout.upperBar(), layout.lowerBar(), layout.horizontalBar()})
                EXPECT_GE(bar.height(), 0);
        }
    }
}

TEST(SplitterDrag, BarsAreFoundOnlyWhereTheModeHasThem) {
    PaneLayout layout = modeTwo();
    EXPECT_EQ(SplitterBarAt(layout, {300, 10}), SplitterBar::Upper);
    EXPECT_EQ(SplitterBarAt(layout, {304, 10}), SplitterBar::Upper) << "edges count";
    EXPECT_EQ(SplitterBarAt(layout, {302, 400}), SplitterBar::Lower);
    EXPECT_EQ(SplitterBarAt(layout, {600, 302}), SplitterBar::Horizontal);
    EXPECT_EQ(SplitterBarAt(layout, {200, 10}), SplitterBar::None);
    layout.setMode(1);
    EXPECT_EQ(SplitterBarAt(layout, {302, 500}), SplitterBar::Upper) << "full height in mode 1";
    EXPECT_EQ(SplitterBarAt(layout, {600, 302}), SplitterBar::None);
    layout.setMode(0);
    EXPECT_EQ(SplitterBarAt(layout, {302, 10}), SplitterBar::None);
    EXPECT_FALSE(DragSplitter(layout, SplitterBar::Upper, {100, 10}));
}

TEST(SplitterDrag, DragsStayWithinTheBounds) {
    PaneLayout layout = modeTwo();
    EXPECT_FALSE(DragSplitter(layout, SplitterBar::Upper, {5, 10})) << "x must exceed 5";
    EXPECT_EQ(layout.serverTreeWidth(), 300);
    EXPECT_TRUE(DragSplitter(layout, SplitterBar::Upper, {6, 10}));
    EXPECT_EQ(layout.serverTreeWidth(), 6);
    EXPECT_FALSE(DragSplitter(layout, SplitterBar::Upper, {890, 10})) << "x < width - 10";
    EXPECT_TRUE(DragSplitter(layout, SplitterBar::Upper, {889, 10}));
    EXPECT_EQ(layout.localTreeWidth(), 300) << "the upper row moves only its own bar";

    EXPECT_TRUE(DragSplitter(layout, SplitterBar::Lower, {450, 500}));
    EXPECT_EQ(layout.localTreeWidth(), 450);
    EXPECT_EQ(layout.serverTreeWidth(), 889);

    EXPECT_FALSE(DragSplitter(layout, SplitterBar::Horizontal, {10, 5}));
    EXPECT_TRUE(DragSplitter(layout, SplitterBar::Horizontal, {10, 6}));
    EXPECT_EQ(layout.topRowHeight(), 6);
    EXPECT_FALSE(DragSplitter(layout, SplitterBar::Horizontal, {10, 590}));
    EXPECT_TRUE(DragSplitter(layout, SplitterBar::Horizontal, {10, 589}));
    EXPECT_EQ(layout.paneRects()[PaneLayout::LocalList].height(), 7);
}

TEST(ControlKeys, KeysMapAsTheFilterExpects) {
    const auto map = [](int key, Qt::KeyboardModifiers mods = {}, bool edit = false) {
        return MapControlKey(key, mods, edit);
    };
    EXPECT_EQ(map(Qt::Key_F10).kind, ControlKeyAction::Normal) << "F10 is silent";
    EXPECT_EQ(map(Qt::Key_F11).kind, ControlKeyAction::Report);
    EXPECT_EQ(map(Qt::Key_F11).name, "F11");
    EXPECT_EQ(map(Qt::Key_F2).name, "F2");
    EXPECT_EQ(map(Qt::Key_F12).name, "F12");
    EXPECT_EQ(map(Qt::Key_F1).kind, ControlKeyAction::Normal);
    EXPECT_EQ(map(Qt::Key_Delete).name, "DELETE");
    EXPECT_EQ(map(Qt::Key_C, Qt::ControlModifier).name, "CTRL_C");
    EXPECT_EQ(map(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier).name, "CTRL_X");
    EXPECT_EQ(map(Qt::Key_B, Qt::ControlModifier).kind, ControlKeyAction::Normal);
    EXPECT_EQ(map(Qt::Key_C).kind, ControlKeyAction::Normal) << "plain letters pass";
    EXPECT_EQ(map(Qt::Key_Home, Qt::ControlModifier).kind, ControlKeyAction::ToPane);
    EXPECT_EQ(map(Qt::Key_Backspace).kind, ControlKeyAction::ToPane);
    EXPECT_EQ(map(Qt::Key_Tab).kind, ControlKeyAction::NextPane);
    EXPECT_EQ(map(Qt::Key_Backtab, Qt::ShiftModifier).kind, ControlKeyAction::NextPane);
    EXPECT_EQ(map(Qt::Key_Escape).kind, ControlKeyAction::Normal);
    for (int key : {int(Qt::Key_C), int(Qt::Key_A), int(Qt::Key_F11), int(Qt::Key_Delete),
                    int(Qt::Key_Tab), int(Qt::Key_Up)})
        EXPECT_EQ(map(key, Qt::ControlModifier, true).kind, ControlKeyAction::Normal)
            << "an open edit box gets every key";
}

TEST(ControlKeys, TabCycleSkipsHiddenPanes) {
    const std::array<bool, 4> all{true, true, true, true};
    EXPECT_EQ(NextFocusPane(4, all), 1) << "local list goes to the server tree";
    EXPECT_EQ(NextFocusPane(1, all), 2);
    EXPECT_EQ(NextFocusPane(0, all), 1);
    const std::array<bool, 4> modeOne{true, true, false, false};
    EXPECT_EQ(NextFocusPane(2, modeOne), 1);
    const std::array<bool, 4> modeZero{false, true, false, false};
    EXPECT_EQ(NextFocusPane(2, modeZero), 2);
    EXPECT_EQ(NextFocusPane(0, modeZero), 2);
    EXPECT_EQ(NextFocusPane(3, {}), 3) << "nothing shown: focus stays";
}

TEST(WindowRegion, OnlySixFieldsMakeARegion) {
    EXPECT_FALSE(ParseRoundRectRegion("0,0,200,100,20").has_value());
    EXPECT_FALSE(ParseRoundRectRegion("").has_value());
    EXPECT_FALSE(ParseRoundRectRegion("0,0,200,100,20,20,5").has_value());
    const auto region = ParseRoundRectRegion("10, 0,210,100x,20,abc");
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(region->boundingRect().left(), 10);
    EXPECT_EQ(region->boundingRect().width(), 200);
    const auto rounded = ParseRoundRectRegion("0,0,100,100,40,40");
    ASSERT_TRUE(rounded.has_value());
    EXPECT_FALSE(rounded->contains(QPoint(1, 1))) << "corners are cut";
    EXPECT_TRUE(rounded->contains(QPoint(50, 50)));
}
