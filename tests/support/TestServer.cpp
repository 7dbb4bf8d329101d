#include "TestServer.h"

#include <QFile>
#include <QJsonDocument>

namespace {
constexpr int kStartTimeoutMs = 10000;
}

TestServer::TestServer(const QStringList& args) : m_process(std::make_unique<QProcess>()) {
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStringLiteral(VANTREL_TESTSERVER_PATH), args);
    if (!m_process->waitForStarted(kStartTimeoutMs))
        return;
    while (!m_process->canReadLine() && m_process->waitForReadyRead(kStartTimeoutMs)) {
    }
    const QByteArray line = m_process->readLine().trimmed();
    if (line.startsWith("listening on "))
        m_port = line.mid(13).toInt();
}

TestServer::~TestServer() {
    stop();
}

QByteArray TestServer::url(const QByteArray& path) const {
    return "http://127.0.0.1:" + QByteArray::number(m_port) + path;
}

QString TestServer::urlText(const QString& path) const {
    return QString::fromLatin1(url({})) + path;
}

bool TestServer::stop(int waitMs) {
    if (m_process->state() == QProcess::NotRunning)
        return true;
    m_process->terminate();
    if (m_process->waitForFinished(waitMs))
        return true;
    m_process->kill();
    m_process->waitForFinished(waitMs);
    return false;
}

QList<QJsonObject> ReadRequestLog(const QString& path) {
    QList<QJsonObject> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.isEmpty())
            lines += QJsonDocument::fromJson(line).object();
    }
    return lines;
}
