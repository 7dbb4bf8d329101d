#include "platform/FetchToFile.h"

#include "HttpFixture.h"
#include "TestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <atomic>
#include <thread>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class FetchToFileTest : public HttpFixture {
protected:
    // Files in the work folder besides the log.
    QStringList leftovers() const {
        QStringList names = QDir(workPath({})).entryList(QDir::Files);
        names.removeAll("requests.jsonl");
        return names;
    }
};

TEST_F(FetchToFileTest, WholeBodyReplacesTheFile) {
    const QByteArray doc = writeFile("ui.xml", 70000);
    writeFile("empty.xml", QByteArray());
    TestServer server({"--root", root(), "--log", logPath()});
    const QString target = workPath("doc.xml");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older and longer text that must not survive in any part");
    old.close();
    FetchOptions options;
    options.pageHost = "127.0.0.1";
    options.pageCookie = "sid=9";
    EXPECT_EQ(FetchToFile(server.urlText("/ui.xml"), target, options), kFetchOk);
    EXPECT_EQ(ReadAll(target), doc);
    EXPECT_EQ(FetchToFile(server.urlText("/empty.xml"), workPath("empty.xml")), kFetchOk);
    EXPECT_TRUE(QFileInfo::exists(workPath("empty.xml")));
    EXPECT_EQ(ReadAll(workPath("empty.xml")), QByteArray());
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0]["headers"]["User-Agent"].toString(), "MxVantrel2");
    EXPECT_EQ(log[0]["headers"]["Cookie"].toString(), "sid=9");
}

TEST_F(FetchToFileTest, EveryNonOkStatusGivesMinus404WithoutTouchingTheFile) {
    writeFile("ui.xml", QByteArray("<UI/>"));
    for (const char* status : {"302", "500", "403"}) {
        TestServer server({"--root", root(), "--status", status});
        EXPECT_EQ(FetchToFile(server.urlText("/ui.xml"), workPath("new.xml")), kFetchBadStatus)
            << status;
    }
    TestServer server({"--root", root()});
    EXPECT_EQ(FetchToFile(server.urlText("/missing.xml"), workPath("new.xml")), kFetchBadStatus);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(",").toStdString();

    const QString kept = workPath("kept.xml");
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("previous");
    file.close();
    EXPECT_EQ(FetchToFile(server.urlText("/missing.xml"), kept), kFetchBadStatus);
    EXPECT_EQ(ReadAll(kept), "previous");
}

TEST_F(FetchToFileTest, AddressFailuresGiveMinus2) {
    writeFile("ui.xml", QByteArray("<UI/>"));
    QString refused;
    {
        TestServer gone({"--root", root()});
        refused = gone.urlText("/ui.xml");
    }
    EXPECT_EQ(FetchToFile(refused, workPath("a.xml")), kFetchNoAddress);
    EXPECT_EQ(FetchToFile("file://" + root() + "/ui.xml", workPath("b.xml")), kFetchNoAddress);
    TestServer server({"--root", root()});
    EXPECT_EQ(FetchToFile(server.urlText("/ui.xml\r\nX-Evil: 1"), workPath("c.xml")),
              kFetchNoAddress);
    EXPECT_EQ(FetchToFile(QString(), workPath("d.xml")), kFetchNoAddress);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(",").toStdString();
}

TEST_F(FetchToFileTest, CutBodyOrCancelLeavesNoPartialFile) {
    writeFile("big.xml", 300000);
    TestServer cutting({"--root", root(), "--drop-after", "5000"});
    const QString target = workPath("doc.xml");
    EXPECT_EQ(FetchToFile(cutting.urlText("/big.xml"), target), kFetchOtherFailure);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(",").toStdString();
    for (const char* where : {"in-head", "after-head"}) {
        TestServer broken({"--root", root(), "--cut", where});
        EXPECT_EQ(FetchToFile(broken.urlText("/big.xml"), target), kFetchOtherFailure) << where;
        EXPECT_TRUE(leftovers().isEmpty()) << where;
    }

    TestServer slow({"--root", root(), "--rate", "16"});
    std::atomic<bool> cancel{false};
    FetchOptions options;
    options.cancel = &cancel;
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel = true;
    });
    EXPECT_EQ(FetchToFile(slow.urlText("/big.xml"), target, options), kFetchOtherFailure);
    canceller.join();
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(",").toStdString();
}

TEST_F(FetchToFileTest, UncreatableFileGivesMinus3) {
    writeFile("ui.xml", QByteArray("<UI/>"));
    TestServer server({"--root", root()});
    EXPECT_EQ(FetchToFile(server.urlText("/ui.xml"), workPath("no/such/folder/x.xml")),
              kFetchCannotCreate);
}

TEST_F(FetchToFileTest, SizeCapAndDeadlineEndTheFetchWhileItRuns) {
    writeFile("slow.xml", QByteArray(40, 'x'));
    writeFile("small.xml", QByteArray(1000, 's'));
    const QString target = workPath("doc.xml");
    // Ends a fetch that a missing limit would let run forever.
    std::atomic<bool> cancel{false};
    std::thread guard([&cancel] {
        for (int i = 0; i < 100 && !cancel; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = true;
    });
    FetchOptions capped;
    capped.cancel = &cancel;
    capped.maxBytes = 64 * 1024;
    {
        TestServer endless({"--root", root(), "--quirk", "endless"});
        EXPECT_EQ(FetchToFile(endless.urlText("/any.xml"), target, capped), kFetchTooLarge);
    }
    {
        TestServer plain({"--root", root()});
        capped.maxBytes = 999;
        EXPECT_EQ(FetchToFile(plain.urlText("/small.xml"), target, capped), kFetchTooLarge);
        capped.maxBytes = 1000;
        EXPECT_EQ(FetchToFile(plain.urlText("/small.xml"), target, capped), kFetchOk);
        EXPECT_EQ(ReadAll(target).size(), 1000);
    }
    {
        // Over a second a byte: the stall limit alone would let it through in the end.
        TestServer trickle({"--root", root(), "--trickle-ms", "100"});
        FetchOptions timed;
        timed.cancel = &cancel;
        timed.timeouts.totalMilliseconds = 1000;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(FetchToFile(trickle.urlText("/slow.xml"), target, timed), kFetchTimedOut);
        EXPECT_LT(clock.elapsed(), 2500);
    }
    cancel = true;
    guard.join();
    EXPECT_EQ(ReadAll(target).size(), 1000); // the earlier whole fetch, untouched
    EXPECT_TRUE(leftovers() == QStringList{"doc.xml"}) << leftovers().join(',').toStdString();
}

} // namespace
