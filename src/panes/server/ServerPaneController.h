#pragma once

#include "common/FocusPanes.h"
#include "common/PaneAccess.h"
#include "common/RenameCodes.h"
#include "panes/server/AddCodes.h"
#include "panes/server/FolderNameIndex.h"
#include "panes/server/QueuedUploads.h"
#include "panes/server/ServerEntryRef.h"
#include "panes/server/ServerFolderRef.h"
#include "panes/server/ServerListModel.h"
#include "panes/server/ServerTreeModel.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <functional>

class ChangeJournal;
class ControlEvents;
class Prompter;
class ServerCatalogue;
class UIConfig;
struct ControlSettings;

inline constexpr short kNewFolderBadName = -200;
inline constexpr short kNewFolderNotInserted = -201;
inline constexpr short kNewFolderNoFolder = -202;
inline constexpr short kNoPreviousFolder = -2200;
inline constexpr short kNoNextFolder = -2201;
inline constexpr short kFolderNotMoved = -2202;
inline constexpr short kNothingDeleted = -500;

// Why an entry dragged onto a server folder stayed where it was (OnDragDropingErr).
namespace DragDropCode {
inline constexpr short NameTaken = -450;  // the folder holds an entry of that name
inline constexpr short IntoItself = -451; // a folder dropped onto itself or below itself
inline constexpr short Refused = -452;    // the catalogue or the journal refused the move
} // namespace DragDropCode

// The overwrite question's display texts; the answer is 1 yes, 2 yes to all, 3 no, 4 cancel.
struct OverwriteQuestion {
    QString fileName, oldSize, oldDate, newSize, newDate;
};

// What the pane asks of other parts; each has a harmless default.
struct ServerPaneHooks {
    std::function<short(const OverwriteQuestion&)> askOverwrite; // default: the Prompter
    // Opens a queued local file with its program; false when it could not be opened.
    // Default: the desktop's handler.
    std::function<bool(const QString& localPath)> openLocalFile;
    // Opens a server FILE element as RemoteFileRunType says (0 viewer, 1 downloaded and opened
    // with its program) and fires OnOpenfileCompleat. Default: nothing opened, code 0.
    std::function<void(const XmlNode& file, qint16 runType)> openServerFile;
    std::function<void(qint16 pane)> setFocusPane; // clicks and refresh
};

// The server pane without a window: the tree and list models over the catalogue, and every
// operation of the pane (commands 10000-10011, the server script methods, the adding
// operation). Views render the two models and forward input here.
//
// Rows and nodes hold catalogue elements. An element is only used while the catalogue
// generation it was taken under lasts: a reload, a removal or a new selection starts a new
// one. A page handler or a nested event loop may do any of those, so nothing holds a node,
// row or element across an event or a question: an operation that goes on afterwards checks
// the generation and stops when it has moved on. Thread: UI thread only.
class ServerPaneController : public TreePaneAccess, public ListPaneAccess {
public:
    ServerPaneController(ServerCatalogue& catalogue, ChangeJournal& journal,
                         ControlSettings& settings, UIConfig& uiConfig, Prompter& prompter,
                         ControlEvents& events);
    ServerPaneController(const ServerPaneController&) = delete;
    ServerPaneController& operator=(const ServerPaneController&) = delete;

    void setHooks(ServerPaneHooks hooks);
    ServerTreeModel& tree() { return tree_; }
    ServerListModel& list() { return list_; }
    // Every file the adding operation accepted in this run: the only files an upload sends
    // and the only entries opened as local files.
    const QueuedUploads& queued() const { return queued_; }
    quint64 generation() const { return generation_; }
    // `node` (null: none) named for use after an event; folderAt finds it again, or null
    // once the generation has moved on or the node is gone.
    ServerFolderRef folderRef(const ServerTreeNode* node) const;
    ServerTreeNode* folderAt(const ServerFolderRef& ref) const;
    // The same for list row `row` (none for an invalid row); rowAt answers -1 once the
    // generation has moved on or no row shows the entry.
    ServerEntryRef entryRef(int row) const;
    int rowAt(const ServerEntryRef& ref) const;

    // The document load's steps: colours from the freshly loaded UI configuration; the tree
    // and list emptied before the catalogue is replaced; the tree built from the catalogue
    // (false when it cannot be); the remembered folder selected, or the root.
    void applyConfiguration();
    void clear();
    bool buildTree();
    void selectFirstFolder();

    // TreePaneAccess
    QString selectedName() const override;
    QString selectedPath() const override;
    bool goToFolder(const QString& path) override;

    // ListPaneAccess (the selected-row queries of script)
    int firstSelectedRow() const override { return list_.firstSelectedRow(); }
    int selectedCount() override;
    bool selectedIsFolder(int index) const override;
    QString selectedField(const QString& field, int index) const override;

    // The tree's selection changed to `node` (a click, a key, an operation): fills the list,
    // remembers the path and fires OnTreeSelChanged, once per change. False when the page's
    // handler moved the generation on: the caller then uses no node, row or element from before.
    bool selectNode(ServerTreeNode* node);

