#include "session/ControlSession.h"

#include "common/ControlEvents.h"
#include "panes/local/LocalNamespace.h"
#include "session/LoadCodes.h"
#include "session/PaneCommand.h"
#include "transfer/DownloadJob.h"
#include "transfer/DownloadRules.h"
#include "transfer/OpenDownload.h"
#include "transfer/UploadOverwrite.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool openInDesktopBrowser(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool isViewMode(qint16 mode) {
    return mode >= 1 && mode <= 4;
}

} // namespace

ControlSession::ControlSession(ControlEvents& events, std::unique_ptr<LocalNamespace> names)
    : events_(events), prompter_(silent_), names_(std::move(names)),
      server_(catalogue_, journal_, settings_, uiConfig_, prompter_, events_),
      local_(std::make_unique<LocalPaneController>(*names_, settings_, events_)),
      attachTarget_(server_),
      attach_(attachTarget_, settings_, uiConfig_, prompter_, events_,
              [this](const QString& folder, bool structured) -> short {
                  return windows_.runFolderScan ? windows_.runFolderScan(folder, structured) : 0;
              }),
      fileOpener_(openWithDesktop), browserOpener_(openInDesktopBrowser) {
    ServerPaneHooks serverHooks;
    serverHooks.askOverwrite = [this](const OverwriteQuestion& q) {
        return askUploadOverwrite(prompter_, uiConfig_,
                                  {q.fileName, q.oldSize, q.oldDate, q.newSize, q.newDate});
    };
    serverHooks.openLocalFile = [this](const QString& path) {
        return openLocal(path);
    };
    serverHooks.openServerFile = [this](const XmlNode& file, qint16 runType) {
        openServerFile(file, runType);
    };
    serverHooks.setFocusPane = [this](qint16 pane) {
        setFocusPane(pane);
    };
    server_.setHooks(std::move(serverHooks));

    LocalPaneHooks localHooks;
    localHooks.openFile = [this](const QString& path) {
        return openLocal(path);
    };
    localHooks.setFocusPane = [this](qint16 pane) {
        setFocusPane(pane);
    };
    localHooks.focusList = [this] {
        emit focusRequested(LocalListPane);
    };
    local_->setHooks(std::move(localHooks));
    registerCommands();
}

ControlSession::~ControlSession() = default;

bool ControlSession::openLocal(const QString& path) const {
    return !path.isEmpty() && QFileInfo::exists(path) && fileOpener_(path);
}

void ControlSession::setFileOpener(std::function<bool(const QString& path)> opener) {
    fileOpener_ = opener ? std::move(opener) : openWithDesktop;
}

void ControlSession::setBrowserOpener(std::function<bool(const QUrl& url)> opener) {
    browserOpener_ = opener ? std::move(opener) : openInDesktopBrowser;
}

bool ControlSession::start() {
    if (started_)
        return false;
    started_ = true;
    prompter_.fix();
    TakeHostPageValues(settings_, hostPage_.domain, hostPage_.port, hostPage_.cookie);
    emit started();
    changeLayout();
    return true;
}

void ControlSession::focusOn(qint16 pane) {
    setFocusPane(pane);
    emit focusRequested(pane);
}

void ControlSession::runCommand(int code) {
    const auto found = commands_.find(code);
    if (found != commands_.end())
        found->second();
}

void ControlSession::registerCommands() {
    using namespace PaneCommand;
    commands_ = {
        {ServerSelectAll,
         [this] {
             server_.selectAll();
         }},
        {Download,
         [this] {
             downloadSelection();
         }},
        {ServerOpen,
         [this] {
             server_.openSelected();
         }},
        {ServerDelete,
         [this] {
             server_.deleteSelected(focusPane_);
         }},
        {ServerUpFolder,
         [this] {
             server_.upFolder();
         }},
        {ServerNewFolder,
         [this] {
             server_.newFolder(QString());
         }},
        {ServerRefresh,
         [this] {
             refreshServerPane();
         }},
        {LocalSelectAll,
         [this] {
             local_->selectAll();
         }},
        {LocalUpFolder,
         [this] {
             local_->upFolder();
         }},
        {AddLocalSelection,
         [this] {
             addLocalSelection(focusPane_);
         }},
        {AddLocalListSelection,
         [this] {
             addLocalSelection(LocalListPane);
         }},
        {LocalRefresh,
         [this] {
             local_->refresh();
         }},
        {LocalDelete,
         [this] {
             local_->deleteSelected(focusPane_);
         }},
        {LocalNewFolder,
         [this] {
             local_->newFolder();
         }},
        {LocalOpen,
         [this] {
             local_->openSelected();
         }},
    };
    const int serverCodes[] = {ServerViewLargeIcons, ServerViewSmallIcons, ServerViewList,
                               ServerViewDetails};
    const int localCodes[] = {LocalViewLargeIcons, LocalViewSmallIcons, LocalViewList,
                              LocalViewDetails};
    for (qint16 mode = 1; mode <= 4; ++mode) {
        commands_[serverCodes[mode - 1]] = [this, mode] {
            showServerListView(mode);
        };
        commands_[localCodes[mode - 1]] = [this, mode] {
            showLocalListView(mode);
        };
    }
}

void ControlSession::showServerListView(qint16 mode) {
    if (!isViewMode(mode))
        return;
    serverListView_ = mode;
    emit serverListViewChanged(mode);
}

void ControlSession::showLocalListView(qint16 mode) {
    if (!isViewMode(mode))
        return;
    localListView_ = mode;
    emit localListViewChanged(mode);
}

void ControlSession::changeLayout() {
    setUpLocalPaneIfShown();
    emit layoutChanged();
}

