#include "panes/list/FileListView.h"

#include "common/ReorderableRows.h"
#include "panes/list/ListHeader.h"

#include <QAbstractItemModelTester>
#include <QAbstractTableModel>
#include <QImage>
#include <QItemSelectionModel>
#include <QListView>
#include <QPainter>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Rows of (name, size) that a header click reorders, as the pane models do.
class SizeRowsModel : public QAbstractTableModel, public ReorderableRows {
public:
    explicit SizeRowsModel(QList<QStringList> rows) : rows_(std::move(rows)) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_.size();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 3;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        return rows_[index.row()].value(index.column());
    }
    void reorderRows(const std::vector<int>& order) override {
        emit layoutAboutToBeChanged();
        const QModelIndexList before = persistentIndexList();
        QList<QStringList> sorted;
        std::vector<int> newRowOf(order.size());
        for (int place = 0; place < int(order.size()); ++place) {
            sorted.append(rows_[order[place]]);
            newRowOf[order[place]] = place;
        }
        rows_ = sorted;
        for (const QModelIndex& old : before)
            changePersistentIndex(old, index(newRowOf[old.row()], old.column()));
        emit layoutChanged();
    }
    QString name(int row) const { return rows_[row][0]; }

private:
    QList<QStringList> rows_;
};

QStringList names(const SizeRowsModel& model) {
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.name(row));
    return result;
}

int sectionCentre(const FileListView& list, int column) {
    QHeaderView* header = list.header();
    return header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
}

} // namespace

TEST(FileListView, HeaderClicksSortAscendingThenDescendingAndKeepTheSelection) {
    SizeRowsModel model({{"b.txt", "10"}, {"a.txt", "9"}, {"c.txt", "100"}});
    QAbstractItemModelTester tester(&model);
    FileListView list;
    list.resize(400, 200);
    list.setModel(&model);
    list.setColumns({{"Name", Qt::AlignLeft, 120}, {"Size", Qt::AlignRight, 80}});
    list.setSortTypes({SortType::String, SortType::Int});
    list.show();
    EXPECT_TRUE(list.detailsView()->isColumnHidden(2)) << "only the configured columns show";
    list.selectionModel()->select(model.index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);

    const int sizeX = sectionCentre(list, 1);
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, QPoint(sizeX, 5));
    EXPECT_EQ(names(model), (QStringList{"a.txt", "b.txt", "c.txt"})) << "9 < 10 < 100";
    EXPECT_EQ(list.header()->sortColumn(), 1);
    EXPECT_TRUE(list.header()->sortAscending());
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, QPoint(sizeX, 5));
    EXPECT_EQ(names(model), (QStringList{"c.txt", "b.txt", "a.txt"}));
    EXPECT_FALSE(list.sortAscending());
    ASSERT_EQ(list.selectedRows().size(), 1);
    EXPECT_EQ(list.selectedRows().first().data().toString(), "b.txt") << "selection follows";

    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {},
                      QPoint(sectionCentre(list, 0), 5));
    EXPECT_EQ(names(model), (QStringList{"a.txt", "b.txt", "c.txt"}));
    EXPECT_TRUE(list.sortAscending()) << "another column starts ascending";

    list.setSortingEnabled(false);
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, QPoint(sizeX, 5));
    EXPECT_EQ(list.sortColumn(), 0) << "clicks do nothing with sorting off";

    list.setHeaderTypes({"text", "image"});
    list.sortByColumn(1, true);
    EXPECT_EQ(list.sortColumn(), 1);
    EXPECT_EQ(list.header()->sortColumn(), 0) << "an image column shows no arrow";
}

TEST(FileListView, ViewModesShareOneSelectionAndIgnoreUnknownModes) {
    SizeRowsModel model({{"one", "1"}, {"two", "2"}});
    FileListView list;
    list.setModel(&model);
    list.selectionModel()->select(model.index(1, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    for (int mode : {1, 2, 3}) {
        EXPECT_TRUE(list.setViewMode(mode));
        EXPECT_EQ(list.currentView(), list.iconView());
        EXPECT_TRUE(list.iconView()->selectionModel()->isRowSelected(1, {}));
    }
    EXPECT_EQ(list.iconView()->viewMode(), QListView::ListMode);
    EXPECT_EQ(list.iconView()->flow(), QListView::TopToBottom);
    EXPECT_FALSE(list.setViewMode(0));
    EXPECT_FALSE(list.setViewMode(5));
    EXPECT_EQ(list.viewMode(), 3);
    EXPECT_TRUE(list.setViewMode(4));
    EXPECT_EQ(list.currentView(), list.detailsView());

    SizeRowsModel other(QList<QStringList>{{"x", "1"}});
    list.setModel(&other);
    EXPECT_EQ(list.iconView()->selectionModel(), list.detailsView()->selectionModel());
    list.setModel(nullptr);
    EXPECT_TRUE(list.selectedRows().isEmpty());
}

TEST(FileListView, HeaderIsFlatWithOneColourAndAGradientWithTwo) {
    SizeRowsModel model(QList<QStringList>{{"one", "1"}});
    FileListView list;
    list.resize(300, 120);
    list.setModel(&model);
    list.setColumns({{"Name", Qt::AlignLeft, 200}});
    list.show();
    ListHeader* header = list.header();
    const auto render = [&] {
        QImage image(header->size(), QImage::Format_RGB32);
        header->render(&image);
        return image;
    };
    list.setHeaderColors(QColor("#336699"), Qt::white);
    QImage flat = render();
    const int x = 150;
    EXPECT_EQ(flat.pixelColor(x, 2), QColor("#336699"));
    EXPECT_EQ(flat.pixelColor(x, header->height() - 3), QColor("#336699"));

    header->setBackgroundSlot(3, Qt::white);
    header->setBackgroundSlot(4, Qt::black);
    QImage gradient = render();
    EXPECT_GT(gradient.pixelColor(x, 2).lightness(),
              gradient.pixelColor(x, header->height() - 3).lightness());

    QTest::mouseMove(header->viewport(), QPoint(60, 5));
    EXPECT_EQ(header->hotItem(), 0) << "hover follows the mouse";
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(header->pressedItem(), 0);
    EXPECT_EQ(render().pixelColor(x, 2), header->backgroundSlot(2)) << "pressed: flat slot 2";
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(header->pressedItem(), -1);
    header->setBackgroundSlot(9, Qt::red);
    EXPECT_FALSE(header->backgroundSlot(9).isValid());
}
