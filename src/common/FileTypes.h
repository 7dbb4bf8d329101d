#pragma once

#include <QString>

// A file's type as shown: the type name and the theme icon names to try (ThemeIcon).
struct LocalType {
    QString name;
    QString iconName;
};

// Judged by the text after the name's last dot only, never by content, and cached per
// extension: a folder of many files of a few types costs a few look-ups.
LocalType TypeOfFile(const QString& fileName);
LocalType FolderType();
