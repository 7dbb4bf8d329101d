#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "RecordingEvents.h"
#include "TestServer.h"
#include "panes/local/RealLocalNamespace.h"
#include "panes/server/ServerTreeItemModel.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace RenameCode;

const QByteArray kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="a"><FILE name="in.txt" transtype="server"/></FOLDER><FOLDER name="b"/>
<FILE path="/D/s.txt" name="s.txt" transtype="server" size="1"/>
<FILE path="/D/t.txt" name="t.txt" transtype="server" size="1"/>
</FOLDER></MORVEXXML>)";

// Records every event; a page's handler for OnRenameCompleat runs when one is set.
class PageEvents : public RecordingEvents {
public:
    void renameCompleted(short code) override {
        RecordingEvents::renameCompleted(code);
        if (onRename)
            onRename(code);
    }
    std::function<void(short)> onRename;
};

// A session without windows over a loopback site, both panes shown (layout 2), the local
// pane in a folder of its own with two files and a folder.
class RenameSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        write(site.filePath("ui.xml"), "<UI/>");
        write(site.filePath("catalogue.xml"), kCatalogue);
        write(local.filePath("m.txt"), "m");
        write(local.filePath("n.txt"), "nn");
        ASSERT_TRUE(QDir(local.path()).mkpath("p"));
        server = std::make_unique<TestServer>(QStringList{"--root", site.path()});
        ASSERT_TRUE(server->isRunning());
        session.settings().UIConfigXML = "/ui.xml";
        session.settings().ServerFileListXML = "/catalogue.xml";
        session.settings().LocalUIType = 2;
        session.setHostPage(HostPage::fromUrl(QUrl(server->urlText("/page.html")), {}));
        session.setPrompter(prompter);
        session.start();
        session.requestStartupLoad();
        ASSERT_TRUE(session.localPane().goToFolder(local.path()));
        events.lines.clear();
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    int serverRow(const QString& name) {
        const ServerListModel& list = session.serverPane().list();
        for (int row = 0; row < list.rowCount(); ++row) {
            if (list.text(row, NameColumn) == name)
                return row;
        }
        return -1;
    }
    int localRow(const QString& name) {
        const LocalListModel& list = session.localPane().list();
        for (int row = 0; row < list.size(); ++row) {
            if (list.row(row).entry.name == name)
                return row;
        }
        return -1;
    }
    // The server list's views hand over indexes of their own model; only the row counts.
    QModelIndex serverIndex(const QString& name) {
        rows.setRowCount(session.serverPane().list().rowCount());
        rows.setColumnCount(1);
        return rows.index(serverRow(name), 0);
    }
    QModelIndex localIndex(const QString& name) {
        return session.localPane().list().index(localRow(name), 0);
    }
    QList<short> reported() { return events.codes("renameCompleted"); }

    IsolatedHome home;
    QTemporaryDir site, local;
    std::unique_ptr<TestServer> server;
    PageEvents events;
    ScriptedPrompter prompter{[](const QString&) {
    }};
    ControlSession session{events, std::make_unique<RealLocalNamespace>()};
    QSignalSpy editorRequests{&session, &ControlSession::renameEditorRequested};
    QStandardItemModel rows;
};

} // namespace

TEST_F(RenameSessionTest, TheScriptMethodsActOnTheFocusedViewOnly) {
    session.setFocusPane(ServerTreePane);
    session.renameModeList(0);
    EXPECT_TRUE(reported().isEmpty());
    session.renameModeTree();
    EXPECT_EQ(reported(), QList<short>{NotRenameable}) << "a disk";
    session.serverPane().goToFolder("D/a", 1);
    session.renameModeTree();
    ASSERT_EQ(editorRequests.count(), 1);
    EXPECT_EQ(editorRequests[0], (QVariantList{qint16(ServerTreePane), -1, QString()}));

    session.setFocusPane(ServerListPane);
    session.renameModeTree();
    session.renameModeList(0);  // ".."
    session.renameModeList(99); // no such row
    session.renameModeList(1);
    EXPECT_EQ(reported(), (QList<short>{NotRenameable, NotRenameable, NotRenameable}));
    ASSERT_EQ(editorRequests.count(), 2);
    EXPECT_EQ(editorRequests[1], (QVariantList{qint16(ServerListPane), 1, QString()}));

    session.setFocusPane(LocalTreePane);
    session.localPane().selectNode(session.localPane().tree().root());
    session.renameModeTree();
    session.setFocusPane(LocalListPane);
    session.renameModeList(0); // Computer
    EXPECT_EQ(reported().size(), 5);
    EXPECT_EQ(reported().last(), NotRenameable);
    EXPECT_EQ(editorRequests.count(), 2);
}

TEST_F(RenameSessionTest, F2RenamesTheFirstSelectedRowOrTheSelectedFolder) {
    session.startRename(ServerListPane);
    EXPECT_EQ(reported(), QList<short>{NotRenameable}) << "nothing selected";
    session.serverPane().list().setSelectedRows({serverRow("t.txt"), serverRow("s.txt")});
    session.startRename(ServerListPane);
    session.localPane().list().setSelectedRows({localRow("n.txt")});
    session.startRename(LocalListPane);
    session.startRename(LocalTreePane);
    ASSERT_EQ(editorRequests.count(), 3);
    EXPECT_EQ(editorRequests[0][1].toInt(), serverRow("s.txt"));
    EXPECT_EQ(editorRequests[1][1].toInt(), localRow("n.txt"));
    EXPECT_EQ(editorRequests[2][0].value<qint16>(), LocalTreePane);
    EXPECT_EQ(session.focusPane(), LocalTreePane);
}

