#include "DownloadFixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

using DownloadEngineTest = DownloadFixture;

QString RangeOf(const QJsonObject& entry) {
    return entry["headers"].toObject()["Range"].toString();
}

TEST_F(DownloadEngineTest, ResumesPartialFileWithRangeAndAppends) {
    const QByteArray source = writeFile("big.bin", 200000);
    writeLocal(targetFile("big.bin"), source.left(1000));
    TestServer server({"--root", root(), "--log", logPath()});
    ASSERT_TRUE(server.isRunning());
    DownloadJob job;
    prepareJob(job, server);
    job.addFileRow("big.bin", "/big.bin", source.size(), {});
    QueuedPrompter prompter;
    prompter.options.enqueue({0, false});

    EXPECT_EQ(runJob(job, prompter), 0) << job.resultMessage().toStdString();
    EXPECT_EQ(readFile(targetFile("big.bin")), source);
    EXPECT_EQ(prompter.optionCalls, 1);
    EXPECT_EQ(prompter.lastValue, "big.bin");
    EXPECT_EQ(job.bytesDone, source.size());
    EXPECT_EQ(job.row(0).state, DownloadRow::Succeeded);
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(RangeOf(log[0]), "bytes=1000-");
    EXPECT_EQ(log[0]["headers"].toObject()["User-Agent"].toString(), "MxHttpDown2");
}

TEST_F(DownloadEngineTest, ApplyToAllAnswersLaterFilesWithoutAsking) {
    QList<QByteArray> sources;
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
        sources.append(writeFile(name, 5000));
        writeLocal(targetFile(name), sources.last().left(100));
    }
    writeLocal(targetFile("empty.bin"), {}); // zero-length counts as absent
    writeFile("empty.bin", 300);
    TestServer server({"--root", root(), "--log", logPath()});
    DownloadJob job;
    prepareJob(job, server);
    for (const char* name : {"a.bin", "b.bin", "empty.bin", "c.bin"})
        job.addFileRow(name, QStringLiteral("/") + name, 5000, {});
    QueuedPrompter prompter;
    prompter.options.enqueue({0, true});

    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_EQ(prompter.optionCalls, 1);
    EXPECT_EQ(readFile(targetFile("a.bin")), sources[0]);
    EXPECT_EQ(readFile(targetFile("b.bin")), sources[1]);
    EXPECT_EQ(readFile(targetFile("c.bin")), sources[2]);
    EXPECT_EQ(readFile(targetFile("empty.bin")).size(), 300);
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(RangeOf(log[2]), "");
    EXPECT_EQ(RangeOf(log[3]), "bytes=100-");
}

TEST_F(DownloadEngineTest, SkipAndOverwriteAnswers) {
    const QByteArray source = writeFile("s.bin", 4000);
    writeFile("o.bin", 4000);
    writeLocal(targetFile("s.bin"), "keep me");
    writeLocal(targetFile("o.bin"), "replace me");
    TestServer server({"--root", root()});
    DownloadJob job;
    prepareJob(job, server);
    job.addFileRow("s.bin", "/s.bin", 4000, {});
    job.addFileRow("o.bin", "/o.bin", 4000, {});
    QueuedPrompter prompter;
    prompter.options.enqueue({2, false});
    prompter.options.enqueue({1, false});

    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_EQ(readFile(targetFile("s.bin")), "keep me");
    EXPECT_EQ(readFile(targetFile("o.bin")), readFile(root() + "/o.bin"));
    EXPECT_EQ(job.row(0).state, DownloadRow::Skipped);
    EXPECT_EQ(job.bytesDone, 7 + 4000);
    EXPECT_TRUE(job.countLine().startsWith("1 files (2 / 1)")) << job.countLine().toStdString();
}

TEST_F(DownloadEngineTest, NotFoundFailsOneRowAndOthersArrive) {
    const QByteArray one = writeFile("one.bin", 3000);
    const QByteArray three = writeFile("three.bin", 3000);
    TestServer server({"--root", root()});
    DownloadJob job;
    prepareJob(job, server);
    for (const char* name : {"one.bin", "two.bin", "three.bin"})
        job.addFileRow(name, QStringLiteral("/") + name, 3000, {});
    QueuedPrompter prompter;

    EXPECT_EQ(runJob(job, prompter), kDownloadNotFound);
    EXPECT_EQ(job.resultMessage(), "\"two.bin\" 파일을 서버에서 찾을 수 없습니다.");
    EXPECT_EQ(readFile(targetFile("one.bin")), one);
    EXPECT_EQ(readFile(targetFile("three.bin")), three);
    EXPECT_FALSE(QFileInfo::exists(targetFile("two.bin")));
    EXPECT_EQ(job.bytesDone, 9000); // the missing file's size counts as done
    EXPECT_EQ(job.row(1).state, DownloadRow::Failed);
}

