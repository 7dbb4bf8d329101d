// Moves of entries between server folders by a drag inside the pane.
#include "common/ControlEvents.h"
#include "common/RememberedValues.h"
#include "panes/server/ServerPaneController.h"
#include "xml/CatalogueNames.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"

using namespace CatalogueNames;

namespace {

bool HoldsName(const XmlNode& folder, const QString& name) {
    for (XmlNode child = folder.firstChild(); child; child = child.nextSibling()) {
        if ((child.name() == kFolder || child.name() == kFile) && child.attribute(kName) == name)
            return true;
    }
    return false;
}

bool IsSelfOrAbove(const XmlNode& entry, const XmlNode& folder) {
    for (XmlNode up = folder; up; up = up.parent()) {
        if (up == entry)
            return true;
    }
    return false;
}

} // namespace

short ServerPaneController::refusalOfMove(const XmlNode& entry, const XmlNode& target) const {
    if (entry.name() == kFolder && IsSelfOrAbove(entry, target))
        return DragDropCode::IntoItself;
    if (HoldsName(target, entry.attribute(kName)))
        return DragDropCode::NameTaken;
    return 0;
}

// The catalogue move and its journal record go together: a record that cannot be appended
// puts the entry back where it was.
bool ServerPaneController::moveEntry(const XmlNode& entry, ServerTreeNode* from,
                                     ServerTreeNode* target) {
    const XmlNode oldParent = entry.parent();
    const XmlNode oldNext = entry.nextSibling();
    if (!catalogue_.MoveInto(entry, target->element))
        return false;
    const QString name = entry.attribute(kName);
    const QString oldPath = ServerTreeModel::serverPath(from) + '/' + name;
    const QString newPath = ServerTreeModel::serverPath(target) + '/' + name;
    const NodePathText place = ServerCatalogue::NodePath(entry);
    const bool isFolder = entry.name() == kFolder;
    const bool recorded =
        isFolder
            ? journal_.AddMoveFolderRecord(MoveKind::Drag, oldPath, newPath, place.xpath, prompter_)
            : journal_.AddMoveFileRecord(MoveKind::Drag, oldPath, newPath, place.parentPath,
                                         place.xpath, ServerCatalogue::JournalFileKind(entry),
                                         prompter_);
    if (!recorded) {
        catalogue_.MoveInto(entry, oldParent);
        if (oldNext)
            catalogue_.MoveBefore(entry, oldNext);
        return false;
    }
    // The folder went after the target's other folders, as its node does.
    if (ServerTreeNode* node = isFolder ? tree_.childByElement(from, entry) : nullptr)
        tree_.moveUnder(node, target, static_cast<int>(target->children.size()));
    return true;
}

void ServerPaneController::moveEntries(ServerTreeNode* from, const QList<XmlNode>& entries,
                                       ServerTreeNode* target) {
    if (!from || !target)
        return;
    const ServerTreeNode* shown = tree_.selected();
    const bool listInvolved = shown == from || shown == target;
    bool anyMoved = false;
    for (const XmlNode& entry : entries) {
        short code = refusalOfMove(entry, target->element);
        if (code == 0 && !moveEntry(entry, from, target))
            code = DragDropCode::Refused;
        if (code == 0) {
            anyMoved = true;
            changed();
            continue;
        }
        const quint64 before = generation_;
        events_.dragDropError(code, entry.attribute(kName));
        // The handler changed the pane: nothing held from before is valid any more.
        if (generation_ != before) {
            if (anyMoved)
                events_.dragDropCompleted();
            return;
        }
    }
    if (!anyMoved)
        return;
    if (listInvolved)
        refillList();
    if (tree_.selected())
        SetRemembered(RememberedValue::ServerUserCurrentPath,
                      ServerTreeModel::serverPath(tree_.selected()));
    events_.dragDropCompleted();
}