// The rename is done when the editor closes; the page hears of it once the editor is gone.
TEST_F(RenameSessionTest, AnEditRenamesAtOnceAndIsReportedFromTheEventLoop) {
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "u.txt");
    EXPECT_EQ(session.catalogue().FindFile("D/u.txt").attribute("path"), "/D/s.txt");
    EXPECT_TRUE(reported().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(reported(), QList<short>{Renamed});
    EXPECT_EQ(session.journal().GetRenameNewFile(0), "D/u.txt");
    EXPECT_EQ(editorRequests.count(), 0);
}

TEST_F(RenameSessionTest, CorrectableCodesAskForTheEditorAgainWithWhatWasTyped) {
    const int row = serverRow("s.txt");
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "t.txt");
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "a:b");
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "...");
    QCoreApplication::processEvents();
    EXPECT_EQ(reported(), (QList<short>{NameTaken, BadCharacter, EmptyName}));
    ASSERT_EQ(editorRequests.count(), 2);
    EXPECT_EQ(editorRequests[0], (QVariantList{qint16(ServerListPane), row, QString("t.txt")}));
    EXPECT_EQ(editorRequests[1][2].toString(), "a:b");
    EXPECT_EQ(session.focusPane(), ServerListPane);
}

// What the page's handler changed decides: a reloaded catalogue or a refilled local list
// has no item to edit again.
TEST_F(RenameSessionTest, NoEditorComesBackForAnItemTheHandlerTookAway) {
    events.onRename = [this](short) {
        session.refreshServerPane();
        session.localPane().refresh();
    };
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "t.txt");
    session.nameEdited(LocalListPane, localIndex("m.txt"), "n.txt");
    QCoreApplication::processEvents();
    EXPECT_EQ(reported(), (QList<short>{NameTaken, NameTaken}));
    EXPECT_EQ(editorRequests.count(), 0);
}

TEST_F(RenameSessionTest, TreeFoldersAreRenamedAndAskedForAgainWhileStillSelected) {
    ServerTreeItemModel tree(session.serverPane().tree());
    session.serverPane().goToFolder("D/a", 1);
    const QModelIndex a = tree.indexOf(session.serverPane().tree().selected());
    session.nameEdited(ServerTreePane, a, "b");
    QCoreApplication::processEvents();
    ASSERT_EQ(editorRequests.count(), 1);
    EXPECT_EQ(editorRequests[0], (QVariantList{qint16(ServerTreePane), -1, QString("b")}));
    session.nameEdited(ServerTreePane, a, "c");
    session.serverPane().goToFolder("D", 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(reported(), (QList<short>{NameTaken, Renamed}));
    EXPECT_EQ(session.journal().GetRenameFolderNewPath(0), "D/c");
    session.serverPane().goToFolder("D/c", 1);
    session.nameEdited(ServerTreePane, tree.indexOf(session.serverPane().tree().selected()), "b");
    session.serverPane().goToFolder("D", 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(editorRequests.count(), 1) << "another folder is selected now";
}

TEST_F(RenameSessionTest, LocalItemsAreRenamedOnDisk) {
    session.nameEdited(LocalListPane, localIndex("m.txt"), "k.txt");
    session.nameEdited(LocalListPane, localIndex("k.txt"), "n.txt");
    const int taken = localRow("k.txt");
    QFile::remove(local.filePath("n.txt"));
    session.nameEdited(LocalListPane, localIndex("n.txt"), "o.txt");
    QCoreApplication::processEvents();
    EXPECT_EQ(reported(), (QList<short>{Renamed, NameTaken, NotOnDisk}));
    ASSERT_EQ(editorRequests.count(), 1);
    EXPECT_EQ(editorRequests[0], (QVariantList{qint16(LocalListPane), taken, QString("n.txt")}));

    ASSERT_TRUE(session.localPane().goToFolder(local.filePath("p")));
    session.nameEdited(LocalTreePane,
                       session.localPane().tree().indexOf(session.localPane().selected()), "q");
    QCoreApplication::processEvents();
    EXPECT_EQ(reported().last(), Renamed);
    EXPECT_EQ(QDir(local.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"k.txt", "q"}));
    EXPECT_EQ(session.localPane().selectedPath(), local.filePath("q"));
    EXPECT_EQ(session.journal().recordCount(JournalList::Rename), 0) << "nothing of the server";
}

// With both panes shown, a rename in the server list reads the local folder again.
TEST_F(RenameSessionTest, AServerListRenameRefreshesTheLocalPane) {
    write(local.filePath("late.txt"), "l");
    EXPECT_EQ(localRow("late.txt"), -1);
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "s.txt");
    EXPECT_EQ(localRow("late.txt"), -1) << "the name stayed, nothing changed";
    session.nameEdited(ServerListPane, serverIndex("s.txt"), "u.txt");
    EXPECT_GE(localRow("late.txt"), 0);
}
