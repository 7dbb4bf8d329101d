// Renaming a folder in the tree or an item in the list, in place and on disk.
#include "common/RememberedValues.h"
#include "common/RenameRules.h"
#include "panes/local/LocalPaneController.h"
#include "panes/local/RealLocalNamespace.h"
#include "settings/ControlSettings.h"

namespace fs = std::filesystem;
using namespace RenameCode;

namespace {

short codeOf(LocalRenameResult result) {
    switch (result) {
    case LocalRenameResult::Renamed:
        return Renamed;
    case LocalRenameResult::Exists:
        return NameTaken;
    case LocalRenameResult::TooLong:
        return TooLong;
    case LocalRenameResult::Missing:
    case LocalRenameResult::Failed:
        break;
    }
    return NotOnDisk;
}

} // namespace

RenameOutcome LocalPaneController::renameOnDisk(const fs::path& path, const QString& current,
                                                const QString& text) {
    const RequestedName requested = RequestedNameOf(text);
    if (requested.code != Renamed)
        return {requested.code};
    if (requested.name == current)
        return {Renamed};
    if (requested.name.size() > kMaxNameLength)
        return {TooLong};
    const fs::path moved = path.parent_path() / PathFromText(requested.name);
    const short code = codeOf(names_.rename(path, moved));
    if (code != Renamed)
        return {code};
    showRenamed(path, moved);
    return {Renamed, true};
}

// The tree nodes and the list row that show `path` take its new place.
void LocalPaneController::showRenamed(const fs::path& path, const fs::path& moved) {
    tree_.followRename(path, moved);
    // Rows below a renamed folder carry its old path.
    for (const LocalTreeNode* up = selected_; up; up = up->parent) {
        if (up->path == moved) {
            fillList(selected_);
            SetRemembered(RememberedValue::LocalUserCurrentPath, PathText(selected_->path));
            return;
        }
    }
    const int row = list_.rowOf(path);
    if (row < 0)
        return;
    LocalEntry entry;
    if (!ReadLocalEntry(moved, entry)) {
        entry = list_.row(row).entry;
        entry.path = moved;
        entry.name = PathText(moved.filename());
    }
    list_.replaceRow(row, LocalListModel::rowsFor({entry}, settings_.dateFormat).front());
}

RenameOutcome LocalPaneController::renameFolder(LocalTreeNode* node, const QString& text) {
    if (!tree_.isRenameable(node))
        return {NotRenameable};
    // Copies: the rename moves the node.
    const fs::path path = node->path;
    const QString name = node->label;
    if (!names_.exists(path))
        return {NotOnDisk};
    return renameOnDisk(path, name, text);
}

// The list judges whether its item is still there before anything else.
RenameOutcome LocalPaneController::renameRow(int row, const QString& text) {
    if (row < 0 || row >= list_.size() || list_.row(row).entry.path.empty())
        return {NotRenameable};
    const LocalListRow& shown = list_.row(row);
    if (!names_.exists(shown.entry.path))
        return {NotOnDisk};
    if (!shown.renameable)
        return {NotRenameable};
    const fs::path path = shown.entry.path;
    const QString name = shown.entry.name;
    return renameOnDisk(path, name, text);
}
