#include "LocalPaneFixture.h"
#include "TestServer.h"
#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/list/FileListView.h"
#include "panes/local/widgets/FolderScanWindow.h"
#include "session/ControlSession.h"
#include "session/PaneCommand.h"
#include "transfer/UploadJob.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDirIterator>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace {

// Answers the file dialog and the folder browser with what the test queued.
class DialogPrompter : public QueuedPrompter {
public:
    QStringList openFiles(const QString&, const QString& folder, const QString& filter) override {
        lastFolder = folder;
        lastFilter = filter;
        return files;
    }
    QString chooseFolder(const QString& title, const QString&) override {
        lastTitle = title;
        return folder;
    }
    QStringList files;
    QString folder, lastFolder, lastFilter, lastTitle;
};

// The control with both panes built into it, over a loaded catalogue with one disk selected.
class AssembledControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        session().setPrompter(prompter);
        QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnAddfileError,
                         [this](short code, const QString& name, const QString& path) {
                             fired.append(QString("error(%1,%2,%3)").arg(code).arg(name, path));
                         });
        QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnLocalAttachCompleat,
                         [this] { fired.append("attachCompleted"); });
        loadCatalogue(R"(<MORVEXXML><FOLDER name="disk"/></MORVEXXML>)");
    }
    void loadCatalogue(const QString& xml) {
        const QString file = tree.path("catalogue.xml");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(xml.toUtf8());
        out.close();
        ASSERT_TRUE(session().catalogue().LoadFile(file, prompter));
        ASSERT_TRUE(session().journal().Create(prompter));
        ASSERT_TRUE(session().serverPane().buildTree());
        session().serverPane().selectNode(session().serverPane().tree().topLevel().front().get());
    }
    ControlSession& session() { return ctrl.session(); }
    QStringList queuedNames() {
        QStringList names;
        for (const XmlNode& file : session().catalogue().root().descendants("FILE"))
            names.append(file.attribute("name"));
        return names;
    }

    IsolatedHome home;
    LocalTree tree;
    DialogPrompter prompter;
    CMxVantrel2Ctrl ctrl;
    ControlWindow window{ctrl.session()};
    QStringList fired;
};

} // namespace

TEST_F(AssembledControlTest, ScriptAttachesThroughTheDialogsAndAddLocalFile) {
    const QString a = tree.file("pick/a.txt");
    const QString b = tree.file("pick/b.txt");
    ctrl.settings().OnlyExt = "txt;";
    prompter.files = {a, b};
    ctrl.FileAttach();
    EXPECT_EQ(prompter.lastFilter, "Files (*.txt *.TXT)");
    EXPECT_EQ(queuedNames(), QStringList({"a.txt", "b.txt"}));
    EXPECT_EQ(fired, QStringList({"attachCompleted"}));
    prompter.files.clear();
    ctrl.FileAttach();
    EXPECT_EQ(prompter.lastFolder, tree.path("pick"));
    EXPECT_EQ(fired.size(), 1);

    fired.clear();
    ctrl.AddLocalFile(tree.file("pick/c.bin"));
    EXPECT_EQ(fired, QStringList({"error(-1004,c.bin," + tree.path("pick/c.bin") + ")"}));

    fired.clear();
    prompter.folder = a;
    ctrl.FolderAttach();
    EXPECT_EQ(fired, QStringList({"error(-1006,,)"}));

    fired.clear();
    tree.file("folder/x/d.txt");
    prompter.folder = tree.path("folder");
    ctrl.FolderAttach();
    EXPECT_EQ(fired, QStringList({"attachCompleted"}));
    EXPECT_TRUE(queuedNames().contains("d.txt"));
    EXPECT_FALSE(session().catalogue().FindFolder("disk/x").isNull());
}

