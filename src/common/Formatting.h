#pragma once

#include <QColor>
#include <QString>

// `text` of exactly 7 characters as "#RRGGBB" (the first character is not checked; each pair
// reads as hexadecimal up to its first non-hex character); `fallback` for any other length.
QColor ParseColor(const QString& text, const QColor& fallback);

// A file size as whole kilobytes for display: "0KB", "1KB" below 1024 bytes, "1,024KB";
// halves round up ("3KB" for 2560 bytes); sizes that are not finite show "0KB".
QString SizeText(double bytes);

// Views lay out at most this many characters of a name or cell: a longer text is cut there
// and ends in "…", so painting a row costs the same whatever the catalogue holds.
inline constexpr qsizetype kMaxShownTextLength = 1024;

// `text`, or its first kMaxShownTextLength - 1 characters followed by "…" when longer.
QString ShownText(const QString& text);

// `digits` with "," between every group of three, counted from the end.
QString GroupThousands(const QString& digits);

// The kinds and parts of SplitPath.
inline constexpr int kLocalPathKind = 1;  // a path on this machine (LocalPath.h)
inline constexpr int kServerPathKind = 2; // a server path or URL path, "/" separated
inline constexpr int kNamePart = 0;
inline constexpr int kFolderPart = 1;

// Splits `path` at its last separator ("/" for kServerPathKind, the local separator for any
// other kind): kNamePart is the text after it, kFolderPart the text up to and including it.
// Any other part, or a path without the separator, gives `path` in upper case.
QString SplitPath(int kind, int part, const QString& path);
