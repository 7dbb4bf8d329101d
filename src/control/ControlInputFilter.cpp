#include "control/ControlInputFilter.h"

#include "common/ControlEvents.h"
#include "control/ControlKeys.h"
#include "control/PaneHostWindow.h"
#include "session/ControlSession.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>

ControlInputFilter::ControlInputFilter(QWidget& control, PaneHostWindow& host,
                                       ControlEvents& events)
    : QObject(&control), control_(control), host_(host), events_(events) {}

bool ControlInputFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::MouseButtonPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != &control_ && !control_.isAncestorOf(widget)))
        return false;
    if (type == QEvent::KeyPress) {
        // Our own delivery passes into its pane; what the pane ignores stops at its edge.
        if (deliveringTo_ != 0)
            return host_.paneContaining(widget) != deliveringTo_;
        return handleKey(widget, static_cast<QKeyEvent*>(event));
    }
    if (const qint16 pane = host_.paneContaining(widget))
        host_.session().setFocusPane(pane);
    return false;
}

bool ControlInputFilter::handleKey(QWidget* receiver, QKeyEvent* key) {
    if (key->key() == Qt::Key_Escape)
        host_.cancelItemDrag();
    const ControlKeyAction action =
        MapControlKey(key->key(), key->modifiers(), host_.focusedPaneIsEditing());
    switch (action.kind) {
    case ControlKeyAction::Normal:
        return false;
    case ControlKeyAction::ToPane:
        deliverToFocusedPane(receiver, *key);
        return true;
    case ControlKeyAction::NextPane:
        focusNextPane();
        return true;
    case ControlKeyAction::Report:
        events_.functionKeyPressed(action.name);
        if (key->key() == Qt::Key_F2)
            host_.renameInFocusedPane();
        return true;
    }
    return false;
}

// The key goes to the widget it was meant for when that lies in the focused pane, else to
// the pane's focus widget. A copy is sent so the original, consumed here, cannot climb the
// parent chain when the pane ignores the key.
void ControlInputFilter::deliverToFocusedPane(QWidget* receiver, const QKeyEvent& key) {
    const qint16 pane = host_.session().focusPane();
    QWidget* target = host_.paneContaining(receiver) == pane ? receiver : host_.focusTarget(pane);
    if (!target)
        return;
    QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.text(), key.isAutoRepeat(),
                   key.count());
    const QScopedValueRollback delivering(deliveringTo_, pane);
    QCoreApplication::sendEvent(target, &copy);
}

void ControlInputFilter::focusNextPane() {
    const qint16 next = NextFocusPane(host_.session().focusPane(), host_.shownPanes());
    host_.session().setFocusPane(next);
    if (QWidget* target = host_.focusTarget(next))
        target->setFocus(Qt::TabFocusReason);
}
