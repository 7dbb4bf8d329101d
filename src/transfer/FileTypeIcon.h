#pragma once

#include <QIcon>
#include <QString>

// The icon of a file's type, judged by its name's extension only (the file is never opened):
// the theme icon of its MIME type, then the generic icon of that type, then a plain document
// icon. Folders ask with `isFolder`. Call on the UI thread.
QIcon FileTypeIcon(const QString& fileName, bool isFolder = false);
