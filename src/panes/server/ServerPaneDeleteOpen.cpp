// Delete, delete by name, open and refresh.
#include "common/ControlEvents.h"
#include "common/Formatting.h"
#include "common/RememberedValues.h"
#include "panes/server/ServerPaneController.h"
#include "settings/ControlSettings.h"
#include "transfer/DownloadJob.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"

// Journal records (and the size) of one entry, taken before anything is removed.
bool ServerPaneController::recordEntry(const XmlNode& element, double& sum) {
    if (element.name() == QLatin1String("FOLDER"))
        return catalogue_.CollectDeletes(element, sum, journal_, prompter_);
    const double size = SizeValue(element.attribute(QStringLiteral("size")));
    if (element.attribute(QStringLiteral("transtype")) == QLatin1String("server")) {
        const NodePathText place = ServerCatalogue::NodePath(element);
        if (!journal_.AddDeleteRecord(element.attribute(QStringLiteral("path")),
                                      element.attribute(QStringLiteral("name")),
                                      CatalogueSizeText(size), place.parentPath, place.xpath,
                                      prompter_))
            return false;
    }
    sum += size;
    return true;
}

// Removes an entry whose records are taken: its tree node and row first, so no view ever
// holds a freed element, then the element itself.
bool ServerPaneController::removeEntry(const XmlNode& element, ServerTreeNode* node, int row,
                                       int journalMark) {
    if (node)
        tree_.remove(node);
    if (row >= 0)
        list_.removeRow(row);
    changed();
    if (catalogue_.RemoveEntry(element))
        return true;
    journal_.truncateList(JournalList::Delete, journalMark);
    const QString path = selectedPath();
    tree_.build(catalogue_.root());
    goToFolder(path, 1);
    return false;
}

// Rows go in list order, so the journal records follow the list. False when a record was
// refused; the entries before it stay deleted.
bool ServerPaneController::deleteRows(double& total) {
    const std::vector<int> selected = list_.selectedRows();
    int removed = 0;
    for (int original : selected) {
        const int row = original - removed;
        const ServerListRow entry = list_.row(row);
        if (entry.kind == ServerRowKind::Parent)
            continue;
        const int mark = journal_.recordCount(JournalList::Delete);
        double sum = 0;
        if (!recordEntry(entry.element, sum))
            return false;
        ServerTreeNode* node = entry.kind == ServerRowKind::Folder
                                   ? tree_.childByElement(tree_.selected(), entry.element)
                                   : nullptr;
        if (!removeEntry(entry.element, node, row, mark))
            return false;
        ++removed;
        total += sum;
    }
    return true;
}

bool ServerPaneController::deleteTreeFolder(double& total, ServerTreeNode*& reselect) {
    ServerTreeNode* node = tree_.selected();
    const XmlNode element = node->element;
    const int mark = journal_.recordCount(JournalList::Delete);
    double sum = 0;
    if (!recordEntry(element, sum))
        return false;
    reselect = node->parent;
    list_.clear();
    if (!removeEntry(element, node, -1, mark)) {
        reselect = nullptr;
        return false;
    }
    total += sum;
    return true;
}

void ServerPaneController::deleteSelected(qint16 focus) {
    double total = 0;
    bool complete = true;
    if (focus == ServerTreePane) {
        ServerTreeNode* node = tree_.selected();
        if (!node)
            return;
        if (!node->parent) {
            events_.serverItemDeleteCompleted(kNothingDeleted, 0);
            return;
        }
        ServerTreeNode* reselect = nullptr;
        complete = deleteTreeFolder(total, reselect);
        if (reselect)
            selectNode(reselect);
    } else if (focus == ServerListPane) {
        const std::vector<int>& selected = list_.selectedRows();
        if (selected.empty())
            return;
        if (selected.size() == 1 && list_.row(selected.front()).kind == ServerRowKind::Parent) {
            events_.serverItemDeleteCompleted(kNothingDeleted, 0);
            return;
        }
        complete = deleteRows(total);
    } else {
        return;
    }
    events_.serverItemDeleteCompleted(complete ? 0 : kNothingDeleted, total);
}

// Deletes exactly the entry found, as a list deletion, whatever pane has the focus.
bool ServerPaneController::deleteListEntry(const QString& path, const QString& fileName) {
    // A handler of the selection change that reloaded has made this a different catalogue.
    bool stood = true;
    if (goTo(path, 0, stood) != 0 || !stood)
        return false;
    const XmlNode folder = catalogue_.FindFolder(TrimServerPath(path));
    if (folder.isNull() || !tree_.selected() || !(tree_.selected()->element == folder))
        return false;
    for (int row = 0; row < list_.rowCount(); ++row) {
        const ServerListRow& entry = list_.row(row);
        if (entry.kind != ServerRowKind::Parent &&
            entry.element.attribute(QStringLiteral("name")) == fileName) {
            list_.setSelectedRows({row});
            deleteSelected(ServerListPane);
            return true;
        }
    }
    return false;
}

void ServerPaneController::openSelected() {
    const std::vector<int>& selected = list_.selectedRows();
    if (selected.size() != 1 || list_.row(selected.front()).kind == ServerRowKind::Parent)
        return;
    const ServerListRow entry = list_.row(selected.front());
    if (entry.kind == ServerRowKind::Folder) {
        selectNode(tree_.childByElement(tree_.selected(), entry.element));
        return;
    }
    // Only a file queued in this run is opened from this machine; whatever else a catalogue
    // names is the server's file, whatever its transtype or path says.
    const QString path = entry.element.attribute(QStringLiteral("path"));
    if (entry.element.attribute(QStringLiteral("transtype")) == QLatin1String("local") &&
        queued_.contains(path)) {
        events_.openfileCompleted(hooks_.openLocalFile(path) ? 0 : kOpenFailed);
        return;
    }
    const qint16 runType = settings_.RemoteFileRunType;
    if (runType != 0 && runType != 1)
        return;
    settings_.openFilePath = path;
    settings_.openFileName = entry.element.attribute(QStringLiteral("name"));
    settings_.openFileSize = entry.element.attribute(QStringLiteral("size"));
    hooks_.openServerFile(entry.element, runType);
}

void ServerPaneController::refillList() {
    const ServerTreeNode* node = tree_.selected();
    if (!node)
        return;
    changed();
    list_.fill(node->element, node->parent != nullptr);
}
