#include "FakePrompter.h"
#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "TestServer.h"
#include "common/TextCodec.h"
#include "common/WorkingFolders.h"
#include "settings/ControlSettings.h"
#include "xml/DocumentHolder.h"
#include "xml/ServerCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kCatalogue = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><MORVEXXML>"
                              "<FOLDER type=\"disk\" name=\"disk\"><FOLDER name=\"a\">"
                              "<FILE path=\"/disk/a/f\" name=\"f\" transtype=\"server\" "
                              "size=\"10\"/></FOLDER></FOLDER></MORVEXXML>";

// Loads the catalogue from a loopback server serving `root`.
class ServerCatalogueServed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        Write("cat.xml", kCatalogue);
        Write("broken.xml", "<MORVEXXML><FOLDER></MORVEXXML>");
        Write("empty.xml", "");
        settings_.Charset = "utf-8";
        settings_.InitDiskName = "Home";
    }

    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(root_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    qint16 LoadFrom(const QString& location) {
        TestServer server({"--root", root_.path()});
        EXPECT_TRUE(server.isRunning());
        settings_.hostBaseUrl = server.urlText("");
        settings_.ServerFileListXML = location;
        return catalogue_.Load(settings_, prompter_);
    }

    QStringList DataFiles() const { return QDir(DataFolder()).entryList(QDir::Files); }

    IsolatedHome home_;
    QTemporaryDir root_;
    FakePrompter prompter_;
    ControlSettings settings_;
    ServerCatalogue catalogue_;
};

} // namespace

TEST_F(ServerCatalogueServed, LoadsAServedCatalogueAndDeletesTheFile) {
    EXPECT_EQ(LoadFrom("/cat.xml"), kCatalogueLoaded);
    EXPECT_EQ(settings_.Charset, "utf-8") << "the page's value stays as the page wrote it";
    EXPECT_EQ(catalogue_.encodingName(), "UTF-8");
    EXPECT_EQ(catalogue_.GetDiskCount(), 1);
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk/a", true), 1);
    EXPECT_TRUE(catalogue_.AllXml(catalogue_.encodingName())
                    .startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<MORVEXXML>"));
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());
}

TEST_F(ServerCatalogueServed, FailedFetchesGiveTheirCodesAndLeaveNoFile) {
    ASSERT_EQ(LoadFrom("/cat.xml"), kCatalogueLoaded);
    EXPECT_EQ(LoadFrom("/missing.xml"), kCatalogueBadStatus);
    QString closed;
    {
        TestServer server({"--root", root_.path()});
        closed = server.urlText("/cat.xml");
    }
    settings_.ServerFileListXML = closed;
    EXPECT_EQ(catalogue_.Load(settings_, prompter_), kCatalogueNoAddress);
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk/a", true), 1);
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());
}

TEST_F(ServerCatalogueServed, MalformedCatalogueIsNotLoaded) {
    const QList<QByteArray> malformed = {
        "<MORVEXXML><FOLDER></MORVEXXML>",
        "<MORVEXXML><FOLDER type=\"disk\" name=\"d\" name=\"e\"/></MORVEXXML>",
        "<MORVEXXML><FOLDER type=\"disk\" name=\"d&nbsp;\"/></MORVEXXML>",
        "<MORVEXXML><FOLDER type=\"disk\" name=\"d\"/></MORVEXXML>trailing",
        "<MORVEXXML><FOLDER type=\"disk\" name=\"d\x01\"/></MORVEXXML>",
        "<MORVEXXML><FOLDER type=\"disk\" name=\"" + EncodeWith("서버", "CP949") +
            "\"/></MORVEXXML>"};
    ASSERT_EQ(LoadFrom("/cat.xml"), kCatalogueLoaded);
    for (const QByteArray& text : malformed) {
        Write("broken.xml", text);
        prompter_.messages.clear();
        EXPECT_EQ(LoadFrom("/broken.xml"), kCatalogueNotLoaded) << text.toStdString();
        EXPECT_EQ(prompter_.messages, QStringList{"load에러"});
        EXPECT_EQ(catalogue_.GetServerListFileCount("disk/a", true), 1);
        EXPECT_TRUE(DataFiles().isEmpty());
    }
}

TEST_F(ServerCatalogueServed, EmptyFileOrNoLocationGivesTheDefaultDisk) {
    EXPECT_EQ(LoadFrom("/empty.xml"), kCatalogueLoaded);
    EXPECT_EQ(catalogue_.GetDiskCount(), 1);
    EXPECT_EQ(catalogue_.GetDiskName(0), "Home");
    EXPECT_TRUE(DataFiles().isEmpty());

    settings_.ServerFileListXML.clear();
    settings_.InitDiskName = "Bob's <disk> & \"co\"";
    settings_.Charset = "euc-kr";
    EXPECT_EQ(catalogue_.Load(settings_, prompter_), kCatalogueLoaded);
    EXPECT_EQ(catalogue_.GetDiskName(0), "Bob's <disk> & \"co\"");
    EXPECT_EQ(catalogue_.GetServerListFileCount("Bob's <disk> & \"co\"", true), 0);
    EXPECT_EQ(catalogue_.encodingName(), "EUC-KR");
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(ServerCatalogueServed, ADocumentBeyondTheCapIsRefusedBeforeItIsWritten) {
    QFile huge(root_.filePath("huge.xml"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kMaxDocumentBytes + 1)); // sparse: takes no room
    huge.close();
    EXPECT_EQ(LoadFrom("/huge.xml"), kCatalogueOtherFailure);
    EXPECT_EQ(settings_.httpErrorCode, kCatalogueOtherFailure);
    EXPECT_TRUE(settings_.httpErrorText.contains("/huge.xml"));
    EXPECT_TRUE(settings_.httpErrorText.contains("256MB")) << settings_.httpErrorText.toStdString();
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_TRUE(DataFiles().isEmpty());
}
