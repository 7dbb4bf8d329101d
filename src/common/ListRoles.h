#pragma once

#include <Qt>

// Item data roles the file lists read beyond Qt's own. Text colour is Qt::ForegroundRole,
// icon Qt::DecorationRole.
// The selection-bar colour of a row (QColor; unset means the palette's highlight).
inline constexpr int kSelectionBarColorRole = Qt::UserRole + 0x40;
// The image index the "IMAGE" sort orders by (int).
inline constexpr int kImageIndexRole = Qt::UserRole + 0x41;
// A cell's numeric value (double) where its text is formatted, as sizes are ("1,024KB"):
// the numeric sorts order by it instead of by the text.
inline constexpr int kSortValueRole = Qt::UserRole + 0x42;
