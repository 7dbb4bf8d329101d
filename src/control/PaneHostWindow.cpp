#include "control/PaneHostWindow.h"

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

PaneHostWindow::PaneHostWindow(QWidget* parent)
    : QWidget(parent), ownPrompter_(std::make_unique<WidgetPrompter>(this)),
      prompter_(ownPrompter_.get()) {
    static const char* const names[] = {"serverTree", "serverList", "localTree", "localList"};
    for (int i = 0; i < PaneLayout::PaneCount; ++i) {
        panes_[i] = new QWidget(this);
        panes_[i]->setObjectName(names[i]);
    }
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

int PaneHostWindow::selectedServerListPosition() const {
    return -1;
}

int PaneHostWindow::selectedLocalListPosition() const {
    return -1;
}

QString PaneHostWindow::catalogueText() const {
    return {};
}

void PaneHostWindow::requestDocumentLoad() {
    if (loadRunning_) {
        loadQueued_ = true;
        return;
    }
    loadRunning_ = true;
    do {
        loadQueued_ = false;
        emit documentLoadRequested();
    } while (loadQueued_);
    loadRunning_ = false;
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
    QTimer::singleShot(kFirstLoadDelayMs, this, &PaneHostWindow::requestDocumentLoad);
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
