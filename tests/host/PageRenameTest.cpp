#include "PageSite.h"
#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Shared by the pages below: every OnRenameCompleat code in `codes`; `rename` types a name
// into the editor F2 opens on `row` of `pane` and ends it with `end` ("Return" or "Escape").
const char* const kPageHelpers = R"(
    var codes = [];
    ctrl.OnRenameCompleat.connect(function (code) { codes.push(code); });
    function rename(pane, row, text, end) {
        expect("click " + pane + " " + row, host.ui.click(pane, row), true);
        host.ui.key("F2");
        host.ui.typeText(text);
        host.ui.key(end || "Return");
    }
    function lastCode() { return codes.length ? codes[codes.length - 1] : null; }
    // The local tree's row that ends in `suffix`, as host.ui names tree rows.
    function localTreeRow(suffix) {
        return host.ui.rows("localTree").filter(function (row) {
            return row.slice(-suffix.length) === suffix;
        })[0];
    }
)";

// A server catalogue and a local folder with folders and files, shown in layout 2.
class PageRename : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.isServing());
        ASSERT_TRUE(site.write("ui.xml", kListColumnsConfig));
        ASSERT_TRUE(site.write("catalogue.xml", kSampleCatalogue));
        ASSERT_TRUE(MakeLocalSample(local.path()));
    }
    qint64 size(const QString& name) const { return QFileInfo(local.filePath(name)).size(); }
    QStringList localNames() const {
        return QDir(local.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }

    // Runs the page in layout 2 with the local pane in the local folder; expects "ok".
    void expectOk(const QString& script, const QStringList& params = {}) {
        const PageSite::Run page =
            site.run(QString(kPageExpectations) + kPaneHelpers + kPageHelpers +
                         QString("var localFolder = \"%1\";\n").arg(local.path()) + script,
                     QStringList{"UIConfigXML=/ui.xml", "ServerFileListXML=/catalogue.xml",
                                 "LocalUIType=2"} +
                         params);
        EXPECT_EQ(page.exitCode, 0) << page.errors.toStdString();
        EXPECT_EQ(page.output, "ok\n");
    }

    PageSite site;
    QTemporaryDir local;
};

} // namespace

// F2, typing and Enter rename a server file in every view mode; the journal has each step
// under the catalogue's paths, and a folder row renames the tree's folder too. The Enter
// that ends an edit opens nothing.
TEST_F(PageRename, ServerListRowsAreRenamedInEveryViewModeAndJournalled) {
    expectOk(R"(
        var opened = 0;
        ctrl.OnListItemDoubleClicked.connect(function () { ++opened; });
        ctrl.OnLoadCompleat.connect(function () {
            var name = "x.txt";
            for (var mode = 1; mode <= 4; ++mode) {
                setViewModes(mode);
                var next = mode == 4 ? "보고서.txt" : "x" + mode + ".txt";
                rename("serverList", name, next);
                expect("rows, mode " + mode, names("serverList"), "a,c," + next + ",y.txt");
                name = next;
            }
            expect("codes", codes.join(), "0,0,0,0");
            expect("file records", ctrl.GetRenameFileCount(), 4);
            expect("old", ctrl.GetRenameOldFile(0), "disk/x.txt");
            expect("new", ctrl.GetRenameNewFile(0), "disk/x1.txt");
            expect("old of the last", ctrl.GetRenameOldFile(3), "disk/x3.txt");
            expect("new of the last", ctrl.GetRenameNewFile(3), "disk/보고서.txt");
            expect("xml path", ctrl.GetRenameXmlPath(3), "disk/");
            expect("type", ctrl.GetRenamePathType(3), "real");
            expect("name", ctrl.GetRenameName("f", 1), "x2.txt");
            expect("catalogue", ctrl.GetServerListFileItem("disk", false, "name", 0), "보고서.txt");
            expect("server path kept", ctrl.GetServerListFileItem("disk", false, "pathname", 0),
                   "/f/x.txt");

            rename("serverList", "c", "c2");
            expect("folder records", ctrl.GetRenameFolderCount(), 1);
            expect("folder old", ctrl.GetRenameFolderOldPath(0), "disk/c");
            expect("folder new", ctrl.GetRenameFolderNewPath(0), "disk/c2");
            expect("folder name", ctrl.GetRenameName("d", 0), "c2");
            expect("tree", host.ui.rows("serverTree").join(","), "disk,disk/a,disk/c2");
            expect("list", names("serverList"), "a,c2,보고서.txt,y.txt");
            expect("opened", opened, 0);
            ctrl.RemoveRenameList();
            expect("emptied", ctrl.GetRenameFileCount() + ctrl.GetRenameFolderCount(), 0);
            finish();
        });)");
}

