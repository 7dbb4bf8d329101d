#include "FakePrompter.h"
#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "TestServer.h"
#include "common/TextCodec.h"
#include "common/WorkingFolders.h"
#include "settings/ControlSettings.h"
#include "xml/DocumentFetch.h"
#include "xml/UIConfig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kConfig = "<?xml version=\"1.0\"?><UI><NEWFOLDERNAME VALUE=\"New folder\"/>"
                           "<DATEFORMAT VALUE=\"%Y\"/><COMMSELFOLDERWIN VALUE=\"Pick\"/></UI>";

// Loads the UI configuration from a loopback server started with `flags`, serving `root`.
class UIConfigServed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        Write("ui.xml", kConfig);
        Write("broken.xml", "<UI><NEWFOLDERNAME VALUE=\"x\"></UI>");
        Write("empty.xml", "");
        Write("korean.xml", "<?xml version=\"1.0\" encoding=\"EUC-KR\"?><UI><NEWFOLDERNAME "
                            "VALUE=\"" +
                                EncodeWith("새 폴더", "CP949") + "\"/></UI>");
        Write("big.xml", "<UI>" + QByteArray("<PAD VALUE=\"x\"/>").repeated(20000) + "</UI>");
    }

    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(root_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The completion code of a load of `location` from a server run with `flags`.
    UIConfigLoadResult LoadFrom(const QString& location, const QStringList& flags = {}) {
        TestServer server(QStringList{"--root", root_.path(), "--log", log()} + flags);
        EXPECT_TRUE(server.isRunning());
        settings_.hostBaseUrl = server.urlText("");
        settings_.UIConfigXML = location;
        return config_.FetchAndLoad(settings_, prompter_);
    }

    QString log() const { return root_.filePath("requests.jsonl"); }
    QStringList DataFiles() const { return QDir(DataFolder()).entryList(QDir::Files); }

    IsolatedHome home_;
    QTemporaryDir root_;
    FakePrompter prompter_;
    ControlSettings settings_;
    UIConfig config_;
};

} // namespace

TEST_F(UIConfigServed, LoadsARelativeLocationIntoTheSettings) {
    settings_.documentCookie = "sid=42";
    const UIConfigLoadResult result = LoadFrom("/ui.xml");
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.continueLoad);
    EXPECT_EQ(settings_.newFolderName, "New folder");
    EXPECT_EQ(settings_.dateFormat, "%Y");
    EXPECT_EQ(settings_.folderBrowseTitle, "Pick");
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());

    const QList<QJsonObject> requests = ReadRequestLog(log());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0]["path"].toString(), "/ui.xml");
    const QJsonObject headers = requests[0]["headers"].toObject();
    EXPECT_EQ(headers["User-Agent"].toString(), "MxVantrel2");
    EXPECT_EQ(headers["Cookie"].toString(), "sid=42");
}

TEST_F(UIConfigServed, CookieGoesOnlyToThePagesHost) {
    settings_.documentCookie = "sid=42";
    TestServer server({"--root", root_.path(), "--log", log()});
    settings_.hostBaseUrl = server.urlText("");
    settings_.UIConfigXML = QString("http://localhost:%1/ui.xml").arg(server.port());
    ASSERT_EQ(config_.FetchAndLoad(settings_, prompter_).code, 0);
    const QList<QJsonObject> requests = ReadRequestLog(log());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_FALSE(requests[0]["headers"].toObject().contains("Cookie"));
}

TEST_F(UIConfigServed, DecodesADocumentDeclaredEucKr) {
    EXPECT_EQ(LoadFrom("/korean.xml").code, 0);
    EXPECT_EQ(settings_.newFolderName, "새 폴더");
}

TEST_F(UIConfigServed, StatusOtherThan200Is2007) {
    EXPECT_EQ(LoadFrom("/missing.xml").code, -2007);
    EXPECT_EQ(LoadFrom("/ui.xml", {"--status", "500"}).code, -2007);
    const UIConfigLoadResult moved = LoadFrom("/ui.xml", {"--status", "302"});
    EXPECT_EQ(moved.code, -2007);
    EXPECT_FALSE(moved.continueLoad);
    EXPECT_FALSE(config_.isLoaded());
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());
}

TEST_F(UIConfigServed, RefusedConnectionIs101AndCutBodyIs2010) {
    QString closed;
    {
        TestServer server({"--root", root_.path()});
        closed = server.urlText("/ui.xml");
    }
    settings_.UIConfigXML = closed;
    EXPECT_EQ(config_.FetchAndLoad(settings_, prompter_).code, -101);

    EXPECT_EQ(LoadFrom("/big.xml", {"--drop-after", "1000"}).code, -2010);
    EXPECT_FALSE(config_.isLoaded());
    EXPECT_TRUE(DataFiles().isEmpty());
}

TEST_F(UIConfigServed, BrokenDocumentIs2011WithOneMessage) {
    const QList<QByteArray> broken = {"<UI><NEWFOLDERNAME VALUE=\"x\"></UI>",
                                      "<UI><NEWFOLDERNAME VALUE=\"x\" VALUE=\"y\"/></UI>",
                                      "<UI><NEWFOLDERNAME VALUE=\"&foo;\"/></UI>",
                                      "<UI><NEWFOLDERNAME VALUE=\"x\"/></UI><UI/>",
                                      "<UI><NEWFOLDERNAME VALUE=\"x\"/>\x08</UI>",
                                      "<UI><NEWFOLDERNAME VALUE=\"" +
                                          EncodeWith("새 폴더", "CP949") + "\"/></UI>"};
    ASSERT_EQ(LoadFrom("/ui.xml").code, 0);
    for (const QByteArray& text : broken) {
        Write("broken.xml", text);
        prompter_.messages.clear();
        const UIConfigLoadResult result = LoadFrom("/broken.xml");
        EXPECT_EQ(result.code, -2011) << text.toStdString();
        EXPECT_FALSE(result.continueLoad);
        EXPECT_EQ(prompter_.messages, QStringList{"[UIConfig] load에러"});
        EXPECT_EQ(config_.GetValue("NEWFOLDERNAME"), "New folder");
        EXPECT_TRUE(DataFiles().isEmpty());
    }
}

TEST_F(UIConfigServed, EmptyDocumentLoadsEmptyAndSucceeds) {
    ASSERT_EQ(LoadFrom("/ui.xml").code, 0);
    const UIConfigLoadResult result = LoadFrom("/empty.xml");
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.continueLoad);
    EXPECT_FALSE(config_.isLoaded());
    EXPECT_EQ(settings_.newFolderName, "");
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());
}

TEST_F(UIConfigServed, ATrickledDocumentFailsAtTheDeadlineWithItsCodeAndText) {
    Write("tiny.xml", "<UI><NEWFOLDERNAME VALUE=\"t\"/></UI>");
    qputenv(kDocumentDeadlineVariable, "1000");
    QElapsedTimer clock;
    clock.start();
    // 35 bytes at one every 100 ms: never slow enough for the stall limit.
    const UIConfigLoadResult result = LoadFrom("/tiny.xml", {"--trickle-ms", "100"});
    qunsetenv(kDocumentDeadlineVariable);
    EXPECT_EQ(result.code, kUIConfigOtherFailure);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(settings_.httpErrorCode, kUIConfigOtherFailure);
    EXPECT_TRUE(settings_.httpErrorText.contains("/tiny.xml"));
    EXPECT_TRUE(settings_.httpErrorText.contains("1초 안에"))
        << settings_.httpErrorText.toStdString();
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());
    EXPECT_EQ(LoadFrom("/tiny.xml").code, kUIConfigLoaded);
}
