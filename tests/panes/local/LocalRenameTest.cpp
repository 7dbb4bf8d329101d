#include "LocalPaneFixture.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>

namespace fs = std::filesystem;
using namespace RenameCode;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The disk as it is, but a rename it is asked for fails the way `result` says.
class RefusingNamespace : public TempNamespace {
public:
    using TempNamespace::TempNamespace;
    LocalRenameResult rename(const fs::path&, const fs::path&) override { return result; }
    LocalRenameResult result = LocalRenameResult::Failed;
};

class LocalRenameTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", tree.folder("data").toUtf8());
        tree.folder("desktop");
        tree.folder("home/work/sub/deeper");
        tree.folder("home/work/empty");
        tree.file("home/work/a.txt", 10);
        tree.file("home/work/b.txt", 20);
        settings.LocalTreeAutoSelect = false;
        pane.setUp();
        ASSERT_TRUE(pane.goToFolder(tree.path("home/work")));
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        EXPECT_EQ(ModelTesterWatch::failures(), 0);
    }
    int row(const QString& name) {
        for (int at = 0; at < pane.list().size(); ++at) {
            if (pane.list().row(at).entry.name == name)
                return at;
        }
        return -1;
    }
    short renameRow(const QString& name, const QString& text) {
        return pane.renameRow(row(name), text).code;
    }
    LocalTreeNode* child(LocalTreeNode* node, const QString& label) {
        pane.tree().ensureChildren(node);
        for (const auto& below : node->children) {
            if (below->label == label)
                return below.get();
        }
        return nullptr;
    }

    IsolatedHome home;
    ModelTesterWatch watch;
    LocalTree tree;
    TempNamespace names{tree.root()};
    ControlSettings settings;
    RecordingEvents events;
    LocalPaneController pane{names, settings, events};
    QAbstractItemModelTester treeTester{&pane.tree(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning};
    QAbstractItemModelTester listTester{&pane.list(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning};
};

} // namespace

TEST_F(LocalRenameTest, AFileIsRenamedOnDiskAndItsRowTakesTheNewNameAndType) {
    const QString oldType = pane.list().row(row("a.txt")).typeName;
    const RenameOutcome outcome = pane.renameRow(row("a.txt"), "..c.pdf");
    EXPECT_EQ(outcome.code, Renamed);
    EXPECT_TRUE(outcome.changed);
    EXPECT_FALSE(QFile::exists(tree.path("home/work/a.txt")));
    EXPECT_EQ(contents(tree.path("home/work/c.pdf")), QByteArray(10, 'x'));
    const LocalListRow& shown = pane.list().row(row("c.pdf"));
    EXPECT_EQ(PathText(shown.entry.path), tree.path("home/work/c.pdf"));
    EXPECT_NE(shown.typeName, oldType);
    EXPECT_TRUE(events.lines.filter("renameCompleted").isEmpty()) << "the session reports";
}

// Whatever has the name already stays as it was: a file, a folder, an empty folder (which a
// plain rename of a folder would replace) or a link that leads nowhere.
TEST_F(LocalRenameTest, NothingOnDiskIsEverReplaced) {
    ASSERT_TRUE(QFile::link(tree.path("home/work/nowhere"), tree.path("home/work/link")));
    EXPECT_EQ(renameRow("a.txt", "b.txt"), NameTaken);
    EXPECT_EQ(renameRow("a.txt", "sub"), NameTaken);
    EXPECT_EQ(renameRow("a.txt", "link"), NameTaken);
    EXPECT_EQ(renameRow("sub", "empty"), NameTaken);
    EXPECT_EQ(renameRow("b.txt", "a.txt"), NameTaken);
    EXPECT_EQ(contents(tree.path("home/work/a.txt")), QByteArray(10, 'x'));
    EXPECT_EQ(contents(tree.path("home/work/b.txt")), QByteArray(20, 'x'));
    EXPECT_TRUE(QDir(tree.path("home/work/empty")).exists());
    EXPECT_TRUE(QDir(tree.path("home/work/sub/deeper")).exists());
    EXPECT_TRUE(QFileInfo(tree.path("home/work/link")).isSymLink());
}

