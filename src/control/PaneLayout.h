#pragma once

#include "common/FocusPanes.h"

#include <QRect>
#include <array>

// Geometry of the four panes and the splitter bars in the three layout modes. Plain data, so
// the arithmetic is testable without a window.
class PaneLayout {
public:
    // Panes are kept in focus-pane order.
    enum Pane {
        ServerTree = ServerTreePane - 1,
        ServerList = ServerListPane - 1,
        LocalTree = LocalTreePane - 1,
        LocalList = LocalListPane - 1,
        PaneCount
    };
    static constexpr Pane PaneOf(FocusPane pane) { return static_cast<Pane>(pane - 1); }
    static constexpr int kBarThickness = 4;

    // Takes a new client size; positions still zero get their defaults from it
    // (trees a third of the width, the top row half the height).
    void resize(int width, int height);

    void setMode(int mode) { mode_ = mode; }
    int mode() const { return mode_; }
    // Modes other than 0, 1 and 2 leave the panes where they were.
    bool modeIsKnown() const { return mode_ >= 0 && mode_ <= 2; }

    void setServerTreeWidth(int x) { serverTreeWidth_ = x; }
    void setLocalTreeWidth(int x) { localTreeWidth_ = x; }
    void setTopRowHeight(int y) { topRowHeight_ = y; }
    int serverTreeWidth() const { return serverTreeWidth_; }
    int localTreeWidth() const { return localTreeWidth_; }
    int topRowHeight() const { return topRowHeight_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The rectangle of each pane for the current mode; hidden panes get an empty rectangle.
    std::array<QRect, PaneCount> paneRects() const;
    // The splitter bars that exist in the current mode: upper vertical, lower vertical and
    // horizontal; absent ones are empty.
    QRect upperBar() const;
    QRect lowerBar() const;
    QRect horizontalBar() const;

private:
    int mode_ = 0;
    int width_ = 0, height_ = 0;
    int serverTreeWidth_ = 0, localTreeWidth_ = 0, topRowHeight_ = 0;
};
