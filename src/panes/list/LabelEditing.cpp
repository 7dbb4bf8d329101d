#include "panes/list/LabelEditing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimerEvent>

namespace {

// An item view's editor is a widget of its own on the viewport, beside overlays that take no
// input (a drop highlight). A closed one is hidden until it is deleted.
QWidget* openEditor(const QAbstractItemView& view) {
    for (QWidget* child : view.viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden() && !child->testAttribute(Qt::WA_TransparentForMouseEvents))
            return child;
    }
    return nullptr;
}

// The item an editor stands over: its left end stays there while it grows with the text.
QModelIndex editedIndex(const QAbstractItemView& view, const QWidget& editor) {
    const QRect area = editor.geometry();
    return view.indexAt(QPoint(area.left() + 2, area.center().y()));
}

} // namespace

LabelEditing::LabelEditing(QAbstractItemView& view) : QObject(&view), view_(view) {
    view_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_.viewport()->installEventFilter(this);
}

LabelEditing* LabelEditing::of(const QAbstractItemView& view) {
    return view.findChild<LabelEditing*>(QString(), Qt::FindDirectChildrenOnly);
}

void LabelEditing::setAllowed(bool allowed) {
    allowed_ = allowed;
    slowClick_.stop();
}

bool LabelEditing::isEditing(const QAbstractItemView& view) {
    return openEditor(view) != nullptr;
}

bool LabelEditing::open(const QModelIndex& index, const QString& text) {
    if (!index.isValid() || index.model() != view_.model() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    slowClick_.stop();
    QWidget* editor = openEditor(view_);
    if (editor && editedIndex(view_, *editor) != index) {
        QAbstractItemDelegate* delegate = view_.itemDelegateForIndex(editedIndex(view_, *editor));
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
        editor = nullptr;
    }
    view_.scrollTo(index);
    if (!editor) {
        view_.edit(index);
        editor = openEditor(view_);
    }
    if (!editor)
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (!text.isEmpty())
            line->setText(text);
        line->selectAll();
    }
    editor->setFocus();
    return true;
}

bool LabelEditing::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QModelIndex index = view_.indexAt(mouse->position().toPoint());
    const bool plainLeft =
        mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier;
    if (type == QEvent::MouseButtonPress) {
        slowClick_.stop();
        const bool again = plainLeft && index.isValid() && index.column() == 0 &&
                           index == view_.currentIndex() &&
                           view_.selectionModel()->isSelected(index);
        clicked_ = again ? QPersistentModelIndex(index) : QPersistentModelIndex();
    } else if (type == QEvent::MouseButtonRelease) {
        if (allowed_ && plainLeft && clicked_.isValid() && index == clicked_)
            slowClick_.start(QApplication::doubleClickInterval(), this);
    } else {
        slowClick_.stop();
        clicked_ = QPersistentModelIndex();
    }
    return QObject::eventFilter(watched, event);
}

// Still the item the user clicked twice, and nothing moved meanwhile.
void LabelEditing::timerEvent(QTimerEvent* event) {
    if (event->timerId() != slowClick_.timerId())
        return QObject::timerEvent(event);
    slowClick_.stop();
    if (allowed_ && clicked_.isValid() && clicked_ == view_.currentIndex())
        open(clicked_, QString());
    clicked_ = QPersistentModelIndex();
}
