#pragma once

#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "TestServer.h"
#include "settings/ControlSettings.h"
#include "transfer/FormPostEngine.h"
#include "transfer/FormPosting.h"

#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The page's fields and settings, and a loopback server the posts go to.
class FormPostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        ASSERT_TRUE(work_.isValid() && bodies_.isValid());
        settings_.Charset = "UTF-8";
    }

    QString logPath() const { return work_.filePath("requests.jsonl"); }

    // Starts the server serving the work folder, logging to logPath(), with `extra`; the
    // settings name it as the page's host and the default target.
    void startServer(const QStringList& extra = {}) {
        server_ = std::make_unique<TestServer>(
            QStringList{"--root", work_.path(), "--log", logPath()} + extra);
        ASSERT_TRUE(server_->isRunning());
        const QString port = QString::number(server_->port());
        settings_.HttpServerName = "127.0.0.1";
        settings_.HttpPORT = static_cast<quint16>(server_->port());
        settings_.hostBaseUrl = "http://127.0.0.1:" + port;
    }

    // The server keeps every body and head it receives in bodies_.
    void keepBodies(const QStringList& extra = {}) {
        startServer(QStringList{"--keep-body", bodies_.path()} + extra);
    }

    // A send as SendPOSTForm makes it, the post run here.
    qint16 sendForm(const QString& postUrl = "/form.php", const QString& server = {},
                    quint16 port = 0) {
        FormPostJob job;
        if (posting_.takeForm(job, settings_, {server, port, postUrl}) == FormPostCode::Ok)
            RunFormPost(job);
        return posting_.finish(job, settings_);
    }

    // A send as SendPOSTFormXmlFile makes it.
    qint16 sendXmlForm(const QString& xmlFileName = {}, const QString& postUrl = "/xml.php",
                       const QString& server = {}, quint16 port = 0) {
        FormPostJob job;
        if (posting_.takeXmlForm(job, settings_, {server, port, postUrl}, xmlFileName) ==
            FormPostCode::Ok)
            RunFormPost(job);
        return posting_.finish(job, settings_);
    }

    QByteArray kept(int number, const char* extension) const {
        return ReadAll(bodies_.filePath(QString("%1.%2").arg(number).arg(extension)));
    }

    // The headers of the kept request `number`, by name.
    QMap<QString, QString> keptHead(int number) const {
        QMap<QString, QString> headers;
        const QList<QByteArray> lines = kept(number, "head").split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon > 0)
                headers.insert(QString::fromUtf8(line.left(colon)),
                               QString::fromUtf8(line.mid(colon + 1).trimmed()));
        }
        return headers;
    }

    void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Runs a Python 3 script with `args` and reads its output as JSON; *skipped when there
    // is no python3.
    static QJsonDocument RunPython(const char* script, const QStringList& args, bool* skipped) {
        const QString python = QStandardPaths::findExecutable("python3");
        *skipped = python.isEmpty();
        if (*skipped)
            return {};
        QProcess process;
        process.start(python, QStringList{"-c", script} + args);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(process.readAllStandardOutput());
    }

    IsolatedHome home_;
    QTemporaryDir work_, bodies_;
    ControlSettings settings_;
    FormPosting posting_;
    std::unique_ptr<TestServer> server_;
};
