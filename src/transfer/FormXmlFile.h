#pragma once

#include <QString>
#include <QStringList>

// The XML document a multipart form post carries: a declaration naming the page's character
// set, then
//   <POSTFORM><FIELD name="NAME" value="VALUE"/>...</POSTFORM>
// with one FIELD per field in order, written in that character set.
QString FormXmlText(const QStringList& names, const QStringList& values, const QString& charset);

// Where the document went, or why it could not be written.
struct FormXmlFile {
    QString path;           // empty when nothing was written
    bool temporary = false; // a generated name, to be removed after the post
    QString failure;        // when `path` is empty: what went wrong, for the page
};

// Writes the document into the data folder: under a new generated name when `fileName` is
// empty, otherwise under `fileName`, which must be a plain file name ("/", "\", "." and ".."
// are refused). A named file is replaced whole or not at all, and a link planted under that
// name is replaced, never followed.
FormXmlFile WriteFormXml(const QString& fileName, const QStringList& names,
                         const QStringList& values, const QString& charset);
