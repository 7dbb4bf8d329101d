#include "FakePrompter.h"
#include "QStringPrinter.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kCatalogue = R"(<MORVEXXML>
<FOLDER type="disk" name="disk">
  <FOLDER name="a">
    <FOLDER name="in"><FILE path="/d/a/in/deep.txt" name="deep.txt" transtype="server"/></FOLDER>
    <FILE path="/d/a/one.txt" name="one.txt" transtype="server" size="100"/>
    <FILE path="/home/u/two.bin" name="two.bin" transtype="local" size="20"/>
    <FILE path="/d/a/plain" name="plain"/>
  </FOLDER>
</FOLDER>
</MORVEXXML>)";

class ServerCatalogueRename : public ::testing::Test {
protected:
    void SetUp() override {
        const QString path = dir.filePath("catalogue.xml");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kCatalogue);
        file.close();
        ASSERT_TRUE(catalogue.LoadFile(path, prompter));
        ASSERT_TRUE(journal.Create(prompter));
    }
    XmlNode at(const QString& xpath) const { return catalogue.root().selectFirst(xpath); }

    QTemporaryDir dir;
    FakePrompter prompter;
    ServerCatalogue catalogue;
    ChangeJournal journal;
};

} // namespace

// The record names the file where the catalogue has it now: its query finds the renamed
// element, and its paths are the catalogue's, before and after.
TEST_F(ServerCatalogueRename, AFileIsRenamedAndRecordedUnderItsNewPath) {
    const XmlNode file = catalogue.FindFile("disk/a/one.txt");
    EXPECT_EQ(catalogue.GetServerListFileItem("disk/a", false, "name", 0), "one.txt");
    ASSERT_TRUE(catalogue.RenameEntry(file, "uno.txt", journal, prompter));

    EXPECT_EQ(file.attribute("name"), "uno.txt");
    EXPECT_EQ(file.attribute("path"), "/d/a/one.txt") << "script rewrites server paths itself";
    EXPECT_EQ(catalogue.GetServerListFileItem("disk/a", false, "name", 0), "uno.txt")
        << "the item queries read the renamed document";
    EXPECT_TRUE(catalogue.FindFile("disk/a/one.txt").isNull());
    ASSERT_EQ(journal.GetRenameFileCount(), 1);
    EXPECT_EQ(journal.GetRenameOldFile(0), "disk/a/one.txt");
    EXPECT_EQ(journal.GetRenameNewFile(0), "disk/a/uno.txt");
    EXPECT_EQ(journal.GetRenameXmlPath(0), "disk/a/");
    EXPECT_EQ(journal.GetRenamePathType(0), "real");
    EXPECT_EQ(journal.GetRenameName("f", 0), "uno.txt");
    const QString query = journal.field(JournalList::Rename, RecordKind::File, 0, "Query");
    EXPECT_EQ(query, R"(FOLDER[@name="disk"]/FOLDER[@name="a"]/FILE[@name="uno.txt"])");
    EXPECT_EQ(at(query), file);
    EXPECT_EQ(catalogue.FindFile(journal.GetRenameNewFile(0)), file);
}

TEST_F(ServerCatalogueRename, AFolderRecordAddressesTheRenamedFolderAndItsFilesFollow) {
    const XmlNode folder = catalogue.FindFolder("disk/a/in");
    ASSERT_TRUE(catalogue.RenameEntry(folder, "out", journal, prompter));
    ASSERT_EQ(journal.GetRenameFolderCount(), 1);
    EXPECT_EQ(journal.GetRenameFileCount(), 0);
    EXPECT_EQ(journal.GetRenameFolderOldPath(0), "disk/a/in");
    EXPECT_EQ(journal.GetRenameFolderNewPath(0), "disk/a/out");
    EXPECT_EQ(journal.GetRenameName("d", 0), "out");
    EXPECT_EQ(at(journal.field(JournalList::Rename, RecordKind::Folder, 0, "Query")), folder);
    EXPECT_EQ(catalogue.GetServerListFileCount("disk/a/out", false), 1);
    EXPECT_EQ(catalogue.GetServerListFileCount("disk/a/in", false), -1);
    EXPECT_EQ(catalogue.GetServerListFileItem("disk/a/out", false, "parentfolderpath", 0),
              "disk/a/out/");
}

TEST_F(ServerCatalogueRename, OnlyFilesOnTheServerAreReal) {
    ASSERT_TRUE(
        catalogue.RenameEntry(catalogue.FindFile("disk/a/two.bin"), "2.bin", journal, prompter));
    ASSERT_TRUE(
        catalogue.RenameEntry(catalogue.FindFile("disk/a/plain"), "flat", journal, prompter));
    EXPECT_EQ(journal.GetRenamePathType(0), "virtual");
    EXPECT_EQ(journal.GetRenamePathType(1), "virtual") << "no transtype reads as local";
    EXPECT_EQ(catalogue.FindFile("disk/a/2.bin").attribute("path"), "/home/u/two.bin")
        << "the upload still reads the file under its own name";
}

// A name holding either quote still makes a query that means exactly that element.
TEST_F(ServerCatalogueRename, AQueryForANameWithQuotesFindsThatElement) {
    const XmlNode file = catalogue.FindFile("disk/a/one.txt");
    ASSERT_TRUE(catalogue.RenameEntry(file, "it's \"one\"", journal, prompter));
    EXPECT_EQ(at(journal.field(JournalList::Rename, RecordKind::File, 0, "Query")), file);
}

TEST_F(ServerCatalogueRename, DisksTheRootAndEmptyNamesAreRefusedWithNothingRecorded) {
    EXPECT_FALSE(catalogue.RenameEntry(catalogue.FindFolder("disk"), "x", journal, prompter));
    EXPECT_FALSE(catalogue.RenameEntry(catalogue.root(), "x", journal, prompter));
    EXPECT_FALSE(catalogue.RenameEntry(XmlNode(), "x", journal, prompter));
    EXPECT_FALSE(catalogue.RenameEntry(catalogue.FindFolder("disk/a"), "", journal, prompter));
    EXPECT_EQ(catalogue.GetDiskName(0), "disk");
    EXPECT_EQ(catalogue.FindFolder("disk/a").attribute("name"), "a");
    EXPECT_EQ(journal.recordCount(JournalList::Rename), 0);
}

TEST_F(ServerCatalogueRename, ARefusedRecordLeavesTheOldName) {
    ChangeJournal none;
    const XmlNode file = catalogue.FindFile("disk/a/one.txt");
    EXPECT_FALSE(catalogue.RenameEntry(file, "uno.txt", none, prompter));
    EXPECT_EQ(file.attribute("name"), "one.txt");
    EXPECT_EQ(catalogue.GetServerListFileItem("disk/a", false, "name", 0), "one.txt");
    EXPECT_EQ(prompter.messages, QStringList{"현재 document 가 없습니다."});
}
