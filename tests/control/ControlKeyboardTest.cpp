#include "IsolatedHome.h"
#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/list/FileListView.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// A control in layout mode 1 with an editable server list of two rows.
class ControlKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        ctrl.session().setPrompter(prompter);
        ctrl.settings().LocalUIType = 1;
        model.appendRow(new QStandardItem("alpha"));
        model.appendRow(new QStandardItem("beta"));
        list = new FileListView;
        list->setModel(&model);
        placeholder = host().pane(PaneLayout::ServerList);
        host().installPane(PaneLayout::ServerList, list);
        QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnFunctionKeyPress,
                         [this](const QString& name) { keys.append(name); });
        window.resize(600, 400);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    PaneHostWindow& host() { return window.paneHost(); }
    QWidget* listViewport() { return list->currentView()->viewport(); }

    IsolatedHome home;
    // The start-up load must not open a real message box.
    ScriptedPrompter prompter{[](const QString&) {
    }};
    CMxVantrel2Ctrl ctrl;
    ControlWindow window{ctrl.session()};
    QStandardItemModel model;
    FileListView* list = nullptr;
    QPointer<QWidget> placeholder;
    QStringList keys;
};

} // namespace

TEST_F(ControlKeyboard, InstalledPaneTakesThePlaceAndClicksSetTheFocusPane) {
    ASSERT_FALSE(placeholder.isNull()) << "a pane installed before stays with its owner";
    EXPECT_TRUE(placeholder->isHidden());
    EXPECT_EQ(host().findChild<QWidget*>("serverList", Qt::FindDirectChildrenOnly), list);
    QPointer<QWidget> localList = host().pane(PaneLayout::LocalList);
    host().installPane(PaneLayout::LocalList, new QTreeView);
    ASSERT_FALSE(localList.isNull()) << "the local pane's own list stays with its owner";
    EXPECT_TRUE(localList->isHidden());
    EXPECT_EQ(host().pane(PaneLayout::LocalList)->objectName(), "localList");
    EXPECT_EQ(list->objectName(), "serverList");
    EXPECT_EQ(list->parentWidget(), &host());
    EXPECT_EQ(list->geometry(), host().layout().paneRects()[PaneLayout::ServerList]);
    EXPECT_TRUE(list->isVisible());

    const QRect row = list->currentView()->visualRect(model.index(1, 0));
    QTest::mouseClick(listViewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(ctrl.session().focusPane(), 2);
    QTest::mouseClick(host().pane(PaneLayout::ServerTree), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(ctrl.session().focusPane(), 1);
}

TEST_F(ControlKeyboard, FunctionKeysAreReportedAndTabCyclesTheShownPanes) {
    list->currentView()->setFocus();
    ctrl.session().setFocusPane(2);
    QTest::keyClick(list->currentView(), Qt::Key_F11);
    QTest::keyClick(list->currentView(), Qt::Key_F10);
    QTest::keyClick(list->currentView(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(list->currentView(), Qt::Key_Delete);
    EXPECT_EQ(keys, (QStringList{"F11", "CTRL_C", "DELETE"}));

    QTest::keyClick(list->currentView(), Qt::Key_Tab);
    EXPECT_EQ(ctrl.session().focusPane(), 1);
    EXPECT_TRUE(host().pane(PaneLayout::ServerTree)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(ctrl.session().focusPane(), 2) << "hidden local panes are skipped";
    EXPECT_TRUE(list->currentView()->hasFocus());

    list->currentView()->setCurrentIndex(model.index(0, 0));
    QTest::keyClick(&window, Qt::Key_Down);
    EXPECT_EQ(list->currentView()->currentIndex().row(), 1) << "arrows go to the focused pane";
}

TEST_F(ControlKeyboard, AnOpenEditBoxGetsTheKeysAndNothingIsReported) {
    list->currentView()->setFocus();
    ctrl.session().setFocusPane(2);
    list->currentView()->edit(model.index(0, 0));
    auto* editor = listViewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor->selectedText(), "alpha");
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_F11);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_TRUE(keys.isEmpty());
    EXPECT_EQ(editor->text(), "") << "Delete went to the edit box";
    EXPECT_EQ(ctrl.session().focusPane(), 2);
}

TEST_F(ControlKeyboard, SplittersAreDrawnInTheirColourAndDraggedWithinBounds) {
    const int bar = host().layout().serverTreeWidth();
    EXPECT_EQ(host().grab().toImage().pixelColor(bar + 1, 50), QColor(168, 166, 164));
    ctrl.settings().SpBarColor = "#FF0000";
    host().update();
    EXPECT_EQ(host().grab().toImage().pixelColor(bar + 1, 50), QColor(255, 0, 0));
    ctrl.settings().SpBarColor = "red";
    EXPECT_EQ(host().splitterColor(), QColor(168, 166, 164));

    QTest::mousePress(&host(), Qt::LeftButton, {}, QPoint(bar + 2, 50));
    QTest::mouseMove(&host(), QPoint(5, 50));
    EXPECT_EQ(host().layout().serverTreeWidth(), bar);
    QTest::mouseMove(&host(), QPoint(150, 50));
    QTest::mouseRelease(&host(), Qt::LeftButton, {}, QPoint(150, 50));
    EXPECT_EQ(host().layout().serverTreeWidth(), 150);
    EXPECT_EQ(list->geometry().left(), 154);
    QTest::mouseMove(&host(), QPoint(300, 50));
    EXPECT_EQ(host().layout().serverTreeWidth(), 150) << "released: no more dragging";
}

namespace {

// Counts the key presses that reach a widget (its own handling included).
class KeyCounter : public QObject {
public:
    explicit KeyCounter(QWidget& watched) { watched.installEventFilter(this); }
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

} // namespace

// Up on the first row, Left in a list, Home at the top: the view ignores them. Each still
// reaches the view exactly once, whether it came to the view or to the control, and goes no
// further (it once climbed back to the control and was sent again until the stack ran out).
TEST_F(ControlKeyboard, AKeyThePaneIgnoresReachesItOnceAndStopsThere) {
    QAbstractItemView* view = list->currentView();
    view->setCurrentIndex(model.index(0, 0));
    view->setFocus();
    ctrl.session().setFocusPane(2);
    KeyCounter toView(*view);
    KeyCounter toControl(window);
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Home, Qt::Key_PageUp}) {
        QTest::keyClick(view, key);
        QTest::keyClick(&window, key);
    }
    EXPECT_EQ(toView.presses, 8);
    EXPECT_EQ(toControl.presses, 0) << "the control passes them on and nothing climbs back";
    EXPECT_EQ(view->currentIndex().row(), 0);
}
