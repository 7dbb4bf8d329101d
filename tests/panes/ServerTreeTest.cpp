#include "ServerPaneFixture.h"
#include "common/RememberedValues.h"
#include "panes/server/ServerTreeItemModel.h"

#include <QFile>

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

namespace {

// A catalogue whose elements nest `depth` deep: the root, a disk, then folders "f1", "f2", ...
// down to depth, the deepest holding one file.
QByteArray NestedCatalogue(int depth) {
    QByteArray text = "<MORVEXXML><FOLDER type=\"disk\" name=\"D\">";
    for (int level = 3; level <= depth; ++level)
        text += "<FOLDER name=\"f" + QByteArray::number(level) + "\">";
    text += "<FILE name=\"x.txt\" transtype=\"server\" path=\"/x.txt\" size=\"1\"/>";
    for (int level = 3; level <= depth; ++level)
        text += "</FOLDER>";
    return text + "</FOLDER></MORVEXXML>";
}

// Folder levels below the tree's first top-level node, following first children.
int LevelsBelowFirstDisk(const ServerTreeModel& tree) {
    int levels = 0;
    for (const ServerTreeNode* node = tree.topLevel().front().get(); !node->children.empty();
         node = node->children.front().get())
        ++levels;
    return levels;
}

} // namespace

TEST_F(ServerTreeTest, CataloguesNestedToTheLimitLoadAndDeeperOnesAreRefused) {
    // The file element of the deepest folder lies one level below the limit's last folder.
    load(QString::fromUtf8(NestedCatalogue(kMaxCatalogueDepth - 1)));
    EXPECT_EQ(LevelsBelowFirstDisk(controller.tree()), kMaxCatalogueDepth - 3);
    ServerTreeItemModel model(controller.tree());
    QModelIndex deepest = model.index(0, 0);
    while (model.rowCount(deepest) > 0)
        deepest = model.index(0, 0, deepest);
    EXPECT_EQ(model.data(deepest, Qt::DisplayRole), "f" + QString::number(kMaxCatalogueDepth - 1));
    EXPECT_EQ(ServerTreeModel::serverPath(ServerTreeItemModel::node(deepest)).count('/'),
              kMaxCatalogueDepth - 3);

    for (const int depth : {kMaxCatalogueDepth, 300000}) {
        const QString file = dir.filePath("deep.xml");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(NestedCatalogue(depth));
        out.close();
        prompter.messages.clear();
        EXPECT_FALSE(catalogue.LoadFile(file, prompter)) << depth;
        EXPECT_EQ(prompter.messages, QStringList{"load에러"});
        EXPECT_FALSE(QFile::exists(file));
    }
    // The refused documents left the loaded one in place; replacing it drops the deep tree.
    EXPECT_EQ(catalogue.GetServerListFileCount("D", true), 1);
    load(kTwoDisks);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(LevelsBelowFirstDisk(controller.tree()), 2);
}

TEST(ServerTreeModelTest, TreesOfAnyDepthAreBuiltAndDroppedWithoutRecursion) {
    const int depth = 300000;
    XmlDocument document;
    ASSERT_EQ(document.parseBytes(NestedCatalogue(depth)), XmlDocument::ParseStatus::Parsed);
    {
        ServerTreeModel tree;
        ASSERT_TRUE(tree.build(document.root()));
        EXPECT_EQ(LevelsBelowFirstDisk(tree), depth - 2);
        tree.clear();
        EXPECT_TRUE(tree.topLevel().empty());
        ASSERT_TRUE(tree.build(document.root()));
        ServerTreeNode* middle = tree.topLevel().front().get();
        for (int level = 0; level < depth / 2; ++level)
            middle = middle->children.front().get();
        tree.remove(middle);
        EXPECT_EQ(LevelsBelowFirstDisk(tree), depth / 2 - 1);
        ASSERT_TRUE(tree.build(document.root()));
    }
}
