#include "control/SplitterDrag.h"

namespace {
// Bars are grabbed on their edges too: [bar x, bar x + 4].
bool inBar(const QRect& bar, QPoint pos) {
    return !bar.isNull() && pos.x() >= bar.left() && pos.x() <= bar.left() + bar.width() &&
           pos.y() >= bar.top() && pos.y() <= bar.top() + bar.height();
}

bool withinRows(const QRect& bar, int y) {
    return !bar.isNull() && y >= bar.top() && y <= bar.top() + bar.height();
}

constexpr int kMinTreeWidth = 5;  // x must be greater
constexpr int kRightMargin = 10;  // x must be less than width - this
constexpr int kMinRowHeight = 6;  // y at least this
constexpr int kBottomMargin = 10; // y less than height - this
} // namespace

SplitterBar SplitterBarAt(const PaneLayout& layout, QPoint pos) {
    if (inBar(layout.upperBar(), pos))
        return SplitterBar::Upper;
    if (inBar(layout.lowerBar(), pos))
        return SplitterBar::Lower;
    if (inBar(layout.horizontalBar(), pos))
        return SplitterBar::Horizontal;
    return SplitterBar::None;
}

bool DragSplitter(PaneLayout& layout, SplitterBar grabbed, QPoint pos) {
    if (layout.mode() == 0)
        return false;
    if (grabbed == SplitterBar::Horizontal) {
        if (layout.mode() != 2 || pos.y() < kMinRowHeight ||
            pos.y() >= layout.height() - kBottomMargin || pos.y() == layout.topRowHeight())
            return false;
        layout.setTopRowHeight(pos.y());
        return true;
    }
    if (grabbed == SplitterBar::None || pos.x() <= kMinTreeWidth ||
        pos.x() >= layout.width() - kRightMargin)
        return false;
    if (withinRows(layout.upperBar(), pos.y()) && layout.serverTreeWidth() != pos.x()) {
        layout.setServerTreeWidth(pos.x());
        return true;
    }
    if (withinRows(layout.lowerBar(), pos.y()) && layout.localTreeWidth() != pos.x()) {
        layout.setLocalTreeWidth(pos.x());
        return true;
    }
    return false;
}
