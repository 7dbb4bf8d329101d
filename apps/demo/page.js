// The demo page. In a window it is a two-pane file manager on the demo site whose popup menus
// do what they say; offscreen it tours every capability, one line per step, and ends with 0
// only when every step did what it should. run-demo.sh defines DEMO before this script.
function log() { console.log.apply(null, ["demo:"].concat(Array.prototype.slice.call(arguments))); }

// The menus of ui.xml name what they do by event code; the page carries it out, as a site's
// own script would.
var menuActions = {
    1: function () { ctrl.Newfolder(); },
    2: function () { ctrl.DeleteSelectedItem(); },
    3: function () { ctrl.SelectedItemDown(); },
    4: function () { ctrl.RefreshItem(); },
    5: function () { ctrl.SelectedItemAddServerList(); },
    6: function () { ctrl.SelectedItemOpen(); },
};
ctrl.OnPopupMenu.connect(function (code) {
    if (menuActions[code])
        menuActions[code]();
});

// Every event as "Name args", in order, for the steps to check.
var events = [];
function record(name) {
    ctrl[name].connect(function () {
        events.push([name].concat(Array.prototype.slice.call(arguments)).join(" "));
    });
}
["OnXMLLoadCompleat", "OnLocalAttachCompleat", "OnAddfileError", "OnDownloadCompleat",
 "OnServerItemDeleteCompleat", "OnNewFolderCompleat", "OnRenameCompleat", "OnDragDropCompleat",
 "OnDragDropingErr", "OnPopupMenu", "OnOpenfileCompleat"].forEach(record);
function take() { var all = events; events = []; return all; }

var failures = [];
function step(name, ok, detail) {
    log(name + ":", ok ? "ok" : "FAILED" + (detail === undefined ? "" : " - " + detail));
    if (!ok)
        failures.push(name);
}
function same(got, want) { return JSON.stringify(got) === JSON.stringify(want); }
function shot(name) { host.ui.screenshot(DEMO.shots + "/" + name + ".png"); }

