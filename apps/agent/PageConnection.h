#pragma once

#include "settings/ControlSettings.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class CMxVantrel2Ctrl;
class ControlWindow;
class PageAccessPolicy;
class PageBridge;
class QWebChannel;
class QWebSocket;
class ScriptedPrompter;
class SocketTransport;

// What every page connection shares: how the agent runs and where it writes.
struct AgentContext {
    bool offscreen = false;
    // Offscreen: answers the control's prompts and the agent's "path" questions.
    ScriptedPrompter* answers = nullptr;
    // A line on stdout (offscreen prompts, files the control would open).
    std::function<void(const QString&)> print;
    // A line on stderr: refusals with their reason, connections coming and going.
    std::function<void(const QString&)> log;
};

// One page's connection: its own control in its own top-level window titled with the page's
// origin, on a web channel that publishes the face as "ctrl" and a PageBridge as "vantrel".
//
// The page speaks first: {"vantrel": "hello", "page": location.href, "cookie": document.cookie,
// "params": {NAME: value}}. Its address must be of the origin the browser named; its address
// and cookie become the control's host page and `params` its property set. Once the origin is
// approved as well, the agent answers {"vantrel": "ready"} and the channel takes over. The
// window shows (and the start-up load runs) on the page's start().
//
// The connection ends when the page goes, when the user closes the window or on a refusal;
// a call that still runs (a transfer window, say) is let finish first. The object then
// deletes itself.
class PageConnection : public QObject {
    Q_OBJECT
public:
    // Takes `socket` over. `trusted`: the origin may use local paths without questions.
    PageConnection(QWebSocket* socket, QString origin, bool trusted, const AgentContext& context,
                   QObject* parent = nullptr);
    ~PageConnection() override;

    const QString& origin() const { return origin_; }
    // The user's word on an origin that was not on any list; until it comes, the page waits.
    void approve();
    // Ends the connection with a close frame (policy violation) and logs `reason`.
    void refuse(const QString& reason);
    // The control's window; null until the page has been accepted.
    ControlWindow* window() const { return window_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void receiveHello(const QString& text);
    void openWhenReady();
    void createControl();
    bool askUser(const QString& question);
    void end();
    void deleteOnceUnwound();

    QWebSocket* socket_;
    QString origin_;
    bool trusted_;
    AgentContext context_;
    bool approved_ = false;
    bool helloReceived_ = false;
    bool ending_ = false;
    QString pageUrl_, cookie_;
    PropertySet params_;
    std::unique_ptr<PageAccessPolicy> policy_;
    std::unique_ptr<CMxVantrel2Ctrl> ctrl_;
    std::unique_ptr<ControlWindow> window_;
    std::unique_ptr<PageBridge> bridge_;
    std::unique_ptr<QWebChannel> channel_;
    std::unique_ptr<SocketTransport> transport_;
};
