#pragma once

#include "control/PaneLayout.h"

#include <QPoint>

// Which splitter bar a point grabs and where a drag may move it. Plain logic over
// PaneLayout, so the bounds are testable without a window.
enum class SplitterBar { None, Upper, Lower, Horizontal };

// The bar under `pos` (host coordinates, bar edges included); None in mode 0.
SplitterBar SplitterBarAt(const PaneLayout& layout, QPoint pos);

// A vertical bar is dragged: x must lie in (5, width - 10); the bar moved is the one whose
// row holds `pos.y()` (upper: server tree width, lower: local tree width). A horizontal bar:
// y must lie in [6, height - 10). Returns false when nothing changed.
bool DragSplitter(PaneLayout& layout, SplitterBar grabbed, QPoint pos);
