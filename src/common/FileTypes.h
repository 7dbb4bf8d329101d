#pragma once

#include <QString>

// A file's type as shown: the type name and the theme icon names to try (ThemeIcon).
struct LocalType {
    QString name;
    QString iconName;
};

// File types are judged by at most this many characters at the end of a name, so a name of
// any length costs one short look-up.
inline constexpr qsizetype kTypeNameTail = 64;

// The last kTypeNameTail characters of `fileName` (all of a shorter name).
QString TypeNameTail(const QString& fileName);
// The lower-cased text after the last "." of TypeNameTail(fileName); empty when it holds none.
QString ExtensionOf(const QString& fileName);

// Judged by the text after the name's last dot only, never by content, and cached per
// extension: a folder of many files of a few types costs a few look-ups.
LocalType TypeOfFile(const QString& fileName);
LocalType FolderType();
