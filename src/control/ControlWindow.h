#pragma once

#include <QWidget>

class ControlSession;
class PaneHostWindow;

// The control as a window embeds it: the pane host over a session, the keys and clicks meant
// for it, and the initialisation (the session's start) when it is first shown.
class ControlWindow : public QWidget {
    Q_OBJECT
public:
    explicit ControlWindow(ControlSession& session, QWidget* parent = nullptr);
    ~ControlWindow() override;

    ControlSession& session() const { return session_; }
    PaneHostWindow& paneHost() const { return *paneHost_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ControlSession& session_;
    PaneHostWindow* paneHost_;
};
