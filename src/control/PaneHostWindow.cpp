#include "control/PaneHostWindow.h"

#include "common/ControlEvents.h"
#include "common/PaneAccess.h"
#include "control/DocumentLoad.h"
#include "control/PaneCommand.h"
#include "control/WidgetPrompter.h"

#include <QResizeEvent>
#include <QTimer>

namespace {
// The first document load waits this long after the pane host is first shown, so the page
// has finished its own start-up.
constexpr int kFirstLoadDelayMs = 50;

bool isViewMode(qint16 mode) {
    return mode >= 1 && mode <= 4;
}
} // namespace

PaneHostWindow::PaneHostWindow(ControlEvents& events, QWidget* parent)
    : QWidget(parent), events_(events), ownPrompter_(std::make_unique<WidgetPrompter>(this)),
      prompter_(ownPrompter_.get()) {
    static const char* const names[] = {"serverTree", "serverList", "localTree", "localList"};
    for (int i = 0; i < PaneLayout::PaneCount; ++i) {
        panes_[i] = new QWidget(this);
        panes_[i]->setObjectName(names[i]);
    }
    registerViewModeCommands();
}

PaneHostWindow::~PaneHostWindow() = default;

void PaneHostWindow::applyLayoutMode() {
    layout_.setMode(settings_.LocalUIType);
    placePanes();
}

void PaneHostWindow::applyServerListViewMode(qint16 mode) {
    if (isViewMode(mode))
        serverListView_ = mode;
}

void PaneHostWindow::applyLocalListViewMode(qint16 mode) {
    if (isViewMode(mode))
        localListView_ = mode;
}

void PaneHostWindow::runCommand(int code) {
    const auto found = commands_.find(code);
    if (found != commands_.end())
        found->second();
}

void PaneHostWindow::registerCommand(int code, std::function<void()> action) {
    commands_[code] = std::move(action);
}

void PaneHostWindow::registerViewModeCommands() {
    using namespace PaneCommand;
    const int serverCodes[] = {ServerViewLargeIcons, ServerViewSmallIcons, ServerViewList,
                               ServerViewDetails};
    const int localCodes[] = {LocalViewLargeIcons, LocalViewSmallIcons, LocalViewList,
                              LocalViewDetails};
    for (qint16 mode = 1; mode <= 4; ++mode) {
        registerCommand(serverCodes[mode - 1], [this, mode] { applyServerListViewMode(mode); });
        registerCommand(localCodes[mode - 1], [this, mode] { applyLocalListViewMode(mode); });
    }
}

void PaneHostWindow::attachPanes(ListPaneAccess* serverList, ListPaneAccess* localList,
                                 TreePaneAccess* serverTree, TreePaneAccess* localTree) {
    serverList_ = serverList;
    localList_ = localList;
    serverTree_ = serverTree;
    localTree_ = localTree;
}

int PaneHostWindow::selectedServerListPosition() const {
    return serverList_ ? serverList_->firstSelectedRow() : -1;
}

int PaneHostWindow::selectedLocalListPosition() const {
    return localList_ ? localList_->firstSelectedRow() : -1;
}

void PaneHostWindow::requestDocumentLoad() {
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

void PaneHostWindow::requestStartupLoad() {
    startupLoadQueued_ = true;
    requestDocumentLoad();
}

// Events fire only after the load has finished with the documents, so a handler may call
// anything, a new load included.
void PaneHostWindow::runDocumentLoad() {
    const bool startup = std::exchange(startupLoadQueued_, false);
    DocumentLoadContext context{settings_, uiConfig_,  catalogue_,
                                journal_,  *prompter_, serverPaneLoading_};
    const qint16 code = RunDocumentLoad(context);
    if (focusPane_ == 0)
        focusPane_ = settings_.LocalUIType == 0 ? 2 : 1;
    events_.xmlLoadCompleted(code);
    if (startup)
        events_.loadCompleted();
}

void PaneHostWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_.resize(event->size().width(), event->size().height());
    placePanes();
}

void PaneHostWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    QTimer::singleShot(kFirstLoadDelayMs, this, &PaneHostWindow::requestStartupLoad);
}

void PaneHostWindow::placePanes() {
    if (!layout_.modeIsKnown())
        return;
    const auto rects = layout_.paneRects();
    for (int i = 0; i < PaneLayout::PaneCount; ++i) {
        panes_[i]->setGeometry(rects[i]);
        panes_[i]->setVisible(!rects[i].isEmpty());
    }
}
