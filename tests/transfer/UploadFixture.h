#pragma once

#include "AnsweringPrompter.h"
#include "IsolatedHome.h"
#include "TestServer.h"
#include "platform/HttpClient.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadRows.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Local files queued in a catalogue, a journal, and a loopback server that stores uploads.
class UploadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        ASSERT_TRUE(local_.isValid() && uploads_.isValid() && work_.isValid());
        ASSERT_TRUE(journal_.Create(prompter_));
    }

    QString logPath() const { return work_.filePath("requests.jsonl"); }
    QString uploadsPath() const { return uploads_.path(); }

    // Starts the server with --upload-dir and --log plus `extra`.
    void startServer(const QStringList& extra = {}) {
        server_ = std::make_unique<TestServer>(QStringList{"--root", work_.path(), "--upload-dir",
                                                           uploads_.path(), "--log", logPath()} +
                                               extra);
        ASSERT_TRUE(server_->isRunning());
    }

    QString writeLocal(const QString& name, const QByteArray& bytes) {
        const QString path = local_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // A catalogue with the disk "disk", folder "docs" holding one server file and the local
    // files `paths`, queued under `names`.
    void queue(const QStringList& paths, const QStringList& names) {
        QString files;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            files += QString("<FILE path=\"%1\" name=\"%2\" transtype=\"local\" size=\"%3\" "
                             "type=\"Text\" modifydate=\"2020-01-0%4\"/>")
                         .arg(Attribute(paths[i]), Attribute(names[i]))
                         .arg(QFileInfo(paths[i]).size())
                         .arg(i + 1);
        }
        const QString xml = "<MORVEXXML><FOLDER type=\"disk\" name=\"disk\"><FOLDER name=\"docs\">"
                            "<FILE path=\"/docs/old.txt\" name=\"old.txt\" transtype=\"server\" "
                            "size=\"1\"/>" +
                            files + "</FOLDER></FOLDER></MORVEXXML>";
        const QString path = work_.filePath("catalogue.xml");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml.toUtf8());
        file.close();
        ASSERT_TRUE(catalogue_.LoadFile(path, prompter_));
    }

    // A job for the queued rows, aimed at the running server.
    void prepare(UploadJob& job, const QString& postPath = "/upload.php",
                 const QString& charset = "UTF-8") {
        job.charset = charset;
        job.server = "127.0.0.1";
        job.port = static_cast<quint16>(server_->port());
        job.postPath = postPath;
        job.pageHost = "127.0.0.1";
        job.cookie = "sid=42";
        job.dateFormat = "%Y-%m-%d";
        for (const UploadRow& row : CollectUploadRows(catalogue_))
            job.addRow(row);
    }

    // Runs the worker body here, then the UI-thread finish.
    void run(UploadJob& job) {
        RunUpload(job);
        EXPECT_TRUE(job.finished());
        FinishUpload(job, catalogue_, journal_, prompter_);
    }

    QStringList transtypes() const {
        QStringList types;
        for (const XmlNode& file : catalogue_.FindFolder("disk/docs").selectAll("FILE"))
            types.append(file.attribute("transtype"));
        return types;
    }

    // `text` as an XML attribute value that reads back unchanged, line ends included.
    static QString Attribute(const QString& text) {
        return text.toHtmlEscaped().replace('\r', "&#13;").replace('\n', "&#10;");
    }

    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    IsolatedHome home_;
    QTemporaryDir local_, uploads_, work_;
    AnsweringPrompter prompter_;
    ServerCatalogue catalogue_;
    ChangeJournal journal_;
    std::unique_ptr<TestServer> server_;
};
