#pragma once

#include "panes/local/AttachTarget.h"

#include <QHash>
#include <QSet>
#include <functional>

class Prompter;
class ServerCatalogue;
class ServerPaneController;

// Attaching into the real server pane: the controller's adding operation, and sub-folders
// made as its own new-folder command makes them (element, tree node, list row).
// A folder's names are indexed once per batch, so entering many sub-folders stays linear.
class ServerAttachTarget : public AttachTarget {
public:
    ServerAttachTarget(ServerPaneController& controller, ServerCatalogue& catalogue,
                       std::function<Prompter&()> prompter);

    ServerTreeNode* currentFolder() override;
    void beginBatch() override;
    void endBatch() override;
    short addFile(const QString& fullPath, ServerTreeNode* folder) override;
    short enterFolder(ServerTreeNode* parent, const QString& name, ServerTreeNode*& child) override;
    void setDrawing(bool on) override;

private:
    struct FolderNames {
        QHash<QString, ServerTreeNode*> folders; // the first sub-folder of each name
        QSet<QString> files;
    };
    FolderNames& namesOf(ServerTreeNode* parent);
    short makeFolder(ServerTreeNode* parent, const QString& name, ServerTreeNode*& child);

    ServerPaneController& controller_;
    ServerCatalogue& catalogue_;
    std::function<Prompter&()> prompter_;
    QHash<const ServerTreeNode*, FolderNames> names_;
    int batchDepth_ = 0;
};
