#include "control/PaneHostWindow.h"

#include "common/Formatting.h"
#include "control/ItemDragDriver.h"
#include "control/SessionWindowsOver.h"
#include "control/WidgetPrompter.h"
#include "panes/list/FileListView.h"
#include "panes/list/LabelEditing.h"
#include "panes/local/widgets/LocalPaneWidgets.h"
#include "panes/server/widgets/ServerPaneWidgets.h"
#include "session/ControlSession.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

namespace {
// The first document load waits this long after the pane host is first shown, so the page
// has finished its own start-up.
constexpr int kFirstLoadDelayMs = 50;

const QColor kDefaultSplitterColor(168, 166, 164);
} // namespace

PaneHostWindow::PaneHostWindow(ControlSession& session, QWidget* parent)
    : QWidget(parent), session_(session), dialogs_(std::make_unique<WidgetPrompter>(this)) {
    session_.offerPrompter(*dialogs_);
    session_.setWindows(SessionWindowsOver(session_, this));
    setMouseTracking(true);
    installPanes();
    followSession();
}

PaneHostWindow::~PaneHostWindow() = default;

void PaneHostWindow::installPanes() {
    serverPane_ = new ServerPaneWidgets(session_, this);
    localPane_ = new LocalPaneWidgets(session_, this);
    panes_ = {serverPane_->treeView(), serverPane_->listView(), localPane_->treeView(),
              localPane_->listView()};
    static const char* const names[] = {"serverTree", "serverList", "localTree", "localList"};
    for (int i = 0; i < PaneLayout::PaneCount; ++i)
        panes_[i]->setObjectName(names[i]);
    itemDrag_ = new ItemDragDriver(session_,
                                   {serverPane_->treeView(), serverPane_->listView(),
                                    localPane_->treeView(), localPane_->listView()},
                                   *this);
}

void PaneHostWindow::cancelItemDrag() {
    itemDrag_->cancel();
}

void PaneHostWindow::installPane(PaneLayout::Pane which, QWidget* widget) {
    if (!widget || panes_[which] == widget)
        return;
    QWidget* old = panes_[which];
    widget->setParent(this);
    widget->setObjectName(old->objectName());
    old->hide();
    old->setObjectName(old->objectName() + QStringLiteral("Replaced"));
    panes_[which] = widget;
    placePanes();
}

void PaneHostWindow::followSession() {
    connect(&session_, &ControlSession::started, this, [this] {
        if (parentWidget())
            setGeometry(parentWidget()->rect());
    });
    connect(&session_, &ControlSession::layoutChanged, this, &PaneHostWindow::applyLayoutMode);
    connect(&session_, &ControlSession::serverListViewChanged, this,
            [this](qint16 mode) { showListView(PaneLayout::ServerList, mode); });
    connect(&session_, &ControlSession::localListViewChanged, this,
            [this](qint16 mode) { showListView(PaneLayout::LocalList, mode); });
    connect(&session_, &ControlSession::focusRequested, this, [this](qint16 pane) {
        if (QWidget* target = focusTarget(pane))
            target->setFocus();
    });
}

qint16 PaneHostWindow::paneContaining(const QWidget* widget) const {
    for (int i = 0; i < PaneLayout::PaneCount; ++i) {
        if (widget == panes_[i] || panes_[i]->isAncestorOf(widget))
            return static_cast<qint16>(i + 1);
    }
    return NoPane;
}

QWidget* PaneHostWindow::focusTarget(qint16 pane) const {
    if (pane < ServerTreePane || pane > LocalListPane)
        return nullptr;
    QWidget* target = panes_[PaneLayout::PaneOf(static_cast<FocusPane>(pane))];
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
    QWidget* pane = focusTarget(session_.focusPane());
    if (!pane)
        return false;
    auto views = pane->findChildren<QAbstractItemView*>();
    if (auto* view = qobject_cast<QAbstractItemView*>(pane))
        views.append(view);
    return std::any_of(views.begin(), views.end(), [](const QAbstractItemView* view) {
        return LabelEditing::isEditing(*view);
    });
}

void PaneHostWindow::renameInFocusedPane() {
    const qint16 pane = session_.focusPane();
    const auto* view = qobject_cast<const QAbstractItemView*>(focusTarget(pane));
    const LabelEditing* editing = view ? LabelEditing::of(*view) : nullptr;
    if (editing && editing->allowed())
        session_.startRename(pane);
}

QColor PaneHostWindow::splitterColor() const {
    return ParseColor(session_.settings().SpBarColor, kDefaultSplitterColor);
}

void PaneHostWindow::applyLayoutMode() {
    layout_.setMode(session_.settings().LocalUIType);
    placePanes();
    update();
}

void PaneHostWindow::showListView(PaneLayout::Pane which, qint16 mode) {
    if (auto* list = qobject_cast<FileListView*>(panes_[which]))
        list->setViewMode(mode);
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
    QTimer::singleShot(kFirstLoadDelayMs, &session_, &ControlSession::requestStartupLoad);
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
