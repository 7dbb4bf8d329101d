// Download behaviour beyond the classic engine: automatic resume within a run, resume
// validated by If-Range, checksums, parallel rows and a throughput cap.
#include "DownloadFixture.h"
#include "transfer/DownloadQueue.h"
#include "transfer/PartialFile.h"
#include "xml/XmlDocument.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <thread>

namespace {

using namespace std::chrono_literals;

class DownloadResumeTest : public DownloadFixture {
protected:
    static QString header(const QJsonObject& entry, const char* name) {
        return entry["headers"].toObject()[name].toString();
    }
    static QString sha256(const QByteArray& bytes) {
        return QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
    bool markerExists(const QString& name) const {
        return QFileInfo::exists(PartialMarkerPath(targetFile(name)));
    }
    // One file row of `name` on `server`, resuming by itself `retries` times.
    void prepareRow(DownloadJob& job, const TestServer& server, const QString& name, qint64 size,
                    int retries) const {
        prepareJob(job, server);
        job.settings.retryCount = retries;
        job.addFileRow(name, "/" + name, size, {});
    }
};

TEST_F(DownloadResumeTest, ACutRowResumesWithinTheRunOnlyWhenRetriesAreAllowed) {
    const QByteArray source = writeFile("cut.bin", 100000);
    for (const int retries : {0, 2}) {
        QFile::remove(targetFile("cut.bin"));
        QFile::remove(logPath());
        TestServer server({"--root", root(), "--drop-after", "30000", "--log", logPath()});
        DownloadJob job;
        prepareRow(job, server, "cut.bin", source.size(), retries);
        QueuedPrompter prompter;
        const qint16 code = runJob(job, prompter);
        const auto log = ReadRequestLog(logPath());
        if (retries == 0) {
            // As the classic control: the row fails and keeps its part for the next run.
            EXPECT_EQ(code, kDownloadCutShort);
            EXPECT_EQ(readFile(targetFile("cut.bin")), source.left(30000));
            EXPECT_TRUE(markerExists("cut.bin"));
            EXPECT_EQ(log.size(), 1);
            continue;
        }
        EXPECT_EQ(code, 0) << job.resultMessage().toStdString();
        EXPECT_EQ(readFile(targetFile("cut.bin")), source);
        EXPECT_EQ(job.row(0).state, DownloadRow::Succeeded);
        EXPECT_EQ(job.bytesDone, source.size());
        EXPECT_FALSE(markerExists("cut.bin"));
        // Every try brought bytes, so the tries are not limited to the retry count.
        ASSERT_EQ(log.size(), 4);
        EXPECT_EQ(header(log[0], "Range"), "");
        for (int i = 1; i < 4; ++i) {
            EXPECT_EQ(header(log[i], "Range"), QString("bytes=%1-").arg(i * 30000));
            EXPECT_FALSE(header(log[i], "If-Range").isEmpty()) << i;
        }
    }
}

TEST_F(DownloadResumeTest, TriesWithoutNewBytesEndTheRowAfterTheRetryCount) {
    const QByteArray source = writeFile("f.bin", 60000);
    struct Case {
        QStringList options;
        int requests;
        qint16 code;
        QByteArray left;
    };
    const QList<Case> cases = {
        // No reply at all: a reset before the head.
        {{"--cut", "before-head"}, 3, kDownloadNoServer, {}},
        // A head and no body: tries that bring nothing.
        {{"--cut", "after-head"}, 3, kDownloadCutShort, {}},
        // A server that ignores ranges starts over every time and never gets further than the
        // first try did: only that try counts as progress.
        {{"--ignore-range", "--drop-after", "20000"}, 4, kDownloadCutShort, source.left(20000)},
        // A reply the server chose is never tried again.
        {{"--status", "503"}, 1, kDownloadBadReply, {}},
        {{"--status", "404"}, 1, kDownloadNotFound, {}},
    };
    for (const Case& c : cases) {
        const std::string label = c.options.join(' ').toStdString();
        QFile::remove(targetFile("f.bin"));
        QFile::remove(logPath());
        TestServer server(QStringList{"--root", root(), "--log", logPath()} + c.options);
        DownloadJob job;
        prepareRow(job, server, "f.bin", source.size(), 2);
        QueuedPrompter prompter;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(runJob(job, prompter), c.code) << label;
        EXPECT_EQ(ReadRequestLog(logPath()).size(), c.requests) << label;
        const QByteArray left =
            QFileInfo::exists(targetFile("f.bin")) ? readFile(targetFile("f.bin")) : QByteArray();
        EXPECT_EQ(left, c.left) << label;
        if (c.requests > 1) {
            EXPECT_GE(clock.elapsed(), 20 + 40) << label << ": the pauses were skipped";
        }
    }
}

TEST_F(DownloadResumeTest, APauseBetweenTriesEndsAtOnceOnEitherCancel) {
    writeFile("gone.bin", 5000);
    const QByteArray next = writeFile("next.bin", 5000);
    for (const bool all : {false, true}) {
        QFile::remove(targetFile("next.bin"));
        // Only the first file's requests break.
        TestServer server({"--root", root(), "--cut", "before-head", "--cut-path", "/gone.bin"});
        DownloadJob job;
        prepareJob(job, server);
        job.settings.retryCount = 2;
        job.settings.retryPausesMs = {60000};
        job.addFileRow("gone.bin", "/gone.bin", 5000, {});
        job.addFileRow("next.bin", "/next.bin", 5000, {});
        QueuedPrompter prompter;
        QObject receiver;
        PrompterQuestions questions(&receiver, prompter, job);
        std::thread worker([&] { RunDownload(job, questions); });
        while (job.row(0).state != DownloadRow::Retrying && !job.finished())
            std::this_thread::sleep_for(5ms);
        QElapsedTimer clock;
        clock.start();
        if (all)
            job.cancel();
        else
            job.cancelCurrentFile();
        worker.join();
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(job.row(0).state, DownloadRow::Cancelled);
        EXPECT_EQ(job.resultCode(), all ? kDownloadCancelled : 0);
        EXPECT_EQ(QFileInfo::exists(targetFile("next.bin")), !all);
        if (!all) {
            EXPECT_EQ(readFile(targetFile("next.bin")), next);
        }
    }
}

TEST_F(DownloadResumeTest, AFileChangedOnTheServerComesBackWholeAnUnchangedOneIsContinued) {
    const QByteArray first = writeFile("doc.bin", 80000);
    {
        TestServer cutting({"--root", root(), "--drop-after", "30000"});
        DownloadJob job;
        prepareRow(job, cutting, "doc.bin", first.size(), 0);
        QueuedPrompter prompter;
        ASSERT_EQ(runJob(job, prompter), kDownloadCutShort);
    }
    PartialValidators kept;
    ASSERT_TRUE(ReadPartialMarker(targetFile("doc.bin"), kept));
    EXPECT_FALSE(kept.entityTag.isEmpty());
    EXPECT_FALSE(kept.lastModified.isEmpty());

    // The same version: the part on disk is continued (a part that is not the file's start
    // shows that it was kept, not fetched again).
    writeLocal(targetFile("doc.bin"), QByteArray(30000, 'x'));
    {
        TestServer same({"--root", root(), "--log", logPath()});
        DownloadJob job;
        prepareRow(job, same, "doc.bin", first.size(), 0);
        QueuedPrompter prompter;
        prompter.options.enqueue({0, false}); // resume
        EXPECT_EQ(runJob(job, prompter), 0);
        EXPECT_EQ(readFile(targetFile("doc.bin")), QByteArray(30000, 'x') + first.mid(30000));
        const auto log = ReadRequestLog(logPath());
        ASSERT_EQ(log.size(), 1);
        EXPECT_EQ(header(log[0], "Range"), "bytes=30000-");
        EXPECT_EQ(header(log[0], "If-Range"), QString::fromLatin1(kept.entityTag));
        EXPECT_FALSE(markerExists("doc.bin"));
    }

    // A new version on the server: it comes back whole, from its first byte.
    writeLocal(targetFile("doc.bin"), first.left(30000));
    ASSERT_TRUE(WritePartialMarker(targetFile("doc.bin"), kept));
    const QByteArray second = writeFile("doc.bin", 90000);
    QFile::remove(logPath());
    TestServer changed({"--root", root(), "--log", logPath()});
    DownloadJob job;
    prepareRow(job, changed, "doc.bin", second.size(), 0);
    QueuedPrompter prompter;
    prompter.options.enqueue({0, false});
    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_EQ(readFile(targetFile("doc.bin")), second);
    EXPECT_EQ(job.bytesDone, second.size());
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(header(log[0], "If-Range"), QString::fromLatin1(kept.entityTag));
    EXPECT_FALSE(markerExists("doc.bin"));
}

TEST_F(DownloadResumeTest, APartWithoutMarkerResumesAsTheClassicControlDid) {
    const QByteArray source = writeFile("old.bin", 5000);
    writeLocal(targetFile("old.bin"), source.left(1000));
    TestServer server({"--root", root(), "--log", logPath()});
    DownloadJob job;
    prepareRow(job, server, "old.bin", source.size(), 0);
    QueuedPrompter prompter;
    prompter.options.enqueue({0, false});
    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_EQ(readFile(targetFile("old.bin")), source);
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(header(log[0], "Range"), "bytes=1000-");
    EXPECT_FALSE(log[0]["headers"].toObject().contains("If-Range"));
}

TEST(PartialMarker, KeepsSoundValidatorsAndNamesTheVersionForIfRange) {
    EXPECT_EQ((PartialValidators{"\"abc\"", "Tue, 01 Jul 2025 10:00:00 GMT"}.ifRange()), "\"abc\"");
    EXPECT_EQ((PartialValidators{"W/\"abc\"", "Tue, 01 Jul 2025 10:00:00 GMT"}.ifRange()),
              "Tue, 01 Jul 2025 10:00:00 GMT");
    EXPECT_EQ((PartialValidators{"", ""}.ifRange()), "");
    EXPECT_EQ(PartialMarkerPath("/a/b/file.bin"), "/a/b/.file.bin.vantrel-partial");

    QTemporaryDir folder;
    const QString target = folder.filePath("f.bin");
    ASSERT_TRUE(WritePartialMarker(target, {"\"t\"\r\nEvil: 1", "Mon, 02 Jun 2025 00:00:00 GMT"}));
    PartialValidators read;
    ASSERT_TRUE(ReadPartialMarker(target, read));
    EXPECT_EQ(read.entityTag, ""); // a control character would break the request head
    EXPECT_EQ(read.lastModified, "Mon, 02 Jun 2025 00:00:00 GMT");
    RemovePartialMarker(target);
    EXPECT_FALSE(ReadPartialMarker(target, read));

    // A marker planted as a link is neither read nor written through.
    QFile victim(folder.filePath("victim"));
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.write("ETag: \"planted\"\n");
    victim.close();
    ASSERT_TRUE(QFile::link(victim.fileName(), PartialMarkerPath(target)));
    EXPECT_FALSE(ReadPartialMarker(target, read));
    ASSERT_TRUE(WritePartialMarker(target, {"\"own\"", ""}));
    EXPECT_FALSE(QFileInfo(PartialMarkerPath(target)).isSymLink());
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), "ETag: \"planted\"\n");
}