    // SetServerGoFolder: 0, or -1 (empty path, or a deeper folder that does not exist).
    short goToFolder(const QString& path, short nCh);
    void upFolder();                     // 10009
    void newFolder(const QString& name); // 10010 (empty: NEWFOLDERNAME); OnNewFolderCompleat
    // The one way folders are made: the element named `name` (taken as it is) inserted into
    // `parent`, its tree node, and its list row when `parent` is shown. Nothing fires.
    struct MadeFolder {
        short code = kNewFolderNoFolder; // 0, or one of the kNewFolder codes
        ServerTreeNode* node = nullptr;
        int row = -1; // -1 when `parent` is not shown
    };
    MadeFolder makeFolder(ServerTreeNode* parent, const QString& name);
    short moveFolder(int delta);       // -1 up, 1 down; OnNodeUpDownCompleat
    void deleteSelected(qint16 focus); // 10007; OnServerItemDeleteCompleat
    bool deleteListEntry(const QString& path, const QString& fileName);
    void selectAll();    // 10000
    void openSelected(); // 10003; OnOpenfileCompleat
    // Fills the list again from the shown folder, so rows take the kinds their entries have
    // now (after an upload); the selection is dropped and nothing fires.
    void refillList();
    // AddServerFile: a ServerFileCode.
    short addServerFile(const QString& path, const QString& name, double size,
                        const QString& typeName, const QString& modDate);
    // SetServerListDraw: while off, appended rows reach the views in one batch when it is on.
    void setListDraw(bool on);

    // List input from the view: a click, a double click.
    void listClicked();
    void listActivated();

    // Moves `entries` (of the folder `from`, in order) into `target`, as a drag inside the pane
    // does: a refused entry fires OnDragDropingErr and is skipped, a moved one is journalled
    // in DRAGDROPLIST; OnDragDropCompleat when any moved. A handler that changes the pane
    // ends the loop.
    void moveEntries(ServerTreeNode* from, const QList<XmlNode>& entries, ServerTreeNode* target);

    // The adding operation for one local file into `target` (null: the selected folder); a
    // file it accepts (0 or -1099) is noted in queued(). Callers bracket a batch with
    // begin/endAddBatch, which resets the overwrite-for-all answer. The overwrite question
    // waits for the user; when the generation moves on meanwhile the answer is -1014 and
    // the caller lets go of `target`.
    void beginAddBatch();
    void endAddBatch();
    short addLocalFile(const QString& fullPath, ServerTreeNode* target = nullptr);

    // In-place rename of the tree's folder `node`, or of list row `row`, to what the user
    // typed: the catalogue entry renamed and journalled, the tree and list showing the new
    // name. Answers the code OnRenameCompleat reports; nothing fires here.
    RenameOutcome renameFolder(ServerTreeNode* node, const QString& text);
    RenameOutcome renameRow(int row, const QString& text);

private:
    // `node` is the tree node of `element` when it is a folder (null: none shown).
    RenameOutcome renameEntry(const XmlNode& element, ServerTreeNode* node, const QString& text);
    struct Duplicate {
        short code = AddCode::Accepted;
        FolderNameIndex::Entry entry;
    };
    Duplicate duplicateTest(const QString& name, const QString& path, const XmlNode& folder,
                            bool shown);
    short replaceEntry(const Duplicate& duplicate, const QString& fullPath, double size,
                       const QDateTime& modified);
    bool queueFile(const XmlNode& folder, bool shown, const QString& fullPath, double size,
                   const QDateTime& modified, const QString& name);
    short askOverwrite(const OverwriteQuestion& question);
    bool isShown(const ServerTreeNode* node) const { return node && node == tree_.selected(); }
    // SetServerGoFolder; `stood` false when the selection's handler moved the generation on.
    short goTo(const QString& path, short nCh, bool& stood);
    bool selectTop(short nCh);
    // The remembered folder, or the first disk when it is gone.
    void selectRemembered(const QString& remembered);
    bool recordEntry(const XmlNode& element, double& sum);
    bool removeEntry(const XmlNode& element, ServerTreeNode* node, int row, int journalMark);
    short refusalOfMove(const XmlNode& entry, const XmlNode& target) const;
    bool moveEntry(const XmlNode& entry, ServerTreeNode* from, ServerTreeNode* target);
    bool deleteRows(double& total);
    bool deleteTreeFolder(double& total, ServerTreeNode*& reselect);
    // Row of selected element number `index` in list order (a leading ".." is skipped); -1.
    int selectedElementRow(int index) const;
    void changed();
    void dropIndexUnlessBatch();

    ServerCatalogue& catalogue_;
    ChangeJournal& journal_;
    ControlSettings& settings_;
    UIConfig& uiConfig_;
    Prompter& prompter_;
    ControlEvents& events_;
    ServerPaneHooks hooks_;
    ServerTreeModel tree_;
    ServerListModel list_;
    FolderNameIndex nameIndex_;
    QueuedUploads queued_;
    quint64 generation_ = 0;
    int batchDepth_ = 0;
    bool overwriteAll_ = false;
};
