#pragma once

#include <QColor>
#include <QString>

// `text` of exactly 7 characters as "#RRGGBB" (the first character is not checked; each pair
// reads as hexadecimal up to its first non-hex character); `fallback` for any other length.
QColor ParseColor(const QString& text, const QColor& fallback);

// A file size as whole kilobytes for display: "0KB", "1KB" below 1024 bytes, "1,024KB";
// halves round up ("3KB" for 2560 bytes); sizes that are not finite show "0KB".
QString SizeText(double bytes);

// `digits` with "," between every group of three, counted from the end.
QString GroupThousands(const QString& digits);

// Splits `path` at its last separator ("/" for kind 2, "\" otherwise): part 0 is the text
// after it, part 1 the text up to and including it. Any other part, or a path without the
// separator, gives `path` in upper case.
QString SplitPath(int kind, int part, const QString& path);
