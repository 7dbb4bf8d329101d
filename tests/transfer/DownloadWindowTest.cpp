#include "transfer/widgets/DownloadWindow.h"

#include "DownloadFixture.h"
#include "IsolatedHome.h"
#include "RecordingEvents.h"
#include "common/RememberedValues.h"
#include "common/WorkingFolders.h"
#include "transfer/DownloadQueue.h"
#include "transfer/HttpStatus.h"
#include "transfer/OpenDownload.h"
#include "transfer/widgets/DownloadStart.h"
#include "transfer/widgets/OpenDownloadWindow.h"
#include "transfer/widgets/OptionQuestionDialog.h"
#include "xml/XmlDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <sys/stat.h>

namespace {

class DownloadWindowTest : public DownloadFixture {
protected:
    IsolatedHome home_;
    ControlSettings settings_;
    UIConfig ui_;
    QueuedPrompter prompter_;
    RecordingEvents events_;
    QStringList opened_;
    DownloadHost host_{settings_, ui_,     prompter_,
                       events_,   nullptr, [this](const QString& path) { opened_.append(path); },
                       {}};
    XmlDocument catalogue_;

    XmlNode catalogue(const TestServer& server) {
        const QString base = server.urlText("");
        const QString text = QString(R"(<MORVEXXML><FOLDER name="disk">
            <FOLDER name="docs">
              <FILE name="7_a.txt" path="/a.txt" size="5" transtype="server"/>
              <FILE name="queued.txt" path="/q.txt" size="3" transtype="local"/>
              <FOLDER name="deep"><FILE name="b.txt" path="%1/b.txt" size="4" transtype="server"/></FOLDER>
            </FOLDER>
            <FILE name="c.txt" path="/c.txt" size="6" transtype="server"/>
          </FOLDER></MORVEXXML>)")
                                 .arg(base);
        EXPECT_EQ(catalogue_.parseText(text), XmlDocument::ParseStatus::Parsed);
        return catalogue_.root().child(0);
    }
    void serveCatalogueFiles() {
        writeFile("a.txt", QByteArray("alpha"));
        writeFile("b.txt", QByteArray("beta"));
        writeFile("c.txt", QByteArray("gamma!"));
    }
    void pointAt(const TestServer& server) {
        settings_.hostBaseUrl = server.urlText("");
        settings_.Charset = "utf-8";
        settings_.ServerFileNameMidChar = "_";
    }
};

TEST_F(DownloadWindowTest, OverwriteQuestionClosesOnlyByConfirming) {
    OptionQuestion question{"t", "exists", "name", "f.bin", "what", {"resume", "overwrite", "skip"},
                            1,   "all",    "OK"};
    OptionQuestionDialog untouched(question);
    untouched.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&untouched, &escape);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&untouched, &enter);
    untouched.close();
    EXPECT_TRUE(untouched.isVisible());
    untouched.findChild<QPushButton*>()->click();
    EXPECT_FALSE(untouched.isVisible());
    EXPECT_EQ(untouched.answer().option, 1);
    EXPECT_FALSE(untouched.answer().checked);

    OptionQuestionDialog chosen(question);
    chosen.show();
    chosen.findChildren<QRadioButton*>().at(2)->setChecked(true);
    chosen.findChild<QCheckBox*>()->setChecked(true);
    chosen.findChild<QPushButton*>()->click();
    EXPECT_EQ(chosen.answer().option, 2);
    EXPECT_TRUE(chosen.answer().checked);

    const OptionQuestion built = PrompterQuestions::overwriteQuestion(
        DialogTextCopy({{"Radio3Txt", "skip it"}}), "/x/y/z.bin");
    EXPECT_EQ(built.value, "z.bin");
    EXPECT_EQ(built.defaultOption, 1);
    EXPECT_EQ(built.options.value(2), "skip it");
    EXPECT_EQ(PrompterQuestions::saveFilter("/a/b.tar.gz"), "Files (*.gz) (*.gz)");
    EXPECT_EQ(PrompterQuestions::saveFilter("/a/README"), "All Files (*)");
}

// Runs the event loop until `done` holds or five seconds have passed.
bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// The label of `window` that speaks of `name`, in its text or its tooltip.
QLabel* labelNaming(const QWidget& window, const QString& name) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().contains(name) || label->toolTip().contains(name))
            return label;
    }
    return nullptr;
}

