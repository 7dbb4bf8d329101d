#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// Runs bin/vantrel-testserver on a free loopback port for the life of the object and stops it
// (SIGTERM, then SIGKILL) when destroyed.
class TestServer {
public:
    // `args` are the server's options, e.g. {"--root", dir, "--status", "500"}.
    explicit TestServer(const QStringList& args);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // False when the server did not start or print its port.
    bool isRunning() const { return m_port > 0; }
    int port() const { return m_port; }
    // "http://127.0.0.1:PORT" + `path` (which begins with "/").
    QByteArray url(const QByteArray& path) const;
    QString urlText(const QString& path) const;
    // Stops the server; true when it exited by itself within `waitMs`.
    bool stop(int waitMs = 3000);

private:
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
};

// The JSON lines of a --log file, in order.
QList<QJsonObject> ReadRequestLog(const QString& path);
