#pragma once

#include <QDateTime>
#include <QString>
#include <filesystem>
#include <vector>

// One item of a local folder as the panes show it.
struct LocalEntry {
    QString name;
    std::filesystem::path path;
    bool isFolder = false;  // a real folder, or a link that leads to one
    bool isSymlink = false; // shown with the link emblem; never followed by scans or deletes
    double size = 0;        // files only
    QDateTime modified;     // invalid when the item cannot be examined
};

// How a rename on disk ended.
enum class LocalRenameResult {
    Renamed,
    Exists,  // something has the new name already; it is left as it was
    Missing, // nothing has the old name (any more)
    TooLong, // the file system does not take a name that long
    Failed,  // refused for another reason (permissions, a read-only disk, ...)
};

// A mounted volume shown under the virtual Computer node.
struct LocalVolume {
    QString label;
    std::filesystem::path root;
};

// The local namespace the panes browse: the desktop, home and volume roots and the folders
// below them. The real one reads the file system; tests give a fixed one. Paths use "/".
// Nothing here throws; failures answer false or empty.
class LocalNamespace {
public:
    virtual ~LocalNamespace() = default;

    // The user's desktop folder; it may not exist (the Desktop node is then virtual).
    virtual std::filesystem::path desktopFolder() const = 0;
    virtual std::filesystem::path homeFolder() const = 0;
    // The file-system root first, then the real mounted volumes; pseudo file systems are
    // left out.
    virtual std::vector<LocalVolume> volumes() const = 0;
    // The items of `folder` without hidden (dot) names, in no particular order; folders only
    // when `foldersOnly`. False when the folder cannot be read.
    virtual bool list(const std::filesystem::path& folder, bool foldersOnly,
                      std::vector<LocalEntry>& entries) const = 0;
    // Whether `path` is an existing folder (a link to one counts).
    virtual bool isFolder(const std::filesystem::path& path) const = 0;
    // Whether anything, a dangling link included, has that name.
    virtual bool exists(const std::filesystem::path& path) const = 0;
    // Creates one new folder; false when it exists already or cannot be made.
    virtual bool makeFolder(const std::filesystem::path& path) = 0;
    // Moves `path` (a link itself, never its target) to the desktop trash.
    virtual bool moveToTrash(const std::filesystem::path& path) = 0;
    // Gives `from` (a link itself, never its target) the name `to` in the same folder; never
    // replaces anything that has that name.
    virtual LocalRenameResult rename(const std::filesystem::path& from,
                                     const std::filesystem::path& to) = 0;
};