// The window fits its screen and a sensible width, and `label` shows `full` elided, with the
// whole text in its tooltip.
void expectContained(const QWidget& window, const QLabel& label, const QString& full) {
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().width(), screen.width());
    EXPECT_LE(window.width(), 640);
    EXPECT_TRUE(label.text().contains(QChar(0x2026))) << label.text().size();
    EXPECT_EQ(label.toolTip(), full);
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.contentsRect().width());
}

TEST_F(DownloadWindowTest, LongNamesAreElidedAndBothWindowsStayWithinTheScreen) {
    const QString name = QString(240, 'n') + ".txt";
    ASSERT_EQ(name.size(), 244);
    writeFile(name, QByteArray("slow"));
    TestServer server({"--root", root(), "--delay-ms", "3000"});
    pointAt(server);

    OpenDownloadJob open;
    open.requestUrl = server.urlText("/" + name);
    open.tempFolder = target();
    open.fileName = name;
    OpenDownloadWindow openWindow(open, DialogTextCopy({{"W_FILE", "파일"}}));
    openWindow.show();
    QCoreApplication::processEvents();
    const QLabel* fileLabel = labelNaming(openWindow, name);
    ASSERT_NE(fileLabel, nullptr);
    expectContained(openWindow, *fileLabel, name);
    openWindow.grab().save("/tmp/vantrel-open-window.png");
    openWindow.cancelButton()->click();

    DownloadJob job;
    job.settings.hostBase = settings_.hostBaseUrl;
    job.settings.charset = "UTF-8";
    job.settings.downloadFolder = target();
    job.texts = DialogTextCopy({{"S_DownloadMsg", "파일을 받는 중입니다."}});
    job.addFileRow(name, "/" + name, 4, {});
    DownloadWindow window(job, prompter_, true, true, nullptr);
    window.show();
    ASSERT_TRUE(waitFor([&] { return labelNaming(window, name) != nullptr; }));
    QCoreApplication::processEvents();
    expectContained(window, *labelNaming(window, name), '"' + name + "\" 파일을 받는 중입니다.");
    window.grab().save("/tmp/vantrel-download-window.png");
    window.cancelAllButton()->click();
}

TEST_F(DownloadWindowTest, SelectionDownloadsIntoFixedFolderAndReports) {
    serveCatalogueFiles();
    TestServer server({"--root", root()});
    pointAt(server);
    settings_.DownPathFix = target() + "/";
    settings_.IsFolderViewAfterDown = true;
    const XmlNode disk = catalogue(server);

    const qint16 code = StartDownload(host_, {disk.child(0), disk.child(1)});
    EXPECT_EQ(code, 0) << settings_.httpErrorText.toStdString();
    EXPECT_EQ(readFile(targetFile("docs/a.txt")), "alpha");
    EXPECT_EQ(readFile(targetFile("docs/deep/b.txt")), "beta");
    EXPECT_EQ(readFile(targetFile("c.txt")), "gamma!");
    EXPECT_FALSE(QFileInfo::exists(targetFile("docs/queued.txt")));
    EXPECT_EQ(events_.codes("downloadCompleted"), QList<short>{0});
    EXPECT_EQ(settings_.httpErrorText, "정상 종료 하였습니다.");
    EXPECT_EQ(opened_, QStringList{target()}); // the fixed folder loses its trailing "/"
    EXPECT_EQ(StartDownload(host_, {}), 0);
    EXPECT_EQ(events_.count("downloadCompleted"), 1);
}

