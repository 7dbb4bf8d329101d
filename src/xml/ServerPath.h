#pragma once

#include <QString>

// Server paths: folder names from the disk folder down, joined by "/". They address catalogue
// elements through XPath steps that match each name exactly, whatever characters it holds.

// `path` without one leading and one trailing "/" (each only when present).
QString TrimServerPath(const QString& path);

// The XPath, relative to the catalogue root, of the folder `path` names: one FOLDER step per
// segment; with `fileForm` the last step is a FILE step. Segments are split at every "/"
// except the path's last character, which always belongs to the last segment; an empty
// segment is an empty name. Empty for an empty path.
QString ServerPathXPath(const QString& path, bool fileForm);

// A catalogue size text read as the classic C conversion reads it: the leading decimal number
// (sign, fraction and exponent allowed, leading white space skipped); 0.0 when there is none.
double SizeValue(const QString& text);

// A size as the catalogue writes it: decimal, no fraction ("%.0f").
QString CatalogueSizeText(double size);
