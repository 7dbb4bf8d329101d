#pragma once

#include <QDateTime>
#include <QString>

// `when` in local time written with `format` in strftime notation (the DATEFORMAT of the UI
// configuration); empty for an empty format or a result that does not fit 255 bytes.
QString DateText(const QDateTime& when, const QString& format);