TEST_F(DownloadWindowTest, RefusalsBeforeAnyWindowReplaceTheWholeErrorTriple) {
    TestServer server({"--root", root()});
    pointAt(server);
    const XmlNode disk = catalogue(server);
    settings_.DownPathFix = target();
    // A run that fails with a system error number leaves it for script to read ...
    const auto failWithSystemError = [&] {
        TestServer gone({"--root", root()});
        settings_.hostBaseUrl = gone.urlText("");
        gone.stop();
        settings_.LocalUIType = 0;
        EXPECT_EQ(StartDownload(host_, {disk.child(1)}), kDownloadNoServer);
        EXPECT_NE(GetHTTPMSErrTxt(settings_), "0");
        settings_.LocalUIType = 2;
    };
    // ... until the next result replaces all three parts.
    failWithSystemError();
    EXPECT_EQ(StartDownload(host_, {disk.child(1)}, QString()), kDownloadNoDisk);
    EXPECT_EQ(GetHTTPErrCode(settings_), kDownloadNoDisk);
    EXPECT_EQ(settings_.httpErrorText, "선택한 다운위치는 디스크가 아닙니다.");
    EXPECT_EQ(GetHTTPMSErrTxt(settings_), "0");
    failWithSystemError();
    EXPECT_EQ(StartFolderDownload(host_, disk, true, target()), kDownloadTopNode);
    EXPECT_EQ(GetHTTPErrCode(settings_), kDownloadTopNode);
    EXPECT_EQ(settings_.httpErrorText, "최상위 ROOT 노드는 다운로드 할 수 없습니다.");
    EXPECT_EQ(GetHTTPMSErrTxt(settings_), "0");
    EXPECT_EQ(StartFolderDownload(host_, XmlNode(), false, target()), 0);
    EXPECT_EQ(
        events_.codes("downloadCompleted"),
        (QList<short>{kDownloadNoServer, kDownloadNoDisk, kDownloadNoServer, kDownloadTopNode}));
}

TEST_F(DownloadWindowTest, ChosenFolderIsRememberedAndWindowShowsRowStates) {
    serveCatalogueFiles();
    TestServer server({"--root", root()});
    pointAt(server);
    const XmlNode disk = catalogue(server);
    DownloadJob job;
    job.settings.hostBase = settings_.hostBaseUrl;
    job.settings.charset = "UTF-8";
    job.texts = DialogTextCopy({{"SL_SuccessMsg", "done"}, {"SL_FailureMsg", "failed"}});
    QueueDownloadElements(job, {disk.child(1)}, "_");
    job.addFileRow("gone.txt", "/gone.txt", 1, {});
    prompter_.folder = target();
    // The user takes a while to choose: the window's timer ticks meanwhile, before any row is
    // listed.
    prompter_.folderAnswerMs = 500;
    DownloadWindow window(job, prompter_, false, false, nullptr);
    window.exec();
    EXPECT_TRUE(window.workerStarted());
    EXPECT_FALSE(window.cancelAllButton()->isEnabled());
    EXPECT_EQ(readFile(targetFile("c.txt")), "gamma!");
    EXPECT_EQ(GetRemembered(RememberedValue::DownloadPath), target());
    EXPECT_EQ(window.fileList()->topLevelItem(0)->text(1), "done");
    EXPECT_EQ(window.fileList()->topLevelItem(1)->text(1), "failed");
    EXPECT_EQ(job.resultCode(), kDownloadNotFound);

    DownloadJob noFolder;
    noFolder.addFileRow("c.txt", "/c.txt", 6, {});
    prompter_.folder.clear();
    DownloadWindow closed(noFolder, prompter_, false, true, nullptr);
    closed.exec();
    EXPECT_FALSE(closed.workerStarted());
}

