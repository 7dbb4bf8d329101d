#pragma once

#include "common/FocusPanes.h"
#include "common/SilentPrompter.h"
#include "panes/local/LocalAttach.h"
#include "panes/local/LocalPaneController.h"
#include "panes/local/ServerAttachTarget.h"
#include "panes/server/ServerPaneController.h"
#include "session/ItemDrag.h"
#include "session/PagePathGate.h"
#include "session/PrompterSlot.h"
#include "settings/ControlSettings.h"
#include "settings/HostPage.h"
#include "transfer/FormPosting.h"
#include "xml/ChangeJournal.h"
#include "xml/PopupMenus.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class ControlEvents;
class LocalNamespace;

// What a session asks of the windows that show it. Each member may stay empty: a session
// without windows scans nothing, uploads and downloads nothing and opens no server file; it
// runs a form post on the calling thread.
struct SessionWindows {
    FolderScanRunner runFolderScan;
    // The upload window for the queued files to `postFile`; its result code.
    std::function<short(const QString& postFile)> upload;
    // The download window for server-list elements, or for a tree folder and all below it,
    // into `dropFolder` (empty: where DownStyle says).
    std::function<void(const QList<XmlNode>& selection, const QString& dropFolder)> download;
    std::function<void(const XmlNode& folder, bool isTopNode, const QString& dropFolder)>
        downloadFolder;
    // Fetches a server FILE and opens it with its program; fires OnOpenfileCompleat.
    std::function<void(const XmlNode& file)> openServerFile;
    // Runs a form post in its window; returns when the post is over.
    std::function<void(FormPostJob& job)> post;
};

// One embedded control without its widgets: the page's settings, the three documents, the
// one prompter, both panes' controllers, the pane commands and the document load. Script
// methods and widgets both act through it; it tells the page through `events` and tells its
// widgets through its signals. UI thread only.
class ControlSession : public QObject {
    Q_OBJECT
public:
    ControlSession(ControlEvents& events, std::unique_ptr<LocalNamespace> names);
    ~ControlSession() override;

    ControlSettings& settings() { return settings_; }
    const ControlSettings& settings() const { return settings_; }
    UIConfig& uiConfig() { return uiConfig_; }
    const UIConfig& uiConfig() const { return uiConfig_; }
    ServerCatalogue& catalogue() { return catalogue_; }
    const ServerCatalogue& catalogue() const { return catalogue_; }
    ChangeJournal& journal() { return journal_; }
    ControlEvents& events() { return events_; }
    Prompter& prompter() { return prompter_; }
    // The host chooses who answers questions before the control starts; false afterwards.
    bool setPrompter(Prompter& prompter) { return prompter_.setTarget(prompter); }
    // The windows' real dialogs, unless the host chose otherwise.
    void offerPrompter(Prompter& prompter) { prompter_.offerDefault(prompter); }

    ServerPaneController& serverPane() { return server_; }
    LocalPaneController& localPane() { return *local_; }
    LocalAttach& attach() { return attach_; }
    AttachTarget& attachTarget() { return attachTarget_; }
    void setWindows(SessionWindows windows) { windows_ = std::move(windows); }

    // Every local file or folder opened with its program goes through this; false when `path`
    // names nothing on disk (the opener is not asked) or the opener reports a failure.
    bool openLocal(const QString& path) const;
    // The desktop's handler unless the host installs another; empty restores the desktop's.
    void setFileOpener(std::function<bool(const QString& path)> opener);
    // Server files shown "in the page viewer" open in the user's web browser, which holds the
    // page's session; the desktop's browser unless the host installs another.
    void setBrowserOpener(std::function<bool(const QUrl& url)> opener);

    // The page that embeds the control; read once, by the start.
    void setHostPage(const HostPage& page) { hostPage_ = page; }
    // Who decides on the local paths page script names (see PagePathGate); null, the default,
    // allows every one. The gate outlives the session or is removed first.
    void setPagePathGate(PagePathGate* gate) { pathGate_ = gate; }
    bool pageMayUse(PagePathUse use, const QString& path) const {
        return !pathGate_ || pathGate_->allows(use, path);
    }
    // The initialisation (Run): takes the host page's values once and fixes the prompter.
    // Later calls do nothing; false then.
    bool start();
    bool isStarted() const { return started_; }

    qint16 focusPane() const { return focusPane_; }
    void setFocusPane(qint16 pane) { focusPane_ = pane; }
    // Sets the focus pane and asks the widgets to give that pane the keyboard focus.
    void focusOn(qint16 pane);

    // The pane commands (PaneCommand); codes without an action do nothing.
    void runCommand(int code);

    // The popup menu of `pane` (a FocusPane) for its selection now, built anew from the UI
    // configuration; no items for the local tree's root (the desktop) or any other pane.
    QList<PopupMenuItem> popupMenu(qint16 pane);
    // The user chose `command` from the popup menu of `pane`: the pane takes the focus code,
    // and a reported command (kFirstReportedCommand to kLastReportedCommand) whose event code
    // is positive fires OnPopupMenu with it.
    void popupMenuChosen(qint16 pane, int command);

    // The list views: 1 large icons, 2 small icons, 3 list, 4 details; other modes change
    // nothing here.
    void showServerListView(qint16 mode);
    void showLocalListView(qint16 mode);
    qint16 serverListView() const { return serverListView_; }
    qint16 localListView() const { return localListView_; }
    // LocalUIType changed: the widgets lay the panes out again.
    void changeLayout();

    // Runs the document load and reports it with OnXMLLoadCompleat; a load requested while
    // one runs (from an event handler, say) runs right after it. The start-up load is
    // followed by OnLoadCompleat.
    void requestDocumentLoad();
    void requestStartupLoad();
    bool isLoadCompleted() const { return loadCompleted_; }
    // The server pane's refresh (command 10011): the catalogue steps of the load, unreported.
    void refreshServerPane();

