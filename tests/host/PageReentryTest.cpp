// Page handlers that replace the server catalogue while an operation of the control is still
// running: the operation stops and leaves the new catalogue alone.
#include "PageSite.h"
#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FOLDER name="a">
      <FOLDER name="b"/>
      <FILE path="/f/a1.txt" name="a1.txt" transtype="server" size="1"/>
    </FOLDER>
    <FOLDER name="target"/>
    <FILE path="/f/x.txt" name="x.txt" transtype="server" size="10"/>
  </FOLDER>
</MORVEXXML>)";

const char* const kOtherCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="other">
    <FOLDER name="target"/>
    <FILE path="/f/o.txt" name="o.txt" transtype="server" size="10"/>
  </FOLDER>
</MORVEXXML>)";

// The control loads its catalogue a moment after it starts. The page first attaches an empty
// folder, whose scan window waits in its event loop until that load is done; after it the
// page runs outside any load of the control, so a handler's catalogue assignment reloads at
// once, as it does on a page the user works in. `finish` prints what the page sees afterwards.
const char* const kPageStart = R"(
    var reloads = 0;
    function log() { console.log(Array.prototype.slice.call(arguments).join(" ")); }
    function reloadOnce(how) {
        if (reloads++ > 0)
            return;
        log("reload", how);
        if (how === "refresh") {
            ctrl.RefreshItem();
        } else if (how === "assign") {
            ctrl.ServerFileListXML = "/other.xml";
        } else if (how === "delete") {
            host.ui.selectRows("serverList", ["target"]);
            ctrl.DeleteSelectedItem();
        }
    }
    function finish() {
        log("local entries", (ctrl.AllXML.match(/transtype="local"/g) || []).length);
        log("deletes", ctrl.GetServerDeleteFileCount());
        log("shown", host.ui.rows("serverList").join(","));
        host.quit(0);
    }
    host.answer("folder", "%1");
    ctrl.FolderAttach();
    if (host.ui.rows("serverList").length === 0)
        log("the catalogue was not loaded");
)";

class PageReentry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.isServing());
        ASSERT_TRUE(site.write("ui.xml", "<UICONFIG/>"));
        ASSERT_TRUE(site.write("catalogue.xml", kCatalogue));
        ASSERT_TRUE(site.write("other.xml", kOtherCatalogue));
        ASSERT_TRUE(QDir(local.path()).mkdir("empty"));
    }

    void writeLocal(const QString& name, const QByteArray& bytes = "data\n") {
        const QString file = local.filePath(name);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    // Runs the page; it must end normally (a crash gives -1).
    QString run(const QString& script) {
        const PageSite::Run page =
            site.run(QString(kPageStart).arg(local.filePath("empty")) + script,
                     {"UIConfigXML=/ui.xml", "ServerFileListXML=/catalogue.xml", "LocalUIType=0",
                      "exceptionExt=bad;"});
        EXPECT_EQ(page.exitCode, 0) << page.errors.toStdString();
        return page.output;
    }

    PageSite site;
    QTemporaryDir local;
};

} // namespace

// The scan meets refused files inside an existing folder; the first refusal's handler replaces
// the catalogue (or removes the folder the scan is adding into). The scan stops there: no
// further refusal is reported, nothing is queued into the new catalogue, and the page's own
// change is all the journal holds.
TEST_F(PageReentry, ACatalogueReplacedDuringAFolderAttachEndsTheScan) {
    for (const char* name : {"drop/target/1.bad", "drop/target/2.bad", "drop/target/3.bad",
                             "drop/target/later/ok.txt", "drop/target/later/also.txt"})
        writeLocal(name);
    const struct {
        const char* how;
        const char* deletes;
        const char* shown;
    } reloads[] = {{"refresh", "0", "a,target,x.txt"},
                   {"assign", "0", "target,o.txt"},
                   {"delete", "0", "a,x.txt"}};
    for (const auto& reload : reloads) {
        const QString out = run(QStringLiteral(R"(
            ctrl.IsAttachFolder = true;
            ctrl.OnAddfileError.connect(function (code, name, path) {
                log("refused", code, name);
                reloadOnce("%1");
            });
            ctrl.OnLocalAttachCompleat.connect(function () { log("attached"); });
            host.answer("folder", "%2/drop");
            ctrl.FolderAttach();
            finish();)")
                                    .arg(reload.how, local.path()));
        SCOPED_TRACE(reload.how);
        EXPECT_EQ(out.count("refused -1003 "), 1) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("reload %1\nattached\nlocal entries 0\n"
                                                "deletes %2\nshown %3\n")
                                     .arg(reload.how, reload.deletes, reload.shown)))
            << out.toStdString();
    }
}

