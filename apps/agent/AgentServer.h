#pragma once

#include "AgentConfig.h"
#include "PageConnection.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QWebSocketServer>

class QMessageBox;
class QWebSocketCorsAuthenticator;

// Listens on 127.0.0.1 for pages and decides who may connect. A handshake whose Origin is
// refused (or, offscreen, not allowed on the command line) gets 403; an accepted socket
// whose Host header does not name the agent is closed before it reaches a channel; a page
// from an origin on no list waits while the user is asked once ("Allow ORIGIN to manage files
// with Vantrel?"), and the answer is kept in the settings file. Every refusal is logged with
// its reason. Each accepted page gets its own PageConnection.
class AgentServer : public QObject {
    Q_OBJECT
public:
    // `commandLineOrigins` are allowed besides the settings file's lists; offscreen
    // (`context.offscreen`) they are the only ones, and nobody is asked.
    AgentServer(AgentContext context, AgentConfig config, QStringList commandLineOrigins,
                QObject* parent = nullptr);
    ~AgentServer() override;

    // Listens on 127.0.0.1:`port` (0: any free port); false with `error` set when it cannot.
    bool listen(quint16 port, QString& error);
    quint16 port() const { return tcp_.serverPort(); }

private:
    OriginRules rules() const;
    void acceptSockets();
    void checkOrigin(QWebSocketCorsAuthenticator* authenticator);
    void acceptPages();
    void acceptPage(QWebSocket* socket);
    void askAbout(const QString& origin, PageConnection* connection);
    void answer(const QString& origin, bool allowed);

    AgentContext context_;
    AgentConfig config_;
    QStringList commandLineOrigins_;
    QTcpServer tcp_;
    QWebSocketServer webSockets_;
    // Pages waiting for the user's word on their origin, by origin, and the open question.
    QHash<QString, QList<QPointer<PageConnection>>> waiting_;
    QHash<QString, QPointer<QMessageBox>> questions_;
};
