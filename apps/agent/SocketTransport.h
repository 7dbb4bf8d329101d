#pragma once

#include <QJsonObject>
#include <QQueue>
#include <QWebChannelAbstractTransport>
#include <functional>

class QWebSocket;

// The web channel's transport over one page's WebSocket. The messages that run the control's
// code (method calls and property writes) are handled one at a time: one that arrives while
// another still runs (a transfer window or a question runs its own event loop) waits until
// that one has returned, so a page never re-enters the control in the middle of an operation.
// `afterCall` runs before each reply and after each of them, so the property values they
// changed reach the page first. Every message goes out at once, in the order the channel sends
// it.
class SocketTransport : public QWebChannelAbstractTransport {
    Q_OBJECT
public:
    SocketTransport(QWebSocket& socket, std::function<void()> afterCall, QObject* parent = nullptr);

    void sendMessage(const QJsonObject& message) override;

private:
    void receive(const QString& text);

    QWebSocket& socket_;
    std::function<void()> afterCall_;
    QQueue<QJsonObject> waiting_;
    bool running_ = false;
};
