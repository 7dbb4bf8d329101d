// New folders and moving a folder among its siblings.
#include "common/ControlEvents.h"
#include "panes/server/ServerPaneController.h"
#include "settings/ControlSettings.h"
#include "xml/ServerCatalogue.h"

#include <QSet>

namespace {

// A name that a path could not address, or that would make a folder stand for its parent.
bool isAcceptableFolderName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// `base`, or "base (k)" for the first k from 2 that no child of `folder` is named.
QString freeName(const XmlNode& folder, const QString& base) {
    QSet<QString> taken;
    for (const XmlNode& child : folder.selectAll(QStringLiteral("*")))
        taken.insert(child.attribute(QStringLiteral("name")));
    QString candidate = base;
    for (int k = 2; taken.contains(candidate); ++k)
        candidate = QStringLiteral("%1 (%2)").arg(base).arg(k);
    return candidate;
}

} // namespace

ServerPaneController::MadeFolder ServerPaneController::makeFolder(ServerTreeNode* parent,
                                                                  const QString& name) {
    MadeFolder made;
    if (!isAcceptableFolderName(name)) {
        made.code = kNewFolderBadName;
        return made;
    }
    if (!parent || parent->element.isNull())
        return made;
    const XmlNode folder = catalogue_.CreateFolderElement(name, prompter_);
    if (folder.isNull()) {
        made.code = kNewFolderBadName;
        return made;
    }
    const int index = catalogue_.InsertFolder(parent->element, folder);
    if (index < 0) {
        made.code = kNewFolderNotInserted;
        return made;
    }
    // Rows after the new one move down, and the name is a folder's now.
    nameIndex_.forget(parent->element);
    made.code = 0;
    made.node = tree_.insertChild(parent, folder, index);
    if (isShown(parent))
        made.row = list_.insertFolder(folder, index + (list_.startsWithParent() ? 1 : 0));
    return made;
}

void ServerPaneController::newFolder(const QString& name) {
    const QString base = name.isEmpty() ? settings_.newFolderName : name;
    ServerTreeNode* parent = tree_.selected();
    if (!isAcceptableFolderName(base)) {
        events_.newFolderCompleted(kNewFolderBadName, -1, QString());
        return;
    }
    if (!parent || parent->element.isNull()) {
        events_.newFolderCompleted(kNewFolderNoFolder, -1, QString());
        return;
    }
    const QString folderName = freeName(parent->element, base);
    const MadeFolder made = makeFolder(parent, folderName);
    const QString path = made.code == 0
                             ? ServerTreeModel::serverPath(parent) + QLatin1Char('/') + folderName
                             : QString();
    events_.newFolderCompleted(made.code, made.row, path);
}

short ServerPaneController::moveFolder(int delta) {
    const short upDown = delta < 0 ? 1 : 2;
    ServerTreeNode* node = tree_.selected();
    const int row = tree_.rowOf(node);
    const auto& siblings = tree_.childrenOf(node ? node->parent : nullptr);
    const int other = row + delta;
    short code = 0;
    if (row < 0 || other < 0 || other >= static_cast<int>(siblings.size())) {
        code = delta < 0 ? kNoPreviousFolder : kNoNextFolder;
    } else {
        const XmlNode& neighbour = siblings[other]->element;
        const bool moved = delta < 0 ? catalogue_.MoveBefore(node->element, neighbour)
                                     : catalogue_.MoveBefore(neighbour, node->element);
        if (moved) {
            nameIndex_.invalidate();
            tree_.moveAmongSiblings(node, delta);
        } else {
            code = kFolderNotMoved;
        }
    }
    events_.nodeUpDownCompleted(code, upDown);
    return code;
}