TEST_F(DownloadResumeTest, ChecksumsFromTheCatalogueAreVerifiedAndAMismatchFailsWith314) {
    const QByteArray good = writeFile("good.bin", 70000);
    const QByteArray bad = writeFile("bad.bin", 70000);
    TestServer server({"--root", root(), "--drop-after", "25000"});
    XmlDocument catalogue;
    ASSERT_EQ(catalogue.parseText(QString(R"(<R>
        <FILE name="good.bin" path="/good.bin" size="70000" transtype="server" sha256="%1"/>
        <FILE name="bad.bin" path="/bad.bin" size="70000" transtype="server" sha256="%2"/>
        <FILE name="plain.bin" path="/good.bin" size="70000" transtype="server"/></R>)")
                                      .arg(sha256(good).toUpper(), sha256("something else"))),
              XmlDocument::ParseStatus::Parsed);
    DownloadJob job;
    prepareJob(job, server);
    job.settings.retryCount = 2; // the hash goes on across the resumed tries
    QueueDownloadElements(
        job, {catalogue.root().child(0), catalogue.root().child(1), catalogue.root().child(2)}, {});
    QueuedPrompter prompter;

    EXPECT_EQ(runJob(job, prompter), kDownloadChecksumMismatch);
    EXPECT_EQ(job.resultMessage(),
              "\"bad.bin\" 파일의 내용이 서버에서 알려준 체크섬(SHA-256)과 다릅니다.");
    EXPECT_EQ(job.row(0).state, DownloadRow::Succeeded);
    EXPECT_EQ(job.row(1).state, DownloadRow::Failed);
    EXPECT_EQ(job.row(2).state, DownloadRow::Succeeded);
    // The file stays, whole, and nothing calls it partial.
    EXPECT_EQ(readFile(targetFile("bad.bin")), bad);
    EXPECT_FALSE(markerExists("bad.bin"));
    EXPECT_EQ(readFile(targetFile("good.bin")), good);
}

