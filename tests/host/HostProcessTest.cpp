#include "IsolatedHome.h"
#include "QStringPrinter.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs vantrel-host offscreen on a page with the given script text.
class HostProcess : public ::testing::Test {
protected:
    HostRun run(const QString& script, QStringList args = {}) {
        const QString page = dir.filePath("page.js");
        QFile file(page);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(script.toUtf8());
        file.close();
        args.prepend("--offscreen");
        args.append(page);
        return start(args);
    }

    HostRun start(const QStringList& args) {
        QProcess process;
        process.start(VANTREL_HOST_PATH, args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    IsolatedHome home;
    QTemporaryDir dir;
};

} // namespace

TEST_F(HostProcess, PagePrintsDefaultsAndCatchesARefusedAssignment) {
    const HostRun r = run(R"(
        console.log(ctrl.HttpPORT); console.log(ctrl.Charset);
        console.log(ctrl.OneFileLimitsize); console.log(ctrl.InitDiskName);
        try { ctrl.exceptionExt = "exe"; } catch (e) { console.log("caught", e.name); }
        host.quit(0);)");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "0\nEUC-KR\n-1\n\ncaught TypeError\n");
}

TEST_F(HostProcess, ExitCodesTellHowThePageEnded) {
    EXPECT_EQ(run("host.quit(7)").exitCode, 7);

    const HostRun error = run("var a = 1;\nundefinedFunction();");
    EXPECT_EQ(error.exitCode, 1);
    EXPECT_TRUE(error.err.contains("ReferenceError")) << error.err.toStdString();

    const HostRun timeout = run("console.log('waiting')", {"--timeout", "1"});
    EXPECT_EQ(timeout.exitCode, 124);
    EXPECT_TRUE(timeout.out.startsWith("waiting\n")) << timeout.out.toStdString();

    EXPECT_EQ(start({"--offscreen", dir.filePath("missing.js")}).exitCode, 2);
    EXPECT_EQ(start({"--no-such-option"}).exitCode, 2);
    const HostRun help = start({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--screenshot"));
}

TEST_F(HostProcess, ScreenshotIsTakenJustBeforeExit) {
    const QString shot = dir.filePath("shot.png");
    const HostRun r = run("host.quit(0)", {"--size", "320x200", "--screenshot", shot});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(shot);
    EXPECT_EQ(image.size(), QSize(320, 200));
}

TEST_F(HostProcess, OffscreenPromptsPrintAndTakeTheAnswersThePageQueued) {
    const HostRun r = run(R"(
        host.answer("message", "ok");
        ctrl.OnXMLLoadCompleat.connect(function (code) { console.log("xml", code); });
        ctrl.OnLoadCompleat.connect(function () { console.log("loaded"); host.quit(3); });)");
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_EQ(r.out, "prompt: message: UI config XML not found.\nxml 0\nloaded\n");
}
