#include "panes/local/LocalPaneController.h"

#include "common/ControlEvents.h"
#include "common/Formatting.h"
#include "common/LocalPath.h"
#include "common/RememberedValues.h"
#include "panes/local/RealLocalNamespace.h"
#include "settings/ControlSettings.h"

#include <QDesktopServices>
#include <QUrl>

namespace fs = std::filesystem;

bool IsOneStepName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

LocalPaneController::LocalPaneController(LocalNamespace& names, const ControlSettings& settings,
                                         ControlEvents& events, QObject* parent)
    : QObject(parent), names_(names), settings_(settings), events_(events), tree_(names), list_() {
    setHooks({});
}

void LocalPaneController::setHooks(LocalPaneHooks hooks) {
    if (!hooks.openFile)
        hooks.openFile = [](const QString& path) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        };
    if (!hooks.setFocusPane)
        hooks.setFocusPane = [](qint16) {
        };
    if (!hooks.focusList)
        hooks.focusList = [] {
        };
    hooks_ = std::move(hooks);
}

void LocalPaneController::setUp() {
    const QString remembered = settings_.LocalTreeAutoSelect
                                   ? GetRemembered(RememberedValue::LocalUserCurrentPath)
                                   : QString();
    setUpFinished_ = false;
    paneSetUp_ = false;
    tree_.buildRoot();
    select(tree_.root());
    fillList(selected_);
    paneSetUp_ = true;
    // A first visit opens the home folder, where a person's files are.
    if (settings_.LocalTreeAutoSelect)
        goToFolder(remembered.isEmpty() ? PathText(names_.homeFolder()) : remembered);
    setUpFinished_ = true;
}

void LocalPaneController::select(LocalTreeNode* node) {
    selected_ = node;
    emit selectionMoved(tree_.indexOf(node));
}

void LocalPaneController::selectNode(LocalTreeNode* node) {
    if (!node)
        return;
    selected_ = node;
    if (!paneSetUp_)
        return;
    fillList(node);
    const QString path = PathText(node->path);
    SetRemembered(RememberedValue::LocalUserCurrentPath, path);
    if (setUpFinished_)
        events_.treeSelectionChanged(path);
}

std::vector<LocalListRow> LocalPaneController::rowsOf(const LocalTreeNode* node) const {
    std::vector<LocalListRow> rows;
    if (!node)
        return rows;
    if (node->kind == LocalNodeKind::Computer) {
        for (const LocalVolume& volume : names_.volumes())
            rows.push_back(LocalListModel::volumeRow(volume, settings_.dateFormat));
        return rows;
    }
    std::vector<LocalEntry> entries;
    if (node->kind == LocalNodeKind::Desktop) {
        LocalEntry home;
        if (ReadLocalEntry(names_.homeFolder(), home))
            entries.push_back(std::move(home));
    }
    if (!node->isVirtual())
        names_.list(node->path, false, entries);
    rows = LocalListModel::rowsFor(std::move(entries), settings_.dateFormat);
    for (LocalListRow& row : rows)
        row.renameable = row.entry.path != names_.homeFolder();
    if (node->kind == LocalNodeKind::Desktop)
        rows.insert(rows.begin(), LocalListModel::computerRow());
    return rows;
}

void LocalPaneController::fillList(const LocalTreeNode* node) {
    list_.fill(rowsOf(node));
}

QString LocalPaneController::selectedName() const {
    return selected_ ? selected_->label : QString();
}

QString LocalPaneController::selectedPath() const {
    return selected_ ? PathText(selected_->path) : QString();
}

bool LocalPaneController::goToFolder(const QString& path) {
    if (path.isEmpty() || !path.startsWith(QLatin1Char('/')))
        return false;
    LocalTreeNode* node = tree_.nodeForPath(PathFromText(path).lexically_normal());
    if (!node)
        return false;
    goToNode(node);
    return true;
}

void LocalPaneController::goToNode(LocalTreeNode* node) {
    select(node);
    selectNode(node);
}

int LocalPaneController::firstSelectedRow() const {
    const auto& rows = list_.selectedRows();
    return rows.empty() ? -1 : rows.front();
}

int LocalPaneController::selectedCount() {
    return static_cast<int>(list_.selectedRows().size());
}

bool LocalPaneController::selectedIsFolder(int index) const {
    const auto& rows = list_.selectedRows();
    if (index < 0 || index >= static_cast<int>(rows.size()))
        return false;
    return list_.row(rows[static_cast<std::size_t>(index)]).entry.isFolder;
}

QString LocalPaneController::selectedField(const QString& field, int index) const {
    const auto& rows = list_.selectedRows();
    if (index < 0 || index >= static_cast<int>(rows.size()))
        return QString();
    const LocalListRow& row = list_.row(rows[static_cast<std::size_t>(index)]);
    const QString full = PathText(row.entry.path);
    if (field == QLatin1String("name"))
        return row.entry.name;
    if (field == QLatin1String("pathname"))
        return full;
    if (field == QLatin1String("path"))
        return LocalFolderPart(full);
    if (field == QLatin1String("size"))
        return row.kind == LocalRowKind::File ? QString::number(row.entry.size, 'f', 0)
                                              : QStringLiteral("0");
    if (field == QLatin1String("type"))
        return row.typeName;
    if (field == QLatin1String("datetime"))
        return row.dateText;
    return QString();
}

