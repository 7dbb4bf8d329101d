#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "TestServer.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FOLDER name="docs"/>
    <FILE path="/files/hello.txt" name="hello.txt" transtype="server" size="6" type="Text"
          modifydate="2026-12-01"/>
    <FILE path="/files/old.txt" name="old.txt" transtype="server" size="4" type="Text"
          modifydate="2026-12-01"/>
  </FOLDER>
</MORVEXXML>)";

// A whole page session against the loopback test server: documents fetched at start-up,
// the user's actions through host.ui, transfers through the script methods.
class PageTransfers : public ::testing::Test {
protected:
    void SetUp() override {
        write(site.filePath("ui.xml"), "<UICONFIG/>");
        write(site.filePath("catalogue.xml"), kCatalogue);
        QDir(site.path()).mkdir("files");
        write(site.filePath("files/hello.txt"), "hello\n");
        write(site.filePath("files/old.txt"), "old\n");
        server = std::make_unique<TestServer>(
            QStringList{"--root", site.path(), "--upload-dir", uploads.path()});
        ASSERT_TRUE(server->isRunning());
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString runPage(const QString& script, int* exitCode, const QString& layout = "2") {
        const QString page = scratch.filePath("page.js");
        write(page, script.toUtf8());
        QProcess host;
        host.start(VANTREL_HOST_PATH,
                   {"--offscreen", "--timeout", "30", "--url", server->urlText("/page.html"),
                    "--param", "UIConfigXML=/ui.xml", "--param", "ServerFileListXML=/catalogue.xml",
                    "--param", "LocalUIType=" + layout, page});
        EXPECT_TRUE(host.waitForFinished(45000));
        *exitCode = host.exitCode();
        return QString::fromUtf8(host.readAllStandardOutput() + host.readAllStandardError());
    }

    // Every regular file below `dir`, by file name.
    static QMap<QString, QByteArray> filesBelow(const QString& dir) {
        QMap<QString, QByteArray> found;
        QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                found.insert(it.fileName(), file.readAll());
        }
        return found;
    }

    IsolatedHome home;
    QTemporaryDir site, uploads, scratch, local;
    std::unique_ptr<TestServer> server;
};

} // namespace

TEST_F(PageTransfers, AttachedFilesAndAFolderUploadAndTheJournalListsThem) {
    write(local.filePath("a.txt"), "first file\n");
    write(local.filePath("b.bin"), QByteArray(70000, '\x5a'));
    QDir(local.path()).mkdir("folder");
    write(local.filePath("folder/c.txt"), "in a folder\n");
    int exitCode = -1;
    const QString out = runPage(QStringLiteral(R"(
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.AddLocalFile("%1/a.txt");
            ctrl.AddLocalFile("%1/b.bin");
            host.answer("folder", "%1/folder");
            ctrl.FolderAttach();
            console.log("upload", ctrl.HttpSendAttach("/upload.php"), ctrl.GetHTTPErrCode());
            for (var i = 0; i < ctrl.GetCurrentUploadFileCnt(); ++i)
                console.log("record", ctrl.GetCurrentUploadFileData("name", i),
                            ctrl.GetCurrentUploadFileData("size", i));
            host.quit(0);
        });)")
                                    .arg(local.path()),
                                &exitCode);
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("upload 0 0\nrecord a.txt 11\nrecord b.bin 70000\nrecord c.txt 12\n"))
        << out.toStdString();
    const auto arrived = filesBelow(uploads.path());
    EXPECT_EQ(arrived.value("a.txt"), "first file\n");
    EXPECT_EQ(arrived.value("b.bin"), QByteArray(70000, '\x5a'));
    EXPECT_EQ(arrived.value("c.txt"), "in a folder\n");
}

TEST_F(PageTransfers, TheUserDeletesAndMakesAFolderThroughTheServerPane) {
    int exitCode = -1;
    const QString out = runPage(R"(
        ctrl.OnServerItemDeleteCompleat.connect(function (code, size) {
            console.log("deleted", code, size, ctrl.GetServerDeleteFilename(0));
        });
        ctrl.OnNewFolderCompleat.connect(function (code, index, path) {
            console.log("folder", code, index);
        });
        ctrl.OnLoadCompleat.connect(function () {
            console.log("rows", host.ui.rows("serverList").join(","));
            host.ui.click("serverList", "old.txt");
            ctrl.DeleteSelectedItem();
            ctrl.ServerNewfolderByName("made");
            console.log("rows", host.ui.rows("serverList").join(","));
            console.log("folders", ctrl.GetServerListFolderCount("disk", false));
            host.quit(0);
        });)",
                                &exitCode);
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("rows docs,hello.txt,old.txt\n"
                             "deleted 0 4 old.txt\n"
                             "folder 0 "))
        << out.toStdString();
    EXPECT_TRUE(out.contains("rows docs,made,hello.txt\nfolders 2\n")) << out.toStdString();
}

