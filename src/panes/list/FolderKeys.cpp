#include "panes/list/FolderKeys.h"

#include "panes/list/LabelEditing.h"

#include <QAbstractItemView>
#include <QKeyEvent>

FolderKeys::FolderKeys(QAbstractItemView& view, std::function<void()> open,
                       std::function<void()> up)
    : QObject(&view), open_(std::move(open)), up_(std::move(up)) {
    view.installEventFilter(this);
}

bool FolderKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Enter that a name editor lets through (it commits the edit) is not the view's.
    if ((key->modifiers() & ~Qt::KeypadModifier) ||
        LabelEditing::isEditing(*static_cast<QAbstractItemView*>(watched)))
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        open_();
        return true;
    case Qt::Key_Backspace:
        up_();
        return true;
    default:
        return false;
    }
}
