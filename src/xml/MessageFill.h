#pragma once

#include <QString>
#include <QStringList>

// Fills a message text taken from a document. The text is never handed to printf: each
// conversion ("%s", "%d", "%ld", "%.1f", ...) is replaced by the next of `values`, already
// formatted by the caller (width and precision in the text are ignored), or by nothing when
// the values run out; "%%" gives "%"; a "%" that starts no conversion stays as written.
QString FillMessage(const QString& text, const QStringList& values);
