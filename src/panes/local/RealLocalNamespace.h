#pragma once

#include "panes/local/LocalNamespace.h"

// The user's own file system: the XDG desktop and home folders and the volumes mounted now.
class RealLocalNamespace : public LocalNamespace {
public:
    std::filesystem::path desktopFolder() const override;
    std::filesystem::path homeFolder() const override;
    std::vector<LocalVolume> volumes() const override;
    bool list(const std::filesystem::path& folder, bool foldersOnly,
              std::vector<LocalEntry>& entries) const override;
    bool isFolder(const std::filesystem::path& path) const override;
    bool exists(const std::filesystem::path& path) const override;
    bool makeFolder(const std::filesystem::path& path) override;
    bool moveToTrash(const std::filesystem::path& path) override;
    // Atomic where the file system knows "no replace"; see RenameByLink otherwise.
    LocalRenameResult rename(const std::filesystem::path& from,
                             const std::filesystem::path& to) override;
};

// The rename for file systems without an atomic "no replace": a file or link gets a second
// name, which fails when the name is taken, then loses the first; a folder, which cannot be
// linked, is renamed after a check that its new name is free.
LocalRenameResult RenameByLink(const std::filesystem::path& from, const std::filesystem::path& to);

// The file system's view of one item of `folder` named by the on-disk bytes of `name`;
// false when it vanished meanwhile.
bool ReadLocalEntry(const std::filesystem::path& path, LocalEntry& entry);

// `path` as text (its bytes decoded as the file system names them), and back.
QString PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(const QString& text);
