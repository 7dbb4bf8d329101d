#pragma once

#include <QString>

// The control's own working folders below the user's cache folder, and the small file tests
// the other parts share. Folders are created on first use and never removed; a folder that
// cannot be named or made is returned as an empty string.

// $XDG_CACHE_HOME/Vantrel (~/.cache/Vantrel), or a private /tmp/vantrel-<uid> when neither
// names an absolute folder.
QString BaseFolder();
// Temporary copies of fetched documents and files written for posting.
QString DataFolder();
// Where the last server error page is kept.
QString ErrorLogFolder();
// Server files downloaded to be opened with their program.
QString DownFolder();

// DataFolder() + "/" + `name`; empty when `name` is not a plain file name or Data cannot be
// made.
QString DataFilePath(const QString& name);

// Creates `path` and every missing folder above it; true when it exists as a folder after.
bool EnsureFolder(const QString& path);
// True when `path` is a file that can be opened for reading.
bool FileExists(const QString& path);
// 1 when `path` is an existing folder, 2 an existing file, -1 when nothing of that name exists.
qint16 PathKind(const QString& path);
// Creates `path` as a new empty file readable only by the user; false when it already exists
// or cannot be made.
bool CreateExclusiveFile(const QString& path);