// Layout 2 downloads only into a folder dropped on; the other layouts ask for the target.
TEST_F(PageTransfers, SelectedServerFilesDownloadIntoTheChosenFolder) {
    int exitCode = -1;
    const QString out = runPage(QStringLiteral(R"(
        ctrl.OnDownloadCompleat.connect(function (code) {
            console.log("downloaded", code);
            host.quit(0);
        });
        ctrl.OnLoadCompleat.connect(function () {
            host.answer("folder", "%1");
            host.ui.selectRows("serverList", ["hello.txt", "old.txt"]);
            ctrl.SelectedItemDown();
        });)")
                                    .arg(local.path()),
                                &exitCode, "1");
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("downloaded 0")) << out.toStdString();
    const auto received = filesBelow(local.path());
    EXPECT_EQ(received.value("hello.txt"), "hello\n");
    EXPECT_EQ(received.value("old.txt"), "old\n");
}

// What a catalogue names is fetched from the server, never opened from this machine; only the
// file the user queued opens here. Both ways of asking for that file's "path" agree.
TEST_F(PageTransfers, OnlyTheQueuedFileOpensFromThisMachine) {
    write(local.filePath("mine.txt"), "mine\n");
    write(local.filePath("run.sh"), "#!/bin/sh\n");
    write(local.filePath("notes.txt"), "private\n");
    write(site.filePath("catalogue.xml"), QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FILE path="/files/hello.txt" name="hello.txt" transtype="server" size="6"/>
    <FILE path="%1/run.sh" name="report.pdf" size="10"/>
    <FILE path="%1/notes.txt" name="notes.txt" transtype="local" size="8"/>
  </FOLDER>
</MORVEXXML>)")
                                              .arg(local.path())
                                              .toUtf8());
    int exitCode = -1;
    const QString out = runPage(QStringLiteral(R"(
        ctrl.OnOpenfileCompleat.connect(function (code) { console.log("opened", code); });
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.AddLocalFile("%1/mine.txt");
            ["report.pdf", "notes.txt", "mine.txt"].forEach(function (row) {
                console.log("row", row, host.ui.click("serverList", row));
                ctrl.SelectedItemOpen();
            });
            console.log("path", ctrl.GetSelectedListItem("server", "path", 0),
                        ctrl.GetServerListFileItem("disk", false, "path", 3),
                        ctrl.GetServerListFileItem("disk", false, "pathname", 3));
            host.ui.click("serverList", "hello.txt");
            ctrl.SelectedItemOpen();
            host.quit(0);
        });)")
                                    .arg(local.path()),
                                &exitCode);
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("row report.pdf true\nopened -301\n"
                                            "row notes.txt true\nopened -301\n"
                                            "row mine.txt true\nopen: %1/mine.txt\nopened 0\n"
                                            "path %1/ %1/ %1/mine.txt\n")
                                 .arg(local.path())))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("\nopen: [^\n]+/hello.txt\nopened 0\n")))
        << out.toStdString();
    EXPECT_EQ(out.count("open: "), 2) << out.toStdString();
}

// RemoteFileRunType 0 shows a server file in the user's browser, at the address the open
// window would fetch, its name encoded in the page's character set; nothing is downloaded.
TEST_F(PageTransfers, AServerFileOpensInTheBrowserWithRunType0) {
    write(site.filePath("catalogue.xml"), QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FILE path="/files/보고서 1.txt" name="보고서 1.txt" transtype="server" size="6"/>
  </FOLDER>
</MORVEXXML>)")
                                              .toUtf8());
    int exitCode = -1;
    const QString out = runPage(R"(
        ctrl.OnOpenfileCompleat.connect(function (code) { console.log("opened", code); });
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.RemoteFileRunType = 0;
            host.ui.click("serverList", "보고서 1.txt");
            ctrl.SelectedItemOpen();
            host.quit(0);
        });)",
                                &exitCode);
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression(
        "(^|\n)browse: "
        "http://127\\.0\\.0\\.1:\\d+/files/%BA%B8%B0%ED%BC%AD(%20|\\+)1\\.txt\nopened "
        "0\n")))
        << out.toStdString();
    EXPECT_EQ(out.count("open: "), 0) << out.toStdString();
}

