#include "ServerPaneFixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kCatalogue = R"(<MORVEXXML><FOLDER type="disk" name="D">
<FOLDER name="taken"/>
<FILE name="old.txt" transtype="server" size="50" modifydate="then" path="/D/old.txt"/>
</FOLDER></MORVEXXML>)";

class ServerAddingTest : public ServerPaneFixture {
protected:
    void SetUp() override {
        load(kCatalogue);
        controller.goToFolder("D", 1);
    }
    XmlNode file(const QString& name) { return catalogue.FindFile("D/" + name); }
};

TEST_F(ServerAddingTest, RefusesWhatIsNotARegularFileWithReadableName) {
    EXPECT_EQ(controller.addLocalFile(dir.filePath("missing.txt")), AddCode::Unreadable);
    EXPECT_EQ(controller.addLocalFile(dir.path()), AddCode::Unreadable);
    const QByteArray fifo = QFile::encodeName(dir.filePath("pipe"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(controller.addLocalFile(dir.filePath("pipe")), AddCode::Unreadable);
    // A name that is not UTF-8 on disk decodes to replacement characters.
    const QByteArray raw = QFile::encodeName(dir.path()) + "/bad\xff.txt";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(controller.addLocalFile(QFile::decodeName(raw)), AddCode::Unreadable);
    // The temporary folder cannot remove what it cannot name.
    ::unlink(raw.constData());
    EXPECT_EQ(rowNames(), (QStringList{"taken", "old.txt"}));
}

TEST_F(ServerAddingTest, QueuesAnAcceptedFileAsALocalEntry) {
    settings.dateFormat = "%Y";
    const QString path = localFile("new.txt", 2560);
    EXPECT_EQ(controller.addLocalFile(path), AddCode::Accepted);
    const XmlNode added = file("new.txt");
    EXPECT_EQ(added.attribute("path"), path);
    EXPECT_EQ(added.attribute("transtype"), "local");
    EXPECT_EQ(added.attribute("size"), "2560");
    EXPECT_EQ(added.attribute("modifydate").size(), 4);
    EXPECT_EQ(rowNames().last(), "new.txt");
    EXPECT_EQ(controller.list().row(2).kind, ServerRowKind::LocalFile);
    EXPECT_EQ(controller.list().text(2, SizeColumn), "3KB");
    EXPECT_EQ(controller.addLocalFile(path), AddCode::SameFile);
    QDir().mkpath(dir.filePath("sub"));
    QFile::copy(path, dir.filePath("sub/new.txt"));
    EXPECT_EQ(controller.addLocalFile(dir.filePath("sub/new.txt")), AddCode::AlreadyQueued);
}

TEST_F(ServerAddingTest, FiltersAndLimitsRefuseInTheirOrder) {
    settings.exceptionExt = "exe;bat;";
    settings.OnlyExt = "jpg;exe;";
    EXPECT_EQ(controller.addLocalFile(localFile("Setup.EXE")), AddCode::Excluded);
    EXPECT_EQ(controller.addLocalFile(localFile("photo.jpeg")), AddCode::NotPermitted);
    settings.OneFileLimitsize = 50;
    EXPECT_EQ(controller.addLocalFile(localFile("big.jpg", 51)), AddCode::TooLarge);
    EXPECT_EQ(controller.addLocalFile(localFile("ok.jpg", 50)), AddCode::Accepted);
    // A folder's name is never a file to overwrite.
    settings.OnlyExt.clear();
    EXPECT_EQ(controller.addLocalFile(localFile("taken")), AddCode::NameTaken);
    settings.ServerFileOverWrite = 2;
    EXPECT_EQ(controller.addLocalFile(localFile("old.txt")), AddCode::NameTaken);
}

TEST_F(ServerAddingTest, DiskFreeSizeIsTakenAndRestored) {
    settings.DiskFreeSize = 100;
    EXPECT_EQ(controller.addLocalFile(localFile("a.txt", 60)), AddCode::Accepted);
    EXPECT_EQ(controller.addLocalFile(localFile("b.txt", 60)), AddCode::NoSpace);
    EXPECT_EQ(settings.DiskFreeSize, 40);
    // Replacing the 50-byte entry gives its size back first.
    settings.DiskFreeSize = 30;
    settings.ServerFileOverWrite = 1;
    EXPECT_EQ(controller.addLocalFile(localFile("old.txt", 70)), AddCode::Replaced);
    EXPECT_EQ(settings.DiskFreeSize, 10);
}

TEST_F(ServerAddingTest, ReplacingRecordsTheOldValuesAndRecoloursTheRow) {
    settings.ServerFileOverWrite = 1;
    const QString path = localFile("old.txt", 70);
    EXPECT_EQ(controller.addLocalFile(path), AddCode::Replaced);
    ASSERT_EQ(journal.GetOldOWFileCount(), 1);
    EXPECT_EQ(journal.GetOldOWFile(0), "/D/old.txt");
    EXPECT_EQ(journal.GetOldOWFilesize(0), 50);
    EXPECT_EQ(journal.GetOldOWFileDate(0), "then");
    EXPECT_EQ(journal.GetOldOWXmlPath(0), "D/");
    EXPECT_EQ(journal.GetOldOWXmlQuery(0), R"(FOLDER[@name="D"]/FILE[@name="old.txt"])");
    const XmlNode replaced = file("old.txt");
    EXPECT_EQ(replaced.attribute("path"), path);
    EXPECT_EQ(replaced.attribute("size"), "70");
    EXPECT_EQ(replaced.attribute("transtype"), "local");
    EXPECT_EQ(rowNames(), (QStringList{"taken", "old.txt"}));
    EXPECT_EQ(controller.list().row(1).kind, ServerRowKind::LocalFile);
}

TEST_F(ServerAddingTest, TheOverwriteAnswersAndTheirResetPerBatch) {
    load(R"(<MORVEXXML><FOLDER type="disk" name="D">
        <FILE name="1.txt" transtype="server" size="5"/><FILE name="2.txt" transtype="server" size="5"/>
        <FILE name="3.txt" transtype="server" size="5"/><FILE name="4.txt" transtype="server" size="5"/>
        </FOLDER></MORVEXXML>)");
    controller.goToFolder("D", 1);
    settings.DiskFreeSize = 1000;
    prompter.answers << 2 << 3; // no, cancel
    controller.beginAddBatch();
    EXPECT_EQ(controller.addLocalFile(localFile("1.txt")), AddCode::DeclinedOverwrite);
    EXPECT_EQ(controller.addLocalFile(localFile("2.txt")), AddCode::CancelledBatch);
    controller.endAddBatch();
    EXPECT_EQ(settings.DiskFreeSize, 1000);
    EXPECT_EQ(journal.GetOldOWFileCount(), 0);

    prompter.answers << 1; // yes to all
    controller.beginAddBatch();
    EXPECT_EQ(controller.addLocalFile(localFile("1.txt")), AddCode::Replaced);
    EXPECT_EQ(controller.addLocalFile(localFile("2.txt")), AddCode::Replaced);
    controller.endAddBatch();
    EXPECT_EQ(prompter.questions, 3);

    prompter.answers << 0; // a new batch asks again
    controller.beginAddBatch();
    EXPECT_EQ(controller.addLocalFile(localFile("3.txt")), AddCode::Replaced);
    controller.endAddBatch();
    EXPECT_EQ(prompter.questions, 4);
    EXPECT_EQ(journal.GetOldOWFileCount(), 3);
}

TEST_F(ServerAddingTest, AReloadDuringTheQuestionEndsTheBatch) {
    controller.setHooks({[&](const OverwriteQuestion&) -> short {
                             controller.clear();
                             return 1;
                         },
                         {},
                         {},
                         {}});
    settings.DiskFreeSize = 500;
    EXPECT_EQ(controller.addLocalFile(localFile("old.txt")), AddCode::CancelledBatch);
    EXPECT_EQ(settings.DiskFreeSize, 500);
    EXPECT_EQ(journal.GetOldOWFileCount(), 0);
}

TEST_F(ServerAddingTest, AddServerFileCodes) {
    EXPECT_EQ(controller.addServerFile("", "n", 5, "t", "d"), -1);
    EXPECT_EQ(controller.addServerFile("/p", "", 5, "t", "d"), -2);
    EXPECT_EQ(controller.addServerFile("/p", "n", 0.5, "t", "d"), -3);
    EXPECT_EQ(controller.addServerFile("/p", "n", std::nan(""), "t", "d"), -3);
    EXPECT_EQ(controller.addServerFile("/x", "old.txt", 5, "t", "d"), -4);
    EXPECT_EQ(controller.addServerFile("/x", "taken", 5, "t", "d"), -4);
    EXPECT_EQ(controller.addServerFile("/D/old.txt", "old.txt", 5, "t", "d"), -5);
    settings.DiskFreeSize = 10;
    EXPECT_EQ(controller.addServerFile("/D/n", "n", 11, "t", "d"), -6);
    EXPECT_EQ(settings.DiskFreeSize, 10);
    EXPECT_EQ(controller.addServerFile("/D/n", "n", 10, "Text", "today"), 0);
    EXPECT_EQ(settings.DiskFreeSize, 0);
    EXPECT_EQ(rowNames().last(), "n");
    EXPECT_EQ(controller.list().row(2).kind, ServerRowKind::ServerFile);
    EXPECT_EQ(file("n").attribute("type"), "Text");
    controller.clear();
    EXPECT_EQ(controller.addServerFile("/D/m", "m", 10, "t", "d"), -7);
}

TEST_F(ServerAddingTest, DrawOffKeepsTheNameIndexAcrossCalls) {
    controller.setListDraw(false);
    EXPECT_EQ(controller.addServerFile("/D/a", "a", 1, "t", "d"), 0);
    EXPECT_EQ(controller.addServerFile("/D/a2", "a", 1, "t", "d"), -4);
    EXPECT_EQ(controller.addServerFile("/D/a", "a", 1, "t", "d"), -5);
    controller.setListDraw(true);
    EXPECT_EQ(rowNames(), (QStringList{"taken", "old.txt", "a"}));
}

} // namespace
