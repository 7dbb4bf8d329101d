#include "PageSite.h"
#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The user's pane contents: a server catalogue and a local folder with folders and files.
class PageViews : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.isServing());
        ASSERT_TRUE(site.write("ui.xml", kListColumnsConfig));
        ASSERT_TRUE(site.write("catalogue.xml", kSampleCatalogue));
        ASSERT_TRUE(MakeLocalSample(local.path()));
    }

    // Runs the page in `layout`; expects it to end normally and print "ok".
    void expectOk(int layout, const QString& script) {
        const PageSite::Run page =
            site.run(QString(kPageExpectations) + kPaneHelpers + script,
                     {"UIConfigXML=/ui.xml", "ServerFileListXML=/catalogue.xml",
                      QString("LocalUIType=%1").arg(layout)});
        EXPECT_EQ(page.exitCode, 0) << "layout " << layout << "\n" << page.errors.toStdString();
        EXPECT_EQ(page.output, "ok\n") << "layout " << layout;
    }

    PageSite site;
    QTemporaryDir local;
};

} // namespace

// Every navigation key at the first and the last row of every shown view, in every view
// mode and layout: a key the view cannot use ends there (it once bounced between the view
// and the control until the stack overflowed).
TEST_F(PageViews, NavigationKeysAtBothEndsOfEveryViewEndInTheView) {
    const QStringList panesOfLayout = {R"(["serverList"])", R"(["serverTree", "serverList"])",
                                       R"(["serverTree", "serverList", "localTree", "localList"])"};
    for (int layout = 0; layout <= 2; ++layout) {
        expectOk(layout, QString(R"(
            var keys = ["Up", "Down", "Home", "End", "PgUp", "PgDown", "Left", "Right",
                        "Backspace", "Return"];
            var panes = %1;
            var localFolder = "%2";
            function backHome() {
                ctrl.SetServerGoFolder("disk", 1);
                if (ctrl.LocalUIType == 2)
                    ctrl.SetLocalGoFolder(localFolder);
            }
            function end(pane, last) {
                var rows = host.ui.rows(pane);
                if (pane.indexOf("Tree") < 0)
                    return last ? rows.length - 1 : 0;
                return rows[last ? rows.length - 1 : 0];
            }
            ctrl.OnLoadCompleat.connect(function () {
                for (var mode = 1; mode <= 4; ++mode) {
                    setViewModes(mode);
                    for (var p = 0; p < panes.length; ++p)
                        for (var last = 0; last <= 1; ++last)
                            for (var k = 0; k < keys.length; ++k) {
                                backHome();
                                var where = panes[p] + " mode " + mode + " " + keys[k];
                                expect(where, host.ui.click(panes[p], end(panes[p], last)), true);
                                host.ui.key(keys[k]);
                            }
                }
                finish();
            });)")
                             .arg(panesOfLayout[layout], local.path()));
    }
}

// A key reaches the view once: Down moves one row, End the last, in the details view of
// both lists and the trees; Enter opens a folder row, Backspace goes back to the parent.
TEST_F(PageViews, KeysMoveOnceAndEnterAndBackspaceBrowseFolders) {
    expectOk(2, QString(R"(
        function selected(side) { return ctrl.GetSelectedListItem(side, "name", 0); }
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.SetLocalGoFolder("%1");
            setViewModes(4);
            host.ui.click("serverList", 0);
            host.ui.key("Down");
            expect("server Down", selected("server"), "c");
            host.ui.key("End");
            expect("server End", selected("server"), "y.txt");
            host.ui.click("localList", 0);
            host.ui.key("Down");
            expect("local Down", selected("local"), "q");

            for (var mode = 1; mode <= 4; ++mode) {
                setViewModes(mode);
                host.ui.click("serverList", "a");
                host.ui.key("Return");
                expect("server Enter, mode " + mode, ctrl.GetTreeSelectedName("server"), "a");
                host.ui.key("Backspace");
                expect("server Backspace, mode " + mode, ctrl.GetTreeSelectedName("server"),
                       "disk");
                host.ui.click("localList", "p");
                host.ui.key("Return");
                expect("local Enter, mode " + mode, ctrl.GetTreeSelectedName("local"), "p");
                host.ui.key("Backspace");
                expect("local Backspace, mode " + mode, ctrl.GetSelectedListCount("local"), 0);
                expect("local back, mode " + mode, host.ui.rows("localList").join(","),
                       "p,q,m.txt,n.txt");
            }

            host.ui.click("serverTree", "disk/a");
            host.ui.key("Backspace");
            expect("tree Backspace", ctrl.GetTreeSelectedName("server"), "disk");
            finish();
        });)")
                    .arg(local.path()));
}

