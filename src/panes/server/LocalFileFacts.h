#pragma once

#include <QDateTime>
#include <QString>

// What the adding operation needs to know of a local file, from the file system alone: the
// file is never opened, so a FIFO or a device cannot block the UI thread.
struct LocalFileFacts {
    QString name; // LocalFileName of the path
    double size = 0;
    QDateTime modified;
};

// Facts of `fullPath`; false when it is not a regular file (or a link to one), cannot be
// examined, or its name is not valid text (a name that was not valid UTF-8 on disk).
bool ReadLocalFileFacts(const QString& fullPath, LocalFileFacts& facts);

// `time` in local time through strftime `format`; empty for an empty format or time.
QString FormatFileTime(const QDateTime& time, const QString& format);

// The display name of the file's type, judged by its name's extension only.
QString FileTypeName(const QString& fileName);