// Two files chosen in the file dialog: the first is refused, and its handler reloads. The
// second belongs to the abandoned batch and is not queued into the reloaded catalogue.
TEST_F(PageReentry, AReloadDuringFileAttachLeavesTheRestOfTheBatchOut) {
    writeLocal("pick/1.bad");
    writeLocal("pick/2.txt");
    const QString out = run(QStringLiteral(R"(
        ctrl.OnAddfileError.connect(function (code, name, path) {
            log("refused", code, name);
            reloadOnce("refresh");
        });
        ctrl.OnLocalAttachCompleat.connect(function () { log("attached"); });
        host.answer("files", ["%1/pick/1.bad", "%1/pick/2.txt"]);
        ctrl.FileAttach();
        finish();)")
                                .arg(local.path()));
    EXPECT_TRUE(out.contains("refused -1003 1.bad\nreload refresh\nattached\nlocal entries 0\n"
                             "deletes 0\nshown a,target,x.txt\n"))
        << out.toStdString();
}

// SetServerGoFolder with 2 collapses the folder it selected; a handler of the selection
// change that reloads leaves nothing of the old tree to collapse. Both the named folder and
// the fallback to the first disk are covered.
TEST_F(PageReentry, AReloadFromTheSelectionChangeOfGoFolderIsSafe) {
    for (const char* path : {"disk/a", "nowhere"}) {
        const QString out = run(QStringLiteral(R"(
            ctrl.SetServerGoFolder("disk/target", 0);
            ctrl.OnTreeSelChanged.connect(function (path) {
                log("selected", path);
                reloadOnce("refresh");
            });
            log("went", ctrl.SetServerGoFolder("%1", 2));
            log("now", ctrl.GetServerSelectedFolderPath());
            finish();)")
                                    .arg(path));
        SCOPED_TRACE(path);
        const QString folder = QString(path) == "nowhere" ? "disk" : path;
        EXPECT_TRUE(out.contains(QStringLiteral("selected %1\nreload refresh\nselected %1\n"
                                                "went 0\n")
                                     .arg(folder)))
            << out.toStdString();
        EXPECT_EQ(out.count("selected "), 2) << out.toStdString();
    }
}

// Deleting by name goes to the folder first; a handler that reloads on that selection change
// ends the deletion before it removes anything from the reloaded catalogue or the journal.
TEST_F(PageReentry, AReloadBeforeADeleteByNameDeletesNothing) {
    const QString out = run(R"(
        ctrl.OnTreeSelChanged.connect(function (path) {
            log("selected", path);
            reloadOnce("refresh");
        });
        ctrl.OnServerItemDeleteCompleat.connect(function (code, size) {
            log("deleted", code, size);
        });
        log("result", ctrl.ServerListPrgDeleteItem("disk/a", "a1.txt"));
        finish();)");
    EXPECT_TRUE(out.contains("selected disk/a\nreload refresh\nselected disk/a\nresult false\n"
                             "local entries 0\ndeletes 0\nshown ..,b,a1.txt\n"))
        << out.toStdString();
    EXPECT_FALSE(out.contains("deleted ")) << out.toStdString();
}