TEST_F(DownloadEngineTest, ServerIgnoringRangeRestartsFromFirstByte) {
    const QByteArray source = writeFile("f.bin", 50000);
    writeLocal(targetFile("f.bin"), QByteArray(700, 'x'));
    TestServer server({"--root", root(), "--ignore-range"});
    DownloadJob job;
    prepareJob(job, server);
    job.addFileRow("f.bin", "/f.bin", source.size(), {});
    QueuedPrompter prompter;
    prompter.options.enqueue({0, false});

    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_EQ(readFile(targetFile("f.bin")), source);
    EXPECT_EQ(job.bytesDone, source.size());
}

TEST_F(DownloadEngineTest, CutBodyFailsRowKeepsPartAndNextRunResumes) {
    const QByteArray source = writeFile("cut.bin", 100000);
    {
        TestServer cutting({"--root", root(), "--drop-after", "30000"});
        DownloadJob job;
        prepareJob(job, cutting);
        job.addFileRow("cut.bin", "/cut.bin", source.size(), {});
        QueuedPrompter prompter;
        EXPECT_EQ(runJob(job, prompter), kDownloadCutShort);
        EXPECT_EQ(job.row(0).state, DownloadRow::Failed);
        EXPECT_EQ(readFile(targetFile("cut.bin")), source.left(30000));
    }
    TestServer whole({"--root", root()});
    DownloadJob job;
    prepareJob(job, whole);
    job.addFileRow("cut.bin", "/cut.bin", source.size(), {});
    QueuedPrompter prompter;
    prompter.options.enqueue({0, false});
    EXPECT_EQ(runJob(job, prompter), 0);
    EXPECT_EQ(readFile(targetFile("cut.bin")), source);
}

TEST_F(DownloadEngineTest, ConnectionBrokenAtAnyPhaseFailsTheRowAndKeepsWhatWasThere) {
    const QByteArray source = writeFile("p.bin", 60000);
    const QByteArray partial = source.left(1000);
    struct Phase {
        QStringList options;
        qint16 code;
    };
    const QList<Phase> phases = {
        {{"--cut", "before-head"}, kDownloadNoServer},
        {{"--cut", "in-head"}, kDownloadCutShort},
        {{"--cut", "after-head"}, kDownloadCutShort},
        {{"--drop-after", "20000"}, kDownloadCutShort},
    };
    for (const Phase& phase : phases) {
        for (const bool resuming : {false, true}) {
            const std::string label =
                phase.options.join(' ').toStdString() + (resuming ? " resuming" : " fresh");
            QFile::remove(targetFile("p.bin"));
            if (resuming)
                writeLocal(targetFile("p.bin"), partial);
            TestServer server(QStringList{"--root", root()} + phase.options);
            DownloadJob job;
            prepareJob(job, server);
            job.addFileRow("p.bin", "/p.bin", source.size(), {});
            QueuedPrompter prompter;
            prompter.options.enqueue({0, false});

            EXPECT_EQ(runJob(job, prompter), phase.code) << label;
            EXPECT_EQ(job.row(0).state, DownloadRow::Failed) << label;
            // Whatever is on disk is the start of the file, never less than before, so the
            // next run can resume it.
            const QByteArray kept = QFileInfo::exists(targetFile("p.bin"))
                                        ? readFile(targetFile("p.bin"))
                                        : QByteArray();
            EXPECT_TRUE(source.startsWith(kept)) << label;
            EXPECT_GE(kept.size(), resuming ? partial.size() : 0) << label;
        }
    }
}

