#include "panes/server/widgets/ServerPaneWidgets.h"

#include "panes/list/FileListView.h"
#include "panes/list/FolderKeys.h"
#include "panes/list/LabelEditing.h"
#include "panes/list/PopupMenuWidget.h"
#include "panes/server/ServerListItemModel.h"
#include "panes/server/ServerTreeItemModel.h"
#include "session/ControlSession.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTreeView>

static_assert(ServerListItemModel::SelectionBarRole == kSelectionBarColorRole);
static_assert(ServerListItemModel::ImageIndexRole == kImageIndexRole);

ServerPaneWidgets::ServerPaneWidgets(ControlSession& session, QWidget* window)
    : QObject(window), session_(session), controller_(session.serverPane()),
      treeModel_(new ServerTreeItemModel(controller_.tree(), this)),
      listModel_(new ServerListItemModel(controller_.list(), this)), tree_(new QTreeView(window)),
      list_(new FileListView(window)), treeEditing_(new LabelEditing(*tree_)) {
    connectTree();
    connectList();
    connect(&session_, &ControlSession::serverPaneConfigured, this,
            &ServerPaneWidgets::applyConfiguration);
    connect(&session_, &ControlSession::renameEditorRequested, this,
            &ServerPaneWidgets::openRenameEditor);
}

ServerPaneWidgets::~ServerPaneWidgets() = default;

void ServerPaneWidgets::connectTree() {
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setModel(treeModel_);
    connect(treeModel_, &ServerTreeItemModel::nameEdited, this,
            [this](const QModelIndex& index, const QString& text) {
                session_.nameEdited(ServerTreePane, index, text);
            });
    connect(treeModel_, &ServerTreeItemModel::nodeSelected, this, [this](const QModelIndex& i) {
        const QScopedValueRollback guard(syncing_, true);
        tree_->setCurrentIndex(i);
    });
    connect(treeModel_, &ServerTreeItemModel::nodeExpansionChanged, tree_, &QTreeView::setExpanded);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_)
                    controller_.selectNode(ServerTreeItemModel::node(current));
            });
    connect(tree_, &QTreeView::expanded, this, [](const QModelIndex& i) {
        if (ServerTreeNode* node = ServerTreeItemModel::node(i))
            node->expanded = true;
    });
    connect(tree_, &QTreeView::collapsed, this, [](const QModelIndex& i) {
        if (ServerTreeNode* node = ServerTreeItemModel::node(i))
            node->expanded = false;
    });
    connect(tree_, &QTreeView::clicked, this, [this] { session_.setFocusPane(ServerTreePane); });
    OpenMenusOnTreeRows(*tree_, menuOf(ServerTreePane));
    new FolderKeys(
        *tree_, [this] { tree_->expand(tree_->currentIndex()); },
        [this] { controller_.upFolder(); });
}

void ServerPaneWidgets::connectList() {
    list_->setModel(listModel_);
    connect(listModel_, &ServerListItemModel::rowSelectionChanged, this,
            &ServerPaneWidgets::showListSelection);
    connect(listModel_, &ServerListItemModel::drawingSwitched, list_, &FileListView::setDrawing);
    connect(list_, &FileListView::selectionChanged, this, &ServerPaneWidgets::takeListSelection);
    connect(list_, &FileListView::clicked, this, [this] { controller_.listClicked(); });
    connect(list_, &FileListView::doubleClicked, this, [this] { controller_.listActivated(); });
    connect(list_, &FileListView::openRequested, this, [this] { controller_.listActivated(); });
    connect(list_, &FileListView::upRequested, this, [this] { controller_.upFolder(); });
    connect(listModel_, &ServerListItemModel::nameEdited, this,
            [this](const QModelIndex& index, const QString& text) {
                session_.nameEdited(ServerListPane, index, text);
            });
    OpenMenusOnList(*list_, menuOf(ServerListPane));
}

void ServerPaneWidgets::openRenameEditor(qint16 pane, int row, const QString& text) {
    if (pane == ServerTreePane)
        treeEditing_->open(treeModel_->indexOf(controller_.tree().selected()), text);
    else if (pane == ServerListPane)
        list_->editLabel(row, text);
}

ViewMenu ServerPaneWidgets::menuOf(qint16 pane) {
    return {[this, pane] { return session_.popupMenu(pane); },
            [this, pane](int command) {
                session_.popupMenuChosen(pane, command);
            }};
}

// The plain model's selection, as ranges of rows, into the views' selection model.
void ServerPaneWidgets::showListSelection() {
    const QScopedValueRollback guard(syncing_, true);
    QItemSelection selection;
    const int lastColumn = listModel_->columnCount() - 1;
    const std::vector<int>& rows = controller_.list().selectedRows();
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i;
        while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1)
            ++end;
        if (rows[end] < listModel_->rowCount())
            selection.select(listModel_->index(rows[i], 0),
                             listModel_->index(rows[end], lastColumn));
        i = end + 1;
    }
    list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ServerPaneWidgets::takeListSelection() {
    if (syncing_)
        return;
    const QScopedValueRollback guard(syncing_, true);
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectedRows())
        rows.push_back(index.row());
    controller_.list().setSelectedRows(rows);
}

void ServerPaneWidgets::applyConfiguration() {
    const UIConfig& config = session_.uiConfig();
    QPalette treePalette = tree_->palette();
    treePalette.setColor(QPalette::Base, config.Color(UIColor::ServerTreebgClr));
    treePalette.setColor(QPalette::Text, config.Color(UIColor::ServerTreetxtClr));
    tree_->setPalette(treePalette);
    list_->setHeaderColors(config.Color(UIColor::ServerHeaderbgClr),
                           config.Color(UIColor::ServerHeaderTxtClr));
    const QColor background = list_->palette().color(QPalette::Base);
    list_->setListColors(config.Color(UIColor::ServerListbgClr, background),
                         list_->palette().color(QPalette::Text));
    list_->setColumns(config.Columns(UIKey::ServerListColumns));
    // Sizes sort by the byte counts behind their texts; dates are the catalogue's own texts.
    list_->setSortTypes({SortType::String, SortType::Int, SortType::String, SortType::DateTime});
    list_->setFullRowSelect(session_.settings().ListFullRowSelect);
    treeEditing_->setAllowed(session_.settings().IsServerTreeRename);
    list_->allowLabelEditing(session_.settings().IsServerListRename);
}
