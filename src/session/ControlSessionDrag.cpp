// Drags between the four views: uploads onto the server pane, downloads onto the local pane
// and moves inside the server pane.
#include "common/ControlEvents.h"
#include "session/ControlSession.h"

#include <QScopeGuard>

DropTargets DragTargetsFrom(qint16 source, const ControlSettings& settings, bool hasItems) {
    DropTargets targets;
    if (settings.LocalUIType == 0 || !hasItems)
        return targets;
    const bool toServer = settings.IsServerToServerDrag;
    const bool toLocal = settings.IsDragDownload && settings.LocalUIType > 1;
    switch (source) {
    case LocalTreePane:
    case LocalListPane:
        if (settings.IsDragUpload) {
            targets.allow(ServerTreePane);
            targets.allow(ServerListPane);
        }
        break;
    case ServerTreePane:
        if (settings.IsServerTreeDragOff)
            break;
        if (toServer)
            targets.allow(ServerListPane);
        [[fallthrough]];
    case ServerListPane:
        if (toServer)
            targets.allow(ServerTreePane);
        if (toLocal) {
            targets.allow(LocalTreePane);
            targets.allow(LocalListPane);
        }
        break;
    default:
        break;
    }
    return targets;
}

bool ControlSession::beginDrag(qint16 source, const DropPoint& from) {
    drag_.reset();
    ItemDrag drag{source, {}, 0, {}};
    const ServerTreeNode* serverFolder = server_.tree().selected();
    bool hasItems = false;
    switch (source) {
    case ServerTreePane:
        serverFolder = from.serverFolder;
        hasItems = serverFolder && !from.topNode;
        break;
    case ServerListPane:
        hasItems = serverFolder && server_.selectedCount() > 0;
        break;
    case LocalTreePane:
        drag.localFolder = from.localFolder;
        hasItems = !drag.localFolder.isEmpty() && !from.topNode;
        break;
    case LocalListPane:
        hasItems = !local_->selectedRowPaths().isEmpty();
        break;
    default:
        break;
    }
    drag.targets = DragTargetsFrom(source, settings_, hasItems);
    if (!drag.targets.any())
        return false;
    drag.serverFolder = serverFolder ? serverFolder->serial : 0;
    drag_ = drag;
    return true;
}

bool ControlSession::acceptsDrop(const DropPoint& point) {
    if (!drag_ || !drag_->targets.allows(point.pane))
        return false;
    switch (point.pane) {
    case ServerTreePane:
        // A folder dragged from the tree cannot be dropped on itself.
        return point.serverFolder && !(drag_->source == ServerTreePane &&
                                       point.serverFolder->serial == drag_->serverFolder);
    case ServerListPane:
        return server_.tree().selected() != nullptr;
    case LocalTreePane:
        return !point.localFolder.isEmpty();
    case LocalListPane:
        return !local_->selectedPath().isEmpty();
    default:
        return false;
    }
}

void ControlSession::dropDrag(const DropPoint& point) {
    if (!acceptsDrop(point)) {
        drag_.reset();
        return;
    }
    const ItemDrag drag = *drag_;
    drag_.reset();
    if (IsLocalSide(drag.source))
        dropForUpload(drag, point);
    else if (IsServerSide(point.pane))
        dropForMove(drag, point);
    else
        dropForDownload(drag, point);
}

// The folder a drop on the server pane goes into: the tree's row under the cursor, or the
// folder the list shows.
ServerTreeNode* ControlSession::serverDropFolder(const DropPoint& point) {
    ServerTreeNode* folder =
        point.pane == ServerTreePane ? point.serverFolder : server_.tree().selected();
    serverCurDropPath_ = ServerTreeModel::serverPath(folder);
    return folder;
}

void ControlSession::dropForUpload(const ItemDrag& drag, const DropPoint& point) {
    const QStringList paths =
        drag.source == LocalTreePane ? QStringList{drag.localFolder} : local_->selectedRowPaths();
    attachTarget_.setDropFolder(server_.folderRef(serverDropFolder(point)));
    const auto endDrop = qScopeGuard([this] { attachTarget_.setDropFolder({}); });
    attach_.attachPaths(paths);
}

void ControlSession::dropForMove(const ItemDrag& drag, const DropPoint& point) {
    ServerTreeNode* dragged = server_.tree().nodeBySerial(drag.serverFolder);
    ServerTreeNode* target = serverDropFolder(point);
    if (!dragged || !target)
        return;
    if (drag.source == ServerTreePane)
        server_.moveEntries(dragged->parent, {dragged->element}, target);
    else
        server_.moveEntries(dragged, selectedListEntries(), target);
}

void ControlSession::dropForDownload(const ItemDrag& drag, const DropPoint& point) {
    const ServerTreeNode* folder = server_.tree().nodeBySerial(drag.serverFolder);
    if (!folder)
        return;
    PendingDragDownload pending;
    pending.kind = drag.source == ServerTreePane ? PendingDragDownload::TreeFolder
                                                 : PendingDragDownload::ListEntries;
    pending.serverFolder = drag.serverFolder;
    pending.localFolder = point.pane == LocalTreePane ? point.localFolder : local_->selectedPath();
    const QList<XmlNode> entries = selectedListEntries();
    if (pending.kind == PendingDragDownload::ListEntries) {
        for (const XmlNode& entry : entries)
            pending.entryNames.append(entry.attribute(QStringLiteral("name")));
    }
    if (!settings_.IsDragDownAfterEvent) {
        runDragDownload(pending);
        return;
    }
    pendingDownload_ = pending;
    events_.dragDownSelectTarget(pending.kind, ServerTreeModel::serverPath(folder),
                                 ServerCatalogue::NodePath(folder->element).xpath,
                                 pending.localFolder);
}

void ControlSession::dragSelectedItemDown() {
    runDragDownload(pendingDownload_);
}

// Finds the dragged entries again by name: whatever was removed or reloaded since the drop
// is not downloaded.
void ControlSession::runDragDownload(const PendingDragDownload& pending) {
    const ServerTreeNode* folder = server_.tree().nodeBySerial(pending.serverFolder);
    if (!folder)
        return;
    if (pending.kind == PendingDragDownload::TreeFolder) {
        if (windows_.downloadFolder)
            windows_.downloadFolder(folder->element, folder->parent == nullptr,
                                    pending.localFolder);
        return;
    }
    if (pending.kind != PendingDragDownload::ListEntries)
        return;
    QList<XmlNode> entries;
    for (const QString& name : pending.entryNames) {
        for (XmlNode child = folder->element.firstChild(); child; child = child.nextSibling()) {
            if (child.attribute(QStringLiteral("name")) == name) {
                entries.append(child);
                break;
            }
        }
    }
    if (windows_.download && !entries.isEmpty())
        windows_.download(entries, pending.localFolder);
}

QList<XmlNode> ControlSession::selectedListEntries() {
    QList<XmlNode> entries;
    for (int row : server_.list().selectedRows()) {
        if (server_.list().row(row).kind != ServerRowKind::Parent)
            entries.append(server_.list().row(row).element);
    }
    return entries;
}