TEST_F(DownloadResumeTest, AResumedFileIsVerifiedWithThePartOnDisk) {
    const QByteArray source = writeFile("r.bin", 40000);
    struct Case {
        QByteArray part;
        QStringList options;
        qint16 code;
    };
    const QList<Case> cases = {
        {source.left(10000), {}, 0},
        // A part that is not the file's start is spliced by the server's 206; the checksum
        // tells.
        {QByteArray(10000, 'x'), {}, kDownloadChecksumMismatch},
        // A part that is the whole file: the server answers 416 and the file is read once.
        {source, {"--quirk", "range-416"}, 0},
        {QByteArray(40000, 'x'), {"--quirk", "range-416"}, kDownloadChecksumMismatch},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.part.size()) + (c.code ? " wrong" : " right");
        writeLocal(targetFile("r.bin"), c.part);
        TestServer server(QStringList{"--root", root()} + c.options);
        DownloadJob job;
        prepareRow(job, server, "r.bin", source.size(), 0);
        job.row(0).sha256 = sha256(source);
        QueuedPrompter prompter;
        prompter.options.enqueue({0, false});
        EXPECT_EQ(runJob(job, prompter), c.code) << label;
        EXPECT_FALSE(markerExists("r.bin")) << label;
    }
}

TEST_F(DownloadResumeTest, ParallelRowsRunAtOnceEachOnItsOwnConnection) {
    QList<QByteArray> sources;
    for (int i = 0; i < 4; ++i)
        sources.append(writeFile(QString("p%1.bin").arg(i), 51200));
    // A second per file: requests less than that apart were served at the same time.
    for (const int parallel : {4, 1}) {
        const int rows = parallel == 4 ? 4 : 2;
        QFile::remove(logPath());
        TestServer server({"--root", root(), "--rate", "50", "--log", logPath()});
        DownloadJob job;
        prepareJob(job, server);
        job.settings.parallel = parallel;
        for (int i = 0; i < rows; ++i) {
            QFile::remove(targetFile(QString("p%1.bin").arg(i)));
            job.addFileRow(QString("p%1.bin").arg(i), QString("/p%1.bin").arg(i), 51200, {});
        }
        QueuedPrompter prompter;
        EXPECT_EQ(runJob(job, prompter), 0);
        EXPECT_EQ(job.bytesDone, rows * 51200);
        for (int i = 0; i < rows; ++i) {
            EXPECT_EQ(readFile(targetFile(QString("p%1.bin").arg(i))), sources[i]) << i;
            EXPECT_EQ(job.row(i).state, DownloadRow::Succeeded) << i;
            EXPECT_EQ(job.row(i).bytesOnDisk, 51200) << i;
        }
        EXPECT_EQ(job.countLine(), QString("0 files (%1 / %1)").arg(rows));
        const auto log = ReadRequestLog(logPath());
        ASSERT_EQ(log.size(), rows);
        QSet<int> connections;
        qint64 first = log[0]["at_ms"].toInteger(), last = first;
        for (const QJsonObject& entry : log) {
            connections.insert(entry["remote_port"].toInt());
            first = std::min(first, entry["at_ms"].toInteger());
            last = std::max(last, entry["at_ms"].toInteger());
        }
        if (parallel == 4) {
            EXPECT_EQ(connections.size(), 4);
            EXPECT_LT(last - first, 900) << "the four requests did not overlap";
        } else {
            EXPECT_EQ(connections.size(), 1);
            EXPECT_GE(last - first, 900) << "one row began before the other had ended";
        }
    }
}

