#include "panes/list/LabelEditing.h"

#include "QStringPrinter.h"
#include "panes/list/FileListView.h"

#include <QApplication>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// A file list over three names, the last one not editable, shown in a window of its own.
class LabelEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"one", "two", "fixed"})
            model.appendRow(new QStandardItem(name));
        model.item(2)->setEditable(false);
        list.setModel(&model);
        list.resize(400, 300);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    QAbstractItemView& view() { return *list.currentView(); }
    QPoint at(int row) { return view().visualRect(model.index(row, 0)).center(); }
    void click(int row) { QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, at(row)); }
    // Longer than the double-click interval, so a second click is a slow one.
    static void pause() { QTest::qWait(QApplication::doubleClickInterval() + 150); }
    // The open editor; closed ones stay hidden until they are deleted.
    QLineEdit* editor() {
        for (QLineEdit* line : view().viewport()->findChildren<QLineEdit*>()) {
            if (!line->isHidden())
                return line;
        }
        return nullptr;
    }
    // Enter ends the edit from the event loop.
    void commit() {
        QTest::keyClick(editor(), Qt::Key_Return);
        QApplication::processEvents();
    }
    bool editing() { return LabelEditing::isEditing(view()); }

    QStandardItemModel model;
    FileListView list;
};

} // namespace

// In every view mode a second click on the selected row, once the double-click time is over,
// opens its editor; Enter commits what was typed and Escape drops it.
TEST_F(LabelEditingTest, ASlowSecondClickOpensTheEditorInEveryViewMode) {
    list.allowLabelEditing(true);
    for (int mode = 1; mode <= 4; ++mode) {
        ASSERT_TRUE(list.setViewMode(mode));
        click(1);
        click(0);
        pause();
        EXPECT_FALSE(editing()) << "a first click only selects, mode " << mode;
        click(0);
        pause();
        ASSERT_TRUE(editing()) << "mode " << mode;
        QTest::keyClicks(editor(), "new");
        QTest::keyClick(editor(), Qt::Key_Escape);
        EXPECT_EQ(model.item(0)->text(), "one");
        click(0);
        pause();
        ASSERT_TRUE(editing());
        QTest::keyClicks(editor(), QString("one%1").arg(mode));
        commit();
        EXPECT_EQ(model.item(0)->text(), QString("one%1").arg(mode));
        model.item(0)->setText("one");
    }
}

TEST_F(LabelEditingTest, DoubleClicksOtherRowsAndDisallowedViewsOpenNoEditor) {
    click(0);
    click(0);
    pause();
    EXPECT_FALSE(editing()) << "not allowed";
    list.allowLabelEditing(true);
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, at(0));
    pause();
    EXPECT_FALSE(editing()) << "a double click opens the row instead";
    click(0);
    click(1);
    pause();
    EXPECT_FALSE(editing()) << "the second click went to another row";
    click(1);
    QTest::keyClick(&view(), Qt::Key_Down);
    pause();
    EXPECT_FALSE(editing()) << "the current row moved on meanwhile";
    click(2);
    click(2);
    pause();
    EXPECT_FALSE(editing()) << "not editable";
}

// Opening on another row ends the open editor as Enter does; the same row keeps its editor
// and takes the text given.
TEST_F(LabelEditingTest, OpeningElsewhereCommitsTheOpenEditor) {
    LabelEditing& editing = *LabelEditing::of(view());
    EXPECT_FALSE(editing.allowed());
    ASSERT_TRUE(editing.open(model.index(0, 0), QString()));
    EXPECT_EQ(editor()->text(), "one");
    EXPECT_EQ(editor()->selectedText(), "one");
    editor()->setText("uno");
    ASSERT_TRUE(editing.open(model.index(1, 0), "dos"));
    EXPECT_EQ(model.item(0)->text(), "uno");
    ASSERT_TRUE(editing.open(model.index(1, 0), "deux"));
    EXPECT_EQ(editor()->text(), "deux");
    EXPECT_EQ(model.item(1)->text(), "two") << "still editing";
    EXPECT_FALSE(editing.open(model.index(2, 0), QString()));
    EXPECT_FALSE(editing.open(QModelIndex(), QString()));
}
