#pragma once

#include "panes/local/AttachTarget.h"

#include <QHash>
#include <QSet>

class ServerPaneController;
struct ServerTreeNode;

// Attaching into the real server pane: the controller's adding operation, and sub-folders
// made by the controller as its new-folder command makes them. A folder's names are indexed
// once per batch, so entering many sub-folders stays linear; the index holds node serials
// and is dropped with the catalogue generation it was read under.
class ServerAttachTarget : public AttachTarget {
public:
    explicit ServerAttachTarget(ServerPaneController& controller);

    ServerFolderRef currentFolder() override;
    bool isCurrent(const ServerFolderRef& folder) const override;
    void beginBatch() override;
    void endBatch() override;
    short addFile(const QString& fullPath, const ServerFolderRef& folder) override;
    short enterFolder(const ServerFolderRef& parent, const QString& name,
                      ServerFolderRef& child) override;
    void setDrawing(bool on) override;

    // While a drop onto a server folder is queued, that folder stands in for the selection;
    // a ref to no folder ends it.
    void setDropFolder(const ServerFolderRef& folder) { dropFolder_ = folder; }

private:
    struct FolderNames {
        QHash<QString, quint64> folders; // the serial of the first sub-folder of each name
        QSet<QString> files;
    };
    FolderNames& namesOf(const ServerTreeNode* parent);
    // Forgets every index read under an earlier generation, and all of them between batches.
    void dropStaleNames();

    ServerPaneController& controller_;
    ServerFolderRef dropFolder_;
    QHash<quint64, FolderNames> names_; // by the parent's serial
    quint64 namesGeneration_ = 0;
    int batchDepth_ = 0;
};
