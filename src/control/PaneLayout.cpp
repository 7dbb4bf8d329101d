#include "control/PaneLayout.h"

#include <algorithm>

namespace {
// A control squeezed below the bar widths would give panes negative sizes.
QRect clampedRect(int x, int y, int width, int height) {
    return QRect(x, y, std::max(width, 0), std::max(height, 0));
}
} // namespace

void PaneLayout::resize(int width, int height) {
    width_ = width;
    height_ = height;
    if (serverTreeWidth_ == 0)
        serverTreeWidth_ = width / 3;
    if (localTreeWidth_ == 0)
        localTreeWidth_ = width / 3;
    if (topRowHeight_ == 0)
        topRowHeight_ = height / 2;
}

std::array<QRect, PaneLayout::PaneCount> PaneLayout::paneRects() const {
    const int bar = kBarThickness;
    std::array<QRect, PaneCount> r{};
    switch (mode_) {
    case 0:
        r[ServerList] = clampedRect(0, 0, width_, height_);
        break;
    case 1:
        r[ServerTree] = clampedRect(0, 0, serverTreeWidth_, height_);
        r[ServerList] =
            clampedRect(serverTreeWidth_ + bar, 0, width_ - serverTreeWidth_ - bar, height_);
        break;
    case 2: {
        const int lowerTop = topRowHeight_ + bar;
        const int lowerHeight = height_ - topRowHeight_ - bar;
        r[ServerTree] = clampedRect(0, 0, serverTreeWidth_, topRowHeight_);
        r[ServerList] =
            clampedRect(serverTreeWidth_ + bar, 0, width_ - serverTreeWidth_ - bar, topRowHeight_);
        r[LocalTree] = clampedRect(0, lowerTop, localTreeWidth_, lowerHeight);
        r[LocalList] = clampedRect(localTreeWidth_ + bar, lowerTop, width_ - localTreeWidth_ - bar,
                                   lowerHeight);
        break;
    }
    default:
        break;
    }
    return r;
}

QRect PaneLayout::upperBar() const {
    if (mode_ == 1)
        return clampedRect(serverTreeWidth_, 0, kBarThickness, height_);
    if (mode_ == 2)
        return clampedRect(serverTreeWidth_, 0, kBarThickness, topRowHeight_);
    return {};
}

QRect PaneLayout::lowerBar() const {
    if (mode_ != 2)
        return {};
    const int top = topRowHeight_ + kBarThickness;
    return clampedRect(localTreeWidth_, top, kBarThickness, height_ - top);
}

QRect PaneLayout::horizontalBar() const {
    return mode_ == 2 ? clampedRect(0, topRowHeight_, width_, kBarThickness) : QRect();
}
