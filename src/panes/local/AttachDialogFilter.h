#pragma once

#include <QString>

// The open-file dialog's filter for `onlyExt` ("jpg;gif;"), in Qt's form: "All Files (*)"
// when it is empty; otherwise "Files (*.jpg *.gif *.JPG *.GIF)", each extension closed by
// ";" taken once (one not followed by ";" is not), with its upper-case variant so that
// names in capitals are offered too. "ext_null;" (files without a dot) adds no pattern;
// a list with no pattern left offers all files.
QString AttachDialogFilter(const QString& onlyExt);
