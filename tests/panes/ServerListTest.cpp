#include "ServerPaneFixture.h"
#include "transfer/DownloadJob.h"

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="f1"><FILE name="inner.txt" transtype="server" size="1" path="/D/f1/inner.txt"/></FOLDER>
<FOLDER name="f2"/>
<FILE name="s.txt" transtype="server" size="1536" type="Text" modifydate="2024-01-02" path="/D/s.txt"/>
<FILE name="l.txt" transtype="local" size="0" path="/tmp/l.txt"/>
<FILE name="o.txt" size="abc"/>
</FOLDER></MORVEXXML>)";

class ServerListTest : public ServerPaneFixture {};

TEST_F(ServerListTest, RowsFollowTheFolderWithKindsTextsAndColours) {
    load(kCatalogue);
    controller.goToFolder("D", 1);
    EXPECT_EQ(rowNames(), (QStringList{"f1", "f2", "s.txt", "l.txt", "o.txt"}));
    const ServerListModel& list = controller.list();
    EXPECT_EQ(list.row(0).kind, ServerRowKind::Folder);
    EXPECT_EQ(list.row(2).kind, ServerRowKind::ServerFile);
    EXPECT_EQ(list.row(3).kind, ServerRowKind::LocalFile);
    EXPECT_EQ(list.row(4).kind, ServerRowKind::OtherFile);
    EXPECT_EQ(list.text(2, SizeColumn), "2KB");
    EXPECT_EQ(list.text(2, TypeColumn), "Text");
    EXPECT_EQ(list.text(2, DateColumn), "2024-01-02");
    EXPECT_EQ(list.text(3, SizeColumn), "0KB");
    EXPECT_EQ(list.text(4, SizeColumn), "0KB");
    EXPECT_EQ(list.colours(0).text, QColor(0, 0, 0));
    EXPECT_EQ(list.colours(2).selectionBar, QColor(0x08, 0x24, 0x6B));
    EXPECT_EQ(list.colours(3).text, QColor(0x33, 0x33, 0xCC));
    EXPECT_FALSE(list.colours(4).text.has_value());

    controller.goToFolder("D/f1", 1);
    EXPECT_EQ(rowNames(), (QStringList{"..", "inner.txt"}));
    EXPECT_FALSE(list.colours(0).text.has_value());
}

TEST_F(ServerListTest, SelectedQueriesSkipALeadingParentRow) {
    load(kCatalogue);
    controller.goToFolder("D/f1", 1);
    controller.list().setSelectedRows({0});
    EXPECT_EQ(controller.firstSelectedRow(), 0);
    EXPECT_EQ(controller.selectedCount(), 0);
    controller.goToFolder("D", 1);
    controller.selectAll();
    EXPECT_EQ(controller.selectedCount(), 5);
    EXPECT_TRUE(controller.selectedIsFolder(1));
    EXPECT_FALSE(controller.selectedIsFolder(2));
    EXPECT_FALSE(controller.selectedIsFolder(5));
    EXPECT_EQ(controller.selectedField("name", 2), "s.txt");
    EXPECT_EQ(controller.selectedField("path", 2), "/D/");
    EXPECT_EQ(controller.selectedField("pathname", 2), "/D/s.txt");
    EXPECT_EQ(controller.selectedField("size", 0), "0");
    EXPECT_EQ(controller.selectedField("size", 2), "1536");
    EXPECT_EQ(controller.selectedField("transtype", 3), "local");
    EXPECT_EQ(controller.selectedField("transtype", 4), "local");
    EXPECT_EQ(controller.selectedField("datetime", 2), "2024-01-02");
    EXPECT_EQ(controller.selectedField("parentfolderpath", 2), "D");
    EXPECT_EQ(controller.selectedField("xpath", 2), R"(FOLDER[@name="D"]/FILE[@name="s.txt"])");
    EXPECT_EQ(controller.selectedField("spath", 2), "D/");
    EXPECT_EQ(controller.selectedField("name", -1), "");
}

TEST_F(ServerListTest, ClicksAndDoubleClicksActOnTheFirstSelectedRow) {
    load(kCatalogue);
    controller.goToFolder("D", 1);
    controller.list().setSelectedRows({2});
    controller.listClicked();
    controller.listActivated();
    EXPECT_EQ(events.count("listItemClicked"), 1);
    EXPECT_EQ(events.count("listItemDoubleClicked"), 1);
    controller.list().setSelectedRows({0});
    controller.listActivated();
    EXPECT_EQ(controller.selectedPath(), "D/f1");
    controller.list().setSelectedRows({0});
    controller.listClicked();
    EXPECT_EQ(events.count("listItemClicked"), 1);
    controller.listActivated();
    EXPECT_EQ(controller.selectedPath(), "D");
}

// Only a file queued in this run opens from this machine: a "local" entry that came with the
// catalogue, or an entry of no kind, is the server's file whatever path it names.
TEST_F(ServerListTest, OpenTakesOnlyFilesQueuedInThisRunFromThisMachine) {
    load(kCatalogue);
    QStringList opened, fetched;
    bool openerWorks = true;
    controller.setHooks({{},
                         [&](const QString& path) {
                             opened.append(path);
                             return openerWorks;
                         },
                         [&](const XmlNode& file, qint16 runType) {
                             fetched.append(file.attribute("path"));
                             events.openfileCompleted(runType == 1 ? -301 : 0);
                         },
                         {}});
    controller.goToFolder("D", 1);
    const QString mine = localFile("mine.txt");
    ASSERT_EQ(controller.addLocalFile(mine), AddCode::Accepted);
    ASSERT_EQ(rowNames().last(), "mine.txt");
    const auto open = [this](int row) {
        controller.list().setSelectedRows({row});
        controller.openSelected();
    };
    open(3); // l.txt, "local" in the catalogue
    open(4); // o.txt, no transtype
    open(2); // s.txt
    open(5); // mine.txt
    openerWorks = false;
    open(5);
    EXPECT_EQ(opened, (QStringList{mine, mine}));
    EXPECT_EQ(fetched, (QStringList{"/tmp/l.txt", "", "/D/s.txt"}));
    EXPECT_EQ(settings.openFileName, "s.txt");
    EXPECT_EQ(events.codes("openfileCompleted"), (QList<short>{-301, -301, -301, 0, kOpenFailed}));

    controller.list().setSelectedRows({2, 3});
    controller.openSelected();
    controller.list().setSelectedRows({0});
    controller.openSelected();
    EXPECT_EQ(controller.selectedPath(), "D/f1");
    EXPECT_EQ(events.count("openfileCompleted"), 5);
}

// Script reads one "path" for a file whether it asks the selection or the catalogue.
TEST_F(ServerListTest, PathOfAFileIsTheSameFolderWhicheverQueryAsks) {
    load(kCatalogue);
    controller.goToFolder("D", 1);
    const QString mine = localFile("mine.txt");
    ASSERT_EQ(controller.addLocalFile(mine), AddCode::Accepted);
    controller.selectAll();
    const int folders = 2;
    for (int file = 0; file < 4; ++file)
        EXPECT_EQ(controller.selectedField("path", folders + file),
                  catalogue.GetServerListFileItem("D", false, "path", file))
            << file;
    EXPECT_EQ(controller.selectedField("path", 3), "/tmp/");
    EXPECT_EQ(controller.selectedField("path", 5), dir.path() + "/");
    EXPECT_EQ(controller.selectedField("pathname", 5), mine);
}

} // namespace
