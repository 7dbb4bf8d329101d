#include "ServerPaneFixture.h"

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="f"><FILE name="s" transtype="server" size="10" path="/D/f/s"/>
<FILE name="l" transtype="local" size="5" path="/tmp/l"/></FOLDER>
<FOLDER name="same" id="1"/><FOLDER name="same" id="2"/>
<FILE name="same" transtype="server" size="3" path="/D/same"/>
<FILE name="big1" transtype="server" size="3221225472" path="/D/big1"/>
<FILE name="big2" transtype="local" size="3221225472" path="/tmp/big2"/>
</FOLDER></MORVEXXML>)";

class ServerDeleteTest : public ServerPaneFixture {
protected:
    void SetUp() override {
        load(kCatalogue);
        controller.goToFolder("D", 1);
    }
};

TEST_F(ServerDeleteTest, AFolderRecordsItsServerFilesAndCountsEveryFile) {
    controller.list().setSelectedRows({0});
    controller.deleteSelected(ServerListPane);
    EXPECT_EQ(events.lines.last(), "serverItemDeleteCompleted(0,15)");
    ASSERT_EQ(journal.GetServerDeleteFileCount(), 1);
    EXPECT_EQ(journal.GetServerDeleteFile(0), "/D/f/s");
    EXPECT_EQ(journal.GetServerDeleteFileXmlPath(0), "D/f/");
    EXPECT_TRUE(catalogue.FindFolder("D/f").isNull());
    EXPECT_EQ(controller.tree().topLevel().front()->children.size(), 2u);
    EXPECT_EQ(rowNames().first(), "same");
}

TEST_F(ServerDeleteTest, TotalsAbove4GiBAreReportedWhole) {
    controller.list().setSelectedRows({4, 5});
    controller.deleteSelected(ServerListPane);
    EXPECT_EQ(events.lines.last(), "serverItemDeleteCompleted(0,6442450944)");
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 1);
    EXPECT_EQ(rowNames(), (QStringList{"f", "same", "same", "same"}));
}

TEST_F(ServerDeleteTest, SameNamedEntriesAreDeletedByElement) {
    controller.list().setSelectedRows({2, 3}); // the second folder "same" and the file "same"
    controller.deleteSelected(ServerListPane);
    EXPECT_EQ(rowNames(), (QStringList{"f", "same", "big1", "big2"}));
    EXPECT_EQ(controller.list().row(1).element.attribute("id"), "1");
    ASSERT_EQ(journal.GetServerDeleteFileCount(), 1);
    EXPECT_EQ(journal.GetServerDeleteFile(0), "/D/same");
    const auto& folders = controller.tree().topLevel().front()->children;
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[1]->element.attribute("id"), "1");
}

TEST_F(ServerDeleteTest, NothingIsDeletedForTheRootOrTheParentRow) {
    controller.deleteSelected(ServerTreePane);
    EXPECT_EQ(events.lines.last(), "serverItemDeleteCompleted(-500,0)");
    controller.goToFolder("D/f", 1);
    controller.list().setSelectedRows({0});
    controller.deleteSelected(ServerListPane);
    EXPECT_EQ(events.lines.last(), "serverItemDeleteCompleted(-500,0)");
    controller.list().clearSelection();
    const int before = events.lines.size();
    controller.deleteSelected(ServerListPane);
    EXPECT_EQ(events.lines.size(), before);
    EXPECT_EQ(rowNames(), (QStringList{"..", "s", "l"}));
}

TEST_F(ServerDeleteTest, DeletingTheSelectedTreeFolderSelectsItsParent) {
    controller.goToFolder("D/f", 1);
    controller.deleteSelected(ServerTreePane);
    EXPECT_EQ(controller.selectedPath(), "D");
    EXPECT_EQ(events.lines.mid(events.lines.size() - 2),
              (QStringList{"treeSelectionChanged(0,D)", "serverItemDeleteCompleted(0,15)"}));
    EXPECT_EQ(rowNames().first(), "same");
}

TEST_F(ServerDeleteTest, DeleteByNameTakesExactlyTheEntryFound) {
    EXPECT_FALSE(controller.deleteListEntry("D/f", "nothing"));
    EXPECT_FALSE(controller.deleteListEntry("D/gone", "s"));
    EXPECT_EQ(events.count("serverItemDeleteCompleted"), 0);
    EXPECT_FALSE(catalogue.FindFolder("D/f").isNull());
    EXPECT_TRUE(controller.deleteListEntry("/D/f/", "l"));
    EXPECT_EQ(rowNames(), (QStringList{"..", "s"}));
    EXPECT_EQ(events.lines.last(), "serverItemDeleteCompleted(0,5)");
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 0);
}

} // namespace