TEST_F(DownloadEngineTest, ServerOfAnotherMakeWithoutRangesGivesIdenticalFiles) {
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not on PATH";
    const QByteArray source = writeFile("other.bin", 300000);
    QProcess server;
    server.start(python,
                 {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", root()});
    QByteArray banner;
    while (!banner.contains(")") && server.waitForReadyRead(10000))
        banner += server.readAllStandardOutput();
    const QRegularExpressionMatch port =
        QRegularExpression(" port (\\d+) ").match(QString::fromLatin1(banner));
    ASSERT_TRUE(port.hasMatch()) << banner.toStdString();
    // The second run finds a part on disk and asks for the rest; this server answers every
    // request with the whole file, so the part is written again from its first byte.
    for (const bool resuming : {false, true}) {
        if (resuming)
            writeLocal(targetFile("other.bin"), source.left(4096));
        DownloadJob job;
        job.settings.charset = "UTF-8";
        job.settings.hostBase = "http://127.0.0.1:" + port.captured(1);
        job.settings.downloadFolder = target();
        job.settings.isDownUrlEncode = 0;
        job.addFileRow("other.bin", "/other.bin", source.size(), {});
        QueuedPrompter prompter;
        prompter.options.enqueue({0, false});
        EXPECT_EQ(runJob(job, prompter), 0) << job.resultMessage().toStdString();
        EXPECT_EQ(readFile(targetFile("other.bin")), source) << (resuming ? "resumed" : "fresh");
        EXPECT_EQ(prompter.optionCalls, resuming ? 1 : 0);
    }
    server.kill();
    server.waitForFinished();
}

TEST_F(DownloadEngineTest, RangeRepliesThatDoNotFitLeaveTheFileAlone) {
    const QByteArray source = writeFile("r.bin", 2000);
    struct Case {
        const char* quirk;
        QByteArray local;
        qint16 code;
    };
    const QList<Case> cases = {
        {"range-416", source, 0},                            // already complete
        {"range-416", source.left(1500), kDownloadBadReply}, // total differs
        {"range-start-off", source.left(500), kDownloadBadReply},
    };
    for (const Case& c : cases) {
        writeLocal(targetFile("r.bin"), c.local);
        TestServer server({"--root", root(), "--quirk", c.quirk});
        DownloadJob job;
        prepareJob(job, server);
        job.addFileRow("r.bin", "/r.bin", source.size(), {});
        QueuedPrompter prompter;
        prompter.options.enqueue({0, false});
        EXPECT_EQ(runJob(job, prompter), c.code) << c.quirk;
        EXPECT_EQ(readFile(targetFile("r.bin")), c.local) << c.quirk;
    }
}

TEST_F(DownloadEngineTest, ErrorStatusNeverTouchesTarget) {
    writeFile("e.bin", 3000);
    writeLocal(targetFile("e.bin"), "precious");
    TestServer server({"--root", root(), "--status", "500"});
    DownloadJob job;
    prepareJob(job, server);
    job.addFileRow("e.bin", "/e.bin", 3000, {});
    QueuedPrompter prompter; // overwrite by default
    EXPECT_EQ(runJob(job, prompter), kDownloadBadReply);
    EXPECT_EQ(readFile(targetFile("e.bin")), "precious");
    EXPECT_TRUE(job.resultMessage().contains("500"));
}

TEST_F(DownloadEngineTest, HostileNamesFailWithoutLeavingTheFolder) {
    const QByteArray good = writeFile("good.bin", 1000);
    writeFile("evil.bin", 1000);
    TestServer server({"--root", root()});
    DownloadJob job;
    prepareJob(job, server);
    job.settings.downloadFolder = target() + "/inner";
    QDir().mkpath(job.settings.downloadFolder);
    for (const QString& name : {QString("../evil.bin"), QString(""), QString(".."),
                                QString("/tmp/evil.bin"), QString("a\\..\\evil.bin")})
        job.addFileRow(name, "/evil.bin", 1000, {});
    job.addFileRow("evil.bin", "/evil.bin", 1000, {".."});
    job.addFolderRow("..", {".."});
    job.addFileRow("good.bin", "/good.bin", 1000, {});
    // Dots inside a name lead nowhere: only "." and ".." as a whole name are refused.
    job.addFolderRow("v..1", {"v..1"});
    job.addFileRow("x..y.txt", "/good.bin", 1000, {"v..1"});
    job.addFileRow("..hidden", "/good.bin", 1000, {});
    QueuedPrompter prompter;

    EXPECT_EQ(runJob(job, prompter), kDownloadCannotCreate);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(job.row(i).state, DownloadRow::Failed) << i;
    for (int i = 7; i < 11; ++i)
        EXPECT_EQ(job.row(i).state, DownloadRow::Succeeded) << i;
    EXPECT_EQ(readFile(job.settings.downloadFolder + "/good.bin"), good);
    EXPECT_EQ(readFile(job.settings.downloadFolder + "/v..1/x..y.txt"), good);
    EXPECT_EQ(readFile(job.settings.downloadFolder + "/..hidden"), good);
    EXPECT_FALSE(QFileInfo::exists(targetFile("evil.bin")));
    EXPECT_FALSE(QFileInfo::exists("/tmp/evil.bin"));
}

TEST_F(DownloadEngineTest, FolderRowsCreateFoldersAndUrlsAreBuilt) {
    QDir(root()).mkpath("docs/sub");
    writeFile("docs/sub/a b.txt", QByteArray("alpha"));
    writeFile("abs.txt", QByteArray("absolute"));
    TestServer server({"--root", root(), "--log", logPath()});
    DownloadJob job;
    prepareJob(job, server);
    job.settings.isDownUrlEncode = 1;
    job.addFolderRow("docs", {"docs"});
    job.addFileRow("a b.txt", "/docs/sub/a b.txt", 5, {"docs"});
    job.addFileRow("abs.txt", server.urlText("/abs.txt").toLower().replace("http", "HtTp"), 8,
                   {"docs"});
    job.settings.hostBase = "http://unused.invalid";
    job.row(1).serverPath = server.urlText("/docs/sub/a b.txt");
    QueuedPrompter prompter;

    EXPECT_EQ(runJob(job, prompter), 0) << job.resultMessage().toStdString();
    EXPECT_TRUE(job.folderCreated);
    EXPECT_EQ(readFile(targetFile("docs/a b.txt")), "alpha");
    EXPECT_EQ(readFile(targetFile("docs/abs.txt")), "absolute");
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0]["path"].toString(), "/docs/sub/a b.txt");
}

