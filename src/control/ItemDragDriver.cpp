#include "control/ItemDragDriver.h"

#include "panes/list/FileListView.h"
#include "panes/local/LocalTreeModel.h"
#include "panes/local/RealLocalNamespace.h"
#include "panes/server/ServerTreeItemModel.h"
#include "session/ControlSession.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTreeView>

namespace {

// The drop highlight: the tree row under the cursor, drawn over the row without touching
// the tree's selection.
class DropHighlight : public QWidget {
public:
    explicit DropHighlight(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor fill = palette().color(QPalette::Highlight);
        painter.setPen(fill);
        fill.setAlpha(90);
        painter.setBrush(fill);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// Where the drag image sits from the cursor: right of and below it, clear of the pointer.
const QPoint kImageOffset(10, 14);

QPixmap ListDragImage(const QStyle& style, int count) {
    const QIcon icon =
        QIcon::fromTheme(QStringLiteral("text-x-generic"), style.standardIcon(QStyle::SP_FileIcon));
    QPixmap image(count > 1 ? 40 : 16, 16);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, icon.pixmap(16, 16));
    if (count > 1)
        painter.drawText(QRect(18, 0, 22, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(count));
    return image;
}

} // namespace

ItemDragDriver::ItemDragDriver(ControlSession& session, const ItemDragViews& views, QWidget& window)
    : QObject(&window), session_(session), views_(views), window_(window),
      image_(new QLabel(&window)), highlight_(new DropHighlight(views.serverTree->viewport())) {
    image_->setAttribute(Qt::WA_TransparentForMouseEvents);
    image_->hide();
    const QList<QAbstractItemView*> all = {
        views_.serverTree, views_.serverList->detailsView(), views_.serverList->iconView(),
        views_.localTree,  views_.localList->detailsView(),  views_.localList->iconView()};
    for (QAbstractItemView* view : all)
        view->viewport()->installEventFilter(this);
}

ItemDragDriver::~ItemDragDriver() {
    if (dragging_)
        QGuiApplication::restoreOverrideCursor();
}

QAbstractItemView* ItemDragDriver::shownView(qint16 pane) const {
    switch (pane) {
    case ServerTreePane:
        return views_.serverTree;
    case ServerListPane:
        return views_.serverList->currentView();
    case LocalTreePane:
        return views_.localTree;
    case LocalListPane:
        return views_.localList->currentView();
    default:
        return nullptr;
    }
}

qint16 ItemDragDriver::paneOfViewport(const QObject* widget) const {
    for (qint16 pane = ServerTreePane; pane <= LocalListPane; ++pane) {
        if (shownView(pane)->viewport() == widget)
            return pane;
    }
    return NoPane;
}

DropPoint ItemDragDriver::dropPointAt(const QPoint& globalPos) const {
    DropPoint point;
    for (qint16 pane = ServerTreePane; pane <= LocalListPane; ++pane) {
        QAbstractItemView* view = shownView(pane);
        const QPoint local = view->viewport()->mapFromGlobal(globalPos);
        if (!view->isVisible() || !view->viewport()->rect().contains(local))
            continue;
        point.pane = pane;
        const QModelIndex index = view->indexAt(local);
        if (pane == ServerTreePane) {
            point.serverFolder = ServerTreeItemModel::node(index);
            point.topNode = point.serverFolder && !point.serverFolder->parent;
        } else if (const LocalTreeNode* node =
                       pane == LocalTreePane ? LocalTreeModel::node(index) : nullptr) {
            point.localFolder = PathText(node->path);
            point.topNode = !node->parent;
        }
        break;
    }
    return point;
}

bool ItemDragDriver::eventFilter(QObject* watched, QEvent* event) {
    if (replaying_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const qint16 pane = paneOfViewport(watched);
        QAbstractItemView* view = shownView(pane);
        const QModelIndex row = view ? view->indexAt(mouse->position().toPoint()) : QModelIndex();
        heldPress_.reset();
        pressedPane_ = mouse->button() == Qt::LeftButton && row.isValid() ? pane : qint16(NoPane);
        pressedAt_ = mouse->globalPosition().toPoint();
        pressedRow_ = row;
        if (pressedPane_ != ServerTreePane && pressedPane_ != LocalTreePane)
            return false;
        heldPress_.reset(mouse->clone());
        heldBy_ = view->viewport();
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->globalPosition().toPoint();
        if (dragging_) {
            moveTo(at);
            return true;
        }
        if (pressedPane_ == NoPane || !(mouse->buttons() & Qt::LeftButton) ||
            (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return false;
        if (begin(at))
            return true;
        replayPress();
        return false;
    }
    case QEvent::MouseButtonDblClick:
        // The view gets the second press before the double click, as it would have.
        replayPress();
        return false;
    case QEvent::MouseButtonRelease:
        pressedPane_ = NoPane;
        if (dragging_) {
            drop(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
        replayPress();
        return false;
    default:
        return false;
    }
}

void ItemDragDriver::replayPress() {
    pressedPane_ = NoPane;
    if (!heldPress_)
        return;
    const std::unique_ptr<QMouseEvent> press = std::move(heldPress_);
    replaying_ = true;
    QApplication::sendEvent(heldBy_, press.get());
    replaying_ = false;
}

bool ItemDragDriver::begin(const QPoint& globalPos) {
    const qint16 pane = pressedPane_;
    pressedPane_ = NoPane;
    QAbstractItemView* view = shownView(pane);
    if (!session_.beginDrag(pane, dropPointAt(pressedAt_)))
        return false;
    heldPress_.reset();
    dragging_ = true;
    if (pane == ServerTreePane || pane == LocalTreePane)
        image_->setPixmap(view->viewport()->grab(view->visualRect(pressedRow_)));
    else
        image_->setPixmap(
            ListDragImage(*view->style(), view->selectionModel()->selectedRows().size()));
    image_->adjustSize();
    image_->raise();
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    moveTo(globalPos);
    return true;
}

void ItemDragDriver::moveTo(const QPoint& globalPos) {
    image_->move(window_.mapFromGlobal(globalPos) + kImageOffset);
    image_->show();
    const DropPoint point = dropPointAt(globalPos);
    const bool accepted = session_.acceptsDrop(point);
    QGuiApplication::changeOverrideCursor(accepted ? Qt::ArrowCursor : Qt::ForbiddenCursor);
    // An accepted drop on a tree has a row under the cursor.
    if (accepted && (point.pane == ServerTreePane || point.pane == LocalTreePane))
        showHighlight(shownView(point.pane), globalPos);
    else
        highlight_->hide();
}

void ItemDragDriver::showHighlight(QAbstractItemView* tree, const QPoint& globalPos) {
    const QRect row = tree->visualRect(tree->indexAt(tree->viewport()->mapFromGlobal(globalPos)));
    if (highlight_->parentWidget() != tree->viewport())
        highlight_->setParent(tree->viewport());
    highlight_->setGeometry(row.left(), row.top(), tree->viewport()->width() - row.left(),
                            row.height());
    highlight_->show();
    highlight_->raise();
}

void ItemDragDriver::drop(const QPoint& globalPos) {
    const DropPoint point = dropPointAt(globalPos);
    endVisuals();
    session_.dropDrag(point);
}

void ItemDragDriver::cancel() {
    if (!dragging_)
        return;
    endVisuals();
    session_.cancelDrag();
}

void ItemDragDriver::endVisuals() {
    dragging_ = false;
    image_->hide();
    highlight_->hide();
    QGuiApplication::restoreOverrideCursor();
}
