#include "ServerPaneFixture.h"
#include "common/Formatting.h"
#include "panes/server/ServerListItemModel.h"
#include "panes/server/ServerTreeItemModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="a"><FOLDER name="x"/></FOLDER><FOLDER name="b"/>
<FILE name="s.txt" transtype="server" size="1"/><FILE name="l.png" transtype="local" size="2"/>
</FOLDER></MORVEXXML>)";

using Mode = QAbstractItemModelTester::FailureReportingMode;

class ServerItemModelTest : public ServerPaneFixture {};

TEST_F(ServerItemModelTest, TheTreeModelFollowsEveryChange) {
    ServerTreeItemModel model(controller.tree());
    QAbstractItemModelTester tester(&model, Mode::Fatal);
    load(kCatalogue);
    settings.newFolderName = "N";
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex disk = model.index(0, 0);
    EXPECT_EQ(model.data(disk, Qt::DisplayRole), "D");
    EXPECT_EQ(model.rowCount(disk), 2);
    QSignalSpy selected(&model, &ServerTreeItemModel::nodeSelected);
    controller.goToFolder("D", 1);
    EXPECT_EQ(selected.count(), 1);
    controller.newFolder("");
    EXPECT_EQ(model.rowCount(disk), 3);
    controller.goToFolder("D/a", 1);
    controller.moveFolder(1);
    EXPECT_EQ(model.data(model.index(1, 0, disk), Qt::DisplayRole), "a");
    controller.deleteSelected(ServerTreePane);
    EXPECT_EQ(model.rowCount(disk), 2);
    controller.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ServerItemModelTest, TheListModelBatchesRowsAddedWhileDrawingIsOff) {
    ServerListItemModel model(controller.list());
    QAbstractItemModelTester tester(&model, Mode::Fatal);
    load(kCatalogue);
    controller.goToFolder("D", 1);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.data(model.index(3, 0), Qt::ForegroundRole), QColor(0x33, 0x33, 0xCC));
    EXPECT_EQ(model.data(model.index(2, 0), ServerListItemModel::SelectionBarRole),
              QColor(0x08, 0x24, 0x6B));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    controller.setListDraw(false);
    for (int i = 0; i < 50; ++i)
        controller.addServerFile("/p" + QString::number(i), "f" + QString::number(i), 5, "", "");
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(inserted.count(), 0);
    controller.setListDraw(true);
    EXPECT_EQ(model.rowCount(), 54);
    EXPECT_EQ(inserted.count(), 1);
    controller.setListDraw(false);
    controller.addServerFile("/q", "q", 5, "", "");
    controller.list().setSelectedRows({0});
    controller.deleteSelected(ServerListPane); // a removal first announces the held rows
    EXPECT_EQ(model.rowCount(), 54);
    controller.setListDraw(true);
    model.reorderRows({2,  1,  0,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                       18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,
                       36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53});
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole), "l.png");
}

} // namespace

TEST_F(ServerItemModelTest, HugeNamesAreShownCutWhileTheCatalogueKeepsThemWhole) {
    const QString huge(10'000'000, 'n');
    load("<MORVEXXML><FOLDER type=\"disk\" name=\"D\"><FOLDER name=\"" + huge +
         "\"/><FILE name=\"" + huge +
         ".txt\" transtype=\"server\" size=\"1\"/>"
         "<FILE name=\"small.txt\" transtype=\"server\" size=\"1\"/></FOLDER></MORVEXXML>");
    ServerTreeItemModel tree(controller.tree());
    ServerListItemModel list(controller.list());
    controller.goToFolder("D", 1);
    ASSERT_EQ(list.rowCount(), 3);
    const QModelIndex folder = tree.index(0, 0, tree.index(0, 0));
    EXPECT_EQ(tree.data(folder, Qt::DisplayRole).toString().size(), kMaxShownTextLength);
    EXPECT_EQ(ServerTreeItemModel::node(folder)->label.size(), huge.size());
    for (const int row : {0, 1}) {
        const QString shown = list.data(list.index(row, NameColumn), Qt::DisplayRole).toString();
        EXPECT_EQ(shown.size(), kMaxShownTextLength);
        EXPECT_TRUE(shown.startsWith("nnnn"));
    }
    EXPECT_EQ(list.data(list.index(2, NameColumn), Qt::DisplayRole), "small.txt");
    EXPECT_EQ(controller.list().text(1, NameColumn), huge + ".txt");
    // Same type, same icon slot: the huge name was judged by its tail.
    EXPECT_EQ(list.data(list.index(1, NameColumn), ServerListItemModel::ImageIndexRole),
              list.data(list.index(2, NameColumn), ServerListItemModel::ImageIndexRole));
}
