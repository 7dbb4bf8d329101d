#include "ServerPaneFixture.h"
#include "panes/server/ServerTreeItemModel.h"

#include <QAbstractItemModelTester>

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="a"><FOLDER name="x"><FOLDER name="deep"/></FOLDER><FILE name="1" transtype="server"/><FILE name="q" transtype="local"/></FOLDER>
<FOLDER name="b"><FOLDER name="x"/><FILE name="1"/></FOLDER>
<FOLDER name="c"><FILE name="keep"/></FOLDER>
</FOLDER></MORVEXXML>)";

class ServerMoveTest : public ServerPaneFixture {
protected:
    void SetUp() override { load(kCatalogue); }

    ServerTreeNode* folder(const QString& path) {
        const QStringList labels = path.split('/');
        ServerTreeNode* node = nullptr;
        for (const QString& label : labels)
            node = controller.tree().childByLabel(node, label);
        return node;
    }
    XmlNode entry(const QString& folderPath, const QString& name) {
        for (XmlNode child = catalogue.FindFolder(folderPath).firstChild(); child;
             child = child.nextSibling()) {
            if (child.attribute("name") == name)
                return child;
        }
        return {};
    }
    QStringList childNames(const QString& folderPath) {
        QStringList names;
        for (XmlNode child = catalogue.FindFolder(folderPath).firstChild(); child;
             child = child.nextSibling())
            names.append(child.name() + ":" + child.attribute("name"));
        return names;
    }
};

TEST_F(ServerMoveTest, FilesAndFoldersMoveIntoTheTargetAndAreJournalledOnce) {
    ServerTreeItemModel model(controller.tree());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    controller.goToFolder("D/a", 1);
    controller.moveEntries(folder("D/a"), {entry("D/a", "x"), entry("D/a", "q")}, folder("D/c"));

    EXPECT_EQ(events.lines, (QStringList{"treeSelectionChanged(0,D/a)", "dragDropCompleted(0)"}));
    // A folder goes after the folders, before the first file; a file goes last.
    EXPECT_EQ(childNames("D/c"), (QStringList{"FOLDER:x", "FILE:keep", "FILE:q"}));
    EXPECT_EQ(childNames("D/a"), (QStringList{"FILE:1"}));
    ASSERT_NE(folder("D/c/x"), nullptr);
    EXPECT_NE(folder("D/c/x/deep"), nullptr) << "the subtree moves with its folder";
    EXPECT_EQ(folder("D/a")->children.size(), 0u);
    EXPECT_EQ(rowNames(), (QStringList{"..", "1"})) << "the shown folder's list follows";

    EXPECT_EQ(journal.GetDragDropFolderCount(), 1);
    EXPECT_EQ(journal.GetDragFolderPath(0), "D/a/x");
    EXPECT_EQ(journal.GetDropFolderPath(0), "D/c/x");
    EXPECT_EQ(journal.GetDragDropFileCount(), 1);
    EXPECT_EQ(journal.GetDragFile(0), "D/a/q");
    EXPECT_EQ(journal.GetDropFile(0), "D/c/q");
    EXPECT_EQ(journal.GetDropXmlPath(0), "D/c/");
    EXPECT_EQ(journal.field(JournalList::DragDrop, RecordKind::File, 0, "type"), "virtual");
    EXPECT_EQ(journal.field(JournalList::DragDrop, RecordKind::File, 0, "Query"),
              R"(FOLDER[@name="D"]/FOLDER[@name="c"]/FILE[@name="q"])");
}

TEST_F(ServerMoveTest, RefusedEntriesAreReportedAndSkippedTheRestMove) {
    controller.goToFolder("D/a", 1);
    const XmlNode x = entry("D/a", "x");
    // Onto itself, below itself, a name the target holds; then one that moves.
    controller.moveEntries(folder("D/a"), {x}, folder("D/a/x"));
    controller.moveEntries(folder("D/a"), {x}, folder("D/a/x/deep"));
    controller.moveEntries(folder("D/a"), {x, entry("D/a", "1"), entry("D/a", "q")}, folder("D/b"));
    EXPECT_EQ(events.lines.mid(1), (QStringList{"dragDropError(-451,x)", "dragDropError(-451,x)",
                                                "dragDropError(-450,x)", "dragDropError(-450,1)",
                                                "dragDropCompleted(0)"}));
    EXPECT_EQ(childNames("D/a"), (QStringList{"FOLDER:x", "FILE:1"}));
    EXPECT_EQ(journal.GetDragDropFolderCount(), 0);
    EXPECT_EQ(journal.GetDragDropFileCount(), 1);
}

TEST_F(ServerMoveTest, AMoveTheJournalCannotRecordIsPutBack) {
    ChangeJournal none;
    ServerPaneController unjournalled{catalogue, none, settings, uiConfig, prompter, events};
    ASSERT_TRUE(unjournalled.buildTree());
    unjournalled.goToFolder("D/a", 1);
    ServerTreeNode* a = unjournalled.tree().selected();
    ServerTreeNode* c = unjournalled.tree().childByLabel(a->parent, "c");
    unjournalled.moveEntries(a, {entry("D/a", "x"), entry("D/a", "1")}, c);
    EXPECT_EQ(events.lines.mid(events.lines.size() - 2),
              (QStringList{"dragDropError(-452,x)", "dragDropError(-452,1)"}));
    EXPECT_EQ(childNames("D/a"), (QStringList{"FOLDER:x", "FILE:1", "FILE:q"}));
    EXPECT_EQ(a->children.size(), 1u);
}

TEST_F(ServerMoveTest, AHandlerThatReloadsEndsTheLoop) {
    controller.goToFolder("D/a", 1);
    int handled = 0;
    events.onEvent = [&](const QString& line) {
        if (line.startsWith("dragDropError")) {
            ++handled;
            controller.clear();
        }
    };
    controller.moveEntries(folder("D/a"), {entry("D/a", "x"), entry("D/a", "1")}, folder("D/b"));
    EXPECT_EQ(handled, 1) << "the second entry belonged to the replaced catalogue";
    EXPECT_EQ(events.lines.filter("dragDrop"), (QStringList{"dragDropError(-450,x)"}));
}

TEST(CatalogueMoveTest, OnlyEntriesMoveIntoFoldersOutsideThemselves) {
    ServerCatalogue catalogue;
    QueuedPrompter prompter;
    QTemporaryDir dir;
    const QString file = dir.filePath("c.xml");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(kCatalogue.toUtf8());
    out.close();
    ASSERT_TRUE(catalogue.LoadFile(file, prompter));
    const XmlNode a = catalogue.FindFolder("D/a");
    const XmlNode x = catalogue.FindFolder("D/a/x");
    EXPECT_FALSE(catalogue.MoveInto(a, a));
    EXPECT_FALSE(catalogue.MoveInto(a, x));
    EXPECT_FALSE(catalogue.MoveInto(catalogue.root(), x));
    EXPECT_FALSE(catalogue.MoveInto(x, catalogue.FindFile("D/a/1")));
    EXPECT_EQ(catalogue.GetServerListFolderCount("D/a", true), 2);
    EXPECT_TRUE(catalogue.MoveInto(x, catalogue.FindFolder("D/b")));
    EXPECT_EQ(catalogue.GetServerListFolderCount("D/a", true), 0) << "counts are not cached";
}

} // namespace