function tour() {
    var seen = take();
    step("load: the UI configuration and the catalogue", same(seen, ["OnXMLLoadCompleat 0"]),
         seen);
    for (var d = 0; d < ctrl.GetDiskCount(); ++d) {
        var disk = ctrl.GetDiskName(d);
        log("   disk", disk + ":", ctrl.GetServerListFolderCount(disk, true), "folders,",
            ctrl.GetServerListFileCount(disk, true), "files,",
            ctrl.GetServerPathFileSize("all", disk), "bytes");
    }

    ctrl.SetServerGoFolder("공유 문서함/회의록", 1);
    var rows = host.ui.rows("serverList");
    host.ui.doubleClick("serverList", "..");
    step("browse: a Korean folder and back up with a double click",
         rows.indexOf("12월 계획.txt") >= 0 && ctrl.GetTreeSelectedName("server") === "공유 문서함",
         rows);

    for (var mode = 0; mode <= 2; ++mode) {
        ctrl.LocalUIType = mode;
        shot("layout-" + mode);
    }
    ctrl.SetLocalGoFolder(DEMO.home);
    step("layouts: screenshots of all three", true);

    ctrl.AddLocalFile(DEMO.home + "/보고서.txt");
    host.ui.dragRows("localList", ["프로젝트"], "serverTree", "공유 문서함/docs");
    seen = take();
    step("attach: a file by script, a folder dragged onto a server folder",
         same(seen, ["OnLocalAttachCompleat"]) &&
             ctrl.GetServerListFileCount("공유 문서함/docs", true) === 3,
         seen);
    shot("queued");
    var sent = ctrl.HttpSendAttach("/upload");
    step("upload: the queued files in the upload window", sent === 0 &&
             ctrl.GetCurrentUploadFileCnt() === 2, sent + " " + ctrl.GetCurrentUploadFileCnt());

    ctrl.DownStyle = 1;
    ctrl.ReceiveDown = 1;
    ctrl.SetServerGoFolder("자료실/설치 파일", 1);
    host.ui.dragRows("serverList", ["설치 파일.bin"], "localList", undefined,
                     DEMO.shots + "/dragging.png");
    seen = take();
    // Each cut is resumed within the run, from where it left the file (DownRetryCount).
    step("download: a large file over a connection cut after every 1 MiB, resumed in one run",
         same(seen, ["OnDownloadCompleat 0"]), seen);

    ctrl.AddPOSTForm("subject", "분기 보고서");
    ctrl.AddPOSTForm("pages", "3");
    var posted = ctrl.SendPOSTForm("", 0, "/post/form");
    var reply = ctrl.GetPostResponseData();
    ctrl.AddPOSTFormXml("subject", "분기 보고서");
    ctrl.AddPOSTFormXml("pages", "3");
    var xmlPosted = ctrl.SendPOSTFormXmlFile("", 0, "/post/xml", "보고서 양식.xml");
    // The demo server echoes a URL-encoded form and stores an XML form's file as an upload.
    step("form posts: a URL-encoded form and an XML form to the page's server",
         posted === 0 && reply === "subject=" + encodeURIComponent("분기 보고서") + "&pages=3" &&
             xmlPosted === 0 && ctrl.GetPostResponseData() === "/보고서 양식.xml",
         posted + " " + reply + " / " + xmlPosted + " " + ctrl.GetPostResponseData());

    ctrl.SetServerGoFolder("공유 문서함", 1);
    host.ui.click("serverList", "hello.txt");
    ctrl.DeleteSelectedItem();
    seen = take();
    step("delete: journalled for the page", same(seen, ["OnServerItemDeleteCompleat 0 28"]) &&
             ctrl.GetServerDeleteFilename(0) === "hello.txt", seen);

    ctrl.ServerNewfolderByName("새 폴더");
    seen = take();
    step("new folder", seen.length === 1 && seen[0].indexOf("OnNewFolderCompleat 0") === 0, seen);

    host.ui.click("serverList", "새 폴더");
    host.ui.key("F2");
    host.ui.typeText("2027 계획");
    shot("renaming");
    host.ui.key("Return");
    seen = take();
    step("rename: F2 on the new folder, a Korean name typed, journalled",
         same(seen, ["OnRenameCompleat 0"]) && ctrl.GetRenameFolderCount() === 1 &&
             ctrl.GetRenameFolderNewPath(0) === "공유 문서함/2027 계획", seen);

    host.ui.dragRows("serverList", ["docs"], "serverTree", "공유 문서함/사진");
    seen = take();
    step("drag: a folder moved onto another, journalled",
         same(seen, ["OnDragDropCompleat"]) && ctrl.GetDragDropFolderCount() === 1 &&
             ctrl.GetDropFolderPath(0) === "공유 문서함/사진/docs", seen);

    log("   journal: deleted", ctrl.GetServerDeleteFileCount(), "- uploaded",
        ctrl.GetCurrentUploadFileCnt(), "- renamed", ctrl.GetRenameFolderCount() +
        ctrl.GetRenameFileCount(), "- dragged", ctrl.GetDragDropFolderCount() +
        ctrl.GetDragDropFileCount(), "- overwritten", ctrl.GetOldOWFileCount());
    step("journal: read back by the page", ctrl.GetServerDeleteFileCount() === 1 &&
             ctrl.GetRenameFolderCount() === 1 && ctrl.GetDragDropFolderCount() === 1);

    host.ui.rightClick("serverList", "회의록");
    var menu = host.ui.menu("serverList");
    shot("menu");
    host.ui.chooseMenu("새로 고침");
    rows = host.ui.rows("serverList");
    step("menu: a folder's menu, and its refresh brings back the server's own list",
         menu.indexOf("새로 고침") >= 0 && rows.indexOf("hello.txt") >= 0,
         menu + " / " + rows);
    shot("final");
    log(failures.length ? "FAILED steps: " + failures.join(", ") : "every step did what it should");
    host.quit(failures.length ? 1 : 0);
}

ctrl.OnLoadCompleat.connect(function () {
    if (DEMO.offscreen)
        tour();
    else
        ctrl.SetLocalGoFolder(DEMO.home);
});
