#include "panes/local/widgets/LocalPaneWidgets.h"

#include "common/ControlEvents.h"
#include "control/ControlSettings.h"
#include "control/PaneCommand.h"
#include "panes/list/FileListView.h"
#include "panes/list/FolderKeys.h"
#include "panes/local/LocalNamespace.h"
#include "panes/local/widgets/FolderScanWindow.h"
#include "panes/server/ServerPaneController.h"
#include "xml/UIConfig.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QUrl>

namespace {

// The local files of a desktop drop; empty when it carries anything else.
QStringList droppedLocalFiles(const QMimeData* mime) {
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            return {};
        paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

LocalPaneWidgets::LocalPaneWidgets(LocalPaneHost host, std::unique_ptr<LocalNamespace> names)
    : QObject(host.window), host_(std::move(host)), names_(std::move(names)),
      controller_(std::make_unique<LocalPaneController>(*names_, host_.settings, host_.events)),
      target_(host_.server),
      attach_(target_, host_.settings, host_.uiConfig, host_.prompter, host_.events,
              [this](const QString& folder, bool structured) {
                  return RunFolderScan(host_.window, host_.uiConfig, target_, host_.events, folder,
                                       structured);
              }),
      tree_(new QTreeView(host_.window)), list_(new FileListView(host_.window)) {
    LocalPaneHooks hooks;
    hooks.openFile = host_.openLocal;
    hooks.setFocusPane = host_.setFocusPane;
    hooks.focusList = [this] {
        list_->setFocus();
    };
    controller_->setHooks(std::move(hooks));
    connectTree();
    connectList();
    registerCommands();
    host_.window->setAcceptDrops(true);
    host_.window->installEventFilter(this);
}

LocalPaneWidgets::~LocalPaneWidgets() = default;

void LocalPaneWidgets::ensureSetUp() {
    if (controller_->isSetUp())
        return;
    applyConfiguration();
    controller_->setUp();
    host_.applyListViewMode(host_.settings.LocalListViewMode);
}

void LocalPaneWidgets::applyConfiguration() {
    const UIConfig& config = host_.uiConfig;
    QPalette treePalette = tree_->palette();
    treePalette.setColor(QPalette::Base, config.Color(UIColor::LocalTreebgClr));
    treePalette.setColor(QPalette::Text, config.Color(UIColor::LocalTreetxtClr));
    tree_->setPalette(treePalette);
    list_->setHeaderColors(config.Color(UIColor::LocalHeaderbgClr),
                           config.Color(UIColor::LocalHeaderTxtClr));
    const QColor background = list_->palette().color(QPalette::Base);
    list_->setListColors(config.Color(UIColor::LocalListbgClr, background),
                         config.Color(UIColor::LocalListtxtClr));
    list_->setColumns(config.Columns(UIKey::LocalListColumns));
    // Sizes and dates sort by the values behind their formatted texts.
    list_->setSortTypes({SortType::String, SortType::Int, SortType::String, SortType::Dec});
    list_->setFullRowSelect(host_.settings.ListFullRowSelect);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

bool LocalPaneWidgets::goToFolder(const QString& path) {
    ensureSetUp();
    return controller_->goToFolder(path);
}

qint16 LocalPaneWidgets::buildUploadRows(QList<UploadRow>& rows) {
    return RunUploadListBuild(host_.window, host_.uiConfig, host_.catalogue, host_.server.queued(),
                              rows);
}

void LocalPaneWidgets::connectTree() {
    tree_->setHeaderHidden(true);
    tree_->setModel(&controller_->tree());
    connect(controller_.get(), &LocalPaneController::selectionMoved, this,
            [this](const QModelIndex& index) {
                const QScopedValueRollback guard(syncing_, true);
                for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
                    tree_->expand(up);
                tree_->setCurrentIndex(index);
                tree_->scrollTo(index);
            });
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_)
                    controller_->selectNode(LocalTreeModel::node(current));
            });
    connect(tree_, &QTreeView::clicked, this, [this] { controller_->treeClicked(); });
    new FolderKeys(
        *tree_, [this] { tree_->expand(tree_->currentIndex()); },
        [this] { controller_->upFolder(); });
}

void LocalPaneWidgets::connectList() {
    list_->setModel(&controller_->list());
    connect(&controller_->list(), &LocalListModel::selectAllRequested, list_,
            &FileListView::selectAll);
    connect(list_, &FileListView::selectionChanged, this, [this] {
        std::vector<int> rows;
        for (const QModelIndex& index : list_->selectedRows())
            rows.push_back(index.row());
        controller_->list().setSelectedRows(std::move(rows));
    });
    connect(list_, &FileListView::clicked, this, [this] { controller_->listClicked(); });
    connect(list_, &FileListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (controller_->firstSelectedRow() >= 0)
            controller_->listActivated(controller_->firstSelectedRow());
        else if (index.isValid())
            controller_->listActivated(index.row());
    });
    connect(list_, &FileListView::openRequested, this,
            [this] { controller_->listActivated(controller_->firstSelectedRow()); });
    connect(list_, &FileListView::upRequested, this, [this] { controller_->upFolder(); });
}

void LocalPaneWidgets::registerCommands() {
    using namespace PaneCommand;
    const auto on = [this](int code, std::function<void()> action) {
        host_.registerCommand(code, std::move(action));
    };
    on(LocalSelectAll, [this] { controller_->selectAll(); });
    on(LocalUpFolder, [this] { controller_->upFolder(); });
    on(AddLocalSelection, [this] { addSelection(host_.focusPane()); });
    on(AddLocalListSelection, [this] { addSelection(kLocalListPane); });
    on(LocalRefresh, [this] { controller_->refresh(); });
    on(LocalDelete, [this] { controller_->deleteSelected(host_.focusPane()); });
    on(LocalNewFolder, [this] { controller_->newFolder(); });
    on(LocalOpen, [this] { controller_->openSelected(); });
}

// Queues what the local pane has selected: its tree folder, or its list rows. The paths are
// taken before anything runs, so a page handler that changes the selection changes nothing.
void LocalPaneWidgets::addSelection(qint16 focus) {
    QStringList paths;
    if (focus == kLocalTreePane && !controller_->selectedPath().isEmpty())
        paths.append(controller_->selectedPath());
    else if (focus == kLocalListPane)
        paths = controller_->selectedRowPaths();
    else
        return;
    attach_.attachPaths(paths);
}

bool LocalPaneWidgets::takeDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->source() || droppedLocalFiles(drop->mimeData()).isEmpty())
        return false;
    if (event->type() != QEvent::Drop) {
        drop->acceptProposedAction();
        return true;
    }
    const QStringList paths = droppedLocalFiles(drop->mimeData());
    drop->acceptProposedAction();
    attach_.dropPaths(paths);
    return true;
}

bool LocalPaneWidgets::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_.window &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop))
        return takeDrop(event);
    return QObject::eventFilter(watched, event);
}