TEST_F(DownloadResumeTest, ParallelRowsKeepFolderOrderAndNeverShareATargetFile) {
    QDir(root()).mkpath("docs/deep");
    const QByteArray deep = writeFile("docs/deep/d.bin", 30000);
    const QByteArray a = writeFile("a.bin", 200000);
    const QByteArray b = writeFile("b.bin", 30000);
    TestServer server({"--root", root(), "--rate", "800"});
    XmlDocument catalogue;
    ASSERT_EQ(catalogue.parseText(R"(<R><FOLDER name="docs"><FOLDER name="deep">
        <FILE name="d.bin" path="/docs/deep/d.bin" size="30000" transtype="server"/>
        </FOLDER></FOLDER></R>)"),
              XmlDocument::ParseStatus::Parsed);
    DownloadJob job;
    prepareJob(job, server);
    job.settings.parallel = 4;
    // Two rows name one local file: the second waits for the first, finds the file there and
    // is asked about it, so the file is one whole download, never a mix of two.
    job.addFileRow("same.bin", "/a.bin", a.size(), {});
    job.addFileRow("same.bin", "/b.bin", b.size(), {});
    QueueDownloadElements(job, {catalogue.root().child(0)}, {});
    QueuedPrompter prompter; // overwrite
    EXPECT_EQ(runJob(job, prompter), 0) << job.resultMessage().toStdString();
    EXPECT_EQ(prompter.optionCalls, 1);
    EXPECT_EQ(readFile(targetFile("same.bin")), b);
    EXPECT_EQ(readFile(targetFile("docs/deep/d.bin")), deep);
}

