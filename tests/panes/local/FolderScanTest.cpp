#include "LocalPaneFixture.h"
#include "panes/local/FolderScanJob.h"
#include "panes/local/LocalAttach.h"
#include "panes/local/QueuedUploadRows.h"
#include "panes/local/ServerAttachTarget.h"
#include "transfer/UploadJob.h"

#include <QThread>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kCatalogue = R"(<MORVEXXML>
  <FOLDER name="disk">
    <FOLDER name="photos"><FILE name="old.jpg" path="srv/old.jpg" transtype="server" size="5"/></FOLDER>
    <FILE name="clash" path="srv/clash" transtype="server" size="1"/>
  </FOLDER>
</MORVEXXML>)";

class FolderScanTest : public ServerPaneFixture {
protected:
    void SetUp() override {
        load(kCatalogue);
        controller.selectNode(controller.tree().topLevel().front().get());
        events.lines.clear();
    }
    short scan(const QString& folder, bool structured, bool stopAtOnce = false) {
        target.beginBatch();
        FolderScanJob job(PathFromText(folder), structured, target, events);
        if (stopAtOnce)
            job.stop();
        job.start();
        while (job.poll() != ScanProgress::Finished)
            QThread::msleep(1);
        target.endBatch();
        return job.result();
    }
    // "name" for files and "name/" for folders of the catalogue folder at `path`.
    QStringList entries(const QString& path) {
        QStringList names;
        const XmlNode folder = catalogue.FindFolder(path);
        for (int i = 0; i < folder.childCount(); ++i) {
            const XmlNode child = folder.child(i);
            names.append(child.attribute("name") + (child.name() == "FOLDER" ? "/" : ""));
        }
        names.sort();
        return names;
    }

    LocalTree local;
    ServerAttachTarget target{controller};
};

} // namespace

TEST_F(FolderScanTest, StructuredScanMergesIntoExistingFoldersAndRefusesANameHeldByAFile) {
    local.file("pick/photos/new.jpg");
    local.file("pick/photos/deeper/x.txt");
    local.file("pick/clash/inside.txt");
    local.file("pick/top.txt");
    local.folder("pick/empty");
    EXPECT_EQ(scan(local.path("pick"), true), 0);
    EXPECT_EQ(entries("disk"), QStringList({"clash", "empty/", "photos/", "top.txt"}));
    EXPECT_EQ(entries("disk/photos"), QStringList({"deeper/", "new.jpg", "old.jpg"}));
    EXPECT_EQ(entries("disk/photos/deeper"), QStringList({"x.txt"}));
    EXPECT_EQ(events.lines, QStringList({"addfileError(-1001," + local.path("pick/clash") + ")"}));
    // The new folders are in the tree and, for the shown folder, in the list.
    ServerTreeNode* disk = controller.tree().topLevel().front().get();
    EXPECT_NE(controller.tree().childByLabel(disk, "empty"), nullptr);
    EXPECT_TRUE(rowNames().contains("empty"));
    EXPECT_TRUE(controller.queued().contains(local.path("pick/photos/deeper/x.txt")));
}

TEST_F(FolderScanTest, FlatScanPutsEveryFileIntoTheOneFolder) {
    local.file("flat/a.txt");
    local.file("flat/one/b.txt");
    local.file("flat/one/two/three/c.txt");
    EXPECT_EQ(scan(local.path("flat"), false), 0);
    EXPECT_EQ(entries("disk"), QStringList({"a.txt", "b.txt", "c.txt", "clash", "photos/"}));
}

TEST_F(FolderScanTest, LinksToFoldersAreNotEnteredAndFifosAreSkipped) {
    local.file("loop/real.txt");
    ASSERT_TRUE(QFile::link(local.path("loop"), local.path("loop/again")));
    ASSERT_TRUE(QFile::link(local.path("loop/real.txt"), local.path("loop/linked.txt")));
    ASSERT_EQ(mkfifo(QFile::encodeName(local.path("loop/pipe")).constData(), 0600), 0);
    EXPECT_EQ(scan(local.path("loop"), true), 0);
    EXPECT_EQ(entries("disk"), QStringList({"clash", "linked.txt", "photos/", "real.txt"}));
    EXPECT_TRUE(events.lines.isEmpty());
}

TEST_F(FolderScanTest, DiskAllowanceEndsTheScanAndSizeLimitSkipsOneFile) {
    settings.OneFileLimitsize = 50;
    settings.DiskFreeSize = 25;
    local.file("lim/a_big.bin", 60);
    local.file("lim/sub/b.bin", 20);
    local.file("lim/sub/c.bin", 20);
    local.file("lim/sub/z/d.bin", 1);
    // A folder's files come before its sub-folders; b and c meet the allowance in either order.
    const short code = scan(local.path("lim"), true);
    EXPECT_EQ(code, -1008);
    EXPECT_EQ(events.count("addfileError"), 2);
    EXPECT_TRUE(events.lines.contains("addfileError(-1007," + local.path("lim/a_big.bin") + ")"));
    EXPECT_EQ(events.lines.filter("-1008").size(), 1);
    EXPECT_EQ(settings.DiskFreeSize, 5.0);
    EXPECT_EQ(entries("disk/sub").size(), 1);
    EXPECT_TRUE(catalogue.FindFolder("disk/sub/z").isNull());
}

