#include "control/PaneHostWindow.h"

#include "common/ControlEvents.h"
#include "common/Formatting.h"
#include "common/PaneAccess.h"
#include "control/DocumentLoad.h"
#include "control/PaneCommand.h"
#include "control/WidgetPrompter.h"
#include "panes/list/FileListView.h"
#include "panes/local/widgets/LocalPaneInstall.h"
#include "panes/local/widgets/LocalPaneWidgets.h"
#include "panes/server/ServerPaneWidgets.h"

#include <QAbstractItemView>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

namespace {
// The first document load waits this long after the pane host is first shown, so the page
// has finished its own start-up.
constexpr int kFirstLoadDelayMs = 50;

bool isViewMode(qint16 mode) {
    return mode >= 1 && mode <= 4;
}

const QColor kDefaultSplitterColor(168, 166, 164);

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// Empty views stand in until the panes install their own (installPane).
QWidget* makeEmptyPane(PaneLayout::Pane which, QWidget* parent) {
    if (which == PaneLayout::ServerList || which == PaneLayout::LocalList)
        return new FileListView(parent);
    auto* tree = new QTreeView(parent);
    tree->setHeaderHidden(true);
    return tree;
}

void showListView(QWidget* pane, qint16 mode) {
    if (auto* list = qobject_cast<FileListView*>(pane))
        list->setViewMode(mode);
}

// An item view's in-place editor is a widget on its viewport; nothing else lives there.
bool viewIsEditing(const QAbstractItemView* view) {
    const auto editors = view->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    return std::any_of(editors.begin(), editors.end(),
                       [](const QWidget* editor) { return !editor->isHidden(); });
}
} // namespace

PaneHostWindow::PaneHostWindow(ControlEvents& events, QWidget* parent)
    : QWidget(parent), events_(events), ownPrompter_(std::make_unique<WidgetPrompter>(this)),
      prompter_(ownPrompter_.get()), fileOpener_(openWithDesktop) {
    static const char* const names[] = {"serverTree", "serverList", "localTree", "localList"};
    for (int i = 0; i < PaneLayout::PaneCount; ++i) {
        panes_[i] = makeEmptyPane(static_cast<PaneLayout::Pane>(i), this);
        panes_[i]->setObjectName(names[i]);
    }
    registerViewModeCommands();
    setMouseTracking(true);
    installPanes();
}

void PaneHostWindow::installPanes() {
    serverPane_ = new ServerPaneWidgets(
        {catalogue_, journal_, settings_, uiConfig_, [this]() -> Prompter& { return *prompter_; },
         events_, this, [this] { return focusPane_; }, [this](qint16 pane) { focusPane_ = pane; },
         [this](int code, std::function<void()> action) {
             registerCommand(code, std::move(action));
         },
         [this](const QString& path) {
             return openLocal(path);
         }});
    installPane(PaneLayout::ServerTree, serverPane_->treeView());
    installPane(PaneLayout::ServerList, serverPane_->listView());
    attachServerPaneLoading(serverPane_);
    attachPanes(&serverPane_->controller(), localList_, &serverPane_->controller(), localTree_);
    localPane_ = InstallLocalPane(*this, events_, serverPane_->controller());
}

bool PaneHostWindow::openLocal(const QString& path) const {
    return !path.isEmpty() && QFileInfo::exists(path) && fileOpener_(path);
}

void PaneHostWindow::setFileOpener(std::function<bool(const QString& path)> opener) {
    fileOpener_ = opener ? std::move(opener) : openWithDesktop;
}

ServerPaneController& PaneHostWindow::serverPane() const {
    return serverPane_->controller();
}

PaneHostWindow::~PaneHostWindow() = default;

void PaneHostWindow::installPane(PaneLayout::Pane which, QWidget* widget) {
    if (!widget || which < 0 || which >= PaneLayout::PaneCount || panes_[which] == widget)
        return;
    QWidget* old = panes_[which];
    widget->setParent(this);
    widget->setObjectName(old->objectName());
    widget->setGeometry(old->geometry());
    widget->setVisible(!old->isHidden());
    panes_[which] = widget;
    // A pane installed earlier may still be used by its owner: it is only hidden and
    // renamed, and goes with the host. The host's own empty stand-ins are deleted.
    if (std::exchange(ownPane_[which], false)) {
        delete old;
    } else {
        old->hide();
        old->setObjectName(old->objectName() + QStringLiteral("Replaced"));
    }
    placePanes();
}

