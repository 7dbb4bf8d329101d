#include "ServerPaneFixture.h"
#include "common/RememberedValues.h"

namespace {

const QString kTwoDisks = R"(<MORVEXXML>
<FOLDER type="disk" name="D1"><FOLDER name="a"><FOLDER name="deep"/></FOLDER><FOLDER name="b"/></FOLDER>
<FOLDER type="disk" name="D2"><FOLDER name="x"/></FOLDER>
</MORVEXXML>)";

class ServerTreeTest : public ServerPaneFixture {};

TEST_F(ServerTreeTest, FirstSelectionFollowsAutoSelectAndTheRememberedPath) {
    load(kTwoDisks);
    SetRemembered(RememberedValue::ServerUserCurrentPath, "D2/x");
    settings.ServerTreeAutoSelect = false;
    controller.selectFirstFolder();
    EXPECT_EQ(controller.selectedPath(), "D1");
    EXPECT_TRUE(controller.tree().topLevel().front()->expanded);

    controller.clear();
    ASSERT_TRUE(controller.buildTree());
    SetRemembered(RememberedValue::ServerUserCurrentPath, "D2/x");
    settings.ServerTreeAutoSelect = true;
    controller.selectFirstFolder();
    EXPECT_EQ(controller.selectedPath(), "D2/x");
    EXPECT_EQ(GetRemembered(RememberedValue::ServerUserCurrentPath), "D2/x");
}

TEST_F(ServerTreeTest, AMissingRememberedFolderFallsBackToTheFirstDisk) {
    load(kTwoDisks);
    SetRemembered(RememberedValue::ServerUserCurrentPath, "D1/gone");
    controller.selectFirstFolder();
    EXPECT_EQ(controller.selectedPath(), "D1");

    controller.clear();
    ASSERT_TRUE(controller.buildTree());
    SetRemembered(RememberedValue::ServerUserCurrentPath, "NoSuchDisk/a");
    controller.selectFirstFolder();
    EXPECT_EQ(controller.selectedPath(), "D1");
}

TEST_F(ServerTreeTest, GoToFolderMatchesSegmentsExactly) {
    load(kTwoDisks);
    EXPECT_EQ(controller.goToFolder("", 1), -1);
    EXPECT_EQ(controller.goToFolder("/", 1), 0); // one empty segment: the first disk
    EXPECT_EQ(controller.selectedPath(), "D1");
    EXPECT_EQ(controller.goToFolder("/D1/a/deep/", 1), 0);
    EXPECT_EQ(controller.selectedPath(), "D1/a/deep");
    EXPECT_EQ(controller.selectedName(), "deep");
    EXPECT_EQ(controller.goToFolder("D1/A", 0), -1); // case-sensitive, keeps the selection
    EXPECT_EQ(controller.selectedPath(), "D1/a/deep");
    EXPECT_EQ(controller.goToFolder("D2/x", 2), 0);
    EXPECT_FALSE(controller.tree().selected()->expanded);
    controller.upFolder();
    EXPECT_EQ(controller.selectedPath(), "D2");
    controller.upFolder();
    EXPECT_EQ(controller.selectedPath(), "D2");
}

TEST_F(ServerTreeTest, SelectionChangeFiresOncePerChange) {
    load(kTwoDisks);
    controller.goToFolder("D1/a", 0);
    controller.goToFolder("D1/a", 1);
    controller.selectNode(controller.tree().selected());
    EXPECT_EQ(events.count("treeSelectionChanged"), 1);
    EXPECT_EQ(events.lines.last(), "treeSelectionChanged(0,D1/a)");
    controller.goToFolder("D1/b", 0);
    EXPECT_EQ(events.count("treeSelectionChanged"), 2);
    controller.clear(); // no handling while the tree empties
    EXPECT_EQ(events.count("treeSelectionChanged"), 2);
    EXPECT_TRUE(controller.selectedPath().isEmpty());
}

TEST_F(ServerTreeTest, SameNamedSiblingsKeepTheirOwnElements) {
    load(R"(<MORVEXXML><FOLDER type="disk" name="D"><FOLDER name="twin" id="1"/>
        <FOLDER name="twin" id="2"/></FOLDER></MORVEXXML>)");
    const auto& twins = controller.tree().topLevel().front()->children;
    ASSERT_EQ(twins.size(), 2u);
    controller.selectNode(twins[1].get());
    EXPECT_EQ(controller.tree().selected()->element.attribute("id"), "2");
    controller.goToFolder("D/twin", 0); // paths still reach the first
    EXPECT_EQ(controller.tree().selected()->element.attribute("id"), "1");
}

TEST_F(ServerTreeTest, AnEmptyCatalogueSelectsNothing) {
    load("<MORVEXXML/>");
    controller.selectFirstFolder();
    EXPECT_EQ(controller.tree().selected(), nullptr);
    EXPECT_EQ(controller.list().rowCount(), 0);
    EXPECT_EQ(controller.goToFolder("x", 1), -1);
}

} // namespace
