#include "control/ControlInputFilter.h"

#include "common/ControlEvents.h"
#include "control/ControlKeys.h"
#include "control/PaneHostWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>

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
    if (type == QEvent::KeyPress)
        return handleKey(widget, static_cast<QKeyEvent*>(event));
    if (const qint16 pane = host_.paneContaining(widget))
        host_.setFocusPane(pane);
    return false;
}

bool ControlInputFilter::handleKey(QWidget* receiver, QKeyEvent* key) {
    const ControlKeyAction action =
        MapControlKey(key->key(), key->modifiers(), host_.focusedPaneIsEditing());
    switch (action.kind) {
    case ControlKeyAction::Normal:
        return false;
    case ControlKeyAction::ToPane:
        return forwardToFocusedPane(receiver, key);
    case ControlKeyAction::NextPane:
        focusNextPane();
        return true;
    case ControlKeyAction::Report:
        events_.functionKeyPressed(action.name);
        return true;
    }
    return false;
}

// A key already on its way into the focused pane is let through; any other is sent there
// and consumed. False means "not consumed".
bool ControlInputFilter::forwardToFocusedPane(QWidget* receiver, QKeyEvent* key) {
    const qint16 pane = host_.focusPane();
    if (pane != 0 && host_.paneContaining(receiver) == pane)
        return false;
    if (QWidget* target = host_.focusTarget(pane)) {
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       key->count());
        QCoreApplication::sendEvent(target, &copy);
    }
    return true;
}

void ControlInputFilter::focusNextPane() {
    const qint16 next = NextFocusPane(host_.focusPane(), host_.shownPanes());
    host_.setFocusPane(next);
    if (QWidget* target = host_.focusTarget(next))
        target->setFocus(Qt::TabFocusReason);
}
