#include "panes/local/ServerAttachTarget.h"

#include "common/LocalPath.h"
#include "panes/server/ServerPaneController.h"

ServerAttachTarget::ServerAttachTarget(ServerPaneController& controller)
    : controller_(controller) {}

ServerFolderRef ServerAttachTarget::currentFolder() {
    if (dropFolder_.node != 0)
        return dropFolder_;
    return controller_.folderRef(controller_.tree().selected());
}

bool ServerAttachTarget::isCurrent(const ServerFolderRef& folder) const {
    return folder.generation == controller_.generation();
}

void ServerAttachTarget::beginBatch() {
    if (batchDepth_++ == 0)
        names_.clear();
    controller_.beginAddBatch();
}

void ServerAttachTarget::endBatch() {
    controller_.endAddBatch();
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        names_.clear();
}

void ServerAttachTarget::dropStaleNames() {
    if (batchDepth_ == 0 || namesGeneration_ != controller_.generation())
        names_.clear();
    namesGeneration_ = controller_.generation();
}

short ServerAttachTarget::addFile(const QString& fullPath, const ServerFolderRef& folder) {
    if (!isCurrent(folder))
        return AddCode::CancelledBatch;
    ServerTreeNode* node = controller_.folderAt(folder);
    if (!node)
        return AddCode::Unreadable;
    const quint64 serial = node->serial;
    const short code = controller_.addLocalFile(fullPath, node);
    dropStaleNames();
    if (code == AddCode::Accepted && isCurrent(folder) && names_.contains(serial))
        names_[serial].files.insert(LocalFileName(fullPath));
    return code;
}

ServerAttachTarget::FolderNames& ServerAttachTarget::namesOf(const ServerTreeNode* parent) {
    const auto found = names_.find(parent->serial);
    if (found != names_.end())
        return *found;
    FolderNames names;
    for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it)
        names.folders.insert((*it)->label, (*it)->serial);
    for (XmlNode child = parent->element.firstChild(); !child.isNull();
         child = child.nextSibling()) {
        if (child.name() == QLatin1String("FILE"))
            names.files.insert(child.attribute(QStringLiteral("name")));
    }
    return *names_.insert(parent->serial, std::move(names));
}

short ServerAttachTarget::enterFolder(const ServerFolderRef& parent, const QString& name,
                                      ServerFolderRef& child) {
    child = {};
    if (!isCurrent(parent))
        return AddCode::CancelledBatch;
    ServerTreeNode* parentNode = controller_.folderAt(parent);
    if (!parentNode || parentNode->element.isNull())
        return kNewFolderNoFolder;
    dropStaleNames();
    FolderNames& names = namesOf(parentNode);
    if (const quint64 existing = names.folders.value(name)) {
        child = {existing, parent.generation};
        return 0;
    }
    if (names.files.contains(name))
        return AddCode::NameTaken;
    const ServerPaneController::MadeFolder made = controller_.makeFolder(parentNode, name);
    if (made.code != 0)
        return made.code;
    names.folders.insert(name, made.node->serial);
    child = controller_.folderRef(made.node);
    return 0;
}

void ServerAttachTarget::setDrawing(bool on) {
    controller_.setListDraw(on);
}