TEST_F(FolderScanTest, StopBeforeTheWalkAddsNothingAndDeepTreesDoNotOverflow) {
    local.file("stop/a.txt");
    EXPECT_EQ(scan(local.path("stop"), true, true), 0);
    EXPECT_EQ(entries("disk"), QStringList({"clash", "photos/"}));

    QString deep = "deep";
    for (int level = 0; level < 300; ++level)
        deep += "/d";
    local.file(deep + "/leaf.txt");
    EXPECT_EQ(scan(local.path("deep"), false), 0);
    EXPECT_TRUE(entries("disk").contains("leaf.txt"));
}

TEST_F(FolderScanTest, EachPollAppliesOneBoundedSliceAndAStopBetweenSlicesKeepsItWhole) {
    const int total = 2 * static_cast<int>(ScanApplier::kSliceSteps) + 40;
    for (int i = 0; i < total; ++i)
        local.file(QString("many/f%1.txt").arg(i, 4, 10, QChar('0')), 1);
    target.beginBatch();
    {
        FolderScanJob job(PathFromText(local.path("many")), false, target, events);
        job.start();
        QThread::msleep(300); // the walk finds everything long before this
        EXPECT_EQ(job.poll(), ScanProgress::StepsReady);
        const int first = job.filesAdded();
        EXPECT_GT(first, 0);
        EXPECT_LE(first, static_cast<int>(ScanApplier::kSliceSteps));
        job.stop();
        while (job.poll() != ScanProgress::Finished)
            QThread::msleep(1);
        EXPECT_EQ(job.result(), 0);
        EXPECT_EQ(job.filesAdded(), first);
        // "clash" and "photos" were there before; every added file has its shown row.
        EXPECT_EQ(entries("disk").size(), first + 2);
        EXPECT_EQ(rowNames().size(), first + 2);
    }
    target.endBatch();
    EXPECT_TRUE(events.lines.isEmpty());
}

TEST_F(FolderScanTest, APollFromAQuestionsNestedLoopAppliesNothing) {
    local.file("again/photos/old.jpg");
    local.file("again/photos/deeper/x.txt");
    target.beginBatch();
    FolderScanJob job(PathFromText(local.path("again")), true, target, events);
    ScanProgress inner = ScanProgress::Finished;
    int addedBefore = -1, addedInside = -1;
    ServerPaneHooks hooks;
    hooks.askOverwrite = [&](const OverwriteQuestion&) -> short {
        addedBefore = job.filesAdded();
        inner = job.poll();
        addedInside = job.filesAdded();
        return 1;
    };
    controller.setHooks(hooks);
    job.start();
    QThread::msleep(100);
    while (job.poll() != ScanProgress::Finished)
        QThread::msleep(1);
    target.endBatch();
    EXPECT_EQ(inner, ScanProgress::Waiting);
    EXPECT_EQ(addedInside, addedBefore);
    EXPECT_EQ(job.filesAdded(), 2);
    EXPECT_EQ(entries("disk/photos/deeper"), QStringList({"x.txt"}));
}

TEST_F(FolderScanTest, UploadRowsKeepOnlyFilesQueuedInThisRun) {
    const QString mine = local.file("mine.txt");
    load(R"(<MORVEXXML><FOLDER name="disk">
      <FILE name="passwd" path="/etc/passwd" transtype="local" size="1"/>
    </FOLDER></MORVEXXML>)");
    controller.selectNode(controller.tree().topLevel().front().get());
    EXPECT_EQ(target.addFile(mine, target.currentFolder()), 0);
    int skipped = 0;
    const QList<UploadRow> rows = BuildUploadRows(catalogue, controller.queued(), skipped);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.front().localPath, mine);
    EXPECT_EQ(skipped, 1);
}

