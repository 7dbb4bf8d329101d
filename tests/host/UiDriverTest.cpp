#include "UiDriver.h"

#include "IsolatedHome.h"
#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/list/FileListView.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"

#include <QImage>
#include <QJSEngine>
#include <QSet>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

QStandardItem* folder(const QString& name, const QList<QStandardItem*>& children = {}) {
    auto* item = new QStandardItem(name);
    for (QStandardItem* child : children)
        item->appendRow(child);
    return item;
}

// Counts the colours inside `rect`; a painted pane has its base, frame and text at least.
int colourCount(const QImage& image, const QRect& rect) {
    QSet<QRgb> colours;
    for (int y = rect.top(); y <= rect.bottom(); y += 2)
        for (int x = rect.left(); x <= rect.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// A control with real views and models in all four panes, driven through host.ui.
class UiDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ctrl.session().setPrompter(prompter);
        ctrl.settings().LocalUIType = 2;
        serverTreeModel.appendRow(
            folder("disk", {folder("docs", {folder("2024")}), folder("pics")}));
        localTreeModel.appendRow(folder("home"));
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            serverListModel.appendRow(new QStandardItem(name));
        localListModel.appendRow(new QStandardItem("local.bin"));
        auto* serverTree = new QTreeView;
        serverTree->setModel(&serverTreeModel);
        auto* localTree = new QTreeView;
        localTree->setModel(&localTreeModel);
        serverList = new FileListView;
        serverList->setModel(&serverListModel);
        serverList->setColumns({{"Name", Qt::AlignLeft, 120}});
        localList = new FileListView;
        localList->setModel(&localListModel);
        host().installPane(PaneLayout::ServerTree, serverTree);
        host().installPane(PaneLayout::LocalTree, localTree);
        host().installPane(PaneLayout::ServerList, serverList);
        host().installPane(PaneLayout::LocalList, localList);
        QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnFunctionKeyPress,
                         [this](const QString& name) { keys.append(name); });
        window.resize(600, 400);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    PaneHostWindow& host() { return window.paneHost(); }
    QJSValue js(const QString& text) { return engine.toScriptValue(text); }
    QJSValue js(int number) { return QJSValue(number); }
    QJSValue jsList(const QStringList& texts) { return engine.toScriptValue(texts); }

    IsolatedHome home;
    // The start-up load must not open a real message box.
    ScriptedPrompter prompter{[](const QString&) {
    }};
    QJSEngine engine;
    CMxVantrel2Ctrl ctrl;
    ControlWindow window{ctrl.session()};
    QStandardItemModel serverTreeModel, localTreeModel, serverListModel, localListModel;
    FileListView* serverList = nullptr;
    FileListView* localList = nullptr;
    QStringList keys;
    UiDriver ui{window, nullptr};
};

} // namespace

TEST_F(UiDriverTest, RowsAreFoundByLabelPathOrPositionAndClickedLikeAUser) {
    EXPECT_EQ(ui.rows("serverTree"), QStringList{"disk"});
    EXPECT_EQ(ui.rows("serverList"), (QStringList{"a.txt", "b.txt", "c.txt"}));
    EXPECT_TRUE(ui.rows("nowhere").isEmpty());

    EXPECT_TRUE(ui.click("serverTree", js("disk/docs/2024")));
    EXPECT_EQ(ctrl.session().focusPane(), 1);
    EXPECT_EQ(ui.rows("serverTree"),
              (QStringList{"disk", "disk/docs", "disk/docs/2024", "disk/pics"}));
    EXPECT_FALSE(ui.click("serverTree", js("disk/none")));
    EXPECT_FALSE(ui.click("nowhere", js("a.txt")));

    EXPECT_TRUE(ui.selectRows("serverList", jsList({"a.txt", "c.txt"})));
    EXPECT_EQ(ctrl.session().focusPane(), 2);
    ASSERT_EQ(serverList->selectedRows().size(), 2);
    EXPECT_EQ(serverList->selectedRows().last().data().toString(), "c.txt");
    EXPECT_TRUE(ui.click("serverList", js(1)));
    ASSERT_EQ(serverList->selectedRows().size(), 1);
    EXPECT_EQ(serverList->selectedRows().first().data().toString(), "b.txt");
    EXPECT_TRUE(ui.click("serverList", js(2), "shift"));
    EXPECT_EQ(serverList->selectedRows().size(), 2);
    EXPECT_FALSE(ui.click("serverList", js(7)));

    QStringList seen;
    QObject::connect(serverList, &FileListView::doubleClicked, [&](const QModelIndex& index) {
        seen.append("double " + index.data().toString());
    });
    QObject::connect(serverList, &FileListView::contextMenuRequested,
                     [&](const QModelIndex& index, const QPoint&) {
                         seen.append("menu " + index.data().toString());
                     });
    EXPECT_TRUE(ui.doubleClick("serverList", js("c.txt")));
    EXPECT_TRUE(ui.rightClick("serverList", js("a.txt")));
    EXPECT_EQ(seen, (QStringList{"double c.txt", "menu a.txt"}));
}

TEST_F(UiDriverTest, KeysGoToTheFocusedPaneThroughTheFilter) {
    ASSERT_TRUE(ui.click("localList", js("local.bin")));
    EXPECT_EQ(ctrl.session().focusPane(), 4);
    EXPECT_TRUE(ui.key("F11"));
    EXPECT_TRUE(ui.key("F10"));
    EXPECT_TRUE(ui.key("C", "ctrl"));
    EXPECT_TRUE(ui.key("Delete"));
    EXPECT_EQ(keys, (QStringList{"F11", "CTRL_C", "DELETE"}));
    EXPECT_TRUE(ui.key("Tab"));
    EXPECT_EQ(ctrl.session().focusPane(), 1) << "local list goes on to the server tree";
    EXPECT_FALSE(ui.key("NoSuchKey"));
}

TEST_F(UiDriverTest, ScreenshotsOfEveryLayoutShowPaintedPanesAndBars) {
    QTemporaryDir dir;
    for (qint16 mode : {0, 1, 2}) {
        ctrl.setProperty("LocalUIType", mode);
        const QString file = dir.filePath(QString("mode%1.png").arg(mode));
        ASSERT_TRUE(ui.screenshot(file));
        const QImage image(file);
        ASSERT_EQ(image.size(), QSize(600, 400));
        const auto rects = host().layout().paneRects();
        const auto shown = host().shownPanes();
        for (int pane = 0; pane < PaneLayout::PaneCount; ++pane) {
            if (shown[pane]) {
                EXPECT_GT(colourCount(image, rects[pane]), 2)
                    << "mode " << mode << " pane " << pane;
            }
        }
        if (mode > 0)
            EXPECT_EQ(image.pixelColor(host().layout().upperBar().center()), QColor(168, 166, 164));
        else
            EXPECT_EQ(rects[PaneLayout::ServerList], QRect(0, 0, 600, 400));
    }
}