// Every view mode selects what the user clicks as whole rows, and so opens, deletes and
// counts it as the details view does.
TEST_F(PageViews, EveryViewModeSelectsOpensAndDeletesClickedRows) {
    expectOk(2, QString(R"(
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.SetLocalGoFolder("%1");
            for (var mode = 1; mode <= 4; ++mode) {
                setViewModes(mode);
                ctrl.SetServerGoFolder("disk", 1);
                host.ui.click("serverList", "x.txt");
                expect("server count, mode " + mode, ctrl.GetSelectedListCount("server"), 1);
                expect("server name, mode " + mode,
                       ctrl.GetSelectedListItem("server", "name", 0), "x.txt");
                host.ui.selectRows("serverList", ["x.txt", "y.txt"]);
                expect("server two, mode " + mode, ctrl.GetSelectedListCount("server"), 2);
                host.ui.click("localList", "n.txt");
                expect("local name, mode " + mode,
                       ctrl.GetSelectedListItem("local", "name", 0), "n.txt");
                host.ui.doubleClick("serverList", "a");
                expect("double-click opens, mode " + mode, ctrl.GetTreeSelectedName("server"),
                       "a");
                host.ui.doubleClick("localList", "q");
                expect("local double-click, mode " + mode, ctrl.GetTreeSelectedName("local"),
                       "q");
                ctrl.SetLocalGoFolder("%1");
            }
            ctrl.SetServerGoFolder("disk", 1);
            setViewModes(1);
            host.ui.click("serverList", "y.txt");
            ctrl.DeleteSelectedItem();
            expect("deleted", ctrl.GetServerDeleteFileCount(), 1);
            expect("deleted name", ctrl.GetServerDeleteFilename(0), "y.txt");
            expect("rows left", host.ui.rows("serverList").join(","), "a,c,x.txt");
            finish();
        });)")
                    .arg(local.path()));
}

// A header click orders the rows by the values behind the shown texts (sizes as numbers, not
// as "977KB" against "5,242,880KB"), in both lists; the order outlives a change of folder, so
// the arrow and the rows agree; folder rows show their type.
TEST_F(PageViews, HeaderClicksSortBothListsByTheirValues) {
    expectOk(2, QString(R"(
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.SetLocalGoFolder("%1");
            setViewModes(4);
            expect("size shown", host.ui.cells("serverList")[3][1], "5,242,880KB");
            expect("folder type", host.ui.cells("serverList")[0][2] != "", true);
            expect("header", host.ui.clickHeader("serverList", 1), true);
            expect("size ascending", names("serverList"), "a,c,x.txt,y.txt");
            host.ui.clickHeader("serverList", 1);
            expect("size descending", names("serverList"), "y.txt,x.txt,a,c");
            host.ui.doubleClick("serverList", "a");
            expect("inside a", names("serverList"), "a1.txt,..,b");
            host.ui.key("Backspace");
            expect("back", names("serverList"), "y.txt,x.txt,a,c");
            host.ui.clickHeader("serverList", 1);
            expect("toggled", names("serverList"), "a,c,x.txt,y.txt");

            host.ui.clickHeader("localList", 0);
            expect("local name ascending", names("localList"), "m.txt,n.txt,p,q");
            host.ui.clickHeader("localList", 0);
            expect("local name descending", names("localList"), "q,p,n.txt,m.txt");
            host.ui.click("localList", "n.txt");
            host.ui.clickHeader("localList", 1);
            expect("local size ascending", names("localList"), "q,p,m.txt,n.txt");
            expect("selection kept", ctrl.GetSelectedListItem("local", "name", 0), "n.txt");
            setViewModes(1);
            expect("no header in icon mode", host.ui.clickHeader("localList", 1), false);
            finish();
        });)")
                    .arg(local.path()));
}