// The local pane takes its colours and columns once the start-up load has brought the UI
// configuration, and only in the layout that shows it.
void ControlSession::setUpLocalPaneIfShown() {
    if (startupLoadDone_ && settings_.LocalUIType == 2)
        ensureLocalPaneSetUp();
}

void ControlSession::ensureLocalPaneSetUp() {
    if (local_->isSetUp())
        return;
    emit localPaneSettingUp();
    local_->setUp();
    showLocalListView(settings_.LocalListViewMode);
}

void ControlSession::requestDocumentLoad() {
    loadQueued_ = true;
    if (loadRunning_)
        return;
    loadRunning_ = true;
    while (loadQueued_) {
        loadQueued_ = false;
        runDocumentLoad();
    }
    loadRunning_ = false;
}

void ControlSession::requestStartupLoad() {
    startupLoadQueued_ = true;
    requestDocumentLoad();
}

// Events fire only after the load has finished with the documents, so a handler may call
// anything, a new load included.
void ControlSession::runDocumentLoad() {
    const bool startup = std::exchange(startupLoadQueued_, false);
    const qint16 code = runLoadSteps(LoadSteps::Everything);
    if (focusPane_ == NoPane)
        focusPane_ = settings_.LocalUIType == 0 ? ServerListPane : ServerTreePane;
    events_.xmlLoadCompleted(code);
    if (startup) {
        startupLoadDone_ = true;
        setUpLocalPaneIfShown();
        loadCompleted_ = true;
        events_.loadCompleted();
    }
}

void ControlSession::refreshServerPane() {
    if (runLoadSteps(LoadSteps::CatalogueOnly) == 0)
        setFocusPane(ServerTreePane);
    emit focusRequested(ServerTreePane);
}

// The one load sequence, in order: the UI configuration (for a whole load), the server
// catalogue, the server tree, a fresh change journal, the first folder. Returns 0, or the
// code of the first step that failed (later steps do not run).
qint16 ControlSession::runLoadSteps(LoadSteps steps) {
    pendingDownload_ = {};
    if (steps == LoadSteps::Everything) {
        const UIConfigLoadResult ui = uiConfig_.FetchAndLoad(settings_, prompter_);
        if (!ui.continueLoad)
            return ui.code;
        server_.applyConfiguration();
        emit serverPaneConfigured();
    }
    server_.clear();
    const qint16 catalogueCode = catalogue_.Load(settings_, prompter_);
    if (catalogueCode != kCatalogueLoaded)
        return catalogueCode;
    if (!server_.buildTree())
        return kLoadTreeNotBuilt;
    if (!journal_.Create(prompter_))
        return kLoadJournalNotCreated;
    server_.selectFirstFolder();
    return 0;
}

short ControlSession::upload(const QString& postFile) {
    const short code = windows_.upload ? windows_.upload(postFile) : 0;
    // Uploaded entries are server files now; their rows take the server colours at once.
    server_.refillList();
    return code;
}

// Downloads go to DownPathFix without a question in the layouts without a drop folder (see
// StartDownload). The page named that folder, so the gate is asked before any node is taken:
// its question may run the event loop.
bool ControlSession::mayDownloadIntoFixedFolder() {
    const QString folder = settings_.DownPathFix;
    if (settings_.LocalUIType > 1 || folder.isEmpty() ||
        pageMayUse(PagePathUse::DownloadInto, folder))
        return true;
    settings_.setHttpError(
        kDownloadNotAllowed, 0,
        QStringLiteral("\"%1\" 폴더에 받는 것을 사용자가 허락하지 않았습니다.").arg(folder));
    events_.downloadCompleted(kDownloadNotAllowed);
    return false;
}

bool ControlSession::hasDownloadSelection() {
    if (focusPane_ == ServerTreePane)
        return server_.tree().selected() != nullptr;
    return focusPane_ == ServerListPane && !selectedListEntries().isEmpty();
}

void ControlSession::downloadSelection() {
    if (!hasDownloadSelection() || !mayDownloadIntoFixedFolder())
        return;
    if (focusPane_ == ServerTreePane) {
        const ServerTreeNode* node = server_.tree().selected();
        if (node && windows_.downloadFolder)
            windows_.downloadFolder(node->element, node->parent == nullptr, QString());
    } else if (focusPane_ == ServerListPane && windows_.download) {
        windows_.download(selectedListEntries(), QString());
    }
}

// 0 shows the file in the browser at the address the open window would fetch; 1 fetches it
// into the working folder and opens it with its program.
void ControlSession::openServerFile(const XmlNode& file, qint16 runType) {
    if (runType == 0) {
        const QString fileUrl =
            BuildDownloadUrl(file.attribute(QStringLiteral("path")), settings_.hostBaseUrl,
                             settings_.FilePathDomainAuto);
        const QUrl url(
            OpenRequestUrl(fileUrl, settings_.Charset.toUpper(), settings_.IsDownUrlEncode));
        events_.openfileCompleted(url.isValid() && browserOpener_(url) ? 0 : kOpenFailed);
    } else if (windows_.openServerFile) {
        windows_.openServerFile(file);
    } else {
        events_.openfileCompleted(0);
    }
}

// Queues what the local pane has selected: its tree folder, or its list rows. The paths are
// taken before anything runs, so a page handler that changes the selection changes nothing.
void ControlSession::addLocalSelection(qint16 focus) {
    QStringList paths;
    if (focus == LocalTreePane && !local_->selectedPath().isEmpty())
        paths.append(local_->selectedPath());
    else if (focus == LocalListPane)
        paths = local_->selectedRowPaths();
    else
        return;
    attach_.attachPaths(paths);
}
