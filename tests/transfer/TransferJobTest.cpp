#include "DownloadFixture.h"
#include "platform/FetchToFile.h"
#include "platform/HttpFault.h"
#include "transfer/DownloadRules.h"
#include "transfer/OpenDownload.h"
#include "transfer/TransferWorker.h"
#include "transfer/UploadEngine.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(TransferJobTest, ResultSetTwiceKeepsTheFirst) {
    TransferJob job;
    EXPECT_FALSE(job.hasResult());
    EXPECT_EQ(job.resultCode(), 0);
    EXPECT_TRUE(job.setResult(-107, "first", 500));
    EXPECT_FALSE(job.setResult(0, "second", 0));
    EXPECT_FALSE(job.setResult(-99, "third", 42));
    EXPECT_EQ(job.resultCode(), -107);
    EXPECT_EQ(job.resultMessage(), "first");
    EXPECT_EQ(job.systemError(), 500);

    // Racing workers: exactly one wins, and the record is wholly the winner's.
    TransferJob raced;
    std::atomic<int> wins{0};
    std::vector<std::thread> setters;
    for (int i = 1; i <= 8; ++i) {
        setters.emplace_back([&raced, &wins, i] {
            if (raced.setResult(static_cast<qint16>(-i), QString::number(i), i))
                ++wins;
        });
    }
    for (std::thread& setter : setters)
        setter.join();
    EXPECT_EQ(wins, 1);
    EXPECT_EQ(raced.resultMessage(), QString::number(-raced.resultCode()));
    EXPECT_EQ(raced.systemError(), -raced.resultCode());
}

// The three jobs against a real loopback server, with the same faults for each.
class TransferJobsTest : public DownloadFixture {
protected:
    void prepareOpen(OpenDownloadJob& job, const TestServer& server, const QString& name) {
        job.charset = "UTF-8";
        job.requestUrl = server.urlText("/" + name);
        job.tempFolder = target();
        job.fileName = name;
    }

    void prepareUpload(UploadJob& job, int port, const QByteArray& content) {
        const QString path = m_local.filePath("up.bin");
        writeLocal(path, content);
        job.charset = "UTF-8";
        job.server = "127.0.0.1";
        job.port = static_cast<quint16>(port);
        job.postPath = "/upload.php";
        job.dateFormat = "%Y-%m-%d";
        job.addRow({"up.bin", path, static_cast<double>(content.size()), {}, "disk/", {}, {}});
    }

    // The download of `name` alone, run to its end.
    qint16 download(const TestServer& server, const QString& name, QString* message = nullptr) {
        DownloadJob job;
        prepareJob(job, server);
        job.addFileRow(name, "/" + name, 1000, {});
        QueuedPrompter prompter;
        const qint16 code = runJob(job, prompter);
        if (message)
            *message = job.resultMessage();
        return code;
    }

    qint16 open(const TestServer& server, const QString& name) {
        OpenDownloadJob job;
        prepareOpen(job, server, name);
        RunOpenDownload(job);
        EXPECT_TRUE(job.finished());
        return job.resultCode();
    }

    UploadJob* upload(int port) {
        uploads_.push_back(std::make_unique<UploadJob>());
        prepareUpload(*uploads_.back(), port, "content");
        RunUpload(*uploads_.back());
        return uploads_.back().get();
    }

    // Cancels `job` from a thread of its own once `started` holds, while `worker` runs it;
    // returns how long the run went on after the cancel.
    static std::chrono::milliseconds cancelMidway(TransferJob& job, TransferWorker& worker,
                                                  const std::function<bool()>& started) {
        std::atomic<std::chrono::steady_clock::time_point::rep> cancelledAt{0};
        std::thread canceller([&] {
            while (!started() && !job.finished())
                std::this_thread::sleep_for(5ms);
            cancelledAt = std::chrono::steady_clock::now().time_since_epoch().count();
            job.cancel();
        });
        canceller.join();
        worker.wait();
        const auto at = std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(cancelledAt.load()));
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - at);
    }

    QTemporaryDir m_local;
    std::vector<std::unique_ptr<UploadJob>> uploads_;
};

