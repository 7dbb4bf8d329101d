#include "PageSite.h"
#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FOLDER name="a"><FOLDER name="b"/><FILE path="/f/y.txt" name="y.txt" transtype="server" size="4"/></FOLDER>
    <FOLDER name="c"/>
    <FILE path="/f/x.txt" name="x.txt" transtype="server" size="70000"/>
    <FILE path="/f/y.txt" name="y.txt" transtype="server" size="4"/>
  </FOLDER>
</MORVEXXML>)";

// `fired` collects the drag, attach, download and error events, in order, until `take`.
const char* const kPageHelpers = R"(
    var fired = [];
    ctrl.OnDragDropingErr.connect(function (code, name) { fired.push("error " + code + " " + name); });
    ctrl.OnDragDropCompleat.connect(function () { fired.push("moved"); });
    ctrl.OnLocalAttachCompleat.connect(function () { fired.push("attached"); });
    ctrl.OnAddfileError.connect(function (code, path) { fired.push("refused " + code); });
    ctrl.OnDownloadCompleat.connect(function (code) { fired.push("downloaded " + code); });
    function take() { var all = fired; fired = []; return all; }
    function localRow(name) {
        var rows = host.ui.rows("localTree");
        for (var i = 0; i < rows.length; ++i)
            if (rows[i].split("/").pop() === name)
                return rows[i];
        return "";
    }
)";