TEST_F(AssembledControlTest, DesktopDropsOfLocalFilesAreQueuedOthersIgnored) {
    const QString a = tree.file("drop/a.txt");
    const auto drop = [this](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        // The drop goes where the drag entered, as the platform delivers it.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.paneHost(), &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.paneHost(), &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(drop({QUrl("http://example.invalid/a.txt"), QUrl::fromLocalFile(a)}));
    EXPECT_TRUE(queuedNames().isEmpty());
    EXPECT_TRUE(drop({QUrl::fromLocalFile(a)}));
    EXPECT_EQ(queuedNames(), QStringList({"a.txt"}));
    EXPECT_EQ(fired, QStringList({"attachCompleted"}));
}

TEST_F(AssembledControlTest, LocalPaneBrowsesAndScriptOpensFolders) {
    ctrl.settings().LocalUIType = 2;
    tree.folder("browse/inner");
    EXPECT_EQ(ctrl.SetLocalGoFolder(tree.path("browse/")), 0);
    EXPECT_EQ(ctrl.GetTreeSelectedName("local"), "browse");
    EXPECT_EQ(ctrl.SetLocalGoFolder(tree.path("missing")), -2);
    EXPECT_EQ(ctrl.GetTreeSelectedName("local"), "browse");
    EXPECT_EQ(session().localPane().list().row(0).entry.name, "inner");
    session().setFocusPane(4);
    session().runCommand(PaneCommand::LocalSelectAll);
    EXPECT_EQ(ctrl.GetSelectedListCount("local"), 1);
    EXPECT_TRUE(ctrl.GetSelectedListIsFolder("local", 0));
    ctrl.Upfolder();
    EXPECT_EQ(session().localPane().selectedPath(), tree.root());
    ctrl.settings().LocalUIType = 0;
    EXPECT_EQ(ctrl.SetLocalGoFolder(tree.path("browse")), -3);
}

TEST_F(AssembledControlTest, AddCommandsQueueTheLocalSelection) {
    ctrl.settings().LocalUIType = 2;
    tree.file("sel/a.txt");
    tree.file("sel/b.txt");
    tree.file("sel/sub/c.txt");
    ASSERT_EQ(ctrl.SetLocalGoFolder(tree.path("sel")), 0);
    session().setFocusPane(4);
    session().localPane().list().setSelectedRows({1});
    session().runCommand(PaneCommand::AddLocalListSelection);
    EXPECT_EQ(queuedNames(), QStringList({"a.txt"}));
    EXPECT_EQ(fired, QStringList({"attachCompleted"}));

    session().setFocusPane(3);
    ctrl.settings().IsAttachFolder = false;
    session().runCommand(PaneCommand::AddLocalSelection);
    EXPECT_EQ(queuedNames(), QStringList({"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(fired.filter("error(-1010").size(), 1);
}

TEST_F(AssembledControlTest, ScanWindowStopsOnItsButton) {
    bool stopped = false;
    int steps = 0;
    FolderScanWindow window(
        FolderScanWindow::StructuredScan, session().uiConfig(),
        [&] {
            ++steps;
            return stopped ? ScanProgress::Finished : ScanProgress::Waiting;
        },
        [] { return QString("/somewhere"); }, [&] { stopped = true; });
    QTimer::singleShot(250, &window, [&window] { window.stopButton()->click(); });
    window.exec();
    EXPECT_TRUE(stopped);
    EXPECT_GE(steps, 2);
}

TEST_F(AssembledControlTest, AttachingALargeFolderYieldsBetweenSlicesAndStopsBetweenThem) {
    const int total = 2 * static_cast<int>(ScanApplier::kSliceSteps) + 40;
    for (int i = 0; i < total; ++i)
        tree.file(QString("big/f%1.txt").arg(i, 4, 10, QChar('0')), 1);
    prompter.folder = tree.path("big");
    const ServerListModel& rows = session().serverPane().list();

    // A timer of the UI thread's own: it fires on every turn of the event loop, so the rows
    // it sees appear between two of its firings were added without the loop turning.
    int seen = 0, largestGrowth = 0, atStop = -1;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        largestGrowth = std::max(largestGrowth, rows.rowCount() - seen);
        seen = rows.rowCount();
        auto* window = qobject_cast<FolderScanWindow*>(QApplication::activeModalWidget());
        if (window && atStop < 0 && seen > 0) {
            atStop = seen;
            window->stopButton()->click();
        }
    });
    probe.start();
    ctrl.FolderAttach();
    probe.stop();
    largestGrowth = std::max(largestGrowth, rows.rowCount() - seen);

    EXPECT_GT(largestGrowth, 0);
    EXPECT_LE(largestGrowth, static_cast<int>(ScanApplier::kSliceSteps));
    ASSERT_GT(atStop, 0);
    EXPECT_LT(atStop, total);
    // Nothing is added once the stop is heard, and what was added is whole: every entry has
    // its row and is queued for upload.
    EXPECT_EQ(rows.rowCount(), atStop);
    EXPECT_EQ(queuedNames().size(), atStop);
    QList<UploadRow> uploads;
    EXPECT_EQ(RunUploadListBuild(&window, session().uiConfig(), session().catalogue(),
                                 session().serverPane().queued(), uploads),
              0);
    EXPECT_EQ(uploads.size(), atStop);
    EXPECT_EQ(fired, QStringList({"attachCompleted"}));
}

TEST_F(AssembledControlTest, AttachedFilesUploadByteIdenticalAndOnlyThoseQueuedHere) {
    QTemporaryDir served, stored;
    TestServer httpServer({"--root", served.path(), "--upload-dir", stored.path()});
    ASSERT_TRUE(httpServer.isRunning());
    const QString secret = tree.file("secret.txt", 7);
    loadCatalogue(QString(R"(<MORVEXXML><FOLDER name="disk">
        <FILE name="secret.txt" path="%1" transtype="local" size="7"/></FOLDER></MORVEXXML>)")
                      .arg(secret));
    const QString a = tree.file("up/a.bin", 5000);
    QFile bFile(tree.path("up/b.txt"));
    ASSERT_TRUE(bFile.open(QIODevice::WriteOnly));
    bFile.write("line one\r\nline two\0end", 23);
    bFile.close();
    ctrl.AddLocalFile(a);
    ctrl.AddLocalFile(tree.path("up/b.txt"));

    ctrl.settings().HttpServerName = "127.0.0.1";
    ctrl.settings().HttpPORT = static_cast<quint16>(httpServer.port());
    const short code = ctrl.HttpSendAttach("/upload.php");
    ASSERT_EQ(code, 0) << ctrl.GetHTTPErrText().toStdString();
    EXPECT_EQ(ctrl.GetCurrentUploadFileCnt(), 2);
    QStringList names;
    for (int i = 0; i < 2; ++i)
        names.append(ctrl.GetCurrentUploadFileData("name", i));
    EXPECT_EQ(names, QStringList({"a.bin", "b.txt"}));
    const auto storedBytes = [&](const QString& name) {
        QStringList found;
        QDirIterator it(stored.path(), {name}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(it.next());
        QFile file(found.value(0));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    QFile original(a);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(storedBytes("a.bin"), original.readAll());
    EXPECT_EQ(storedBytes("b.txt"), QByteArray("line one\r\nline two\0end", 23));
    EXPECT_EQ(storedBytes("secret.txt"), QByteArray("<missing>"));
}