TEST_F(TransferJobsTest, CancelFromAnotherThreadEndsEveryRunAsCancelled) {
    writeFile("slow.bin", 400000);
    TestServer slow({"--root", root(), "--rate", "50"});
    QueuedPrompter prompter;
    QObject receiver;

    DownloadJob download;
    prepareJob(download, slow);
    download.addFileRow("slow.bin", "/slow.bin", 400000, {});
    PrompterQuestions questions(&receiver, prompter, download);
    {
        TransferWorker worker(download);
        worker.start([&] { RunDownload(download, questions); });
        EXPECT_LT(cancelMidway(download, worker, [&] { return download.bytesDone > 0; }), 2s);
    }
    EXPECT_TRUE(download.finished());
    EXPECT_EQ(download.resultCode(), kDownloadCancelled);
    EXPECT_EQ(download.resultMessage(), "사용자가 취소 하였습니다.");

    OpenDownloadJob open;
    prepareOpen(open, slow, "slow.bin");
    {
        TransferWorker worker(open);
        worker.start([&] { RunOpenDownload(open); });
        EXPECT_LT(cancelMidway(open, worker, [&] { return open.bytesDone > 0; }), 2s);
    }
    EXPECT_EQ(open.resultCode(), kDownloadCancelled);
    EXPECT_TRUE(open.savedPath.isEmpty());
    EXPECT_FALSE(QFile::exists(targetFile("slow.bin"))) << "the partial file was left";

    QTemporaryDir stored;
    TestServer waiting({"--root", root(), "--upload-dir", stored.path(), "--delay-ms", "5000"});
    UploadJob upload;
    prepareUpload(upload, waiting.port(), QByteArray(200000, 'u'));
    {
        TransferWorker worker(upload);
        worker.start([&] { RunUpload(upload); });
        EXPECT_LT(cancelMidway(upload, worker, [&] { return upload.bytesDone > 0; }), 2s);
    }
    EXPECT_EQ(upload.resultCode(), UploadCode::Cancelled);
    EXPECT_EQ(upload.resultMessage(), "사용자가 전송을 취소 하였습니다.");
}

TEST_F(TransferJobsTest, TheWorkerGoingAwayCancelsTheRunAndWaitsForIt) {
    writeFile("slow.bin", 400000);
    TestServer slow({"--root", root(), "--rate", "50"});
    OpenDownloadJob open;
    prepareOpen(open, slow, "slow.bin");
    QElapsedTimer clock;
    {
        TransferWorker worker(open);
        worker.start([&] { RunOpenDownload(open); });
        while (open.bytesDone == 0 && !open.finished())
            std::this_thread::sleep_for(5ms);
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(open.finished()) << "the worker outlived its owner";
    EXPECT_EQ(open.resultCode(), kDownloadCancelled);
}

TEST_F(TransferJobsTest, OneReadingOfFailuresForDownloadOpenAndUpload) {
    writeFile("file.bin", 1000);
    QTemporaryDir stored;

    {
        SCOPED_TRACE("connect failure");
        TestServer gone({"--root", root()});
        gone.stop();
        QString message;
        EXPECT_EQ(download(gone, "file.bin", &message), kDownloadNoServer);
        EXPECT_EQ(message, " 서버에 접속 되지 않습니다.");
        EXPECT_EQ(open(gone, "file.bin"), kDownloadNoServer);
        EXPECT_EQ(upload(gone.port())->resultCode(), UploadCode::SendFailed);
    }

    for (const char* status : {"404", "500"}) {
        SCOPED_TRACE(status);
        TestServer refusing({"--root", root(), "--upload-dir", stored.path(), "--status", status});
        QString message;
        const bool notFound = QByteArray(status) == "404";
        EXPECT_EQ(download(refusing, "file.bin", &message),
                  notFound ? kDownloadNotFound : kDownloadBadReply);
        EXPECT_EQ(message, notFound ? "\"file.bin\" 파일을 서버에서 찾을 수 없습니다."
                                    : "\"file.bin\" 파일을 서버에서 받을 수 없습니다. (HTTP 500)");
        EXPECT_EQ(open(refusing, "file.bin"), notFound ? kDownloadNotFound : kDownloadBadReply);
        const UploadJob* sent = upload(refusing.port());
        EXPECT_EQ(sent->resultCode(), UploadCode::ServerPageFailed);
        EXPECT_EQ(sent->systemError(), QByteArray(status).toInt());
    }

    {
        SCOPED_TRACE("cut body");
        TestServer cutting({"--root", root(), "--drop-after", "100"});
        QString message;
        EXPECT_EQ(download(cutting, "file.bin", &message), kDownloadCutShort);
        EXPECT_EQ(message, "\"file.bin\" 파일을 받는 중 연결이 끊어졌습니다.");
        EXPECT_EQ(open(cutting, "file.bin"), kDownloadCutShort);
    }

    {
        SCOPED_TRACE("timeout");
        TestServer late({"--root", root(), "--delay-ms", "3000"});
        HttpSession session("MxVantrel2");
        session.setTimeouts({15, 60, 300});
        QByteArray body;
        const HttpResult result = session.get(late.url("/file.bin"), {}, CollectReply(&body, 10));
        EXPECT_EQ(ClassifyHttp(result, true), HttpFault::TimedOut);
        EXPECT_EQ(DownloadFailureFor(HttpFault::TimedOut, 0, "file.bin").code, kDownloadCutShort);
        FetchOptions options;
        options.timeouts.totalMilliseconds = 300;
        EXPECT_EQ(FetchToFile(late.urlText("/file.bin"), targetFile("fetched.bin"), options),
                  kFetchTimedOut);
    }
}

} // namespace