TEST_F(DownloadEngineTest, SaveDialogStylesAndCancelledChoice) {
    const QByteArray source = writeFile("d.bin", 1200);
    TestServer server({"--root", root()});
    DownloadJob job;
    prepareJob(job, server);
    job.settings.downStyle = 0;
    job.addFileRow("d.bin", "/d.bin", 1200, {});
    job.addFileRow("d.bin", "/d.bin", 1200, {});
    QueuedPrompter prompter;
    prompter.savePaths.enqueue(targetFile("chosen.bin"));
    prompter.savePaths.enqueue(QString());

    EXPECT_EQ(runJob(job, prompter), kDownloadNoTarget);
    EXPECT_EQ(job.resultMessage(), "d.bin 의 저장 폴더를 지정 하지 않았습니다.");
    EXPECT_EQ(readFile(targetFile("chosen.bin")), source);
    EXPECT_EQ(job.row(1).state, DownloadRow::NoTarget);
    EXPECT_EQ(prompter.saveCalls, 2);
}

TEST_F(DownloadEngineTest, CancelAllEndsWithMinus99AndReleasesQuestions) {
    writeFile("slow.bin", 400000);
    writeFile("next.bin", 1000);
    TestServer server({"--root", root(), "--rate", "50"});
    DownloadJob job;
    prepareJob(job, server);
    job.addFileRow("slow.bin", "/slow.bin", 400000, {});
    job.addFileRow("next.bin", "/next.bin", 1000, {});
    QueuedPrompter prompter;
    EXPECT_EQ(runJobActingMidway(job, prompter, 20000, [&] { job.cancel(); }), kDownloadCancelled);
    EXPECT_EQ(job.resultMessage(), "사용자가 취소 하였습니다.");
    EXPECT_EQ(job.row(1).state, DownloadRow::Waiting);

    // A worker waiting for an answer is released by cancel-all without one.
    QObject receiver;
    DownloadJob waiting;
    PrompterQuestions unanswered(&receiver, prompter, waiting);
    std::thread asker([&] { EXPECT_EQ(unanswered.askOverwrite("x").choice, 2); });
    waiting.cancel();
    asker.join();
    EXPECT_EQ(prompter.optionCalls, 0);
}

TEST_F(DownloadEngineTest, CancelFileGoesOnWithTheNextRow) {
    writeFile("slow.bin", 400000);
    const QByteArray next = writeFile("next.bin", 1000);
    TestServer server({"--root", root(), "--rate", "50"});
    DownloadJob job;
    prepareJob(job, server);
    job.addFileRow("slow.bin", "/slow.bin", 400000, {});
    job.addFileRow("next.bin", "/next.bin", 1000, {});
    QueuedPrompter prompter;
    EXPECT_EQ(runJobActingMidway(job, prompter, 10000, [&] { job.cancelCurrentFile(); }), 0);
    EXPECT_EQ(job.row(0).state, DownloadRow::Cancelled);
    EXPECT_EQ(readFile(targetFile("next.bin")), next);
    EXPECT_LT(job.bytesTotal, 401000);
}