// Both kinds of form post from page script, through the control's post window, to the page's
// own server and port: the URL-encoded form is echoed back, the XML form's file is stored by
// the upload route under the name the page gave it.
TEST_F(PageTransfers, FormPostsOfBothKindsReachThePageServer) {
    int exitCode = -1;
    const QString out = runPage(R"(
        ctrl.OnLoadCompleat.connect(function () {
            ctrl.Charset = "utf-8";
            ctrl.AddPOSTForm("title", "보고서 1");
            ctrl.AddPOSTForm("memo", "a&b=c");
            console.log("form", ctrl.SendPOSTForm("", 0, "/form.php"), ctrl.GetHTTPErrCode(),
                        ctrl.GetHTTPErrText());
            console.log("reply", ctrl.GetPostResponseData());
            ctrl.AddPOSTFormXml("kind", "보고");
            console.log("xml", ctrl.SendPOSTFormXmlFile("", 0, "/xml.php", "report.xml"),
                        ctrl.GetHTTPErrCode());
            console.log("reply", ctrl.GetPostResponseData());
            console.log("no script", ctrl.SendPOSTForm("", 0, ""), ctrl.GetHTTPErrCode(),
                        ctrl.GetHTTPErrText());
            console.log("reply kept", ctrl.GetPostResponseData());
            ctrl.AddPOSTFormXml("kind", "보고");
            console.log("outside", ctrl.SendPOSTFormXmlFile("", 0, "/xml.php", "../x.xml"),
                        ctrl.GetHTTPErrCode());
            host.quit(0);
        });)",
                                &exitCode);
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("form 0 0 POST 완료\n"
                             "reply title=%EB%B3%B4%EA%B3%A0%EC%84%9C%201&memo=a%26b%3Dc\n"
                             "xml 0 0\nreply /report.xml\n"
                             "no script -2104 -2104 POST 파일을 지정 하지 않았습니다.\n"
                             "reply kept /report.xml\noutside -2105 -2105\n"))
        << out.toStdString();
    const QByteArray stored = filesBelow(uploads.path()).value("report.xml");
    EXPECT_TRUE(stored.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<POSTFORM>"))
        << stored.toStdString();
    EXPECT_TRUE(stored.contains("<FIELD name=\"kind\" value=\"보고\"/>")) << stored.toStdString();
}

// The properties beyond the classic set reach the download a page starts: a server that cuts
// every reply after three bytes still delivers whole, checksummed files while DownRetryCount
// lets rows resume, and fails the run as the classic control did once the page sets it to 0.
TEST_F(PageTransfers, APageTunesAutomaticResumeAndParallelRows) {
    const QString log = scratch.filePath("cutting.jsonl");
    TestServer cutting({"--root", site.path(), "--drop-after", "3", "--log", log});
    ASSERT_TRUE(cutting.isRunning());
    write(site.filePath("catalogue.xml"), QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FILE path="%1/files/hello.txt" name="hello.txt" transtype="server" size="6"
          sha256="5891b5b522d5df086d0ff0b110fbd9d21bb4fc7163af34d08286a2e846f6be03"/>
    <FILE path="%1/files/old.txt" name="old.txt" transtype="server" size="4"/>
  </FOLDER>
</MORVEXXML>)")
                                              .arg(cutting.urlText(""))
                                              .toUtf8());
    for (const QString retries : {"2", "0"}) {
        QFile::remove(local.filePath("hello.txt"));
        QFile::remove(local.filePath("old.txt"));
        const qsizetype earlier = ReadRequestLog(log).size();
        int exitCode = -1;
        const QString out = runPage(QStringLiteral(R"(
            ctrl.DownParallel = 2;
            ctrl.DownRetryCount = %2;
            ctrl.OnDownloadCompleat.connect(function (code) {
                console.log("downloaded", code, ctrl.DownParallel, ctrl.DownRetryCount);
                host.quit(0);
            });
            ctrl.OnLoadCompleat.connect(function () {
                host.answer("folder", "%1");
                host.ui.selectRows("serverList", ["hello.txt", "old.txt"]);
                ctrl.SelectedItemDown();
            });)")
                                        .arg(local.path(), retries),
                                    &exitCode, "1");
        EXPECT_EQ(exitCode, 0) << out.toStdString();
        const auto requests = ReadRequestLog(log).mid(earlier);
        if (retries == "0") {
            EXPECT_TRUE(out.contains("downloaded -308 2 0")) << out.toStdString();
            EXPECT_EQ(requests.size(), 2);
            EXPECT_TRUE(QFileInfo::exists(local.filePath(".hello.txt.vantrel-partial")));
            continue;
        }
        EXPECT_TRUE(out.contains("downloaded 0 2 2")) << out.toStdString();
        const auto received = filesBelow(local.path());
        EXPECT_EQ(received.value("hello.txt"), "hello\n");
        EXPECT_EQ(received.value("old.txt"), "old\n");
        EXPECT_FALSE(QFileInfo::exists(local.filePath(".hello.txt.vantrel-partial")));
        EXPECT_FALSE(QFileInfo::exists(local.filePath(".old.txt.vantrel-partial")));
        int resumed = 0;
        for (const QJsonObject& request : requests)
            resumed += request["headers"].toObject().contains("If-Range") ? 1 : 0;
        EXPECT_EQ(requests.size(), 4);
        EXPECT_EQ(resumed, 2);
    }
}