TEST_F(LocalRenameTest, RefusedNamesLeaveTheDiskAlone) {
    const QString longest(255, QChar('n')); // the most one step of a path holds on disk
    const struct {
        QString text;
        short code;
    } cases[] = {{"", EmptyName},          {"...", EmptyName},
                 {"..", EmptyName},        {"a/b", BadCharacter},
                 {"x:y", BadCharacter},    {QString("n") + QChar(0) + "ul", BadCharacter},
                 {longest + "n", TooLong}, {longest + "nn", TooLong}};
    for (const auto& [text, code] : cases) {
        const RenameOutcome outcome = pane.renameRow(row("a.txt"), text);
        EXPECT_EQ(outcome.code, code) << text.size();
        EXPECT_FALSE(outcome.changed);
    }
    EXPECT_EQ(QDir(tree.path("home/work")).entryList(QDir::Files), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(pane.renameRow(-1, "x").code, NotRenameable);
    EXPECT_EQ(pane.renameRow(pane.list().size(), "x").code, NotRenameable);
    const RenameOutcome same = pane.renameRow(row("a.txt"), "a.txt...");
    EXPECT_EQ(same.code, Renamed);
    EXPECT_FALSE(same.changed);
    EXPECT_EQ(renameRow("a.txt", longest), Renamed);
    EXPECT_TRUE(QFile::exists(tree.path("home/work/" + longest)));
}

TEST_F(LocalRenameTest, AVanishedItemOrARefusingDiskNeverCountsAsRenamed) {
    ASSERT_TRUE(QFile::remove(tree.path("home/work/a.txt")));
    EXPECT_EQ(renameRow("a.txt", "c.txt"), NotOnDisk);
    EXPECT_GE(row("a.txt"), 0) << "the row stays until the list is read again";

    RefusingNamespace refusing(tree.root());
    LocalPaneController other(refusing, settings, events);
    other.setUp();
    ASSERT_TRUE(other.goToFolder(tree.path("home/work")));
    for (const auto result : {LocalRenameResult::Failed, LocalRenameResult::Missing}) {
        refusing.result = result;
        const RenameOutcome outcome = other.renameRow(
            other.list().rowOf(PathFromText(tree.path("home/work/b.txt"))), "c.txt");
        EXPECT_EQ(outcome.code, NotOnDisk);
        EXPECT_FALSE(outcome.changed);
    }
    refusing.result = LocalRenameResult::TooLong;
    EXPECT_EQ(other.renameFolder(other.selected(), "job").code, TooLong);
    EXPECT_EQ(other.selected()->label, "work");
}

TEST_F(LocalRenameTest, PlacesThatAreNotTheUsersFoldersCannotBeRenamed) {
    LocalTreeNode* root = pane.tree().root();
    LocalTreeNode* computer = child(root, "Computer");
    LocalTreeNode* homeNode = child(root, "home");
    EXPECT_EQ(pane.renameFolder(root, "x").code, NotRenameable);
    EXPECT_EQ(pane.renameFolder(computer, "x").code, NotRenameable);
    EXPECT_EQ(pane.renameFolder(child(computer, "Temp"), "x").code, NotRenameable);
    EXPECT_EQ(pane.renameFolder(homeNode, "x").code, NotRenameable);
    EXPECT_EQ(pane.renameFolder(nullptr, "x").code, NotRenameable);
    pane.selectNode(root);
    EXPECT_EQ(pane.list().row(0).kind, LocalRowKind::Computer);
    EXPECT_EQ(pane.renameRow(0, "x").code, NotRenameable);
    EXPECT_EQ(renameRow("home", "x"), NotRenameable);
    EXPECT_TRUE(QDir(tree.path("home")).exists());
    EXPECT_FALSE(pane.list().flags(pane.list().index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(pane.list().flags(pane.list().index(row("home"), 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(pane.tree().flags(pane.tree().indexOf(homeNode)) & Qt::ItemIsEditable);
    EXPECT_TRUE(pane.tree().flags(pane.tree().indexOf(child(homeNode, "work"))) &
                Qt::ItemIsEditable);
}

// The tree shows the home folder twice (under Computer and on the desktop); both copies
// follow, the folders below take the new path, and the list shows the renamed folder's rows.
TEST_F(LocalRenameTest, ATreeFolderIsRenamedWithEverythingShownBelowIt) {
    ASSERT_TRUE(pane.goToFolder(tree.path("home/work/sub")));
    LocalTreeNode* sub = pane.selected();
    LocalTreeNode* deeper = child(sub, "deeper");
    LocalTreeNode* onDesktop = child(child(child(pane.tree().root(), "home"), "work"), "sub");
    ASSERT_NE(onDesktop, sub);
    EXPECT_EQ(pane.renameFolder(sub, "part").code, Renamed);
    EXPECT_TRUE(QDir(tree.path("home/work/part/deeper")).exists());
    EXPECT_EQ(sub->label, "part");
    EXPECT_EQ(onDesktop->label, "part");
    EXPECT_EQ(PathText(onDesktop->path), tree.path("home/work/part"));
    EXPECT_EQ(PathText(deeper->path), tree.path("home/work/part/deeper"));
    EXPECT_EQ(pane.selectedPath(), tree.path("home/work/part"));
    ASSERT_EQ(pane.list().size(), 1);
    EXPECT_EQ(PathText(pane.list().row(0).entry.path), tree.path("home/work/part/deeper"));
    EXPECT_EQ(GetRemembered(RememberedValue::LocalUserCurrentPath), tree.path("home/work/part"));
}

TEST_F(LocalRenameTest, RenamingAFolderAboveTheSelectionMovesTheSelectionAlong) {
    ASSERT_TRUE(pane.goToFolder(tree.path("home/work/sub")));
    EXPECT_EQ(pane.renameFolder(pane.selected()->parent, "job").code, Renamed);
    EXPECT_EQ(pane.selectedPath(), tree.path("home/job/sub"));
    EXPECT_EQ(PathText(pane.list().row(0).entry.path), tree.path("home/job/sub/deeper"));
    EXPECT_EQ(GetRemembered(RememberedValue::LocalUserCurrentPath), tree.path("home/job/sub"));
    EXPECT_TRUE(pane.goToFolder(tree.path("home/job/sub/deeper")));
}

TEST_F(LocalRenameTest, AFolderRowRenamesItsTreeNodeAndATreeFolderItsRow) {
    LocalTreeNode* sub = child(pane.selected(), "sub");
    EXPECT_EQ(renameRow("sub", "part"), Renamed);
    EXPECT_EQ(sub->label, "part");
    EXPECT_EQ(PathText(sub->path), tree.path("home/work/part"));
    EXPECT_EQ(pane.renameFolder(sub, "piece").code, Renamed);
    EXPECT_EQ(row("part"), -1);
    EXPECT_EQ(PathText(pane.list().row(row("piece")).entry.path), tree.path("home/work/piece"));
    EXPECT_EQ(pane.selectedPath(), tree.path("home/work")) << "the selection stays";
}

TEST_F(LocalRenameTest, EditsOfTheModelsAreHandedOnNotApplied) {
    QSignalSpy listEdits(&pane.list(), &LocalListModel::nameEdited);
    QSignalSpy treeEdits(&pane.tree(), &LocalTreeModel::nameEdited);
    const QModelIndex name = pane.list().index(row("a.txt"), 0);
    EXPECT_EQ(name.data(Qt::EditRole), "a.txt");
    EXPECT_FALSE(pane.list().setData(pane.list().index(row("a.txt"), 1), "9", Qt::EditRole));
    EXPECT_TRUE(pane.list().setData(name, "z.txt", Qt::EditRole));
    EXPECT_TRUE(pane.tree().setData(pane.tree().indexOf(pane.selected()), "job", Qt::EditRole));
    ASSERT_EQ(listEdits.count(), 1);
    EXPECT_EQ(listEdits[0][1].toString(), "z.txt");
    EXPECT_EQ(treeEdits.count(), 1);
    EXPECT_TRUE(QFile::exists(tree.path("home/work/a.txt")));
}

// Without an atomic "no replace" the rename still never replaces anything.
TEST(RenameByLink, RenamesFilesLinksAndFoldersButNeverOverAnything) {
    LocalTree tree;
    const QString a = tree.file("a", 1), b = tree.file("b", 2);
    const QString folder = tree.folder("f"), empty = tree.folder("e");
    ASSERT_TRUE(QFile::link(a, tree.path("l")));
    const auto rename = [&](const QString& from, const QString& to) {
        return RenameByLink(PathFromText(tree.path(from)), PathFromText(tree.path(to)));
    };
    EXPECT_EQ(rename("a", "b"), LocalRenameResult::Exists);
    EXPECT_EQ(rename("f", "e"), LocalRenameResult::Exists);
    EXPECT_EQ(rename("f", "b"), LocalRenameResult::Exists);
    EXPECT_EQ(rename("gone", "c"), LocalRenameResult::Missing);
    EXPECT_EQ(contents(a), "x");
    EXPECT_EQ(contents(b), "xx");
    EXPECT_TRUE(QDir(empty).exists());

    EXPECT_EQ(rename("a", "c"), LocalRenameResult::Renamed);
    EXPECT_EQ(rename("f", "g"), LocalRenameResult::Renamed);
    EXPECT_EQ(rename("l", "m"), LocalRenameResult::Renamed);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_EQ(contents(tree.path("c")), "x");
    EXPECT_TRUE(QDir(tree.path("g")).exists());
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_EQ(QFileInfo(tree.path("m")).symLinkTarget(), a) << "the link itself moved";
}
