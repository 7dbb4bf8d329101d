#include "ServerPaneFixture.h"
#include "common/RememberedValues.h"
#include "panes/server/ServerListItemModel.h"
#include "panes/server/ServerTreeItemModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="a"><FOLDER name="x"/><FILE name="in.txt" transtype="server"/></FOLDER>
<FOLDER name="b"/>
<FILE path="/D/s.txt" name="s.txt" transtype="server" size="1"/>
<FILE path="/home/u/l.png" name="l.png" transtype="local" size="2"/>
</FOLDER></MORVEXXML>)";

using namespace RenameCode;
using Mode = QAbstractItemModelTester::FailureReportingMode;

class ServerRenameTest : public ServerPaneFixture {
protected:
    void SetUp() override {
        load(kCatalogue);
        controller.goToFolder("D", 1);
    }
    int row(const QString& name) { return static_cast<int>(rowNames().indexOf(name)); }
    short renameRow(const QString& name, const QString& text) {
        return controller.renameRow(row(name), text).code;
    }
};

} // namespace

TEST_F(ServerRenameTest, ListRowsAreRenamedInTheCatalogueTheViewsAndTheJournal) {
    ServerListItemModel model(controller.list());
    QAbstractItemModelTester tester(&model, Mode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const RenameOutcome outcome = controller.renameRow(row("s.txt"), "..t.txt..");
    EXPECT_EQ(outcome.code, Renamed);
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(rowNames(), (QStringList{"a", "b", "t.txt", "l.png"}));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(catalogue.FindFile("D/t.txt").attribute("path"), "/D/s.txt");
    EXPECT_EQ(controller.renameRow(row("l.png"), "m.png").code, Renamed);
    ASSERT_EQ(journal.GetRenameFileCount(), 2);
    EXPECT_EQ(journal.GetRenameOldFile(0), "D/s.txt");
    EXPECT_EQ(journal.GetRenameNewFile(0), "D/t.txt");
    EXPECT_EQ(journal.GetRenamePathType(0), "real");
    EXPECT_EQ(journal.GetRenamePathType(1), "virtual");
    EXPECT_TRUE(events.lines.filter("renameCompleted").isEmpty()) << "the session reports";
}

TEST_F(ServerRenameTest, AFolderRowRenamesItsTreeNodeToo) {
    ServerTreeItemModel treeModel(controller.tree());
    QAbstractItemModelTester tester(&treeModel, Mode::Fatal);
    EXPECT_EQ(renameRow("a", "z"), Renamed);
    const ServerTreeNode* disk = controller.tree().topLevel().front().get();
    EXPECT_EQ(disk->children.front()->label, "z");
    EXPECT_EQ(treeModel.index(0, 0, treeModel.index(0, 0)).data().toString(), "z");
    EXPECT_EQ(controller.goToFolder("D/z", 1), 0);
    EXPECT_EQ(rowNames(), (QStringList{"..", "x", "in.txt"}));
    ASSERT_EQ(journal.GetRenameFolderCount(), 1);
    EXPECT_EQ(journal.GetRenameFolderOldPath(0), "D/a");
    EXPECT_EQ(journal.GetRenameFolderNewPath(0), "D/z");
}

// In the order of the checks: the first failing one gives the code, and nothing changes.
TEST_F(ServerRenameTest, RefusedNamesChangeNothing) {
    const QString longest(kMaxNameLength, QChar('n'));
    const struct {
        QString text;
        short code;
    } cases[] = {{"", EmptyName},          {"...", EmptyName},      {"a:b", BadCharacter},
                 {"q?.txt", BadCharacter}, {"l.png", NameTaken},    {"b", NameTaken},
                 {"..b..", NameTaken},     {longest + "n", TooLong}};
    for (const auto& [text, code] : cases) {
        const RenameOutcome outcome = controller.renameRow(row("s.txt"), text);
        EXPECT_EQ(outcome.code, code) << text.toStdString();
        EXPECT_FALSE(outcome.changed);
    }
    controller.goToFolder("D/a", 1);
    EXPECT_EQ(renameRow("..", "up"), NotRenameable);
    EXPECT_EQ(controller.renameRow(99, "far").code, NotRenameable);
    EXPECT_EQ(journal.recordCount(JournalList::Rename), 0);
    EXPECT_EQ(catalogue.GetServerListFileItem("D", false, "name", 0), "s.txt");

    controller.goToFolder("D", 1);
    EXPECT_EQ(renameRow("s.txt", longest), Renamed) << "256 characters are fine";
    EXPECT_EQ(journal.GetRenameName("f", 0), longest);
}

TEST_F(ServerRenameTest, TheSameNameChangesAndRecordsNothing) {
    const RenameOutcome outcome = controller.renameRow(row("s.txt"), "s.txt.");
    EXPECT_EQ(outcome.code, Renamed);
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(journal.recordCount(JournalList::Rename), 0);
}

// The duplicate test of the adding operation reads names through an index; a renamed
// entry frees its old name and takes the new one there too.
TEST_F(ServerRenameTest, TheOldNameIsFreeAndTheNewOneTakenForLaterChecks) {
    controller.setListDraw(false); // keeps the name index between calls
    EXPECT_EQ(controller.addLocalFile(localFile("q.txt")), 0);
    EXPECT_EQ(renameRow("q.txt", "r.txt"), Renamed);
    EXPECT_EQ(renameRow("s.txt", "q.txt"), Renamed);
    EXPECT_EQ(renameRow("l.png", "r.txt"), NameTaken);
    EXPECT_NE(controller.addLocalFile(localFile("r.txt")), 0) << "r.txt is taken now";
    controller.setListDraw(true);
}

TEST_F(ServerRenameTest, TreeFoldersButNotDisksAreRenamedAndTheRememberedPathFollows) {
    EXPECT_EQ(controller.renameFolder(controller.tree().selected(), "E").code, NotRenameable);
    EXPECT_EQ(controller.renameFolder(nullptr, "E").code, NotRenameable);
    controller.goToFolder("D/a/x", 1);
    EXPECT_EQ(GetRemembered(RememberedValue::ServerUserCurrentPath), "D/a/x");
    ServerTreeNode* a = controller.tree().selected()->parent;
    EXPECT_EQ(controller.renameFolder(a, "b").code, NameTaken);
    EXPECT_EQ(controller.renameFolder(a, "c").code, Renamed);
    EXPECT_EQ(controller.selectedPath(), "D/c/x");
    EXPECT_EQ(GetRemembered(RememberedValue::ServerUserCurrentPath), "D/c/x");
    EXPECT_EQ(journal.GetRenameFolderNewPath(0), "D/c");
    controller.goToFolder("D", 1);
    EXPECT_EQ(rowNames(), (QStringList{"c", "b", "s.txt", "l.png"}));
}

TEST_F(ServerRenameTest, ARefusedJournalRecordGivesTheCatalogueCodeAndKeepsTheName) {
    ChangeJournal none;
    ServerPaneController withoutJournal(catalogue, none, settings, uiConfig, prompter, events);
    ASSERT_TRUE(withoutJournal.buildTree());
    withoutJournal.goToFolder("D", 1);
    EXPECT_EQ(withoutJournal.renameRow(2, "t.txt").code, Refused);
    EXPECT_EQ(withoutJournal.list().text(2, NameColumn), "s.txt");
    EXPECT_TRUE(catalogue.FindFolder("D").selectFirst("FILE[@name='t.txt']").isNull());
}

// A row named before something ran is found again while the generation lasts, wherever a
// sort moved it, and never after.
TEST_F(ServerRenameTest, EntryRefsFindTheirRowUntilTheListIsFilledAgain) {
    const ServerEntryRef ref = controller.entryRef(row("l.png"));
    controller.list().reorder({3, 2, 1, 0});
    EXPECT_EQ(controller.rowAt(ref), 0);
    EXPECT_EQ(controller.rowAt(controller.entryRef(-1)), -1);
    controller.refillList();
    EXPECT_EQ(controller.rowAt(ref), -1);
}

TEST_F(ServerRenameTest, TheItemModelsOfferNamesForEditingAndHandEditsOn) {
    ServerListItemModel listModel(controller.list());
    ServerTreeItemModel treeModel(controller.tree());
    controller.goToFolder("D/a", 1);
    EXPECT_FALSE(listModel.flags(listModel.index(0, 0)) & Qt::ItemIsEditable) << "..";
    EXPECT_TRUE(listModel.flags(listModel.index(2, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(listModel.flags(listModel.index(2, 1)) & Qt::ItemIsEditable) << "size";
    EXPECT_EQ(listModel.index(2, 0).data(Qt::EditRole), "in.txt");
    const QModelIndex disk = treeModel.index(0, 0);
    EXPECT_FALSE(treeModel.flags(disk) & Qt::ItemIsEditable);
    EXPECT_TRUE(treeModel.flags(treeModel.index(0, 0, disk)) & Qt::ItemIsEditable);

    QSignalSpy edited(&listModel, &ServerListItemModel::nameEdited);
    EXPECT_TRUE(listModel.setData(listModel.index(2, 0), "new.txt", Qt::EditRole));
    EXPECT_FALSE(listModel.setData(listModel.index(0, 0), "up", Qt::EditRole));
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited[0][1].toString(), "new.txt");
    EXPECT_EQ(rowNames()[2], "in.txt") << "the model only hands the edit on";
}
