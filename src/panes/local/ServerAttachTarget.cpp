#include "panes/local/ServerAttachTarget.h"

#include "common/LocalPath.h"
#include "panes/server/ServerPaneController.h"
#include "xml/ServerCatalogue.h"

namespace {

constexpr short kFolderNotCreated = -200;
constexpr short kFolderNotInserted = -201;

bool isFolderName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/'));
}

} // namespace

ServerAttachTarget::ServerAttachTarget(ServerPaneController& controller, ServerCatalogue& catalogue,
                                       std::function<Prompter&()> prompter)
    : controller_(controller), catalogue_(catalogue), prompter_(std::move(prompter)) {}

ServerTreeNode* ServerAttachTarget::currentFolder() {
    return controller_.tree().selected();
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

short ServerAttachTarget::addFile(const QString& fullPath, ServerTreeNode* folder) {
    const short code = controller_.addLocalFile(fullPath, folder);
    if (batchDepth_ == 0)
        names_.clear();
    else if (code == 0 && folder)
        namesOf(folder).files.insert(LocalFileName(fullPath));
    return code;
}

ServerAttachTarget::FolderNames& ServerAttachTarget::namesOf(ServerTreeNode* parent) {
    const auto found = names_.find(parent);
    if (found != names_.end())
        return *found;
    FolderNames names;
    for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it)
        names.folders.insert((*it)->label, it->get());
    for (XmlNode child = parent->element.firstChild(); !child.isNull();
         child = child.nextSibling()) {
        if (child.name() == QLatin1String("FILE"))
            names.files.insert(child.attribute(QStringLiteral("name")));
    }
    return *names_.insert(parent, std::move(names));
}

short ServerAttachTarget::enterFolder(ServerTreeNode* parent, const QString& name,
                                      ServerTreeNode*& child) {
    child = nullptr;
    if (!parent || parent->element.isNull() || !isFolderName(name))
        return kFolderNotCreated;
    FolderNames& names = namesOf(parent);
    if (ServerTreeNode* existing = names.folders.value(name)) {
        child = existing;
        return 0;
    }
    if (names.files.contains(name))
        return AddCode::NameTaken;
    const short code = makeFolder(parent, name, child);
    if (code == 0)
        names.folders.insert(name, child);
    if (batchDepth_ == 0)
        names_.clear();
    return code;
}

short ServerAttachTarget::makeFolder(ServerTreeNode* parent, const QString& name,
                                     ServerTreeNode*& child) {
    const XmlNode folder = catalogue_.CreateFolderElement(name, prompter_());
    if (folder.isNull())
        return kFolderNotCreated;
    const int index = catalogue_.InsertFolder(parent->element, folder);
    if (index < 0)
        return kFolderNotInserted;
    child = controller_.tree().insertChild(parent, folder, index);
    if (parent == controller_.tree().selected()) {
        ServerListModel& list = controller_.list();
        list.insertFolder(folder, index + (list.startsWithParent() ? 1 : 0));
    }
    return 0;
}

void ServerAttachTarget::setDrawing(bool on) {
    controller_.setListDraw(on);
}
