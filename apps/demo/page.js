// A short tour of the control as a page sees it: the document load, the catalogue queries,
// a property the page may not write, and the layout.
function log() { console.log.apply(null, ["demo:"].concat(Array.prototype.slice.call(arguments))); }

ctrl.OnXMLLoadCompleat.connect(function (code) {
    log("documents loaded with code", code, "- charset", ctrl.Charset);
});

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
    log("menu item", code, "chosen in pane", ctrl.GetCurrentFocusCtrl());
    if (menuActions[code])
        menuActions[code]();
});

ctrl.OnLoadCompleat.connect(function () {
    for (var d = 0; d < ctrl.GetDiskCount(); ++d) {
        var disk = ctrl.GetDiskName(d);
        var files = ctrl.GetServerListFileCount(disk, true);
        log("disk", disk + ":", ctrl.GetServerListFolderCount(disk, true), "folders,", files,
            "files,", ctrl.GetServerPathFileSize("all", disk), "bytes");
        for (var i = 0; i < files; ++i)
            log("   ", ctrl.GetServerListFileItem(disk, true, "path", i) +
                ctrl.GetServerListFileItem(disk, true, "name", i),
                ctrl.GetServerListFileItem(disk, true, "size", i), "bytes");
    }
    try {
        ctrl.exceptionExt = "exe";
    } catch (e) {
        log("exceptionExt stays read-only:", e.message);
    }
    log("layout", ctrl.LocalUIType, "- focus on pane", ctrl.GetCurrentFocusCtrl());
    log("catalogue as the page reads it back:", ctrl.AllXML.length, "characters");
    if (!host.offscreen)
        return;
    host.ui.rightClick("serverList", "hello.txt");
    log("menu of a server file:", host.ui.menu("serverList").join(" | "));
    host.ui.chooseMenu("새로 고침");
    log("server list after the refresh:", host.ui.rows("serverList").join(", "));
    host.quit(0);
});
