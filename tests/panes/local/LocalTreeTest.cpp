#include "LocalPaneFixture.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QStandardPaths>

namespace {

QStringList labels(const LocalTreeNode* node) {
    QStringList names;
    for (const auto& child : node->children)
        names.append(child->label);
    return names;
}

class LocalTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", tree.folder("data").toUtf8());
        tree.folder("desktop/Projects");
        tree.folder("home/docs");
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        EXPECT_EQ(ModelTesterWatch::failures(), 0);
    }
    LocalPaneController& pane() {
        if (!controller) {
            controller = std::make_unique<LocalPaneController>(names, settings, events);
            tester = std::make_unique<QAbstractItemModelTester>(
                &controller->tree(), QAbstractItemModelTester::FailureReportingMode::Warning);
        }
        return *controller;
    }

    IsolatedHome home;
    ModelTesterWatch watch;
    LocalTree tree;
    TempNamespace names{tree.root()};
    ControlSettings settings;
    RecordingEvents events;
    std::unique_ptr<LocalPaneController> controller;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(LocalTreeTest, RootShowsComputerHomeAndDesktopFoldersAndChildrenLoadLazily) {
    pane().setUp();
    LocalTreeNode* root = pane().tree().root();
    EXPECT_EQ(root->label, "Desktop");
    EXPECT_EQ(labels(root), QStringList({"Computer", "home", "Projects"}));
    LocalTreeNode* homeNode = root->children[1].get();
    EXPECT_FALSE(homeNode->loaded);
    EXPECT_TRUE(pane().tree().hasChildren(pane().tree().indexOf(homeNode)));

    tree.folder("home/.hidden");
    tree.folder("home/file10");
    tree.folder("home/file2");
    tree.file("home/plain.txt");
    pane().tree().ensureChildren(homeNode);
    EXPECT_EQ(labels(homeNode), QStringList({"docs", "file2", "file10"}));
    pane().tree().ensureChildren(root->children[0].get());
    EXPECT_EQ(labels(root->children[0].get()), QStringList({"Temp"}));
}

TEST_F(LocalTreeTest, VirtualDesktopWhenTheFolderIsMissingAndItsListStartsWithComputer) {
    QDir(tree.path("desktop")).removeRecursively();
    settings.LocalTreeAutoSelect = false;
    pane().setUp();
    EXPECT_TRUE(pane().tree().root()->isVirtual());
    EXPECT_EQ(labels(pane().tree().root()), QStringList({"Computer", "home"}));
    ASSERT_EQ(pane().list().size(), 2);
    EXPECT_EQ(pane().list().row(0).kind, LocalRowKind::Computer);
    EXPECT_EQ(pane().selectedPath(), "");
}

TEST_F(LocalTreeTest, GoToFolderWalksComputerVolumeAndStepsAndRemembersThePath) {
    tree.folder("home/docs/deep/er");
    tree.folder("home/.secret");
    pane().setUp();
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_TRUE(pane().goToFolder(tree.path("home/docs/deep/er")));
    EXPECT_EQ(pane().selectedPath(), tree.path("home/docs/deep/er"));
    EXPECT_EQ(pane().selected()->parent->parent->label, "docs");
    EXPECT_EQ(GetRemembered(RememberedValue::LocalUserCurrentPath), tree.path("home/docs/deep/er"));
    EXPECT_EQ(events.lines.last(),
              "treeSelectionChanged(0," + tree.path("home/docs/deep/er") + ")");

    EXPECT_TRUE(pane().goToFolder(tree.path("home/docs/deep/../deep")));
    EXPECT_EQ(pane().selectedName(), "deep");
    // Missing, hidden and relative folders leave the selection where it was.
    EXPECT_FALSE(pane().goToFolder(tree.path("home/missing")));
    EXPECT_FALSE(pane().goToFolder(tree.path("home/.secret")));
    EXPECT_FALSE(pane().goToFolder("home/docs"));
    EXPECT_EQ(pane().selectedName(), "deep");

    pane().upFolder();
    EXPECT_EQ(pane().selectedName(), "docs");
}

TEST_F(LocalTreeTest, SetUpOpensTheRememberedFolderOnlyWhenAutoSelectIsOnAndFiresNothing) {
    pane().setUp();
    EXPECT_EQ(pane().selectedPath(), tree.path("home"));

    SetRemembered(RememberedValue::LocalUserCurrentPath, tree.path("home/docs"));
    settings.LocalTreeAutoSelect = false;
    pane().setUp();
    EXPECT_EQ(pane().selectedName(), "Desktop");

    settings.LocalTreeAutoSelect = true;
    pane().setUp();
    EXPECT_EQ(pane().selectedName(), "docs");
    EXPECT_TRUE(events.lines.isEmpty());

    // Selecting the virtual Computer node fills the list but remembers an empty path.
    pane().tree().ensureChildren(pane().tree().root());
    pane().selectNode(pane().tree().root()->children[0].get());
    EXPECT_EQ(pane().list().row(0).entry.name, "Temp");
    EXPECT_EQ(GetRemembered(RememberedValue::LocalUserCurrentPath), "");
    EXPECT_EQ(events.lines.last(), "treeSelectionChanged(0)");
}

