#include "PageConnection.h"

#include "OriginRules.h"
#include "PageAccessPolicy.h"
#include "PageBridge.h"
#include "SocketTransport.h"
#include "control/ControlWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"

#include <QEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWebChannel>
#include <QWebSocket>

namespace {

const QSize kWindowSize(900, 600);
// How often an ending connection looks whether the stack has unwound to the main loop.
constexpr int kUnwindPollMs = 100;
// A page says who it is at once; a socket that stays silent is not kept.
constexpr int kHelloTimeoutMs = 10000;

QJsonObject parseObject(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

} // namespace

PageConnection::PageConnection(QWebSocket* socket, QString origin, bool trusted,
                               const AgentContext& context, QObject* parent)
    : QObject(parent), socket_(socket), origin_(std::move(origin)), trusted_(trusted),
      context_(context) {
    socket_->setParent(this);
    connect(socket_, &QWebSocket::textMessageReceived, this, &PageConnection::receiveHello);
    connect(socket_, &QWebSocket::disconnected, this, &PageConnection::end);
    QTimer::singleShot(kHelloTimeoutMs, this, [this] {
        if (!helloReceived_ && !ending_)
            refuse(QStringLiteral("the page did not introduce itself in time"));
    });
}

PageConnection::~PageConnection() = default;

void PageConnection::approve() {
    approved_ = true;
    openWhenReady();
}

void PageConnection::refuse(const QString& reason) {
    context_.log(QStringLiteral("refused %1: %2").arg(origin_, reason));
    socket_->close(QWebSocketProtocol::CloseCodePolicyViolated, reason);
    end();
}

void PageConnection::receiveHello(const QString& text) {
    disconnect(socket_, &QWebSocket::textMessageReceived, this, &PageConnection::receiveHello);
    const QJsonObject hello = parseObject(text);
    if (hello.value("vantrel").toString() != QStringLiteral("hello")) {
        refuse(QStringLiteral("the page did not introduce itself"));
        return;
    }
    pageUrl_ = hello.value("page").toString();
    if (!SameOrigin(OriginOfPage(pageUrl_), origin_)) {
        refuse(QStringLiteral("the page address \"%1\" is not of its origin").arg(pageUrl_));
        return;
    }
    cookie_ = hello.value("cookie").toString();
    const QJsonObject params = hello.value("params").toObject();
    for (auto it = params.begin(); it != params.end(); ++it)
        params_.insert(it.key(), it.value().toVariant().toString());
    helloReceived_ = true;
    openWhenReady();
}

void PageConnection::openWhenReady() {
    if (!approved_ || !helloReceived_ || ending_ || ctrl_)
        return;
    createControl();
    socket_->sendTextMessage(QStringLiteral("{\"vantrel\":\"ready\"}"));
    context_.log(QStringLiteral("connected %1 (%2)").arg(origin_, pageUrl_));
}

void PageConnection::createControl() {
    policy_ = std::make_unique<PageAccessPolicy>(
        origin_, trusted_, [this](const QString& question) { return askUser(question); });
    ctrl_ = std::make_unique<CMxVantrel2Ctrl>();
    ControlSession& session = ctrl_->session();
    ctrl_->loadPropertySet(params_);
    session.setHostPage(HostPage::fromUrl(QUrl(pageUrl_), cookie_));
    session.setPagePathGate(policy_.get());
    if (context_.answers) {
        session.setPrompter(*context_.answers);
        const auto print = context_.print;
        session.setFileOpener([print](const QString& path) {
            print(QStringLiteral("open: ") + path);
            return true;
        });
        session.setBrowserOpener([print](const QUrl& url) {
            print(QStringLiteral("browse: ") + QString::fromLatin1(url.toEncoded()));
            return true;
        });
    }
    window_ = std::make_unique<ControlWindow>(session);
    window_->setWindowTitle(origin_);
    window_->resize(kWindowSize);
    window_->installEventFilter(this);

    bridge_ = std::make_unique<PageBridge>(*ctrl_, [this] {
        window_->show();
        if (!context_.offscreen)
            window_->raise();
    });
    channel_ = std::make_unique<QWebChannel>();
    // Every change reaches the page at once (a negative interval sends without a timer),
    // before the reply or event that follows it, so a property read after a call sees the
    // value the call left.
    channel_->setPropertyUpdateInterval(-1);
    channel_->registerObject(QStringLiteral("ctrl"), ctrl_.get());
    channel_->registerObject(QStringLiteral("vantrel"), bridge_.get());
    transport_ =
        std::make_unique<SocketTransport>(*socket_, [this] { ctrl_->notifyDerivedProperties(); });
    channel_->connectTo(transport_.get());
}

bool PageConnection::askUser(const QString& question) {
    if (context_.answers)
        return context_.answers->confirm(QStringLiteral("path"), question);
    return QMessageBox::question(window_.get(), QStringLiteral("Vantrel"), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool PageConnection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.get() && event->type() == QEvent::Close && !ending_) {
        context_.log(QStringLiteral("closed %1 by the user").arg(origin_));
        socket_->close(QWebSocketProtocol::CloseCodeNormal, QStringLiteral("closed by the user"));
        end();
    }
    return QObject::eventFilter(watched, event);
}

// A page's call, a transfer window or a question may still be running in a nested event
// loop with the control on its stack; the control goes only once the main loop runs again.
void PageConnection::end() {
    if (ending_)
        return;
    ending_ = true;
    deleteOnceUnwound();
}

void PageConnection::deleteOnceUnwound() {
    if (QThread::currentThread()->loopLevel() <= 1)
        deleteLater();
    else
        QTimer::singleShot(kUnwindPollMs, this, &PageConnection::deleteOnceUnwound);
}
