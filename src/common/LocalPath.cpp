#include "common/LocalPath.h"

QString LocalFileName(const QString& path) {
    return path.mid(path.lastIndexOf(kLocalPathSeparator) + 1);
}

QString LocalFolderPart(const QString& path) {
    return path.left(path.lastIndexOf(kLocalPathSeparator) + 1);
}