class PageDragDrop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.isServing());
        ASSERT_TRUE(site.write("ui.xml", "<UICONFIG/>"));
        ASSERT_TRUE(site.write("catalogue.xml", kCatalogue));
        ASSERT_TRUE(site.write("f/x.txt", payload()));
        ASSERT_TRUE(site.write("f/y.txt", "why\n"));
        ASSERT_TRUE(QDir(local.path()).mkpath("p/inner"));
        ASSERT_TRUE(QDir(local.path()).mkpath("q"));
        writeLocal("m.txt", "local file\n");
        writeLocal("p/n.txt", "in p\n");
        writeLocal("q/r.txt", "in q\n");
    }
    static QByteArray payload() {
        QByteArray bytes;
        for (int i = 0; i < 70000; ++i)
            bytes.append(char(i * 7 % 251));
        return bytes;
    }
    void writeLocal(const QString& name, const QByteArray& bytes) {
        QFile file(local.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readLocal(const QString& name) {
        QFile file(local.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    // Runs `script` once the documents loaded, both panes shown and the local pane in the
    // temporary folder; expects it to print "ok".
    void expectOk(const QString& script, const QStringList& params = {}) {
        const PageSite::Run page =
            site.run(QString(kPageExpectations) + kPageHelpers +
                         QString(R"(
                var localFolder = "%1";
                ctrl.OnLoadCompleat.connect(function () {
                    ctrl.SetLocalGoFolder(localFolder + "/q"); // shows q in the tree
                    ctrl.SetLocalGoFolder(localFolder);
                    %2
                    finish();
                });)")
                             .arg(local.path(), script),
                     QStringList{"UIConfigXML=/ui.xml", "ServerFileListXML=/catalogue.xml",
                                 "LocalUIType=2"} +
                         params);
        EXPECT_EQ(page.exitCode, 0) << page.errors.toStdString();
        EXPECT_EQ(page.output, "ok\n") << page.errors.toStdString();
    }

    PageSite site;
    QTemporaryDir local;
};

} // namespace

TEST_F(PageDragDrop, LocalItemsDraggedOntoTheServerPaneAreQueuedWhereTheyLand) {
    expectOk(R"(
        expect("onto the list", host.ui.dragRows("localList", ["m.txt"], "serverList"), true);
        expect("list events", take(), ["attached"]);
        expect("queued in the shown folder", host.ui.rows("serverList").indexOf("m.txt") >= 0,
               true);
        expect("drop path", ctrl.GetServerCurDropPath(), "disk");

        expect("onto a tree row", host.ui.dragRows("localList", ["p", "m.txt"], "serverTree",
                                                   "disk/c"), true);
        expect("tree events", take(), ["attached"]);
        expect("the folder's file and the file arrived there",
               ctrl.GetServerListFileCount("disk/c", true), 2);
        expect("tree drop path", ctrl.GetServerCurDropPath(), "disk/c");
        expect("the tree kept its selection", ctrl.GetTreeSelectedName("server"), "disk");

        var q = localRow("q");
        expect("a local tree folder", host.ui.dragRows("localTree", q, "serverTree", "disk/a/b"),
               true);
        expect("local tree events", take(), ["attached"]);
        expect("the folder's file went", ctrl.GetServerListFileItem("disk/a/b", false, "name", 0),
               "r.txt");

        ctrl.IsDragUpload = false;
        expect("no upload drags", host.ui.dragRows("localList", ["m.txt"], "serverList"), false);
        expect("nothing fired", take(), []);
    )");
}

TEST_F(PageDragDrop, ServerEntriesMoveBetweenServerFoldersAndAreJournalled) {
    expectOk(R"(
        expect("file onto a folder", host.ui.dragRows("serverList", ["x.txt"], "serverTree",
                                                      "disk/c"), true);
        expect("moved", take(), ["moved"]);
        expect("journal file", [ctrl.GetDragDropFileCount(), ctrl.GetDragFile(0),
                                ctrl.GetDropFile(0), ctrl.GetDropXmlPath(0)],
               [1, "disk/x.txt", "disk/c/x.txt", "disk/c/"]);
        expect("the list lost it", host.ui.rows("serverList").indexOf("x.txt"), -1);

        host.ui.dragRows("serverList", ["y.txt"], "serverTree", "disk/a");
        expect("a name the folder holds", take(), ["error -450 y.txt"]);
        host.ui.dragRows("serverTree", "disk/a", "serverTree", "disk/a/b");
        expect("a folder into its own child", take(), ["error -451 a"]);
        host.ui.dragRows("serverTree", "disk/a", "serverTree", "disk/a");
        expect("onto itself the drop is refused", take(), []);
        host.ui.dragRows("serverList", ["y.txt"], "serverList");
        expect("a list never drops on itself", take(), []);

        expect("tree folder onto the list", host.ui.dragRows("serverTree", "disk/a/b",
                                                            "serverList"), true);
        expect("into the folder the list shows", take(), ["moved"]);
        expect("journal folder", [ctrl.GetDragDropFolderCount(), ctrl.GetDragFolderPath(0),
                                  ctrl.GetDropFolderPath(0)], [1, "disk/a/b", "disk/b"]);
        expect("the tree follows", host.ui.rows("serverTree").indexOf("disk/b") >= 0, true);
        expect("drop path", ctrl.GetServerCurDropPath(), "disk");
        ctrl.RemoveDragList();
        expect("emptied", ctrl.GetDragDropFolderCount() + ctrl.GetDragDropFileCount(), 0);

        ctrl.IsServerToServerDrag = false;
        host.ui.dragRows("serverList", ["y.txt"], "serverTree", "disk/c");
        expect("moves switched off", take(), []);
    )");
}

TEST_F(PageDragDrop, ServerFilesDraggedOntoTheLocalPaneDownloadThere) {
    expectOk(R"(
        expect("onto the list", host.ui.dragRows("serverList", ["x.txt"], "localList"), true);
        expect("downloaded", take(), ["downloaded 0"]);
        host.ui.dragRows("serverList", ["y.txt"], "localTree", localRow("q"));
        expect("into the tree's folder", take(), ["downloaded 0"]);
        host.ui.dragRows("serverTree", "disk/a", "localList");
        expect("a whole folder", take(), ["downloaded 0"]);
    )");
    EXPECT_EQ(readLocal("x.txt"), payload());
    EXPECT_EQ(readLocal("q/y.txt"), "why\n");
    EXPECT_EQ(readLocal("a/y.txt"), "why\n");
}

TEST_F(PageDragDrop, APageThatChoosesTheTargetDownloadsWhenItSaysSo) {
    expectOk(R"(
        var asked = [];
        ctrl.OnDargDownSelectTarget.connect(function (kind, path, xpath, drop) {
            asked.push([kind, path, xpath, drop]);
        });
        host.ui.dragRows("serverList", ["x.txt"], "localList");
        expect("asked", asked, [[2, "disk", 'FOLDER[@name="disk"]', localFolder]]);
        expect("nothing yet", take(), []);
        ctrl.DragSelectedItemDown();
        expect("on the page's word", take(), ["downloaded 0"]);

        asked = [];
        host.ui.dragRows("serverTree", "disk/a", "localTree", localRow("q"));
        expect("a folder", asked,
               [[1, "disk/a", 'FOLDER[@name="disk"]/FOLDER[@name="a"]', localFolder + "/q"]]);
        host.ui.click("serverList", "x.txt");
        ctrl.RefreshItem();
        ctrl.DragSelectedItemDown();
        expect("a reload forgets it", take(), []);
    )",
             {"IsDragDownAfterEvent=1"});
    EXPECT_EQ(readLocal("x.txt"), payload());
    EXPECT_FALSE(QFile::exists(local.filePath("q/a")));
}

TEST_F(PageDragDrop, ADragShowsTheDropHighlightOverTheTargetRow) {
    const QString shot = local.filePath("drag.png");
    expectOk(QString(R"(
        expect("dragged", host.ui.dragRows("serverList", ["x.txt"], "serverTree", "disk/c",
                                           "%1"), true);
    )")
                 .arg(shot));
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(600, 400));
}