QStringList LocalPaneController::selectedRowPaths() const {
    QStringList paths;
    for (int index : list_.selectedRows()) {
        const LocalListRow& row = list_.row(index);
        if (row.kind == LocalRowKind::File || row.kind == LocalRowKind::Folder)
            paths.append(PathText(row.entry.path));
    }
    return paths;
}

void LocalPaneController::selectAll() {
    list_.requestSelectAll();
}

void LocalPaneController::upFolder() {
    if (selected_ && selected_->parent)
        goToNode(selected_->parent);
}

void LocalPaneController::refresh() {
    if (!selected_)
        return;
    LocalTreeNode* node = selected_;
    if (node->loaded)
        tree_.reloadChildren(node);
    fillList(node);
}

void LocalPaneController::deleteSelected(qint16 focus) {
    if (focus == LocalTreePane) {
        LocalTreeNode* node = selected_;
        // Virtual nodes, volumes and the home folder are not the user's to throw away here.
        if (!node || node->kind != LocalNodeKind::Folder || !node->parent ||
            node->path == names_.homeFolder())
            return;
        const fs::path path = node->path;
        if (!names_.moveToTrash(path))
            return;
        LocalTreeNode* parent = node->parent;
        tree_.removeNode(node);
        goToNode(parent);
        return;
    }
    if (focus != LocalListPane)
        return;
    const QStringList paths = selectedRowPaths();
    bool removed = false;
    for (const QString& path : paths) {
        const fs::path target = PathFromText(path);
        if (names_.moveToTrash(target)) {
            removed = true;
            list_.removeRowAt(list_.rowOf(target));
        }
    }
    if (removed && selected_ && selected_->loaded)
        tree_.reloadChildren(selected_);
}

QString LocalPaneController::freeFolderName(const QString& base) const {
    QString candidate = base;
    for (int k = 2; names_.exists(selected_->path / PathFromText(candidate).native()); ++k)
        candidate = QStringLiteral("%1 (%2)").arg(base).arg(k);
    return candidate;
}

void LocalPaneController::reportNewFolder(short code, int row, const QString& path) {
    events_.newFolderCompleted(code, row, path);
}

void LocalPaneController::newFolder() {
    if (!selected_ || !selected_->parent || selected_->isVirtual()) {
        reportNewFolder(LocalNewFolderCode::VirtualFolder);
        return;
    }
    const QString base = settings_.newFolderName;
    if (!IsOneStepName(base)) {
        reportNewFolder(LocalNewFolderCode::NotCreated);
        return;
    }
    const QString name = freeFolderName(base);
    const fs::path path = selected_->path / PathFromText(name).native();
    if (!names_.makeFolder(path)) {
        reportNewFolder(LocalNewFolderCode::NotCreated);
        return;
    }
    LocalEntry entry;
    if (!ReadLocalEntry(path, entry))
        entry = LocalEntry{name, path, true, false, 0, {}};
    const int row = list_.append(LocalListModel::rowsFor({entry}, settings_.dateFormat).front());
    tree_.insertFolder(selected_, entry);
    hooks_.focusList();
    reportNewFolder(0, row, PathText(path));
}

void LocalPaneController::openSelected() {
    const int first = firstSelectedRow();
    if (first < 0)
        return;
    const LocalListRow& row = list_.row(first);
    if (row.kind == LocalRowKind::File)
        hooks_.openFile(PathText(row.entry.path));
    else
        listActivated(first);
}

LocalTreeNode* LocalPaneController::childForRow(const LocalListRow& row) {
    if (!selected_)
        return nullptr;
    tree_.ensureChildren(selected_);
    for (const auto& child : selected_->children) {
        const bool same = row.kind == LocalRowKind::Computer
                              ? child->kind == LocalNodeKind::Computer
                              : !child->isVirtual() && child->path == row.entry.path;
        if (same)
            return child.get();
    }
    return nullptr;
}

void LocalPaneController::listClicked() {
    hooks_.setFocusPane(LocalListPane);
    if (!list_.selectedRows().empty())
        events_.listItemClicked();
}

void LocalPaneController::listActivated(int row) {
    if (row < 0 || row >= list_.size())
        return;
    const LocalListRow& shown = list_.row(row);
    if (shown.kind != LocalRowKind::File) {
        if (LocalTreeNode* child = childForRow(shown)) {
            goToNode(child);
            return;
        }
    }
    events_.listItemDoubleClicked();
}

void LocalPaneController::treeClicked() {
    hooks_.setFocusPane(LocalTreePane);
}
