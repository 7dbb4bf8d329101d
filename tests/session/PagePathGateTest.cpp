#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/server/AddCodes.h"
#include "session/ControlSession.h"
#include "session/PaneCommand.h"
#include "session/ScriptedPrompter.h"
#include "transfer/DownloadJob.h"

#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Answers from a fixed list and records every question as "use:path".
class ListGate : public PagePathGate {
public:
    bool allows(PagePathUse use, const QString& path) override {
        static const char* const names[] = {"queue", "delete", "download", "open"};
        asked.append(QStringLiteral("%1:%2").arg(names[static_cast<int>(use)], path));
        return allowed.contains(path);
    }
    QStringList allowed;
    QStringList asked;
};

// The face as a page sees it, with a folder of real files and a catalogue to queue them into.
class PagePathGateTest : public ::testing::Test {
protected:
    void SetUp() override {
        QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
        engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
        engine.evaluate(
            "var events = [];"
            "ctrl.OnAddfileError.connect(function (c, n, p) { events.push(c + ' ' + n); });"
            "ctrl.OnDownloadCompleat.connect(function (c) { events.push('down ' + c); });");
        ctrl.session().setPrompter(prompter);
        ASSERT_EQ(ctrl.session().catalogue().Load(ctrl.settings(), prompter), 0);
        ctrl.session().serverPane().buildTree();
        ctrl.session().serverPane().selectFirstFolder();
    }
    QString file(const QString& name) {
        QFile out(files.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("abc");
        return out.fileName();
    }
    QString eval(const QString& code) { return engine.evaluate(code).toString(); }

    IsolatedHome home;
    QTemporaryDir files;
    ScriptedPrompter prompter{[](const QString&) {
    }};
    ListGate gate;
    CMxVantrel2Ctrl ctrl;
    QJSEngine engine;
};

} // namespace

TEST_F(PagePathGateTest, WithoutAGateEveryPathIsTheEmbeddingPagesToUse) {
    const QString path = file("a.txt");
    eval(QStringLiteral("ctrl.AddLocalFile('%1')").arg(path));
    EXPECT_EQ(eval("events.join('|')"), "");
    EXPECT_EQ(ctrl.session().catalogue().GetServerListFileCount("Server", false), 1);
    EXPECT_EQ(eval(QStringLiteral("ctrl.DeleteLocalFile('%1')").arg(file("b.txt"))), "true");
}

TEST_F(PagePathGateTest, RefusedPathsAreNotQueuedDeletedOrOpened) {
    ctrl.session().setPagePathGate(&gate);
    const QString kept = file("kept.txt");
    eval(QStringLiteral("ctrl.AddLocalFile('%1')").arg(kept));
    EXPECT_EQ(eval("events.join('|')"), "-1015 kept.txt");
    EXPECT_EQ(ctrl.session().catalogue().GetServerListFileCount("Server", false), 0);

    EXPECT_EQ(eval(QStringLiteral("ctrl.DeleteLocalFile('%1')").arg(kept)), "false");
    EXPECT_TRUE(QFile::exists(kept));

    ctrl.settings().LocalUIType = 2;
    // Asked before the path is looked at: a missing folder answers the same refusal.
    EXPECT_EQ(eval(QStringLiteral("ctrl.SetLocalGoFolder('%1')").arg(files.path())), "-4");
    EXPECT_EQ(eval("ctrl.SetLocalGoFolder('/no/such/folder')"), "-4");
    EXPECT_EQ(gate.asked, QStringList({"queue:" + kept, "delete:" + kept, "open:" + files.path(),
                                       "open:/no/such/folder"}));
}

TEST_F(PagePathGateTest, AllowedPathsGoAheadAsBefore) {
    ctrl.session().setPagePathGate(&gate);
    const QString queued = file("q.txt"), gone = file("gone.txt");
    gate.allowed = {queued, gone};
    eval(QStringLiteral("ctrl.AddLocalFile('%1')").arg(queued));
    EXPECT_EQ(ctrl.session().catalogue().GetServerListFileCount("Server", false), 1);
    EXPECT_EQ(eval(QStringLiteral("ctrl.DeleteLocalFile('%1')").arg(gone)), "true");
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_EQ(eval("events.join('|')"), "");
}

TEST_F(PagePathGateTest, ADownloadIntoTheFolderThePageFixedNeedsTheGatesWord) {
    ctrl.session().setPagePathGate(&gate);
    QStringList downloads;
    SessionWindows windows;
    windows.download = [&](const QList<XmlNode>& selection, const QString&) {
        downloads.append(QString::number(selection.size()));
    };
    ctrl.session().setWindows(windows);
    ASSERT_EQ(ctrl.AddServerFile("/f/a.txt", "a.txt", 3, "", ""), 0);
    ctrl.session().setFocusPane(ServerListPane);
    ctrl.session().runCommand(PaneCommand::ServerSelectAll);

    ctrl.settings().DownPathFix = files.path();
    eval("ctrl.SelectedItemDown()");
    EXPECT_TRUE(downloads.isEmpty());
    EXPECT_EQ(eval("events.join('|')"), "down -313");
    EXPECT_EQ(ctrl.GetHTTPErrCode(), kDownloadNotAllowed);
    EXPECT_TRUE(ctrl.GetHTTPErrText().contains(files.path()));

    gate.allowed = {files.path()};
    eval("ctrl.SelectedItemDown()");
    EXPECT_EQ(downloads, QStringList({"1"}));

    // A drop-folder layout never writes to DownPathFix; the gate is not asked.
    gate.asked.clear();
    ctrl.settings().LocalUIType = 2;
    eval("ctrl.SelectedItemDown()");
    EXPECT_TRUE(gate.asked.isEmpty());
}
