#pragma once

#include <QString>

// Local paths, split by one rule everywhere: at the last separator of this platform's paths.

inline constexpr QChar kLocalPathSeparator = u'/';

// The text after the last separator (a file's name); the whole path when it has none.
QString LocalFileName(const QString& path);

// The text up to and including the last separator (the folder holding the file); empty when
// the path has none.
QString LocalFolderPart(const QString& path);
