#pragma once

#include "../platform/HttpFixture.h"
#include "TestServer.h"
#include "common/Prompter.h"
#include "transfer/DownloadEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QQueue>
#include <QTimer>
#include <functional>
#include <thread>

// Answers the download questions from queues and counts them; runs on the UI thread.
class QueuedPrompter : public Prompter {
public:
    QQueue<OptionAnswer> options;
    QQueue<QString> savePaths;
    QString folder;
    // How long the folder question stays open, its event loop running as a real dialog's does.
    int folderAnswerMs = 0;
    int optionCalls = 0;
    int saveCalls = 0;
    QString lastValue;

    void message(const QString&, const QString&) override {}
    int ask(const QString&, const QString&, const QStringList&, int defaultButton) override {
        return defaultButton;
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override {
        if (folderAnswerMs > 0) {
            QEventLoop dialog;
            QTimer::singleShot(folderAnswerMs, &dialog, &QEventLoop::quit);
            dialog.exec();
        }
        return folder;
    }
    void showPage(const QString&, const QString&) override {}
    OptionAnswer chooseOption(const OptionQuestion& question) override {
        ++optionCalls;
        lastValue = question.value;
        return options.isEmpty() ? OptionAnswer{question.defaultOption, false} : options.dequeue();
    }
    QString saveFile(const QString&, const QString&, const QString&) override {
        ++saveCalls;
        return savePaths.isEmpty() ? QString() : savePaths.dequeue();
    }
};

// A served folder, a target folder and a job pointed at both.
class DownloadFixture : public HttpFixture {
protected:
    QString target() const { return m_target.path(); }
    QString targetFile(const QString& name) const { return m_target.path() + "/" + name; }

    void prepareJob(DownloadJob& job, const TestServer& server) const {
        job.settings.charset = "UTF-8";
        job.settings.hostBase = QString::fromLatin1(server.url({}));
        job.settings.downloadFolder = target();
        job.settings.isDownUrlEncode = 0;
        job.texts = DialogTextCopy({{"S_DownloadMsg", "downloading"}, {"W_CountTxt", "files"}});
        // The classic engine, where a cut fails its row; tests of automatic resume turn it on,
        // with pauses short enough for a test.
        job.settings.retryCount = 0;
        job.settings.retryPausesMs = {20, 40, 60};
    }

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void writeLocal(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Runs the worker on its own thread while this (UI) thread answers its questions.
    static qint16 runJob(DownloadJob& job, Prompter& prompter) {
        return runJobActingMidway(job, prompter, -1, [] {});
    }

    // The same, calling `midway` once, as soon as `bytes` have arrived (never when negative).
    static qint16 runJobActingMidway(DownloadJob& job, Prompter& prompter, qint64 bytes,
                                     const std::function<void()>& midway) {
        QObject receiver;
        PrompterQuestions questions(&receiver, prompter, job);
        std::thread worker([&] { RunDownload(job, questions); });
        while (bytes >= 0 && job.bytesDone < bytes && !job.finished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (bytes >= 0)
            midway();
        while (!job.finished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        worker.join();
        return job.resultCode();
    }

private:
    QTemporaryDir m_target;
};