TEST_F(PageRename, AServerTreeFolderIsRenamedWithF2) {
    expectOk(R"(
        ctrl.OnLoadCompleat.connect(function () {
            host.ui.click("serverTree", "disk/a");
            host.ui.key("Right");
            rename("serverTree", "disk/a", "..a2..");
            expect("codes", codes.join(), "0");
            expect("tree", host.ui.rows("serverTree").join(","),
                   "disk,disk/a2,disk/a2/b,disk/c");
            expect("selected", ctrl.GetServerSelectedFolderPath(), "disk/a2");
            expect("old", ctrl.GetRenameFolderOldPath(0), "disk/a");
            expect("new", ctrl.GetRenameFolderNewPath(0), "disk/a2");
            expect("list of the parent", (ctrl.SetServerGoFolder("disk", 1), names("serverList")),
                   "a2,c,x.txt,y.txt");
            finish();
        });)");
}

// Local renames happen on disk at once and are not journalled.
TEST_F(PageRename, LocalFilesAndFoldersAreRenamedOnDiskInEveryView) {
    expectOk(R"(
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.SetLocalGoFolder(localFolder);
            var name = "m.txt";
            for (var mode = 1; mode <= 4; ++mode) {
                setViewModes(mode);
                rename("localList", name, "m" + mode + ".txt");
                name = "m" + mode + ".txt";
                expect("rows, mode " + mode, names("localList"), "p,q," + name + ",n.txt");
            }
            ctrl.SetLocalGoFolder(localFolder + "/p");
            rename("localTree", localTreeRow("/" + localFolder.split("/").pop() + "/p"), "p2");
            expect("selected", ctrl.GetTreeSelectedName("local"), "p2");
            expect("codes", codes.join(), "0,0,0,0,0");
            expect("journal", ctrl.GetRenameFileCount() + ctrl.GetRenameFolderCount(), 0);
            finish();
        });)");
    EXPECT_EQ(localNames(), (QStringList{"m4.txt", "n.txt", "p2", "q"}));
    EXPECT_EQ(size("m4.txt"), 10);
}

// Each refusal by its code; the ones the user can correct bring the editor back with what
// was typed, so typing again replaces it. Escape ends an edit without a rename or an event.
TEST_F(PageRename, ServerRefusalsReportTheirCodesAndReopenTheEditorWhereUseful) {
    expectOk(R"(
        ctrl.OnLoadCompleat.connect(function () {
            rename("serverList", "x.txt", "...");
            expect("dots", lastCode(), -400);
            rename("serverList", "x.txt", "a:b");
            expect("bad character", lastCode(), -401);
            host.ui.typeText("fixed.txt");
            host.ui.key("Return");
            expect("corrected", lastCode(), 0);
            rename("serverList", "fixed.txt", "y.txt");
            expect("taken", lastCode(), -402);
            host.ui.key("Escape");
            var longest = new Array(257).join("n");
            rename("serverList", "fixed.txt", longest + "n");
            expect("257 characters", lastCode(), -403);
            host.ui.key("Escape");
            rename("serverList", "fixed.txt", longest);
            expect("256 characters", lastCode(), 0);
            rename("serverList", longest, "never.txt", "Escape");
            expect("escape", codes.join(), "-400,-401,0,-402,-403,0");
            expect("rows", names("serverList"), "a,c," + longest + ",y.txt");
            expect("records", ctrl.GetRenameFileCount(), 2);

            host.ui.click("serverTree", "disk");
            ctrl.SetRenameModeTree();
            expect("root", lastCode(), -404);
            host.ui.doubleClick("serverList", "a");
            host.ui.click("serverList", "a1.txt");
            ctrl.SetRenameModeList(0);
            expect("parent row", lastCode(), -404);
            ctrl.SetRenameModeList(2);
            host.ui.typeText("z.txt");
            host.ui.key("Return");
            expect("by script", names("serverList"), "..,b,z.txt");
            expect("all", codes.join(), "-400,-401,0,-402,-403,0,-404,-404,0");
            finish();
        });)");
}

