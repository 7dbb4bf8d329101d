#include "LocalPaneFixture.h"
#include "panes/local/AttachDialogFilter.h"
#include "panes/server/ExtensionFilter.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <utime.h>

namespace {

QStringList names(const LocalListModel& list) {
    QStringList shown;
    for (int row = 0; row < list.size(); ++row)
        shown.append(list.row(row).entry.name);
    return shown;
}

} // namespace

TEST(LocalListTest, RowsShowSizesDatesTypesAndLeaveHiddenItemsOut) {
    IsolatedHome home;
    ModelTesterWatch watch;
    LocalTree tree;
    tree.file("home/empty.txt", 0);
    tree.file("home/small.txt", 1023);
    tree.file("home/kb.txt", 1024);
    tree.file("home/half.txt", 2560);
    tree.file("home/.hidden.txt", 5);
    tree.folder("home/.hiddenFolder");
    tree.folder("home/Folder");
    const QByteArray folderPath = QFile::encodeName(tree.path("home/Folder"));
    const utimbuf times{0, 86400 * 100};
    ASSERT_EQ(utime(folderPath.constData(), &times), 0);

    TempNamespace space(tree.root());
    std::vector<LocalEntry> entries;
    ASSERT_TRUE(space.list(space.homeFolder(), false, entries));
    LocalListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Warning);
    list.fill(LocalListModel::rowsFor(entries, "%Y|%H"));
    EXPECT_EQ(names(list), QStringList({"Folder", "empty.txt", "half.txt", "kb.txt", "small.txt"}));
    const auto size = [&](int row) {
        return list.data(list.index(row, 1), Qt::DisplayRole);
    };
    EXPECT_EQ(size(0).toString(), "");
    EXPECT_EQ(size(1).toString(), "0KB");
    EXPECT_EQ(size(2).toString(), "3KB");
    EXPECT_EQ(size(3).toString(), "1KB");
    EXPECT_EQ(size(4).toString(), "1KB");
    const QString folderDate = list.data(list.index(0, 3), Qt::DisplayRole).toString();
    EXPECT_TRUE(folderDate.startsWith("1970|")) << folderDate.toStdString();
    EXPECT_EQ(list.data(list.index(1, 2), Qt::DisplayRole).toString(),
              list.data(list.index(4, 2), Qt::DisplayRole).toString());

    list.fill(LocalListModel::rowsFor(entries, ""));
    EXPECT_EQ(list.data(list.index(0, 3), Qt::DisplayRole).toString(), "");
    list.removeRowAt(0);
    list.append(list.row(0));
    EXPECT_EQ(ModelTesterWatch::failures(), 0);
}

TEST(LocalListTest, LinksAreMarkedAndNaturalOrderKeepsFoldersFirst) {
    IsolatedHome home;
    LocalTree tree;
    tree.file("home/b10.txt");
    tree.file("home/B2.txt");
    tree.folder("home/zfolder");
    ASSERT_TRUE(QFile::link(tree.path("home/zfolder"), tree.path("home/alink")));
    TempNamespace space(tree.root());
    std::vector<LocalEntry> entries;
    space.list(space.homeFolder(), false, entries);
    LocalListModel list;
    list.fill(LocalListModel::rowsFor(entries, ""));
    EXPECT_EQ(names(list), QStringList({"alink", "zfolder", "B2.txt", "b10.txt"}));
    EXPECT_TRUE(list.row(0).entry.isSymlink);
    EXPECT_TRUE(list.row(0).iconKey.startsWith("link:"));
    EXPECT_FALSE(list.data(list.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
}

TEST(ExtensionFilterTest, MatchesTheLastExtensionAsASubstringOfTheLowerCasedList) {
    struct Case {
        const char* name;
        const char* exceptionExt;
        bool excluded;
    };
    const Case excluded[] = {
        {"Setup.EXE", "exe;bat;", true}, {"run.bat", "EXE;BAT;", true},
        {"photo.pg", "jpg;", true},      {"archive.tar.gz", "tar;", false},
        {"archive.tar.gz", "gz;", true}, {"README", "exe;", false},
        {"README", "ext_null;", true},   {"photo.", "jpg;", false},
        {"photo.", "ext_null;", true},   {"anything.exe", "", false},
    };
    for (const Case& c : excluded)
        EXPECT_EQ(IsExcludedExtension(c.name, c.exceptionExt), c.excluded) << c.name;
    EXPECT_FALSE(IsPermittedExtension("photo.jpeg", "jpg;"));
    EXPECT_TRUE(IsPermittedExtension("photo.pg", "jpg;"));
    EXPECT_TRUE(IsPermittedExtension("PHOTO.JPG", "jpg;"));
    EXPECT_FALSE(IsPermittedExtension("README", "jpg;"));
    EXPECT_TRUE(IsPermittedExtension("README", "jpg;ext_null;"));
    EXPECT_TRUE(IsPermittedExtension("anything", ""));
}

TEST(AttachDialogFilterTest, OffersClosedExtensionsInBothCases) {
    EXPECT_EQ(AttachDialogFilter(""), "All Files (*)");
    EXPECT_EQ(AttachDialogFilter("jpg;gif;"), "Files (*.jpg *.JPG *.gif *.GIF)");
    EXPECT_EQ(AttachDialogFilter("jpg;gif"), "Files (*.jpg *.JPG)");
    EXPECT_EQ(AttachDialogFilter("JPG;jpg;ext_null;"), "Files (*.jpg *.JPG)");
    EXPECT_EQ(AttachDialogFilter("ext_null;"), "All Files (*)");
    EXPECT_EQ(AttachDialogFilter("a b;*;ok;"), "Files (*.ok *.OK)");
}
