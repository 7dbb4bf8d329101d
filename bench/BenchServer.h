#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace bench {

// vantrel-testserver next to the bench binary, for the life of the object. It prints
// "listening on PORT" first.
class BenchServer {
public:
    explicit BenchServer(const QStringList& args) {
        const QString binary = QCoreApplication::applicationDirPath() + "/vantrel-testserver";
        process_.start(binary, args);
        if (process_.waitForStarted() && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().mid(13).toInt();
    }
    ~BenchServer() {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    BenchServer(const BenchServer&) = delete;
    BenchServer& operator=(const BenchServer&) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

private:
    QProcess process_;
    int port_ = 0;
};

} // namespace bench
