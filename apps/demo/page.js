// A small tour of the control as a page sees it.
console.log("demo: page at", ctrl.Charset, "charset, layout", ctrl.LocalUIType);
console.log("demo: list views server", ctrl.ServerListViewMode, "local", ctrl.LocalListViewMode);
console.log("demo: one-file limit", ctrl.OneFileLimitsize, "(-1 means none)");

try {
    ctrl.exceptionExt = "exe";
} catch (e) {
    console.log("demo: exceptionExt is read-only:", e.message);
}

ctrl.LocalUIType = 2;
console.log("demo: switched to layout", ctrl.LocalUIType);

if (host.offscreen)
    host.quit(0);
