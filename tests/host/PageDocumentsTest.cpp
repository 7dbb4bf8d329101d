#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FOLDER name="a">
      <FOLDER name="b"><FILE path="/f/b1" name="b1" transtype="server" size="10"/></FOLDER>
      <FILE path="/f/a1" name="a1" transtype="server" size="20"/>
      <FILE path="/f/a2" name="a2" transtype="server" size="30"/>
    </FOLDER>
  </FOLDER>
  <FOLDER type="disk" name="spare"/>
</MORVEXXML>)";

// A page served by the loopback test server: its UI configuration and catalogue are fetched
// over HTTP at start-up, as a browser page's would be.
class PageDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        write("ui.xml", "<UICONFIG><NEWFOLDERNAME VALUE=\"New\"/></UICONFIG>");
        write("catalogue.xml", kCatalogue);
        server = std::make_unique<TestServer>(QStringList{"--root", site.path()});
        ASSERT_TRUE(server->isRunning());
    }

    void write(const QString& name, const QByteArray& text) {
        QFile file(site.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Runs the page with the catalogue at `catalogue` and returns what it printed.
    QString runPage(const QString& script, const QString& catalogue, int* exitCode = nullptr) {
        const QString page = scratch.filePath("page.js");
        QFile file(page);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(script.toUtf8());
        file.close();
        QProcess host;
        host.start(VANTREL_HOST_PATH,
                   {"--offscreen", "--timeout", "20", "--url", server->urlText("/page.html"),
                    "--param", "UIConfigXML=/ui.xml", "--param", "ServerFileListXML=" + catalogue,
                    page});
        EXPECT_TRUE(host.waitForFinished(30000));
        if (exitCode)
            *exitCode = host.exitCode();
        return QString::fromUtf8(host.readAllStandardOutput());
    }

    IsolatedHome home;
    QTemporaryDir site, scratch;
    std::unique_ptr<TestServer> server;
};

const char* const kReportLoad = R"(
    ctrl.OnXMLLoadCompleat.connect(function (code) { console.log("xml", code); });
    ctrl.OnLoadCompleat.connect(function () { console.log("loaded"); host.quit(0); });
)";

} // namespace

TEST_F(PageDocuments, StartUpLoadsTheCatalogueThePageThenQueries) {
    int exitCode = -1;
    const QString out = runPage(R"(
        ctrl.OnXMLLoadCompleat.connect(function (code) { console.log("xml", code); });
        ctrl.OnLoadCompleat.connect(function () {
            console.log("disks", ctrl.GetDiskCount(), ctrl.GetDiskName(0), ctrl.GetDiskName(1));
            console.log("files", ctrl.GetServerListFileCount("disk/a", true),
                        ctrl.GetServerListFileItem("disk/a", true, "name", 2));
            console.log("size", ctrl.GetServerPathFileSize("all", "disk"));
            console.log(ctrl.AllXML.split("\r\n")[0]);
            host.quit(0);
        });)",
                                "/catalogue.xml", &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(out, "xml 0\n"
                   "disks 2 disk spare\n"
                   "files 3 a2\n"
                   "size 60\n"
                   "<?xml version=\"1.0\" encoding=\"EUC-KR\"?>\n");
}

TEST_F(PageDocuments, LoadFailuresReachThePageAsCompletionCodes) {
    EXPECT_EQ(runPage(kReportLoad, "/missing.xml"), "xml -2000\nloaded\n");

    write("broken.xml", "<MORVEXXML><FOLDER></MORVEXXML>");
    EXPECT_EQ(runPage(kReportLoad, "/broken.xml"),
              "prompt: message: load에러\nxml -2004\nloaded\n");

    EXPECT_EQ(runPage(kReportLoad, "http://127.0.0.1:1/catalogue.xml"), "xml -101\nloaded\n");
}

TEST_F(PageDocuments, AHandlerMayReadAndReloadFromInsideTheLoadEvent) {
    write("other.xml", "<MORVEXXML><FOLDER type=\"disk\" name=\"other\"/></MORVEXXML>");
    const QString out = runPage(R"(
        var loads = 0;
        ctrl.OnXMLLoadCompleat.connect(function (code) {
            ++loads;
            console.log("xml", code, ctrl.GetDiskName(0), ctrl.GetServerDeleteFileCount());
            if (loads == 1) {
                ctrl.ServerFileListXML = "/other.xml";
                console.log("still", ctrl.GetDiskName(0));
            } else {
                host.quit(0);
            }
        });)",
                                "/catalogue.xml");
    EXPECT_EQ(out, "xml 0 disk 0\nstill disk\nxml 0 other 0\n");
}

TEST_F(PageDocuments, AHandlerMayReloadFromInsideATreeSelectionChange) {
    write("other.xml", "<MORVEXXML><FOLDER type=\"disk\" name=\"other\"/></MORVEXXML>");
    const QString out = runPage(R"(
        var changes = [];
        ctrl.OnTreeSelChanged.connect(function (path) {
            changes.push(path);
            if (changes.length == 1)
                ctrl.ServerFileListXML = "/other.xml";
        });
        ctrl.OnXMLLoadCompleat.connect(function (code) {
            console.log("xml", code, ctrl.GetDiskName(0));
            if (ctrl.GetDiskName(0) == "other") {
                console.log("selected", changes.join(","));
                host.quit(0);
            }
        });)",
                                "/catalogue.xml");
    EXPECT_TRUE(out.startsWith("xml 0 disk\nxml 0 other\nselected disk")) << out.toStdString();
}
