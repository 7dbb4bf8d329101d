#pragma once

#include "common/FocusPanes.h"
#include "common/PaneAccess.h"
#include "common/RenameCodes.h"
#include "panes/local/LocalListModel.h"
#include "panes/local/LocalTreeModel.h"

#include <QObject>
#include <functional>

class ControlEvents;
class LocalNamespace;
struct ControlSettings;

// New-folder refusals of the local pane.
namespace LocalNewFolderCode {
inline constexpr short NotCreated = -210; // not one path step, or the folder was not made
inline constexpr short RowNotAdded = -211;
inline constexpr short NodeNotAdded = -212;
inline constexpr short VirtualFolder = -213; // the root or another virtual node is selected
} // namespace LocalNewFolderCode

// SetLocalGoFolder's answers.
namespace LocalGoFolderCode {
inline constexpr short Opened = 0;
inline constexpr short EmptyPath = -1;
inline constexpr short NotAFolder = -2;
inline constexpr short PaneNotShown = -3; // only layout 2 shows the local pane
inline constexpr short NotAllowed = -4;   // the user did not let the page open this folder
} // namespace LocalGoFolderCode

// What the local pane asks of its surroundings; each has a harmless default.
struct LocalPaneHooks {
    std::function<bool(const QString& path)> openFile; // default: the desktop's program
    std::function<void(qint16 pane)> setFocusPane;
    std::function<void()> focusList;
};

// The local pane without a window: the tree and list models over a LocalNamespace, the
// selection of the tree, and the pane's operations (commands 10012-10024 apart from the view
// modes, SetLocalGoFolder, new folder, delete). Views render the models and forward input.
// Thread: UI thread only.
class LocalPaneController : public QObject, public TreePaneAccess, public ListPaneAccess {
    Q_OBJECT
public:
    LocalPaneController(LocalNamespace& names, const ControlSettings& settings,
                        ControlEvents& events, QObject* parent = nullptr);

    void setHooks(LocalPaneHooks hooks);
    LocalTreeModel& tree() { return tree_; }
    LocalListModel& list() { return list_; }
    LocalTreeNode* selected() const { return selected_; }
    bool isSetUp() const { return setUpFinished_; }

    // Builds the tree, fills the list from the root and, when LocalTreeAutoSelect is set,
    // opens the remembered LocalUserCurrentPath (the home folder when none is remembered).
    // No OnTreeSelChanged fires meanwhile.
    void setUp();

    // The tree's selection moved to `node`: fills the list, remembers the path and, after
    // set-up, fires OnTreeSelChanged.
    void selectNode(LocalTreeNode* node);

    // TreePaneAccess
    QString selectedName() const override;
    QString selectedPath() const override;
    bool goToFolder(const QString& path) override;

    // ListPaneAccess
    int firstSelectedRow() const override;
    int selectedCount() override;
    bool selectedIsFolder(int index) const override;
    QString selectedField(const QString& field, int index) const override;

    void selectAll();                  // 10012
    void upFolder();                   // 10013
    void refresh();                    // 10016
    void deleteSelected(qint16 focus); // 10017: to the trash
    void newFolder();                  // 10019; OnNewFolderCompleat
    void openSelected();               // 10020

    // The full paths of the selected rows that stand for files and folders on disk.
    QStringList selectedRowPaths() const;

    // In-place rename of the tree's folder `node`, or of list row `row`, to what the user
    // typed: renamed on disk in its folder, never over an existing item, and shown under the
    // new name. Answers the code OnRenameCompleat reports; nothing fires here.
    RenameOutcome renameFolder(LocalTreeNode* node, const QString& text);
    RenameOutcome renameRow(int row, const QString& text);

    // List input from the view.
    void listClicked();
    void listActivated(int row);
    void treeClicked();

signals:
    // The selection moved without the view (a script call, an operation).
    void selectionMoved(const QModelIndex& index);

private:
    void fillList(const LocalTreeNode* node);
    std::vector<LocalListRow> rowsOf(const LocalTreeNode* node) const;
    LocalTreeNode* childForRow(const LocalListRow& row);
    void select(LocalTreeNode* node);
    void goToNode(LocalTreeNode* node);
    QString freeFolderName(const QString& base) const;
    void reportNewFolder(short code, int row = -1, const QString& path = {});
    // Renames `path` (now named `current`) on disk as `text` asks, and shows it renamed.
    RenameOutcome renameOnDisk(const std::filesystem::path& path, const QString& current,
                               const QString& text);
    void showRenamed(const std::filesystem::path& path, const std::filesystem::path& moved);

    LocalNamespace& names_;
    const ControlSettings& settings_;
    ControlEvents& events_;
    LocalPaneHooks hooks_;
    LocalTreeModel tree_;
    LocalListModel list_;
    LocalTreeNode* selected_ = nullptr;
    bool paneSetUp_ = false;
    bool setUpFinished_ = false;
};

// The one path step a new folder may be named; false for "", ".", ".." and names with "/".
bool IsOneStepName(const QString& name);