TEST_F(DownloadWindowTest, RowsShowRetryingAndEveryRowUnderWayItsOwnProgress) {
    writeFile("gone.txt", QByteArray(100, 'g'));
    writeFile("one.bin", 300000);
    writeFile("two.bin", 300000);
    TestServer server(
        {"--root", root(), "--rate", "300", "--cut", "before-head", "--cut-path", "/gone.txt"});
    pointAt(server);
    DownloadJob job;
    job.settings.hostBase = settings_.hostBaseUrl;
    job.settings.charset = "UTF-8";
    job.settings.downloadFolder = target();
    job.settings.retryCount = 1;
    job.settings.retryPausesMs = {300};
    job.settings.parallel = 2;
    job.texts = DialogTextCopy({{"SL_FailureMsg", "failed"}, {"SL_SuccessMsg", "done"}});
    job.addFileRow("gone.txt", "/gone.txt", 100, {});
    job.addFileRow("one.bin", "/one.bin", 300000, {});
    job.addFileRow("two.bin", "/two.bin", 300000, {});
    DownloadWindow window(job, prompter_, true, true, nullptr);
    QSet<QString> goneTexts;
    QSet<QString> countLines;
    int mostRowsWithPercent = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (window.fileList()->topLevelItemCount() < 3)
            return;
        goneTexts.insert(window.fileList()->topLevelItem(0)->text(1));
        countLines.insert(job.countLine());
        int withPercent = 0;
        for (int row = 1; row < 3; ++row)
            withPercent += window.fileList()->topLevelItem(row)->text(1).endsWith('%') ? 1 : 0;
        mostRowsWithPercent = std::max(mostRowsWithPercent, withPercent);
    });
    sampler.start(40);
    window.exec();
    // A page without a text for the state still sees it named.
    EXPECT_TRUE(goneTexts.contains("retrying"));
    EXPECT_EQ(window.fileList()->topLevelItem(0)->text(1), "failed");
    EXPECT_EQ(mostRowsWithPercent, 2);
    // one.bin began about 300 ms before two.bin: the count follows it ending first.
    EXPECT_TRUE(countLines.contains("1  (3 / 2)"))
        << QStringList(countLines.values()).join(", ").toStdString();
    EXPECT_EQ(window.fileList()->topLevelItem(1)->text(1), "done");
    EXPECT_EQ(window.fileList()->topLevelItem(2)->text(1), "done");
    EXPECT_EQ(job.resultCode(), kDownloadNoServer);
    EXPECT_EQ(job.bytesDone, 600000);
}

TEST_F(DownloadWindowTest, OpenedFileIsPrivateAndOnlySuccessOpens) {
    writeFile("doc.txt", QByteArray("document"));
    TestServer server({"--root", root(), "--status", "500", "--status-path", "/broken*"});
    pointAt(server);
    XmlDocument doc;
    doc.parseText(R"(<R><FILE name="1_doc.txt" path="/doc.txt" size="8"/>
        <FILE name="missing.txt" path="/missing.txt" size="0"/>
        <FILE name="broken.txt" path="/broken.txt" size="0"/>
        <FILE name="../doc.txt" path="/doc.txt" size="8"/></R>)");
    const XmlNode files = doc.root();

    EXPECT_EQ(OpenServerFile(host_, files.child(0)), 0);
    const QString saved = DownFolder() + "/doc.txt";
    ASSERT_EQ(opened_, QStringList{saved});
    EXPECT_EQ(readFile(saved), "document");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(saved).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    EXPECT_EQ(OpenServerFile(host_, files.child(1)), kDownloadNotFound);
    EXPECT_EQ(OpenServerFile(host_, files.child(2)), kDownloadBadReply);
    EXPECT_FALSE(QFileInfo::exists(DownFolder() + "/broken.txt"));
    EXPECT_EQ(OpenServerFile(host_, files.child(3)), kDownloadCannotCreate);
    settings_.ServerFileOpenLimitsize = 4;
    EXPECT_EQ(OpenServerFile(host_, files.child(0)), kDownloadTooLarge);
    EXPECT_EQ(opened_.size(), 1);
    EXPECT_EQ(events_.codes("openfileCompleted"),
              (QList<short>{0, kDownloadNotFound, kDownloadBadReply, kDownloadCannotCreate,
                            kDownloadTooLarge}));
}

TEST_F(DownloadWindowTest, BrokenConnectionNeverOpensAFile) {
    writeFile("doc.txt", QByteArray(40000, 'n'));
    XmlDocument doc;
    doc.parseText(R"(<R><FILE name="doc.txt" path="/doc.txt" size="40000"/></R>)");
    const XmlNode file = doc.root().child(0);
    const QString temporary = DownFolder() + "/doc.txt";
    struct Phase {
        QStringList options;
        qint16 code;
    };
    // The size is asked first; "--cut-skip 1" lets that request through and breaks the fetch.
    const QList<Phase> phases = {
        {{"--cut", "before-head"}, kDownloadNoServer},
        {{"--cut", "in-head"}, kDownloadCutShort},
        {{"--cut", "in-head", "--cut-skip", "1"}, kDownloadCutShort},
        {{"--cut", "before-head", "--cut-skip", "1"}, kDownloadNoServer},
        {{"--cut", "after-head"}, kDownloadCutShort},
        {{"--drop-after", "10000"}, kDownloadCutShort},
    };
    for (const Phase& phase : phases) {
        for (const bool earlierCopy : {true, false}) {
            const std::string label = phase.options.join(' ').toStdString() +
                                      (earlierCopy ? " over an earlier copy" : " fresh");
            QFile::remove(temporary);
            opened_.clear();
            if (earlierCopy)
                writeLocal(temporary, "an earlier copy");
            TestServer server(QStringList{"--root", root()} + phase.options);
            pointAt(server);
            EXPECT_EQ(OpenServerFile(host_, file), phase.code) << label;
            EXPECT_TRUE(opened_.isEmpty()) << label;
            const QByteArray left = QFileInfo::exists(temporary) ? readFile(temporary) : "";
            EXPECT_TRUE(left.isEmpty() || left == "an earlier copy") << label;
        }
    }
}