TEST_F(DownloadEngineTest, RedirectsFollowedUpToTenOverHttpOnly) {
    const QByteArray source = writeFile("moved.bin", 2000);
    TestServer server({"--root", root(), "--quirk", "redirect"});
    HttpSession session("agent");
    session.setFollowRedirects(10);
    Reply reply;
    HttpResult result = session.get(server.url("/hop/9/moved.bin"), {}, reply.handler());
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(reply.headCalls, 1);
    EXPECT_EQ(reply.body, source);
    Reply tooMany;
    EXPECT_FALSE(session.get(server.url("/hop/10/moved.bin"), {}, tooMany.handler()).ok());
    EXPECT_EQ(tooMany.headCalls, 0);
    Reply ftp;
    EXPECT_FALSE(session.get(server.url("/hop-ftp/moved.bin"), {}, ftp.handler()).ok());
    HttpSession plain("agent");
    Reply notFollowed;
    EXPECT_EQ(plain.get(server.url("/hop/0/moved.bin"), {}, notFollowed.handler()).status, 302);
}

TEST_F(DownloadEngineTest, LyingLengthsFailTheRow) {
    const QByteArray source = writeFile("f.bin", 5000);
    for (const char* quirk : {"excess-length", "huge-length", "two-lengths"}) {
        QFile::remove(targetFile("f.bin"));
        TestServer server({"--root", root(), "--quirk", quirk});
        DownloadJob job;
        prepareJob(job, server);
        job.addFileRow("f.bin", "/f.bin", source.size(), {});
        job.addFileRow("g.bin", "/f.bin", source.size(), {});
        QueuedPrompter prompter;
        EXPECT_EQ(runJob(job, prompter), kDownloadBadReply) << quirk;
        EXPECT_TRUE(job.resultMessage().contains("Content-Length")) << quirk;
        for (int row = 0; row < 2; ++row)
            EXPECT_EQ(job.row(row).state, DownloadRow::Failed) << quirk;
    }
}

TEST_F(DownloadEngineTest, RedirectLoopsAndOtherSchemesHaveTheirOwnCodes) {
    writeFile("moved.bin", 2000);
    TestServer server({"--root", root(), "--quirk", "redirect"});
    struct Case {
        const char* path;
        qint16 code;
        const char* says;
    };
    for (const Case& c : {Case{"/hop/10/moved.bin", kDownloadRedirectLoop, "너무 여러 번"},
                          Case{"/hop-ftp/moved.bin", kDownloadRedirectRefused, "http나 https"},
                          Case{"/hop/3/moved.bin", 0, ""}}) {
        QFile::remove(targetFile("moved.bin"));
        DownloadJob job;
        prepareJob(job, server);
        job.addFileRow("moved.bin", c.path, 2000, {});
        QueuedPrompter prompter;
        EXPECT_EQ(runJob(job, prompter), c.code) << c.path;
        EXPECT_TRUE(job.resultMessage().contains(QString::fromUtf8(c.says))) << c.path;
        EXPECT_EQ(QFileInfo::exists(targetFile("moved.bin")), c.code == 0) << c.path;
    }
}

TEST_F(DownloadEngineTest, ALinkPlantedAtTheTargetIsNeverWrittenThrough) {
    writeFile("planted.txt", 3000);
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim.txt");
    for (const qint16 choice : {1, 0}) { // overwrite, resume
        writeLocal(victim, "precious");
        QFile::remove(targetFile("planted.txt"));
        ASSERT_TRUE(QFile::link(victim, targetFile("planted.txt")));
        TestServer server({"--root", root()});
        DownloadJob job;
        prepareJob(job, server);
        job.settings.receiveDown = 1;
        job.settings.downStyle = 1;
        job.addFileRow("planted.txt", "/planted.txt", 3000, {});
        QueuedPrompter prompter;
        prompter.options.enqueue({choice, false});
        EXPECT_EQ(runJob(job, prompter), kDownloadCannotCreate) << choice;
        EXPECT_EQ(readFile(victim), "precious") << choice;
        EXPECT_TRUE(QFileInfo(targetFile("planted.txt")).isSymLink()) << choice;
    }
}

} // namespace
