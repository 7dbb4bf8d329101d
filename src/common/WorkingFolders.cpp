#include "common/WorkingFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint16 kFolderKind = 1;
constexpr qint16 kFileKind = 2;
constexpr qint16 kNothingKind = -1;
constexpr mode_t kPrivateMode = 0700;
constexpr mode_t kExclusiveFileMode = 0600;

QString absoluteFromEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    return !value.isEmpty() && QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

// A folder in /tmp that only this user owns and can enter. Refuses one that someone else
// made first, or a symlink planted in its place.
QString privateTempFolder() {
    const QString path = QStringLiteral("/tmp/vantrel-%1").arg(getuid());
    const QByteArray native = QFile::encodeName(path);
    if (mkdir(native.constData(), kPrivateMode) != 0 && errno != EEXIST)
        return {};
    struct stat info {};
    if (lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != getuid() || (info.st_mode & 077) != 0)
        return {};
    return path;
}

QString ensured(const QString& path) {
    return EnsureFolder(path) ? path : QString();
}

// The first of $XDG_CACHE_HOME/Vantrel and $HOME/.cache/Vantrel that is absolute and can be
// made.
QString cacheBaseFolder() {
    const QString xdg = absoluteFromEnv("XDG_CACHE_HOME");
    if (!xdg.isEmpty() && EnsureFolder(xdg + QStringLiteral("/Vantrel")))
        return xdg + QStringLiteral("/Vantrel");
    const QString home = absoluteFromEnv("HOME");
    if (!home.isEmpty() && EnsureFolder(home + QStringLiteral("/.cache/Vantrel")))
        return home + QStringLiteral("/.cache/Vantrel");
    return {};
}

QString subFolder(const QString& relative) {
    const QString base = BaseFolder();
    return base.isEmpty() ? QString() : ensured(base + QLatin1Char('/') + relative);
}

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

} // namespace

QString BaseFolder() {
    const QString cache = cacheBaseFolder();
    return cache.isEmpty() ? privateTempFolder() : cache;
}

QString DataFolder() {
    return subFolder(QStringLiteral("Data"));
}

QString ErrorLogFolder() {
    return subFolder(QStringLiteral("error_log"));
}

QString DownFolder() {
    return subFolder(QStringLiteral("Temporary Compressed Files/down"));
}

QString DataFilePath(const QString& name) {
    if (!isPlainFileName(name))
        return {};
    const QString data = DataFolder();
    return data.isEmpty() ? QString() : data + QLatin1Char('/') + name;
}

bool EnsureFolder(const QString& path) {
    if (path.isEmpty())
        return false;
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

bool FileExists(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

qint16 PathKind(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return kNothingKind;
    return info.isDir() ? kFolderKind : kFileKind;
}

bool CreateExclusiveFile(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, kExclusiveFileMode);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