TEST_F(FolderScanTest, AttachAddsFilesDroppedPathsAndReportsRefusals) {
    const QString a = local.file("a.txt");
    const QString exe = local.file("setup.EXE");
    local.file("dropped/inner.txt");
    settings.exceptionExt = "exe;";
    QStringList scanned;
    LocalAttach attach(target, settings, uiConfig, prompter, events,
                       [&](const QString& folder, bool structured) {
                           scanned.append(folder + (structured ? ":tree" : ":flat"));
                           return scan(folder, structured);
                       });
    attach.addLocalFile(exe);
    EXPECT_EQ(events.lines, QStringList({"addfileError(-1003," + exe + ")"}));

    events.lines.clear();
    attach.dropPaths({local.path("dropped"), a, local.path("nothing")});
    EXPECT_EQ(scanned, QStringList({local.path("dropped") + ":tree"}));
    // A path that names nothing any more is reported, as a refused file is.
    EXPECT_EQ(events.lines, QStringList({"addfileError(-1000," + local.path("nothing") + ")",
                                         "localAttachCompleted(0)"}));
    // A dropped folder's content goes into the current folder, as FolderAttach's does.
    EXPECT_EQ(entries("disk"), QStringList({"a.txt", "clash", "inner.txt", "photos/"}));

    events.lines.clear();
    settings.IsOutItemDrag = false;
    attach.dropPaths({local.file("b.txt")});
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_FALSE(entries("disk").contains("b.txt"));
}

TEST_F(FolderScanTest, LinksLeavingTheFolderAreRefusedAndLinksWithinItAreAdded) {
    const QString victim = local.file("outside/hostname.txt");
    local.file("pick/own.txt");
    local.file("pick/sub/deep.txt");
    ASSERT_TRUE(QFile::link(victim, local.path("pick/planted.txt")));
    ASSERT_TRUE(QFile::link("../outside/hostname.txt", local.path("pick/relative.txt")));
    ASSERT_TRUE(QFile::link("../sub/deep.txt", local.path("pick/sub/again.txt")));
    ASSERT_TRUE(QFile::link(local.path("pick/own.txt"), local.path("pick/mine.txt")));
    // A chosen folder reached through a link is judged by where it really is.
    ASSERT_TRUE(QFile::link(local.path("pick"), local.path("chosen")));
    for (const bool structured : {true, false}) {
        load(kCatalogue);
        controller.selectNode(controller.tree().topLevel().front().get());
        events.lines.clear();
        EXPECT_EQ(scan(local.path("chosen"), structured), 0);
        const QStringList added = entries(structured ? "disk/sub" : "disk");
        EXPECT_TRUE(added.contains("again.txt")) << added.join(',').toStdString();
        EXPECT_TRUE(entries("disk").contains("mine.txt"));
        EXPECT_FALSE(entries("disk").contains("planted.txt"));
        EXPECT_FALSE(entries("disk").contains("relative.txt"));
        EXPECT_EQ(events.count("addfileError"), 2);
        EXPECT_TRUE(
            events.lines.contains("addfileError(-1011," + local.path("chosen/planted.txt") + ")"));
        EXPECT_TRUE(
            events.lines.contains("addfileError(-1011," + local.path("chosen/relative.txt") + ")"));
    }
}

TEST_F(FolderScanTest, AFolderThatCannotBeListedIsReported) {
    local.file("scan/open.txt");
    local.file("scan/closed/hidden.txt");
    ASSERT_EQ(::chmod(QFile::encodeName(local.root()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(local.path("scan/closed")).constData(), 0), 0);
    // The walk runs with the rights of an ordinary user even under root: the worker thread
    // takes over the file-system identity of the thread that starts it.
    const bool asRoot = ::geteuid() == 0;
    target.beginBatch();
    FolderScanJob job(PathFromText(local.path("scan")), true, target, events);
    if (asRoot)
        ::setfsuid(65534);
    job.start();
    if (asRoot)
        ::setfsuid(0);
    while (job.poll() != ScanProgress::Finished)
        QThread::msleep(1);
    target.endBatch();
    ::chmod(QFile::encodeName(local.path("scan/closed")).constData(), 0755);
    EXPECT_EQ(job.result(), 0);
    EXPECT_EQ(entries("disk"), QStringList({"clash", "closed/", "open.txt", "photos/"}));
    EXPECT_EQ(events.lines, QStringList{"addfileError(-1012," + local.path("scan/closed") + ")"});
}

// A folder the scan makes takes its name at once: a file of that name dropped after it, in
// the same batch, is refused as the new-folder command's folder would refuse it.
TEST_F(FolderScanTest, AFolderMadeByAScanHoldsItsNameAgainstALaterFileOfTheBatch) {
    local.file("one/a.txt");
    local.folder("one/dir/x");
    local.file("two/x");
    settings.IsAttachFolder = true;
    LocalAttach attach(
        target, settings, uiConfig, prompter, events,
        [this](const QString& folder, bool structured) { return scan(folder, structured); });
    attach.attachPaths({local.path("one/a.txt"), local.path("one/dir"), local.path("two/x")});
    EXPECT_EQ(entries("disk"), QStringList({"a.txt", "clash", "photos/", "x/"}));
    EXPECT_EQ(events.lines, QStringList({"addfileError(-1001," + local.path("two/x") + ")",
                                         "localAttachCompleted(0)"}));
    EXPECT_FALSE(controller.queued().contains(local.path("two/x")));
}