TEST_F(LocalTreeTest, NewFolderCodesAndNumbering) {
    settings.newFolderName = "New";
    settings.LocalTreeAutoSelect = false;
    pane().setUp();
    pane().newFolder();
    EXPECT_EQ(events.lines.last(), "newFolderCompleted(-213,-1,)");

    tree.folder("home/docs/New");
    tree.folder("home/docs/New (2)");
    ASSERT_TRUE(pane().goToFolder(tree.path("home/docs")));
    pane().tree().ensureChildren(pane().selected());
    pane().newFolder();
    EXPECT_TRUE(QFileInfo(tree.path("home/docs/New (3)")).isDir());
    EXPECT_EQ(events.lines.last(),
              "newFolderCompleted(0,2," + tree.path("home/docs/New (3)") + ")");
    EXPECT_EQ(pane().list().row(2).entry.name, "New (3)");
    EXPECT_EQ(labels(pane().selected()), QStringList({"New", "New (2)", "New (3)"}));

    // A hidden folder of that name is there on disk though no row shows it.
    tree.folder("home/docs/.x");
    settings.newFolderName = ".x";
    pane().newFolder();
    EXPECT_TRUE(QFileInfo(tree.path("home/docs/.x (2)")).isDir());

    for (const char* bad : {"", "a/b", "..", "."}) {
        settings.newFolderName = bad;
        pane().newFolder();
        EXPECT_EQ(events.lines.last(), "newFolderCompleted(-210,-1,)") << bad;
    }
    QFile(tree.path("home/docs")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    settings.newFolderName = "Locked";
    pane().newFolder();
    QFile(tree.path("home/docs"))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Root may write anywhere; anyone else is refused.
    if (!QFileInfo(tree.path("home/docs/Locked")).exists()) {
        EXPECT_EQ(events.lines.last(), "newFolderCompleted(-210,-1,)");
    }
}

TEST_F(LocalTreeTest, DeleteMovesToTrashNeverFollowsLinksAndRefusesVirtualNodes) {
    const QString target = tree.file("home/docs/keep.txt");
    ASSERT_TRUE(QFile::link(target, tree.path("home/docs/link.txt")));
    tree.file("home/docs/gone.txt");
    pane().setUp();
    ASSERT_TRUE(pane().goToFolder(tree.path("home/docs")));
    const int link = pane().list().rowOf(PathFromText(tree.path("home/docs/link.txt")));
    const int gone = pane().list().rowOf(PathFromText(tree.path("home/docs/gone.txt")));
    pane().list().setSelectedRows({link, gone});
    pane().deleteSelected(LocalListPane);
    EXPECT_FALSE(QFileInfo::exists(tree.path("home/docs/gone.txt")));
    EXPECT_FALSE(QFileInfo(tree.path("home/docs/link.txt")).isSymLink());
    EXPECT_TRUE(QFileInfo(target).isFile());
    EXPECT_EQ(pane().list().size(), 1);

    pane().tree().ensureChildren(pane().tree().root());
    pane().selectNode(pane().tree().root()->children[0].get());
    pane().deleteSelected(LocalTreePane);
    EXPECT_EQ(pane().selectedName(), "Computer");

    tree.folder("home/docs/sub");
    ASSERT_TRUE(pane().goToFolder(tree.path("home/docs/sub")));
    pane().deleteSelected(LocalTreePane);
    EXPECT_FALSE(QFileInfo::exists(tree.path("home/docs/sub")));
    EXPECT_EQ(pane().selectedName(), "docs");
}

TEST_F(LocalTreeTest, DoubleClickEntersFoldersAndReportsFiles) {
    tree.file("home/docs/a.txt");
    tree.folder("home/docs/inner");
    pane().setUp();
    ASSERT_TRUE(pane().goToFolder(tree.path("home/docs")));
    ASSERT_EQ(pane().list().row(0).entry.name, "inner");
    pane().listActivated(1);
    EXPECT_EQ(events.lines.last(), "listItemDoubleClicked(0)");
    pane().listActivated(0);
    EXPECT_EQ(pane().selectedName(), "inner");

    pane().listClicked();
    EXPECT_NE(events.lines.last(), "listItemClicked(0)");
    pane().goToFolder(tree.path("home/docs"));
    pane().list().setSelectedRows({1});
    pane().listClicked();
    EXPECT_EQ(events.lines.last(), "listItemClicked(0)");
    EXPECT_EQ(pane().selectedField("pathname", 0), tree.path("home/docs/a.txt"));
    EXPECT_EQ(pane().selectedField("path", 0), tree.path("home/docs/"));
    EXPECT_EQ(pane().selectedField("size", 0), "10");
    EXPECT_FALSE(pane().selectedIsFolder(0));
    EXPECT_EQ(pane().selectedField("name", 5), "");
}
