// In-place renaming in the four views: which item a request names, the rename after the
// editor closed, the event, and the editor opened again for a correction.
#include "common/ControlEvents.h"
#include "panes/server/ServerTreeItemModel.h"
#include "session/ControlSession.h"

#include <QPersistentModelIndex>

using namespace RenameCode;

// The item an editor closed on, named so it is found again after the page's handler ran: the
// server pane's by catalogue generation, the local pane's by persistent index.
struct ControlSession::PendingRename {
    qint16 pane = NoPane;
    ServerFolderRef folder;
    ServerEntryRef entry;
    QPersistentModelIndex local;
    QString text;
};

void ControlSession::renameModeList(int index) {
    if (focusPane_ == ServerListPane || focusPane_ == LocalListPane)
        openRenameEditor(focusPane_, index);
}

void ControlSession::renameModeTree() {
    if (focusPane_ == ServerTreePane || focusPane_ == LocalTreePane)
        openRenameEditor(focusPane_, -1);
}

void ControlSession::startRename(qint16 pane) {
    if (pane == ServerListPane)
        openRenameEditor(pane, server_.list().firstSelectedRow());
    else if (pane == LocalListPane)
        openRenameEditor(pane, local_->firstSelectedRow());
    else if (pane == ServerTreePane || pane == LocalTreePane)
        openRenameEditor(pane, -1);
}

bool ControlSession::canStartRename(qint16 pane, int row) {
    switch (pane) {
    case ServerTreePane:
        return ServerTreeModel::isRenameable(server_.tree().selected());
    case ServerListPane:
        return server_.list().isRenameable(row);
    case LocalTreePane:
        return local_->tree().isRenameable(local_->selected());
    case LocalListPane:
        return row >= 0 && row < local_->list().size() && local_->list().row(row).renameable;
    default:
        return false;
    }
}

void ControlSession::openRenameEditor(qint16 pane, int row) {
    if (!canStartRename(pane, row)) {
        events_.renameCompleted(NotRenameable);
        return;
    }
    focusOn(pane);
    emit renameEditorRequested(pane, row, QString());
}

void ControlSession::nameEdited(qint16 pane, const QModelIndex& index, const QString& text) {
    PendingRename pending;
    pending.pane = pane;
    pending.text = text;
    if (pane == ServerTreePane)
        pending.folder = server_.folderRef(ServerTreeItemModel::node(index));
    else if (pane == ServerListPane)
        pending.entry = server_.entryRef(index.row());
    else if (pane == LocalTreePane || pane == LocalListPane)
        pending.local = index;
    else
        return;
    // The rename is done before the input that closed the editor (a click elsewhere, say)
    // goes on; the page's handler and a new editor wait until the closing editor is gone.
    const short code = renameNow(pending).code;
    QMetaObject::invokeMethod(
        this, [this, pending, code] { reportRename(pending, code); }, Qt::QueuedConnection);
}

void ControlSession::reportRename(const PendingRename& pending, short code) {
    events_.renameCompleted(code);
    if (ReopensEditor(code))
        reopenRenameEditor(pending);
}

RenameOutcome ControlSession::renameNow(const PendingRename& pending) {
    switch (pending.pane) {
    case ServerTreePane: {
        ServerTreeNode* node = server_.folderAt(pending.folder);
        return node ? server_.renameFolder(node, pending.text) : RenameOutcome{NotRenameable};
    }
    case ServerListPane: {
        const int row = server_.rowAt(pending.entry);
        if (row < 0)
            return {NotRenameable};
        const RenameOutcome outcome = server_.renameRow(row, pending.text);
        if (outcome.changed && settings_.LocalUIType == 2 && local_->isSetUp())
            local_->refresh();
        return outcome;
    }
    case LocalTreePane: {
        LocalTreeNode* node =
            pending.local.isValid() ? LocalTreeModel::node(pending.local) : nullptr;
        return node ? local_->renameFolder(node, pending.text) : RenameOutcome{NotRenameable};
    }
    case LocalListPane:
        return pending.local.isValid() ? local_->renameRow(pending.local.row(), pending.text)
                                       : RenameOutcome{NotRenameable};
    default:
        return {NotRenameable};
    }
}

// A tree's editor opens on its selected folder only, so it comes back only while the renamed
// folder is still the one selected.
void ControlSession::reopenRenameEditor(const PendingRename& pending) {
    int row = -1;
    switch (pending.pane) {
    case ServerTreePane: {
        const ServerTreeNode* node = server_.folderAt(pending.folder);
        if (!node || node != server_.tree().selected())
            return;
        break;
    }
    case ServerListPane:
        row = server_.rowAt(pending.entry);
        if (row < 0)
            return;
        break;
    case LocalTreePane:
        if (!pending.local.isValid() || LocalTreeModel::node(pending.local) != local_->selected())
            return;
        break;
    case LocalListPane:
        if (!pending.local.isValid())
            return;
        row = pending.local.row();
        break;
    default:
        return;
    }
    focusOn(pending.pane);
    emit renameEditorRequested(pending.pane, row, pending.text);
}
