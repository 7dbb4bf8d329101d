#pragma once

#include "session/ItemDrag.h"

#include <QMouseEvent>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <memory>

class ControlSession;
class FileListView;
class QAbstractItemView;
class QLabel;
class QTreeView;
class QWidget;

// The four views an item drag runs between, by pane.
struct ItemDragViews {
    QTreeView* serverTree = nullptr;
    FileListView* serverList = nullptr;
    QTreeView* localTree = nullptr;
    FileListView* localList = nullptr;
};

// Runs item drags between the four views with the mouse the source view already holds: a
// press on a row and a move past the drag distance begin one (if the session allows it),
// moves show the drag image, the drop highlight on the tree row under the cursor and the
// cursor, the release drops, Esc ends it. The platform's drag and drop is not used, so a
// drag never leaves this control and nothing from another window can pose as one.
// A tree selects its row when the button comes up without a drag, so dragging a folder
// does not open it first.
class ItemDragDriver : public QObject {
    Q_OBJECT
public:
    ItemDragDriver(ControlSession& session, const ItemDragViews& views, QWidget& window);
    ~ItemDragDriver() override;

    bool isDragging() const { return dragging_; }
    // Ends a drag without a drop; nothing when none runs.
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* shownView(qint16 pane) const;
    // The pane whose view's viewport is `widget`; NoPane for none.
    qint16 paneOfViewport(const QObject* widget) const;
    DropPoint dropPointAt(const QPoint& globalPos) const;
    bool begin(const QPoint& globalPos);
    // Gives a tree the press it was kept from, as it came.
    void replayPress();
    void moveTo(const QPoint& globalPos);
    void drop(const QPoint& globalPos);
    void endVisuals();
    void showHighlight(QAbstractItemView* tree, const QPoint& globalPos);

    ControlSession& session_;
    ItemDragViews views_;
    QWidget& window_;
    QLabel* image_;
    QWidget* highlight_;
    qint16 pressedPane_ = NoPane;
    QPoint pressedAt_; // global
    QPersistentModelIndex pressedRow_;
    std::unique_ptr<QMouseEvent> heldPress_; // a tree's press, until a drag begins or not
    QWidget* heldBy_ = nullptr;              // the tree viewport it was meant for
    bool dragging_ = false;
    bool replaying_ = false;
};
