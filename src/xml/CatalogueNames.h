#pragma once

#include <QString>

// The element and attribute names of the server catalogue, and the values its code reads.
namespace CatalogueNames {
inline const QString kFolder = QStringLiteral("FOLDER");
inline const QString kFile = QStringLiteral("FILE");
inline const QString kName = QStringLiteral("name");
inline const QString kType = QStringLiteral("type");
inline const QString kPath = QStringLiteral("path");
inline const QString kSize = QStringLiteral("size");
inline const QString kTranstype = QStringLiteral("transtype");
inline const QString kServer = QStringLiteral("server"); // transtype of a file on the server
inline const QString kLocal = QStringLiteral("local");   // transtype of a file still to upload
inline const QString kDisk = QStringLiteral("disk");     // type of a disk folder
} // namespace CatalogueNames