// Clicks the cancel button of the open window after `ms`, so a test of a fault that would
// otherwise never end fails instead of hanging.
void CancelOpenWindowAfter(int ms) {
    QTimer::singleShot(ms, qApp, [] {
        if (auto* window = dynamic_cast<OpenDownloadWindow*>(QApplication::activeModalWidget()))
            window->findChild<QPushButton*>()->click();
    });
}

TEST_F(DownloadWindowTest, OpenHoldsTheSizeLimitWhileReceivingAndRefusesLyingLengths) {
    writeFile("doc.txt", QByteArray(4000, 'd'));
    XmlDocument doc;
    doc.parseText(R"(<R><FILE name="doc.txt" path="/doc.txt" size="10"/></R>)");
    const XmlNode file = doc.root().child(0);
    const QString temporary = DownFolder() + "/doc.txt";
    {
        // The catalogue says 10 bytes and the reply has no length: only counting tells.
        TestServer server({"--root", root(), "--quirk", "endless", "--rate", "4000"});
        pointAt(server);
        settings_.ServerFileOpenLimitsize = 1000000;
        CancelOpenWindowAfter(10000);
        EXPECT_EQ(OpenServerFile(host_, file), kDownloadTooLarge);
        EXPECT_FALSE(QFileInfo::exists(temporary));
    }
    settings_.ServerFileOpenLimitsize = -1;
    for (const QString quirk : {"excess-length", "huge-length", "two-lengths"}) {
        TestServer server({"--root", root(), "--quirk", quirk});
        pointAt(server);
        EXPECT_EQ(OpenServerFile(host_, file), kDownloadBadReply) << quirk.toStdString();
        EXPECT_FALSE(QFileInfo::exists(temporary)) << quirk.toStdString();
    }
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(DownloadWindowTest, AnOpenEndedByTheProgramQuittingReportsCancelled) {
    writeFile("slow.bin", 400000);
    XmlDocument doc;
    doc.parseText(R"(<R><FILE name="slow.bin" path="/slow.bin" size="400000"/></R>)");
    TestServer server({"--root", root(), "--rate", "40"});
    pointAt(server);
    QTimer::singleShot(500, qApp, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(OpenServerFile(host_, doc.root().child(0)), kDownloadCancelled);
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_EQ(events_.codes("openfileCompleted"), QList<short>{kDownloadCancelled});
    // Let later tests run their windows: a finished application loop clears the quit.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(DownloadWindowTest, SameDayCleanupRemovesOnlyOldRegularFiles) {
    const QString folder = target() + "/temp";
    QDir().mkpath(folder + "/oldfolder");
    writeLocal(folder + "/old.txt", "old");
    writeLocal(folder + "/today.txt", "today");
    writeLocal(target() + "/outside.txt", "outside");
    const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
    for (const QString& path : {folder + "/old.txt", target() + "/outside.txt"}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(yesterday, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(QFile::link(target() + "/outside.txt", folder + "/link.txt"));

    EXPECT_EQ(CleanOldTempFiles(folder), 1);
    EXPECT_FALSE(QFileInfo::exists(folder + "/old.txt"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/today.txt"));
    EXPECT_TRUE(QFileInfo(folder + "/link.txt").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target() + "/outside.txt"));
    EXPECT_TRUE(QFileInfo(folder + "/oldfolder").isDir());
}

} // namespace
