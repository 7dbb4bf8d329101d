// Renaming a folder in the tree or an entry in the list, in place.
#include "common/RememberedValues.h"
#include "common/RenameRules.h"
#include "panes/server/ServerPaneController.h"
#include "xml/ServerCatalogue.h"

using namespace RenameCode;

ServerEntryRef ServerPaneController::entryRef(int row) const {
    if (row < 0 || row >= list_.rowCount())
        return {};
    return {list_.row(row).element, generation_};
}

int ServerPaneController::rowAt(const ServerEntryRef& ref) const {
    return ref.generation == generation_ ? list_.rowOf(ref.element) : -1;
}

RenameOutcome ServerPaneController::renameFolder(ServerTreeNode* node, const QString& text) {
    if (!ServerTreeModel::isRenameable(node) || node->element.isNull())
        return {NotRenameable};
    return renameEntry(node->element, node, text);
}

RenameOutcome ServerPaneController::renameRow(int row, const QString& text) {
    if (!list_.isRenameable(row))
        return {NotRenameable};
    const ServerListRow& entry = list_.row(row);
    ServerTreeNode* node = entry.kind == ServerRowKind::Folder
                               ? tree_.childByElement(tree_.selected(), entry.element)
                               : nullptr;
    return renameEntry(entry.element, node, text);
}

RenameOutcome ServerPaneController::renameEntry(const XmlNode& element, ServerTreeNode* node,
                                                const QString& text) {
    const RequestedName requested = RequestedNameOf(text);
    if (requested.code != Renamed)
        return {requested.code};
    if (requested.name == element.attribute(QStringLiteral("name")))
        return {Renamed};
    const XmlNode folder = element.parent();
    if (ServerCatalogue::FindChildByName(folder, requested.name) != ChildMatch::None)
        return {NameTaken};
    if (requested.name.size() > kMaxNameLength)
        return {TooLong};
    if (!catalogue_.RenameEntry(element, requested.name, journal_, prompter_))
        return {Refused};
    nameIndex_.forget(folder);
    list_.rowEdited(list_.rowOf(element));
    tree_.relabel(node, requested.name);
    // The remembered folder is addressed by names; the renamed one may be on its way.
    for (const ServerTreeNode* up = tree_.selected(); node && up; up = up->parent) {
        if (up == node) {
            SetRemembered(RememberedValue::ServerUserCurrentPath, selectedPath());
            break;
        }
    }
    return {Renamed, true};
}
