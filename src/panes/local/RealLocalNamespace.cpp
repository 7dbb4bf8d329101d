#include "panes/local/RealLocalNamespace.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// File systems that hold no user files: kernel views, memory-backed run-time state, images of
// installed packages.
bool isPseudoFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> pseudo = {
        "proc",     "sysfs",      "devtmpfs",    "devpts",      "tmpfs",
        "cgroup",   "cgroup2",    "pstore",      "debugfs",     "tracefs",
        "configfs", "securityfs", "fusectl",     "mqueue",      "hugetlbfs",
        "bpf",      "autofs",     "binfmt_misc", "efivarfs",    "ramfs",
        "nsfs",     "rpc_pipefs", "squashfs",    "fuse.portal", "fuse.gvfsd-fuse"};
    return pseudo.contains(type);
}

bool isSystemPlace(const QString& root) {
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib"}) {
        const QString place = QString::fromLatin1(prefix);
        if (root == place || root.startsWith(place + QLatin1Char('/')))
            return !root.startsWith(QStringLiteral("/run/media/"));
    }
    return false;
}

LocalRenameResult resultOfError(int error) {
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return LocalRenameResult::Exists;
    case ENOENT:
        return LocalRenameResult::Missing;
    case ENAMETOOLONG:
        return LocalRenameResult::TooLong;
    default:
        return LocalRenameResult::Failed;
    }
}

fs::path standardFolder(QStandardPaths::StandardLocation location) {
    return PathFromText(QStandardPaths::writableLocation(location));
}

} // namespace

QString PathText(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

fs::path PathFromText(const QString& text) {
    return fs::path(QFile::encodeName(text).toStdString());
}

bool ReadLocalEntry(const fs::path& path, LocalEntry& entry) {
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0)
        return false;
    entry.path = path;
    entry.name = PathText(path.filename());
    entry.isSymlink = S_ISLNK(own.st_mode);
    struct stat target = own;
    const bool reached = !entry.isSymlink || ::stat(path.c_str(), &target) == 0;
    entry.isFolder = reached && S_ISDIR(target.st_mode);
    entry.size = reached && S_ISREG(target.st_mode) ? static_cast<double>(target.st_size) : 0.0;
    const struct stat& dated = reached ? target : own;
    entry.modified = QDateTime::fromMSecsSinceEpoch(qint64(dated.st_mtim.tv_sec) * 1000 +
                                                    dated.st_mtim.tv_nsec / 1000000);
    return true;
}

fs::path RealLocalNamespace::desktopFolder() const {
    return standardFolder(QStandardPaths::DesktopLocation);
}

fs::path RealLocalNamespace::homeFolder() const {
    return PathFromText(QDir::homePath());
}

std::vector<LocalVolume> RealLocalNamespace::volumes() const {
    std::vector<LocalVolume> volumes{{QStringLiteral("File System"), fs::path("/")}};
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        const QString root = storage.rootPath();
        if (!storage.isValid() || !storage.isReady() || root == QLatin1String("/") ||
            isPseudoFileSystem(storage.fileSystemType()) || isSystemPlace(root))
            continue;
        const QString name = storage.displayName();
        volumes.push_back({name.isEmpty() ? root : name, PathFromText(root)});
    }
    return volumes;
}

bool RealLocalNamespace::list(const fs::path& folder, bool foldersOnly,
                              std::vector<LocalEntry>& entries) const {
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error)
        return false;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        const fs::path& path = it->path();
        if (path.filename().native().starts_with('.'))
            continue;
        LocalEntry entry;
        if (ReadLocalEntry(path, entry) && (entry.isFolder || !foldersOnly))
            entries.push_back(std::move(entry));
    }
    return true;
}

bool RealLocalNamespace::isFolder(const fs::path& path) const {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool RealLocalNamespace::exists(const fs::path& path) const {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool RealLocalNamespace::makeFolder(const fs::path& path) {
    std::error_code error;
    return fs::create_directory(path, error) && !error;
}

bool RealLocalNamespace::moveToTrash(const fs::path& path) {
    return QFile::moveToTrash(PathText(path));
}

LocalRenameResult RealLocalNamespace::rename(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return LocalRenameResult::Renamed;
    const int error = errno;
    return error == EINVAL || error == ENOSYS ? RenameByLink(from, to) : resultOfError(error);
}

LocalRenameResult RenameByLink(const fs::path& from, const fs::path& to) {
    struct stat own {};
    if (::lstat(from.c_str(), &own) != 0)
        return resultOfError(errno);
    if (!S_ISDIR(own.st_mode)) {
        if (::link(from.c_str(), to.c_str()) != 0)
            return resultOfError(errno);
        if (::unlink(from.c_str()) == 0)
            return LocalRenameResult::Renamed;
        const int error = errno;
        ::unlink(to.c_str());
        return resultOfError(error);
    }
    struct stat taken {};
    if (::lstat(to.c_str(), &taken) == 0)
        return LocalRenameResult::Exists;
    if (errno != ENOENT)
        return resultOfError(errno);
    return ::rename(from.c_str(), to.c_str()) == 0 ? LocalRenameResult::Renamed
                                                   : resultOfError(errno);
}
