#pragma once

#include <QFile>

namespace bench {

// The value in KiB of the /proc/self/status line `field` ("VmHWM:"), or -1 where /proc does
// not tell.
inline qint64 StatusKiB(const QByteArray& field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The process's peak resident memory in KiB (VmHWM), or -1 where /proc does not tell.
inline qint64 PeakResidentKiB() {
    return StatusKiB("VmHWM:");
}

// The process's resident memory now in KiB (VmRSS), or -1 where /proc does not tell.
inline qint64 ResidentKiB() {
    return StatusKiB("VmRSS:");
}

// Starts the peak over from the memory resident now, so the next reading covers only what
// runs after this (Linux 4.0 and later; elsewhere the peak keeps counting from the start).
inline void ResetPeakResident() {
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace bench
