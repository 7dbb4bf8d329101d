#include "SocketTransport.h"

#include <QJsonDocument>
#include <QWebSocket>

namespace {

// The channel's message types: those that run the control's code, and two of its own.
constexpr int kPropertyUpdate = 2;
constexpr int kIdle = 4;
constexpr int kInvokeMethod = 6;
constexpr int kSetProperty = 9;
constexpr int kResponse = 10;

bool runsControlCode(const QJsonObject& message) {
    const int type = message.value(QStringLiteral("type")).toInt();
    return type == kInvokeMethod || type == kSetProperty;
}

} // namespace

SocketTransport::SocketTransport(QWebSocket& socket, std::function<void()> afterCall,
                                 QObject* parent)
    : QWebChannelAbstractTransport(parent), socket_(socket), afterCall_(std::move(afterCall)) {
    connect(&socket_, &QWebSocket::textMessageReceived, this, &SocketTransport::receive);
}

// The channel holds back further property updates until the page says it has taken the last
// one. Over an ordered socket that only lets a later reply overtake them, and the page would
// read a value from before the call; so the page is taken as ready again at once.
void SocketTransport::sendMessage(const QJsonObject& message) {
    const int type = message.value(QStringLiteral("type")).toInt();
    // The values a call changed go out before its reply.
    if (type == kResponse && afterCall_)
        afterCall_();
    socket_.sendTextMessage(
        QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    if (type == kPropertyUpdate)
        emit messageReceived({{QStringLiteral("type"), kIdle}}, this);
}

void SocketTransport::receive(const QString& text) {
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return;
    const QJsonObject message = document.object();
    if (!runsControlCode(message)) {
        emit messageReceived(message, this);
        return;
    }
    waiting_.enqueue(message);
    if (running_)
        return;
    running_ = true;
    while (!waiting_.isEmpty()) {
        emit messageReceived(waiting_.dequeue(), this);
        if (afterCall_)
            afterCall_();
    }
    running_ = false;
}
