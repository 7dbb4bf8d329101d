#include "control/PaneLayout.h"

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
        r[ServerList] = QRect(0, 0, width_, height_);
        break;
    case 1:
        r[ServerTree] = QRect(0, 0, serverTreeWidth_, height_);
        r[ServerList] = QRect(serverTreeWidth_ + bar, 0, width_ - serverTreeWidth_ - bar, height_);
        break;
    case 2: {
        const int lowerTop = topRowHeight_ + bar;
        const int lowerHeight = height_ - topRowHeight_ - bar;
        r[ServerTree] = QRect(0, 0, serverTreeWidth_, topRowHeight_);
        r[ServerList] =
            QRect(serverTreeWidth_ + bar, 0, width_ - serverTreeWidth_ - bar, topRowHeight_);
        r[LocalTree] = QRect(0, lowerTop, localTreeWidth_, lowerHeight);
        r[LocalList] =
            QRect(localTreeWidth_ + bar, lowerTop, width_ - localTreeWidth_ - bar, lowerHeight);
        break;
    }
    default:
        break;
    }
    return r;
}

QRect PaneLayout::upperBar() const {
    if (mode_ == 1)
        return QRect(serverTreeWidth_, 0, kBarThickness, height_);
    if (mode_ == 2)
        return QRect(serverTreeWidth_, 0, kBarThickness, topRowHeight_);
    return {};
}

QRect PaneLayout::lowerBar() const {
    if (mode_ != 2)
        return {};
    const int top = topRowHeight_ + kBarThickness;
    return QRect(localTreeWidth_, top, kBarThickness, height_ - top);
}

QRect PaneLayout::horizontalBar() const {
    return mode_ == 2 ? QRect(0, topRowHeight_, width_, kBarThickness) : QRect();
}