qint16 PaneHostWindow::paneContaining(const QWidget* widget) const {
    for (int i = 0; i < PaneLayout::PaneCount; ++i) {
        if (widget == panes_[i] || panes_[i]->isAncestorOf(widget))
            return static_cast<qint16>(i + 1);
    }
    return 0;
}

QWidget* PaneHostWindow::focusTarget(qint16 pane) const {
    if (pane < 1 || pane > PaneLayout::PaneCount)
        return nullptr;
    QWidget* target = panes_[pane - 1];
    while (target->focusProxy())
        target = target->focusProxy();
    return target;
}

std::array<bool, PaneLayout::PaneCount> PaneHostWindow::shownPanes() const {
    std::array<bool, PaneLayout::PaneCount> shown{};
    const auto rects = layout_.paneRects();
    for (int i = 0; i < PaneLayout::PaneCount; ++i)
        shown[i] = !rects[i].isEmpty();
    return shown;
}

bool PaneHostWindow::focusedPaneIsEditing() const {
    if (focusPane_ < 1 || focusPane_ > PaneLayout::PaneCount)
        return false;
    QWidget* pane = panes_[focusPane_ - 1];
    auto views = pane->findChildren<QAbstractItemView*>();
    if (auto* view = qobject_cast<QAbstractItemView*>(pane))
        views.append(view);
    return std::any_of(views.begin(), views.end(), viewIsEditing);
}

QColor PaneHostWindow::splitterColor() const {
    return ParseColor(settings_.SpBarColor, kDefaultSplitterColor);
}

void PaneHostWindow::setUpLocalPaneIfShown() {
    if (startupLoadDone_ && settings_.LocalUIType == 2)
        localPane_->ensureSetUp();
}

void PaneHostWindow::applyLayoutMode() {
    setUpLocalPaneIfShown();
    layout_.setMode(settings_.LocalUIType);
    placePanes();
    update();
}

void PaneHostWindow::applyServerListViewMode(qint16 mode) {
    if (!isViewMode(mode))
        return;
    serverListView_ = mode;
    showListView(panes_[PaneLayout::ServerList], mode);
}

void PaneHostWindow::applyLocalListViewMode(qint16 mode) {
    if (!isViewMode(mode))
        return;
    localListView_ = mode;
    showListView(panes_[PaneLayout::LocalList], mode);
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
    if (startup) {
        startupLoadDone_ = true;
        setUpLocalPaneIfShown();
        events_.loadCompleted();
    }
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

void PaneHostWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    const QColor color = splitterColor();
    for (const QRect& bar : {layout_.upperBar(), layout_.lowerBar(), layout_.horizontalBar()}) {
        if (!bar.isEmpty())
            painter.fillRect(bar, color);
    }
}

void PaneHostWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && layout_.mode() != 0)
        draggedBar_ = SplitterBarAt(layout_, event->position().toPoint());
    QWidget::mousePressEvent(event);
}

// The press grabs the mouse implicitly, so moves keep coming here while the button is held.
void PaneHostWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (draggedBar_ == SplitterBar::None) {
        updateSplitterCursor(pos);
    } else if (DragSplitter(layout_, draggedBar_, pos)) {
        placePanes();
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void PaneHostWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        draggedBar_ = SplitterBar::None;
    QWidget::mouseReleaseEvent(event);
}

void PaneHostWindow::updateSplitterCursor(QPoint pos) {
    switch (layout_.mode() == 0 ? SplitterBar::None : SplitterBarAt(layout_, pos)) {
    case SplitterBar::Upper:
    case SplitterBar::Lower:
        setCursor(Qt::SizeHorCursor);
        break;
    case SplitterBar::Horizontal:
        setCursor(Qt::SizeVerCursor);
        break;
    case SplitterBar::None:
        unsetCursor();
        break;
    }
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