TEST_F(PageRename, LocalRefusalsNeverReplaceAFileOrCountAVanishedOneAsRenamed) {
    expectOk(R"(
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.SetLocalGoFolder(localFolder);
            rename("localList", "m.txt", "n.txt");
            expect("taken", lastCode(), -402);
            host.ui.key("Escape");
            rename("localList", "m.txt", "q");
            expect("taken by a folder", lastCode(), -402);
            host.ui.key("Escape");
            rename("localList", "m.txt", "..");
            expect("dots", lastCode(), -400);

            host.ui.click("localList", "n.txt");
            host.ui.key("F2");
            ctrl.DeleteLocalFile(localFolder + "/n.txt");
            host.ui.typeText("o.txt");
            host.ui.key("Return");
            expect("vanished", lastCode(), -406);

            host.ui.click("localTree", "Desktop");
            ctrl.SetRenameModeTree();
            expect("root", lastCode(), -404);
            expect("codes", codes.join(), "-402,-402,-400,-406,-404");
            finish();
        });)");
    EXPECT_EQ(localNames(), (QStringList{"m.txt", "p", "q"}));
    EXPECT_EQ(size("m.txt"), 10);
}

// A view set up without renaming starts no editor from F2, though the page still hears F2
// and can start one itself.
TEST_F(PageRename, ViewsWithoutRenamingLeaveItToScript) {
    expectOk(R"(
        var keys = [];
        ctrl.OnFunctionKeyPress.connect(function (key) { keys.push(key); });
        ctrl.OnLoadCompleat.connect(function () {
            rename("serverList", "x.txt", "no.txt");
            expect("no editor", names("serverList"), "a,c,x.txt,y.txt");
            expect("reported", keys.join(), "F2");
            ctrl.SetRenameModeList(2);
            host.ui.typeText("yes.txt");
            host.ui.key("Return");
            expect("by script", names("serverList"), "a,c,yes.txt,y.txt");
            rename("serverTree", "disk/a", "a2");
            expect("tree renames", host.ui.rows("serverTree").join(","), "disk,disk/a2,disk/c");
            expect("codes", codes.join(), "0,0");
            finish();
        });)",
             {"IsServerListRename=false"});
}

// A reload while an editor is open closes it without a rename: nothing of the old catalogue
// or the old local rows is used when the typing ends. Keys with Ctrl go to the open editor
// and are not reported.
TEST_F(PageRename, AReloadWhileEditingDropsTheEdit) {
    expectOk(R"(
        var keys = [];
        ctrl.OnFunctionKeyPress.connect(function (key) { keys.push(key); });
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.SetLocalGoFolder(localFolder);
            host.ui.click("serverList", "x.txt");
            host.ui.key("F2");
            host.ui.key("A", "ctrl");
            host.ui.key("C", "ctrl");
            ctrl.RefreshItem();
            host.ui.typeText("gone.txt");
            host.ui.key("Return");
            expect("server rows", names("serverList"), "a,c,x.txt,y.txt");

            host.ui.click("serverTree", "disk/a");
            host.ui.key("F2");
            ctrl.RefreshItem();
            host.ui.typeText("gone");
            host.ui.key("Return");
            expect("tree", host.ui.rows("serverTree").indexOf("disk/a") >= 0, true);

            host.ui.click("localList", "m.txt");
            host.ui.key("F2");
            ctrl.RefreshItem();
            host.ui.typeText("gone.txt");
            host.ui.key("Return");
            expect("local rows", names("localList"), "p,q,m.txt,n.txt");
            expect("codes", codes.join(), "");
            expect("records", ctrl.GetRenameFileCount() + ctrl.GetRenameFolderCount(), 0);
            expect("keys", keys.join(), "F2,F2,F2");
            finish();
        });)");
    EXPECT_EQ(localNames(), (QStringList{"m.txt", "n.txt", "p", "q"}));
}
