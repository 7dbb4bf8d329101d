#include "transfer/TargetFile.h"

#include <fcntl.h>
#include <unistd.h>

bool OpenTargetFile(const QString& path, TargetOpen how, QFile& file) {
    const QByteArray native = QFile::encodeName(path);
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW;
    mode_t mode = 0666;
    switch (how) {
    case TargetOpen::Truncate:
        flags |= O_TRUNC;
        break;
    case TargetOpen::Append:
        flags |= O_APPEND;
        break;
    case TargetOpen::CreatePrivate:
        // unlink() removes a link itself, never its target; O_EXCL then refuses any newcomer.
        ::unlink(native.constData());
        flags |= O_EXCL;
        mode = 0600;
        break;
    }
    const int fd = ::open(native.constData(), flags, mode);
    if (fd < 0)
        return false;
    return file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                     QFileDevice::AutoCloseHandle);
}
