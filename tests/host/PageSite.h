#pragma once

#include "IsolatedHome.h"
#include "TestServer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Page script for checks: `expect(what, got, want)` notes a mismatch of the two values as
// JSON, `finish()` prints the mismatches (or "ok") and ends the page.
inline const char* const kPageExpectations = R"(
    var failures = [];
    function expect(what, got, want) {
        if (JSON.stringify(got) !== JSON.stringify(want))
            failures.push(what + ": got " + JSON.stringify(got) + ", want " + JSON.stringify(want));
    }
    function finish() {
        console.log(failures.length ? failures.join("\n") : "ok");
        host.quit(0);
    }
)";

// Page script for the views: `names(pane)` lists the first cell of each row of `pane`,
// `setViewModes(mode)` sets both lists' view mode.
inline const char* const kPaneHelpers = R"(
    function names(pane) {
        return host.ui.cells(pane).map(function (row) { return row[0]; }).join(",");
    }
    function setViewModes(mode) {
        ctrl.ServerListViewMode = mode;
        ctrl.LocalListViewMode = mode;
    }
)";

// A catalogue for the view pages: folders a (holding b and a1.txt) and c, and x.txt (1 MB) and
// y.txt (5 GiB) on one disk.
inline const char* const kSampleCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FOLDER name="a">
      <FOLDER name="b"/>
      <FILE path="/f/a1.txt" name="a1.txt" transtype="server" size="1"/>
    </FOLDER>
    <FOLDER name="c"/>
    <FILE path="/f/x.txt" name="x.txt" transtype="server" size="1000000"/>
    <FILE path="/f/y.txt" name="y.txt" transtype="server" size="5368709120"/>
  </FOLDER>
</MORVEXXML>)";

// A UI configuration naming the four list columns of both panes.
inline const char* const kListColumnsConfig = R"(<UICONFIG><LISTCOLUMNTITLE>
    <SERVERLIST><C name="Name" align="left" width="120"/><C name="Size" width="90"/>
      <C name="Type" width="80"/><C name="Date" width="90"/></SERVERLIST>
    <LOCALLIST><C name="Name" align="left" width="120"/><C name="Size" width="90"/>
      <C name="Type" width="80"/><C name="Date" width="90"/></LOCALLIST>
</LISTCOLUMNTITLE></UICONFIG>)";

// Fills `folder` with what the view pages show in the local pane: the folders p and q, and
// m.txt (10 bytes) and n.txt (2000 bytes). False when something could not be made.
bool MakeLocalSample(const QString& folder);

// A site folder served by the loopback test server, and vantrel-host running page scripts
// on it offscreen, as a browser page would run.
class PageSite {
public:
    PageSite();

    bool isServing() const { return server_ && server_->isRunning(); }
    // Writes `bytes` to `name` (folders made as needed) inside the site; false on failure.
    bool write(const QString& name, const QByteArray& bytes);
    QString path(const QString& name) const { return site_.filePath(name); }
    QString url(const QString& path) const { return server_->urlText(path); }

    struct Run {
        int exitCode = -1; // -1 as well when it crashed or did not end in time
        QString output;    // standard output
        QString errors;    // standard error
    };
    // Runs `script` with the control's parameters `params` ("Name=value") at 600 x 400.
    Run run(const QString& script, const QStringList& params);

private:
    IsolatedHome home_;
    QTemporaryDir site_, scratch_;
    std::unique_ptr<TestServer> server_;
};
