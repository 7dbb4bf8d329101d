#include "AgentServer.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>

namespace {
// A page's calls are small; a larger message is refused rather than buffered.
constexpr quint64 kMaxMessageBytes = 16 * 1024 * 1024;
} // namespace

AgentServer::AgentServer(AgentContext context, AgentConfig config, QStringList commandLineOrigins,
                         QObject* parent)
    : QObject(parent), context_(std::move(context)), config_(std::move(config)),
      commandLineOrigins_(std::move(commandLineOrigins)),
      webSockets_(QStringLiteral("vantrel-agent"), QWebSocketServer::NonSecureMode) {
    connect(&tcp_, &QTcpServer::newConnection, this, &AgentServer::acceptSockets);
    connect(&webSockets_, &QWebSocketServer::originAuthenticationRequired, this,
            &AgentServer::checkOrigin);
    connect(&webSockets_, &QWebSocketServer::newConnection, this, &AgentServer::acceptPages);
}

AgentServer::~AgentServer() {
    for (const QPointer<QMessageBox>& question : std::as_const(questions_))
        delete question.data();
}

bool AgentServer::listen(quint16 port, QString& error) {
    if (tcp_.listen(QHostAddress::LocalHost, port))
        return true;
    error = tcp_.errorString();
    return false;
}

OriginRules AgentServer::rules() const {
    OriginLists lists;
    if (!context_.offscreen)
        lists = config_.origins();
    lists.allowed += commandLineOrigins_;
    return OriginRules(lists, !context_.offscreen);
}

// Nagle's algorithm would hold an event sent right after a call's reply until the browser's
// delayed acknowledgement; small messages go out at once instead.
void AgentServer::acceptSockets() {
    while (QTcpSocket* socket = tcp_.nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        webSockets_.handleConnection(socket);
    }
}

void AgentServer::checkOrigin(QWebSocketCorsAuthenticator* authenticator) {
    const QString origin = authenticator->origin();
    if (rules().verdict(origin) != OriginVerdict::Refused)
        return;
    authenticator->setAllowed(false);
    context_.log(QStringLiteral("refused %1: %2")
                     .arg(origin.isEmpty() ? QStringLiteral("a client without Origin") : origin,
                          context_.offscreen ? QStringLiteral("the origin is not allowed")
                                             : QStringLiteral("the origin is refused")));
}

void AgentServer::acceptPages() {
    while (QWebSocket* socket = webSockets_.nextPendingConnection())
        acceptPage(socket);
}

void AgentServer::acceptPage(QWebSocket* socket) {
    const QString origin = NormalOrigin(socket->origin());
    const QByteArray host = socket->request().rawHeader("Host");
    if (!HostHeaderNamesAgent(host, port())) {
        context_.log(QStringLiteral("refused %1: the Host header \"%2\" does not name this agent")
                         .arg(origin, QString::fromLatin1(host)));
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated,
                      QStringLiteral("Host not allowed"));
        socket->deleteLater();
        return;
    }
    socket->setMaxAllowedIncomingMessageSize(kMaxMessageBytes);
    const OriginRules rules = this->rules();
    auto* connection = new PageConnection(socket, origin, rules.isTrusted(origin), context_, this);
    if (rules.verdict(origin) == OriginVerdict::Allowed)
        connection->approve();
    else
        askAbout(origin, connection);
}

void AgentServer::askAbout(const QString& origin, PageConnection* connection) {
    waiting_[origin].append(connection);
    if (questions_.value(origin))
        return;
    auto* question =
        new QMessageBox(QMessageBox::Question, QStringLiteral("Vantrel"),
                        QStringLiteral("Allow %1 to manage files with Vantrel?").arg(origin),
                        QMessageBox::NoButton);
    QPushButton* allow = question->addButton(QStringLiteral("Allow"), QMessageBox::AcceptRole);
    question->addButton(QStringLiteral("Deny"), QMessageBox::RejectRole);
    question->setAttribute(Qt::WA_DeleteOnClose);
    connect(question, &QMessageBox::finished, this, [this, origin, question, allow] {
        answer(origin, question->clickedButton() == allow);
    });
    questions_.insert(origin, question);
    question->open();
}

void AgentServer::answer(const QString& origin, bool allowed) {
    questions_.remove(origin);
    config_.remember(origin, allowed);
    for (const QPointer<PageConnection>& connection : waiting_.take(origin)) {
        if (!connection)
            continue;
        if (allowed)
            connection->approve();
        else
            connection->refuse(QStringLiteral("the user did not allow the origin"));
    }
}
