#include "panes/local/widgets/LocalPaneWidgets.h"

#include "panes/list/FileListView.h"
#include "panes/list/FolderKeys.h"
#include "panes/list/LabelEditing.h"
#include "panes/list/PopupMenuWidget.h"
#include "session/ControlSession.h"

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

LocalPaneWidgets::LocalPaneWidgets(ControlSession& session, QWidget* window)
    : QObject(window), session_(session), controller_(session.localPane()), window_(window),
      tree_(new QTreeView(window)), list_(new FileListView(window)),
      treeEditing_(new LabelEditing(*tree_)) {
    connectTree();
    connectList();
    connect(&session_, &ControlSession::localPaneSettingUp, this,
            &LocalPaneWidgets::applyConfiguration);
    connect(&session_, &ControlSession::renameEditorRequested, this,
            &LocalPaneWidgets::openRenameEditor);
    window_->setAcceptDrops(true);
    window_->installEventFilter(this);
}

LocalPaneWidgets::~LocalPaneWidgets() = default;

void LocalPaneWidgets::applyConfiguration() {
    const UIConfig& config = session_.uiConfig();
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
    list_->setFullRowSelect(session_.settings().ListFullRowSelect);
    treeEditing_->setAllowed(session_.settings().IsLocalTreeRename);
    list_->allowLabelEditing(session_.settings().IsLocalListRename);
}

void LocalPaneWidgets::connectTree() {
    tree_->setHeaderHidden(true);
    tree_->setModel(&controller_.tree());
    connect(&controller_.tree(), &LocalTreeModel::nameEdited, this,
            [this](const QModelIndex& index, const QString& text) {
                session_.nameEdited(LocalTreePane, index, text);
            });
    connect(&controller_, &LocalPaneController::selectionMoved, this,
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
                    controller_.selectNode(LocalTreeModel::node(current));
            });
    connect(tree_, &QTreeView::clicked, this, [this] { controller_.treeClicked(); });
    OpenMenusOnTreeRows(*tree_, menuOf(LocalTreePane));
    new FolderKeys(
        *tree_, [this] { tree_->expand(tree_->currentIndex()); },
        [this] { controller_.upFolder(); });
}

void LocalPaneWidgets::connectList() {
    list_->setModel(&controller_.list());
    connect(&controller_.list(), &LocalListModel::selectAllRequested, list_,
            &FileListView::selectAll);
    connect(list_, &FileListView::selectionChanged, this, [this] {
        std::vector<int> rows;
        for (const QModelIndex& index : list_->selectedRows())
            rows.push_back(index.row());
        controller_.list().setSelectedRows(std::move(rows));
    });
    connect(list_, &FileListView::clicked, this, [this] { controller_.listClicked(); });
    connect(list_, &FileListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (controller_.firstSelectedRow() >= 0)
            controller_.listActivated(controller_.firstSelectedRow());
        else if (index.isValid())
            controller_.listActivated(index.row());
    });
    connect(list_, &FileListView::openRequested, this,
            [this] { controller_.listActivated(controller_.firstSelectedRow()); });
    connect(list_, &FileListView::upRequested, this, [this] { controller_.upFolder(); });
    connect(&controller_.list(), &LocalListModel::nameEdited, this,
            [this](const QModelIndex& index, const QString& text) {
                session_.nameEdited(LocalListPane, index, text);
            });
    OpenMenusOnList(*list_, menuOf(LocalListPane));
}

void LocalPaneWidgets::openRenameEditor(qint16 pane, int row, const QString& text) {
    if (pane == LocalTreePane)
        treeEditing_->open(controller_.tree().indexOf(controller_.selected()), text);
    else if (pane == LocalListPane)
        list_->editLabel(row, text);
}

ViewMenu LocalPaneWidgets::menuOf(qint16 pane) {
    return {[this, pane] { return session_.popupMenu(pane); },
            [this, pane](int command) {
                session_.popupMenuChosen(pane, command);
            }};
}

bool LocalPaneWidgets::takeDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    // Drags between the panes never travel as drag data: every drop comes from outside.
    if (droppedLocalFiles(drop->mimeData()).isEmpty())
        return false;
    if (event->type() != QEvent::Drop) {
        drop->acceptProposedAction();
        return true;
    }
    const QStringList paths = droppedLocalFiles(drop->mimeData());
    drop->acceptProposedAction();
    session_.attach().dropPaths(paths);
    return true;
}

bool LocalPaneWidgets::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && (event->type() == QEvent::DragEnter ||
                               event->type() == QEvent::DragMove || event->type() == QEvent::Drop))
        return takeDrop(event);
    return QObject::eventFilter(watched, event);
}