    // Sets the local pane up the first time it is needed; later calls do nothing.
    void ensureLocalPaneSetUp();

    // Script's transfers through the session's windows.
    short upload(const QString& postFile);
    void downloadSelection();

    // Drags between the views (FocusPane numbers). A tree drags the row it was pressed on
    // (`from`), a list its selected rows; false when nothing may be dragged from there.
    bool beginDrag(qint16 source, const DropPoint& from = {});
    bool isDragging() const { return drag_.has_value(); }
    // Whether a drop at `point` would do something (the cursor says so).
    bool acceptsDrop(const DropPoint& point);
    // Ends the drag there: queues uploads, moves server entries or downloads, as the source
    // and the target say. A drop nothing accepts only ends the drag.
    void dropDrag(const DropPoint& point);
    void cancelDrag() { drag_.reset(); }
    // DragSelectedItemDown: the download a drop left waiting for the page, if it still can.
    void dragSelectedItemDown();

    // Form posting: the fields gathered for the next post, the posts (in the post window, or
    // here and now without one) and the reply of the last post that ran.
    void addPostFormField(const QString& name, const QString& value);
    void addPostXmlField(const QString& name, const QString& value);
    short sendPostForm(const FormPostTarget& target);
    short sendPostXmlForm(const FormPostTarget& target, const QString& xmlFileName);
    const QString& postResponse() const { return posting_.response(); }

    // In-place rename (ControlSessionRename.cpp). SetRenameModeList(index) and
    // SetRenameModeTree() act on the focused list or tree only; startRename (F2) on the first
    // selected row of list `pane`, or the selected folder of tree `pane`. Each focuses the
    // pane and asks the widgets for the label editor (renameEditorRequested), or fires
    // OnRenameCompleat(-404) when the item cannot be renamed.
    void renameModeList(int index);
    void renameModeTree();
    void startRename(qint16 pane);
    // The label editor of `pane` closed on `index` (of the item model that view shows) with
    // `text`: the item is renamed at once; OnRenameCompleat fires once control is back in the
    // event loop, and after a code the user can correct, the editor is asked for again on the
    // same item with `text`, if the page's handler left that item where it was.
    void nameEdited(qint16 pane, const QModelIndex& index, const QString& text);

    // Server path of the folder of the last drop.
    const QString& serverCurDropPath() const { return serverCurDropPath_; }

    // Values of the persisted set that only the embedding reads.
    bool ieControlBarAllVisiable = false;
    QString ieRoundRectRgn;

signals:
    // The layout mode changed; the widgets lay the panes out again.
    void layoutChanged();
    void serverListViewChanged(qint16 mode);
    void localListViewChanged(qint16 mode);
    // The UI configuration was loaded: the server pane's colours and columns apply now.
    void serverPaneConfigured();
    // The local pane is about to be set up: its colours and columns apply now.
    void localPaneSettingUp();
    // The pane should take the keyboard focus.
    void focusRequested(qint16 pane);
    // Run happened: the widgets take their first geometry.
    void started();
    // The label editor should open on row `row` of list `pane`, or on the selected folder of
    // tree `pane`, showing `text` (empty: the item's name).
    void renameEditorRequested(qint16 pane, int row, const QString& text);

private:
    enum class LoadSteps { Everything, CatalogueOnly };
    qint16 runLoadSteps(LoadSteps steps);
    void runDocumentLoad();
    void registerCommands();
    void addLocalSelection(qint16 focus);
    void openServerFile(const XmlNode& file, qint16 runType);
    bool hasDownloadSelection();
    bool mayDownloadIntoFixedFolder();
    void setUpLocalPaneIfShown();
    ServerTreeNode* serverDropFolder(const DropPoint& point);
    void dropForUpload(const ItemDrag& drag, const DropPoint& point);
    void dropForMove(const ItemDrag& drag, const DropPoint& point);
    void dropForDownload(const ItemDrag& drag, const DropPoint& point);
    void runDragDownload(const PendingDragDownload& pending);
    // The server list's selected entries, in list order, without "..".
    QList<XmlNode> selectedListEntries();
    void runPost(FormPostJob& job);

    struct PendingRename;
    bool canStartRename(qint16 pane, int row);
    void openRenameEditor(qint16 pane, int row);
    void reportRename(const PendingRename& pending, short code);
    RenameOutcome renameNow(const PendingRename& pending);
    void reopenRenameEditor(const PendingRename& pending);

    ControlEvents& events_;
    SilentPrompter silent_;
    PrompterSlot prompter_;
    ControlSettings settings_;
    UIConfig uiConfig_;
    ServerCatalogue catalogue_;
    ChangeJournal journal_;
    std::unique_ptr<LocalNamespace> names_;
    ServerPaneController server_;
    std::unique_ptr<LocalPaneController> local_;
    ServerAttachTarget attachTarget_;
    LocalAttach attach_;
    SessionWindows windows_;
    FormPosting posting_;
    std::function<bool(const QString& path)> fileOpener_;
    std::function<bool(const QUrl& url)> browserOpener_;
    std::map<int, std::function<void()>> commands_;
    HostPage hostPage_;
    PagePathGate* pathGate_ = nullptr;
    QString serverCurDropPath_;
    std::optional<ItemDrag> drag_;
    PendingDragDownload pendingDownload_;
    qint16 focusPane_ = NoPane;
    qint16 serverListView_ = 4;
    qint16 localListView_ = 4;
    bool started_ = false;
    bool loadRunning_ = false;
    bool loadQueued_ = false;
    bool startupLoadQueued_ = false;
    bool startupLoadDone_ = false;
    bool loadCompleted_ = false;
};
