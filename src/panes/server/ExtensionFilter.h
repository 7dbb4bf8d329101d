#pragma once

#include <QString>

// The extension lists of the settings ("exe;bat;", "ext_null;" for names without a dot).
// A name's extension is the text after its last dot, lower-cased; the test is a substring
// search for that extension followed by ";" in the lower-cased list.

// True when `exceptionExt` is not empty and refuses `fileName`.
bool IsExcludedExtension(const QString& fileName, const QString& exceptionExt);
// True when `onlyExt` is empty or lets `fileName` pass.
bool IsPermittedExtension(const QString& fileName, const QString& onlyExt);
