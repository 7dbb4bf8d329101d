#pragma once

#include <QFile>
#include <QString>

// How a download opens the file it writes.
enum class TargetOpen {
    Truncate,      // from its first byte, made when missing
    Append,        // after its last byte, made when missing
    CreatePrivate, // always a new file readable only by the user, replacing an older one
};

// Opens `path` for writing into `file` without ever following a final symbolic link: a link
// planted where the target goes makes the open fail instead of writing through it. False when
// the file cannot be opened that way.
bool OpenTargetFile(const QString& path, TargetOpen how, QFile& file);
