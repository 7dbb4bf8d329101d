#include "panes/server/ServerPaneController.h"

#include "common/ControlEvents.h"
#include "common/FileTypes.h"
#include "common/Prompter.h"
#include "common/RememberedValues.h"
#include "settings/ControlSettings.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

// The four answers, in the order of the question's buttons.
short askWithPrompter(Prompter& prompter, const UIConfig& config, const OverwriteQuestion& q) {
    const DialogTexts texts = config.Dialog(UIDialog::UpOverwriteMsgWin);
    const QString text = texts.text("W_Comment") + "\n" + texts.text("W_FilenameTxt") + " " +
                         q.fileName + "\n" + texts.text("W_OldFileTxt") + " " + q.oldSize + " " +
                         q.oldDate + "\n" + texts.text("W_NewFileTxt") + " " + q.newSize + " " +
                         q.newDate;
    const QStringList buttons{texts.text("W_YesBut"), texts.text("W_AllYesBut"),
                              texts.text("W_NoBut"), texts.text("W_CancelBut")};
    const int chosen = prompter.ask(texts.text("WindowsTitle"), text, buttons, 3);
    return chosen >= 0 && chosen <= 3 ? static_cast<short>(chosen + 1) : 4;
}

} // namespace

ServerPaneController::ServerPaneController(ServerCatalogue& catalogue, ChangeJournal& journal,
                                           ControlSettings& settings, UIConfig& uiConfig,
                                           Prompter& prompter, ControlEvents& events)
    : catalogue_(catalogue), journal_(journal), settings_(settings), uiConfig_(uiConfig),
      prompter_(prompter), events_(events) {
    setHooks({});
    list_.setFolderTypeName(FolderType().name);
}

void ServerPaneController::setHooks(ServerPaneHooks hooks) {
    hooks_ = std::move(hooks);
    if (!hooks_.askOverwrite) {
        hooks_.askOverwrite = [this](const OverwriteQuestion& question) {
            return askWithPrompter(prompter_, uiConfig_, question);
        };
    }
    if (!hooks_.openLocalFile) {
        hooks_.openLocalFile = [](const QString& path) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        };
    }
    if (!hooks_.openServerFile)
        hooks_.openServerFile = [this](const XmlNode&, qint16) {
            events_.openfileCompleted(0);
        };
    if (!hooks_.setFocusPane)
        hooks_.setFocusPane = [](qint16) {
        };
}

void ServerPaneController::changed() {
    ++generation_;
    nameIndex_.invalidate();
}

void ServerPaneController::dropIndexUnlessBatch() {
    if (batchDepth_ == 0 && list_.drawing())
        nameIndex_.invalidate();
}

// --- Loading

void ServerPaneController::applyConfiguration() {
    list_.setPalette(ServerRowPalette::FromConfig(uiConfig_));
}

// Views let go of every row and node before the catalogue frees the document.
void ServerPaneController::clear() {
    list_.clear();
    tree_.clear();
    changed();
}

bool ServerPaneController::buildTree() {
    changed();
    return tree_.build(catalogue_.root());
}

bool ServerPaneController::selectTop(short nCh) {
    ServerTreeNode* first = tree_.topLevel().empty() ? nullptr : tree_.topLevel().front().get();
    if (!first)
        return true;
    if (nCh == 1)
        tree_.setExpanded(first, true);
    if (!selectNode(first))
        return false;
    if (nCh == 2)
        tree_.setExpanded(first, false);
    return true;
}

// A remembered folder that no longer exists falls back to the first disk, so the pane never
// starts with nothing selected for every operation to act on. A handler that reloaded on the
// way has made its own selection.
void ServerPaneController::selectRemembered(const QString& remembered) {
    bool stood = true;
    if (!remembered.isEmpty() && goTo(remembered, 1, stood) == 0 && (!stood || tree_.selected()))
        return;
    selectTop(1);
}

void ServerPaneController::selectFirstFolder() {
    selectRemembered(settings_.ServerTreeAutoSelect
                         ? GetRemembered(RememberedValue::ServerUserCurrentPath)
                         : QString());
}

// --- Tree

QString ServerPaneController::selectedName() const {
    return tree_.selected() ? tree_.selected()->label : QString();
}

QString ServerPaneController::selectedPath() const {
    return ServerTreeModel::serverPath(tree_.selected());
}

bool ServerPaneController::goToFolder(const QString& path) {
    return goToFolder(path, 0) == 0;
}

ServerFolderRef ServerPaneController::folderRef(const ServerTreeNode* node) const {
    return {node ? node->serial : 0, generation_};
}

ServerTreeNode* ServerPaneController::folderAt(const ServerFolderRef& ref) const {
    return ref.generation == generation_ ? tree_.nodeBySerial(ref.node) : nullptr;
}

bool ServerPaneController::selectNode(ServerTreeNode* node) {
    if (!node || !tree_.setSelected(node))
        return true;
    refillList(); // rows of the previous folder are gone
    const QString path = ServerTreeModel::serverPath(node);
    SetRemembered(RememberedValue::ServerUserCurrentPath, path);
    const quint64 before = generation_;
    events_.treeSelectionChanged(path);
    return generation_ == before;
}

short ServerPaneController::goToFolder(const QString& path, short nCh) {
    bool stood = true;
    return goTo(path, nCh, stood);
}

short ServerPaneController::goTo(const QString& path, short nCh, bool& stood) {
    stood = true;
    if (path.isEmpty())
        return -1;
    QString text = path.startsWith(QLatin1Char('/')) ? path.mid(1) : path;
    if (!text.endsWith(QLatin1Char('/')))
        text += QLatin1Char('/');
    QStringList segments = text.split(QLatin1Char('/'));
    segments.removeLast(); // every segment ends at a "/"
    ServerTreeNode* node = tree_.childByLabel(nullptr, segments.front());
    if (!node) {
        if (tree_.topLevel().empty())
            return -1;
        stood = selectTop(nCh);
        return 0;
    }
    for (qsizetype i = 1; i < segments.size(); ++i) {
        node = tree_.childByLabel(node, segments[i]);
        if (!node)
            return -1;
    }
    if (nCh == 1)
        tree_.setExpanded(node, true);
    stood = selectNode(node);
    if (stood && nCh == 2)
        tree_.setExpanded(node, false);
    return 0;
}

void ServerPaneController::upFolder() {
    ServerTreeNode* node = tree_.selected();
    if (!node || !node->parent)
        return;
    tree_.setExpanded(node->parent, true);
    selectNode(node->parent);
}

// --- List input

void ServerPaneController::selectAll() {
    list_.selectAllButParent();
}

void ServerPaneController::setListDraw(bool on) {
    list_.setDrawing(on);
    dropIndexUnlessBatch();
}

void ServerPaneController::listClicked() {
    hooks_.setFocusPane(ServerListPane);
    const int first = list_.firstSelectedRow();
    if (first >= 0 && list_.row(first).kind != ServerRowKind::Parent)
        events_.listItemClicked();
}

void ServerPaneController::listActivated() {
    const int first = list_.firstSelectedRow();
    if (first < 0)
        return;
    const ServerListRow& row = list_.row(first);
    if (row.kind == ServerRowKind::Parent) {
        upFolder();
    } else if (row.kind == ServerRowKind::Folder) {
        ServerTreeNode* child = tree_.childByElement(tree_.selected(), row.element);
        tree_.setExpanded(tree_.selected(), true);
        selectNode(child);
    } else {
        events_.listItemDoubleClicked();
    }
}
