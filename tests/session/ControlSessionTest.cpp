#include "session/ControlSession.h"

#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "RecordingEvents.h"
#include "TestServer.h"
#include "panes/local/RealLocalNamespace.h"
#include "session/PaneCommand.h"
#include "session/ScriptedPrompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A session with no window at all, over a loopback site that serves a UI configuration and a
// catalogue.
class ControlSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        write("ui.xml", "<UI><NEWFOLDERNAME VALUE=\"new\"/></UI>");
        write("catalogue.xml", "<MORVEXXML><FOLDER name=\"disk\" type=\"disk\"><FILE "
                               "name=\"a.txt\" size=\"3\"/></FOLDER></MORVEXXML>");
        server = std::make_unique<TestServer>(QStringList{"--root", site.path()});
        ASSERT_TRUE(server->isRunning());
        session.settings().UIConfigXML = "/ui.xml";
        session.settings().ServerFileListXML = "/catalogue.xml";
        session.setHostPage(HostPage::fromUrl(QUrl(server->urlText("/page.html")), {}));
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(site.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    IsolatedHome home;
    QTemporaryDir site;
    std::unique_ptr<TestServer> server;
    RecordingEvents events;
    QStringList prompts;
    ScriptedPrompter prompter{[this](const QString& line) {
        prompts.append(line);
    }};
    ControlSession session{events, std::make_unique<RealLocalNamespace>()};
};

} // namespace

TEST_F(ControlSessionTest, StartsAndLoadsWithoutAnyWindow) {
    session.setPrompter(prompter);
    ASSERT_TRUE(session.start());
    EXPECT_FALSE(session.start()) << "the initialisation runs once";
    session.requestStartupLoad();
    EXPECT_EQ(events.lines, QStringList({"treeSelectionChanged(0,disk)", "xmlLoadCompleted(0)",
                                         "loadCompleted(0)"}));
    EXPECT_TRUE(session.isLoadCompleted());
    EXPECT_EQ(session.catalogue().GetDiskCount(), 1);
    EXPECT_EQ(session.catalogue().GetServerListFileCount("disk", false), 1);
    EXPECT_EQ(session.settings().newFolderName, "new");
    EXPECT_EQ(session.focusPane(), ServerListPane) << "layout 0 shows the server list only";

    // Commands that need a window do nothing without one; the others work.
    session.runCommand(PaneCommand::Download);
    session.runCommand(PaneCommand::ServerOpen);
    session.runCommand(PaneCommand::ServerSelectAll);
    EXPECT_EQ(session.serverPane().selectedCount(), 1);
    EXPECT_TRUE(prompts.isEmpty()) << prompts.join('\n').toStdString();
}

TEST_F(ControlSessionTest, RefreshRereadsTheCatalogueButNotTheConfigurationAndReportsNothing) {
    session.setPrompter(prompter);
    session.start();
    session.requestStartupLoad();
    events.lines.clear();
    write("catalogue.xml", "<MORVEXXML><FOLDER name=\"disk\" type=\"disk\"/>"
                           "<FOLDER name=\"two\" type=\"disk\"/></MORVEXXML>");
    write("ui.xml", "<UI><NEWFOLDERNAME VALUE=\"changed\"/></UI>");

    session.runCommand(PaneCommand::ServerRefresh);
    EXPECT_EQ(session.catalogue().GetDiskCount(), 2);
    EXPECT_EQ(session.settings().newFolderName, "new");
    EXPECT_EQ(events.count("xmlLoadCompleted"), 0);
    EXPECT_EQ(session.focusPane(), ServerTreePane);
}

// One prompter answers for the whole run: the host's own choice wins over the windows' offer
// in either order, and nothing changes it once the control has started.
TEST_F(ControlSessionTest, ThePrompterIsTheHostsChoiceAndFixedOnceStarted) {
    QStringList offered;
    ScriptedPrompter windows{[&](const QString& line) {
        offered.append(line);
    }};
    session.setPrompter(prompter);
    session.offerPrompter(windows);
    session.start();
    EXPECT_FALSE(session.setPrompter(windows));
    session.prompter().message("title", "text");
    EXPECT_EQ(prompts, QStringList({"prompt: message: text"}));
    EXPECT_TRUE(offered.isEmpty());
}

TEST(DragTargetsTest, TheSettingsDecideWhereADragMayEnd) {
    const auto targets = [](qint16 source, const ControlSettings& settings, bool items = true) {
        const DropTargets found = DragTargetsFrom(source, settings, items);
        QString text;
        for (qint16 pane = ServerTreePane; pane <= LocalListPane; ++pane)
            text += found.allows(pane) ? QString::number(pane) : QString();
        return text;
    };
    ControlSettings settings;
    settings.LocalUIType = 2;
    EXPECT_EQ(targets(LocalListPane, settings), "12");
    EXPECT_EQ(targets(LocalTreePane, settings), "12");
    EXPECT_EQ(targets(ServerListPane, settings), "134") << "a list never drops on itself";
    EXPECT_EQ(targets(ServerTreePane, settings), "1234");
    EXPECT_EQ(targets(ServerTreePane, settings, false), "") << "a top node or no rows";

    settings.IsServerToServerDrag = false;
    EXPECT_EQ(targets(ServerListPane, settings), "34");
    settings.IsDragDownload = false;
    EXPECT_EQ(targets(ServerTreePane, settings), "");
    settings.IsServerToServerDrag = true;
    settings.IsServerTreeDragOff = true;
    EXPECT_EQ(targets(ServerTreePane, settings), "");
    EXPECT_EQ(targets(ServerListPane, settings), "1");

    settings = {};
    settings.LocalUIType = 1;
    EXPECT_EQ(targets(ServerListPane, settings), "1") << "no local pane to download into";
    settings.IsDragUpload = false;
    EXPECT_EQ(targets(LocalListPane, settings), "");
    settings.IsDragUpload = true;
    settings.LocalUIType = 0;
    EXPECT_EQ(targets(LocalListPane, settings), "");
}

TEST_F(ControlSessionTest, ADownloadWaitingForThePageNamesItsEntriesAndDiesWithAReload) {
    QTemporaryDir local;
    QStringList downloads;
    SessionWindows windows;
    windows.download = [&](const QList<XmlNode>& selection, const QString& folder) {
        for (const XmlNode& entry : selection)
            downloads.append(entry.attribute("name") + " -> " + folder);
    };
    session.setWindows(windows);
    session.setPrompter(prompter);
    session.settings().LocalUIType = 2;
    session.settings().IsDragDownAfterEvent = true;
    session.start();
    session.requestStartupLoad();
    session.ensureLocalPaneSetUp();
    ASSERT_TRUE(session.localPane().goToFolder(local.path()));
    session.serverPane().selectAll();
    events.lines.clear();

    ASSERT_TRUE(session.beginDrag(ServerListPane));
    session.dropDrag({LocalListPane, nullptr, {}});
    EXPECT_EQ(events.lines, QStringList{"dragDownSelectTarget(0)"});
    EXPECT_TRUE(downloads.isEmpty());
    session.dragSelectedItemDown();
    EXPECT_EQ(downloads, QStringList{"a.txt -> " + local.path()});

    downloads.clear();
    session.refreshServerPane();
    session.dragSelectedItemDown();
    EXPECT_TRUE(downloads.isEmpty()) << "the entries it named belong to the old catalogue";
}