TEST_F(DownloadResumeTest, ALimitHoldsTheWholeRunNearItsRate) {
    const QByteArray one = writeFile("one.bin", 192 * 1024);
    const QByteArray two = writeFile("two.bin", 192 * 1024);
    TestServer server({"--root", root()});
    DownloadJob job;
    prepareJob(job, server);
    job.settings.parallel = 2;
    job.settings.rateLimit = 256 * 1024; // both rows together: 1.5 s
    job.addFileRow("one.bin", "/one.bin", one.size(), {});
    job.addFileRow("two.bin", "/two.bin", two.size(), {});
    QueuedPrompter prompter;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_GE(clock.elapsed(), 1300);
    EXPECT_LT(clock.elapsed(), 3500);
    EXPECT_EQ(readFile(targetFile("one.bin")), one);
    EXPECT_EQ(readFile(targetFile("two.bin")), two);
}

TEST_F(DownloadResumeTest, CancelThisFileStopsOnlyTheRowBegunLast) {
    QList<QByteArray> sources;
    for (int i = 0; i < 3; ++i)
        sources.append(writeFile(QString("s%1.bin").arg(i), 200000));
    TestServer server({"--root", root(), "--rate", "100"});
    DownloadJob job;
    prepareJob(job, server);
    job.settings.parallel = 3;
    for (int i = 0; i < 3; ++i)
        job.addFileRow(QString("s%1.bin").arg(i), QString("/s%1.bin").arg(i), 200000, {});
    QueuedPrompter prompter;
    int cancelled = -1;
    EXPECT_EQ(runJobActingMidway(job, prompter, 60000,
                                 [&] {
                                     cancelled = job.newestRowUnderWay();
                                     job.cancelCurrentFile();
                                 }),
              0);
    ASSERT_GE(cancelled, 0);
    for (int i = 0; i < 3; ++i) {
        if (i == cancelled) {
            EXPECT_EQ(job.row(i).state, DownloadRow::Cancelled);
            continue;
        }
        EXPECT_EQ(job.row(i).state, DownloadRow::Succeeded) << i;
        EXPECT_EQ(readFile(targetFile(QString("s%1.bin").arg(i))), sources[i]) << i;
    }
    EXPECT_EQ(job.newestRowUnderWay(), -1);
}

TEST_F(DownloadResumeTest, CancelAllStopsEveryLane) {
    for (int i = 0; i < 3; ++i)
        writeFile(QString("s%1.bin").arg(i), 400000);
    TestServer server({"--root", root(), "--rate", "50"});
    DownloadJob job;
    prepareJob(job, server);
    job.settings.parallel = 3;
    for (int i = 0; i < 3; ++i)
        job.addFileRow(QString("s%1.bin").arg(i), QString("/s%1.bin").arg(i), 400000, {});
    QueuedPrompter prompter;
    QElapsedTimer clock;
    EXPECT_EQ(runJobActingMidway(job, prompter, 60000,
                                 [&] {
                                     clock.start();
                                     job.cancel();
                                 }),
              kDownloadCancelled);
    EXPECT_LT(clock.elapsed(), 1500);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(job.row(i).state, DownloadRow::Cancelled) << i;
}

} // namespace
