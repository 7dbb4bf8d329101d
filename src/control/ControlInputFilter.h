#pragma once

#include <QObject>

class ControlEvents;
class PaneHostWindow;
class QKeyEvent;
class QWidget;

// Sees every key press, click and focus change meant for the control or a widget inside
// it, before the widget does (an application event filter, as child widgets get the keys
// first otherwise). Keys follow MapControlKey; clicks and focus keep `focusPane` current.
// A key for the focused pane is delivered to it exactly once: what the pane ignores stops
// there and never climbs back to the control to be sent again.
class ControlInputFilter : public QObject {
    Q_OBJECT
public:
    ControlInputFilter(QWidget& control, PaneHostWindow& host, ControlEvents& events);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QWidget* receiver, QKeyEvent* key);
    void deliverToFocusedPane(QWidget* receiver, const QKeyEvent& key);
    void focusNextPane();

    QWidget& control_;
    PaneHostWindow& host_;
    ControlEvents& events_;
    // The pane a key is being delivered to, while it is.
    qint16 deliveringTo_ = 0;
};
