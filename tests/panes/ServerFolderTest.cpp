#include "ServerPaneFixture.h"

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="a"><FOLDER name="x"/><FOLDER name="y"/><FILE name="1"/><FILE name="2"/></FOLDER>
<FOLDER name="b"/><FILE name="c"/>
</FOLDER></MORVEXXML>)";

class ServerFolderTest : public ServerPaneFixture {
protected:
    void SetUp() override { load(kCatalogue); }
};

TEST_F(ServerFolderTest, NewFoldersAreNumberedAndInsertedAfterTheFolders) {
    settings.newFolderName = "N";
    controller.goToFolder("D/a", 1);
    controller.newFolder("");
    controller.newFolder("");
    controller.newFolder("");
    EXPECT_EQ(events.lines.filter("newFolderCompleted"),
              (QStringList{"newFolderCompleted(0,3,D/a/N)", "newFolderCompleted(0,4,D/a/N (2))",
                           "newFolderCompleted(0,5,D/a/N (3))"}));
    EXPECT_EQ(rowNames(), (QStringList{"..", "x", "y", "N", "N (2)", "N (3)", "1", "2"}));
    EXPECT_EQ(controller.tree().selected()->children[2]->label, "N");
    EXPECT_EQ(catalogue.GetServerListFolderItem("D/a", false, "name", 2), "N");
    EXPECT_EQ(catalogue.FindFolder("D/a").child(2).attribute("name"), "N");
    controller.goToFolder("D", 1);
    controller.newFolder("b");
    EXPECT_EQ(events.lines.last(), "newFolderCompleted(0,2,D/b (2))");
}

TEST_F(ServerFolderTest, NamesThatPathsCannotAddressAreRefused) {
    controller.goToFolder("D", 1);
    for (const QString& name :
         {QString("a/b"), QString("."), QString(".."), QString("n") + QChar(0) + "ul", QString()}) {
        controller.newFolder(name);
        EXPECT_EQ(events.lines.last(), "newFolderCompleted(-200,-1,)");
    }
    controller.clear();
    controller.newFolder("fine");
    EXPECT_EQ(events.lines.last(), "newFolderCompleted(-202,-1,)");
}

TEST_F(ServerFolderTest, FoldersMoveAmongFolderSiblingsOnly) {
    controller.goToFolder("D/a", 1);
    EXPECT_EQ(controller.moveFolder(-1), kNoPreviousFolder);
    EXPECT_EQ(events.lines.last(), "nodeUpDownCompleted(-2200,1)");
    EXPECT_EQ(controller.moveFolder(1), 0);
    EXPECT_EQ(catalogue.GetServerListFolderItem("D", false, "name", 0), "b");
    EXPECT_EQ(controller.tree().topLevel().front()->children[1]->label, "a");
    EXPECT_EQ(controller.selectedPath(), "D/a");
    EXPECT_EQ(controller.moveFolder(1), kNoNextFolder); // the file "c" is no sibling
    EXPECT_EQ(events.lines.last(), "nodeUpDownCompleted(-2201,2)");
    EXPECT_EQ(controller.moveFolder(-1), 0);
    EXPECT_EQ(catalogue.GetServerListFolderItem("D", false, "name", 0), "a");
}

} // namespace
