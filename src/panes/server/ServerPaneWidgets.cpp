#include "panes/server/ServerPaneWidgets.h"

#include "common/ControlEvents.h"
#include "control/ControlSettings.h"
#include "control/PaneCommand.h"
#include "panes/list/FileListView.h"
#include "panes/list/FolderKeys.h"
#include "panes/server/ServerListItemModel.h"
#include "panes/server/ServerTreeItemModel.h"
#include "transfer/UploadOverwrite.h"
#include "transfer/widgets/DownloadStart.h"
#include "xml/UIConfig.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTreeView>

static_assert(ServerListItemModel::SelectionBarRole == kSelectionBarColorRole);
static_assert(ServerListItemModel::ImageIndexRole == kImageIndexRole);

namespace {

class ForwardingPrompter : public Prompter {
public:
    explicit ForwardingPrompter(std::function<Prompter&()> target) : target_(std::move(target)) {}
    void message(const QString& title, const QString& text) override {
        target_().message(title, text);
    }
    int ask(const QString& title, const QString& text, const QStringList& buttons,
            int defaultButton) override {
        return target_().ask(title, text, buttons, defaultButton);
    }
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override {
        return target_().openFiles(title, folder, filter);
    }
    QString chooseFolder(const QString& title, const QString& folder) override {
        return target_().chooseFolder(title, folder);
    }
    OptionAnswer chooseOption(const OptionQuestion& question) override {
        return target_().chooseOption(question);
    }
    QString saveFile(const QString& title, const QString& proposedPath,
                     const QString& filter) override {
        return target_().saveFile(title, proposedPath, filter);
    }
    void showPage(const QString& title, const QString& htmlFile) override {
        target_().showPage(title, htmlFile);
    }

private:
    std::function<Prompter&()> target_;
};

} // namespace

ServerPaneWidgets::ServerPaneWidgets(ServerPaneHost host)
    : QObject(host.window), host_(std::move(host)),
      prompter_(std::make_unique<ForwardingPrompter>(host_.prompter)),
      controller_(host_.catalogue, host_.journal, host_.settings, host_.uiConfig, *prompter_,
                  host_.events),
      treeModel_(new ServerTreeItemModel(controller_.tree(), this)),
      listModel_(new ServerListItemModel(controller_.list(), this)),
      tree_(new QTreeView(host_.window)), list_(new FileListView(host_.window)) {
    ServerPaneHooks hooks;
    hooks.askOverwrite = [this](const OverwriteQuestion& q) {
        return askUploadOverwrite(*prompter_, host_.uiConfig,
                                  {q.fileName, q.oldSize, q.oldDate, q.newSize, q.newDate});
    };
    hooks.openLocalFile = host_.openLocal;
    hooks.openServerFile = [this](const XmlNode& file, qint16 runType) {
        DownloadHost download = downloadHost();
        if (runType == 1)
            OpenServerFile(download, file);
        else
            host_.events.openfileCompleted(0);
    };
    hooks.setFocusPane = host_.setFocusPane;
    controller_.setHooks(std::move(hooks));
    connectTree();
    connectList();
    registerCommands();
}

ServerPaneWidgets::~ServerPaneWidgets() = default;

void ServerPaneWidgets::connectTree() {
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setModel(treeModel_);
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
    connect(tree_, &QTreeView::clicked, this, [this] { host_.setFocusPane(kServerTreePane); });
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

// Downloads open what they fetched through the host's opener, as the pane's own opens do.
DownloadHost ServerPaneWidgets::downloadHost() {
    std::function<void(const QString&)> open;
    if (host_.openLocal)
        open = [opener = host_.openLocal](const QString& path) {
            opener(path);
        };
    return {host_.settings, host_.uiConfig, *prompter_, host_.events, host_.window, open, {}};
}

void ServerPaneWidgets::download() {
    DownloadHost host = downloadHost();
    const qint16 focus = host_.focusPane();
    if (focus == kServerTreePane) {
        const ServerTreeNode* node = controller_.tree().selected();
        if (node)
            StartFolderDownload(host, node->element, node->parent == nullptr);
    } else if (focus == kServerListPane) {
        QList<XmlNode> selection;
        for (int row : controller_.list().selectedRows()) {
            if (controller_.list().row(row).kind != ServerRowKind::Parent)
                selection.append(controller_.list().row(row).element);
        }
        StartDownload(host, selection);
    }
}

void ServerPaneWidgets::registerCommands() {
    using namespace PaneCommand;
    auto& c = controller_;
    host_.registerCommand(ServerSelectAll, [&c] { c.selectAll(); });
    host_.registerCommand(Download, [this] { download(); });
    host_.registerCommand(ServerOpen, [&c] { c.openSelected(); });
    host_.registerCommand(ServerDelete, [this] { controller_.deleteSelected(host_.focusPane()); });
    host_.registerCommand(ServerUpFolder, [&c] { c.upFolder(); });
    host_.registerCommand(ServerNewFolder, [&c] { c.newFolder(QString()); });
    host_.registerCommand(ServerRefresh, [this] {
        controller_.refresh();
        tree_->setFocus();
    });
}

void ServerPaneWidgets::applyConfiguration() {
    controller_.applyConfiguration();
    const UIConfig& config = host_.uiConfig;
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
    list_->setFullRowSelect(host_.settings.ListFullRowSelect);
}
