#include "xml/ChangeJournal.h"

#include "FakePrompter.h"
#include "QStringPrinter.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

const QString kNoDocument = QStringLiteral("현재 document 가 없습니다.");

class ChangeJournalTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(journal.Create(prompter)); }

    // The XML of one list element.
    QString listXml(const QString& list) const {
        XmlDocument copy;
        EXPECT_EQ(copy.parseText(journal.text()), XmlDocument::ParseStatus::Parsed);
        return copy.root().selectFirst(list).xml();
    }

    FakePrompter prompter;
    ChangeJournal journal;
};

} // namespace

TEST(ChangeJournalEmpty, WithoutCreateWritersFailAndReadersAreEmpty) {
    FakePrompter prompter;
    ChangeJournal journal;
    EXPECT_FALSE(journal.AddDeleteRecord("/a/b.txt", "b.txt", "10", "a/", "q", prompter));
    EXPECT_FALSE(journal.AddMoveFolderRecord(MoveKind::Drag, "a", "b", "q", prompter));
    EXPECT_EQ(prompter.messages, QStringList({kNoDocument, kNoDocument}));
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 0);
    EXPECT_EQ(journal.GetServerDeleteFile(0), QString());
    EXPECT_EQ(journal.GetOldOWFilesize(0), 0.0);
    EXPECT_EQ(journal.text(), QString());
    journal.RemoveDeleteList();
    journal.truncateList(JournalList::Upload, 0);
    EXPECT_EQ(journal.recordCount(JournalList::Upload), 0);
}

TEST_F(ChangeJournalTest, FreshJournalHasFiveEmptyLists) {
    EXPECT_EQ(journal.text(), "<UDLIST><DELETELIST/><UPLOADLIST/><RENAMELIST/><DRAGDROPLIST/>"
                              "<OVERWRITEOLDLIST/></UDLIST>");
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 0);
    EXPECT_EQ(journal.GetCurrentUploadFileCnt(), 0);
    EXPECT_EQ(journal.GetRenameFolderCount(), 0);
    EXPECT_EQ(journal.GetRenameFileCount(), 0);
    EXPECT_EQ(journal.GetDragDropFolderCount(), 0);
    EXPECT_EQ(journal.GetDragDropFileCount(), 0);
    EXPECT_EQ(journal.GetOldOWFileCount(), 0);
    EXPECT_EQ(journal.GetServerDeleteFilePath(0), QString());
    EXPECT_EQ(journal.GetCurrentUploadFileData("path", 0), QString());
    EXPECT_EQ(journal.GetRenameName("d", 0), QString());
    EXPECT_EQ(journal.GetServerDeleteFilesize(0), 0.0);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ChangeJournalTest, RecordsHaveTheirAttributesInOrder) {
    ASSERT_TRUE(journal.AddDeleteRecord("/d/a.txt", "a.txt", "10", "disk/d/", "q1", prompter));
    ASSERT_TRUE(journal.AddDeleteRecord("/d/b.txt", "b.txt", "20", "", "", prompter));
    ASSERT_TRUE(journal.AddDeleteRecord("/d/c.txt", "c.txt", "30", "", "q3", prompter));
    EXPECT_EQ(listXml("DELETELIST"),
              "<DELETELIST>"
              "<FILE path=\"/d/a.txt\" name=\"a.txt\" size=\"10\" type=\"disk/d/\" date=\"q1\"/>"
              "<FILE path=\"/d/b.txt\" name=\"b.txt\" size=\"20\"/>"
              "<FILE path=\"/d/c.txt\" name=\"c.txt\" size=\"30\" date=\"q3\"/>"
              "</DELETELIST>");

    ASSERT_TRUE(
        journal.AddUploadRecord("/up/a", "a", "5", "Text", "2024-01-02", "x", "s/", prompter));
    EXPECT_EQ(listXml("UPLOADLIST"), "<UPLOADLIST><FILE path=\"/up/a\" name=\"a\" size=\"5\" "
                                     "type=\"Text\" date=\"2024-01-02\" xpath=\"x\" "
                                     "spath=\"s/\"/></UPLOADLIST>");

    ASSERT_TRUE(journal.AddMoveFileRecord(MoveKind::Rename, "o", "n", "xp", "q", "real", prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Rename, "of", "nf", "qf", prompter));
    EXPECT_EQ(listXml("RENAMELIST"),
              "<RENAMELIST><FILE oldPath=\"o\" newPath=\"n\" xmlPath=\"xp\" Query=\"q\" "
              "type=\"real\"/><FOLDER oldPath=\"of\" newPath=\"nf\" Query=\"qf\"/></RENAMELIST>");

    ASSERT_TRUE(
        journal.AddMoveFileRecord(MoveKind::Drag, "o2", "n2", "xp2", "q2", "virtual", prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Drag, "of2", "nf2", "qf2", prompter));
    EXPECT_EQ(listXml("DRAGDROPLIST"),
              "<DRAGDROPLIST><FILE oldPath=\"o2\" newPath=\"n2\" xmlPath=\"xp2\" Query=\"q2\" "
              "type=\"virtual\"/><FOLDER oldPath=\"of2\" newPath=\"nf2\" Query=\"qf2\"/>"
              "</DRAGDROPLIST>");

    ASSERT_TRUE(
        journal.AddOverwriteRecord("n.txt", "/p/n.txt", "99", "2024", "disk/p/", "qq", prompter));
    EXPECT_EQ(listXml("OVERWRITEOLDLIST"),
              "<OVERWRITEOLDLIST><FILE name=\"n.txt\" path=\"/p/n.txt\" size=\"99\" "
              "date=\"2024\" xmlPath=\"disk/p/\" Query=\"qq\"/></OVERWRITEOLDLIST>");
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ChangeJournalTest, ReadersAnswerEmptyOutsideTheList) {
    ASSERT_TRUE(journal.AddDeleteRecord("/d/a.txt", "a.txt", "10", "disk/d/", "q1", prompter));
    ASSERT_TRUE(journal.AddDeleteRecord("/d/b.txt", "b.txt", "20", "", "", prompter));
    const int count = journal.GetServerDeleteFileCount();
    ASSERT_EQ(count, 2);
    for (int index : {-1, count, count + 1}) {
        EXPECT_EQ(journal.GetServerDeleteFile(index), QString()) << index;
        EXPECT_EQ(journal.GetServerDeleteFilename(index), QString()) << index;
        EXPECT_EQ(journal.GetServerDeleteFilePath(index), QString()) << index;
        EXPECT_EQ(journal.GetServerDeleteFilesize(index), 0.0) << index;
        EXPECT_EQ(journal.GetServerDeleteFileXmlQuery(index), QString()) << index;
    }
    EXPECT_EQ(journal.GetServerDeleteFile(1), "/d/b.txt");
    EXPECT_EQ(journal.GetServerDeleteFileXmlPath(0), "disk/d/");
    EXPECT_EQ(journal.GetServerDeleteFileXmlQuery(0), "q1");
    EXPECT_EQ(journal.GetServerDeleteFileXmlPath(1), QString());
    EXPECT_EQ(journal.GetServerDeleteFilePath(0), "/d/");
}

TEST_F(ChangeJournalTest, DeleteFolderPartWithoutSlashIsUpperCased) {
    ASSERT_TRUE(journal.AddDeleteRecord("plain.txt", "plain.txt", "1", "", "", prompter));
    EXPECT_EQ(journal.GetServerDeleteFilePath(0), "PLAIN.TXT");
}

TEST_F(ChangeJournalTest, SizesReadAsDecimalNumbers) {
    for (const char* size : {"1024", "", "abc", "12.5", " 7 ", "4294967296"})
        ASSERT_TRUE(journal.AddOverwriteRecord("n", "p", size, "d", "x", "q", prompter));
    EXPECT_EQ(journal.GetOldOWFilesize(0), 1024.0);
    EXPECT_EQ(journal.GetOldOWFilesize(1), 0.0);
    EXPECT_EQ(journal.GetOldOWFilesize(2), 0.0);
    EXPECT_EQ(journal.GetOldOWFilesize(3), 12.5);
    EXPECT_EQ(journal.GetOldOWFilesize(4), 7.0);
    EXPECT_EQ(journal.GetOldOWFilesize(5), 4294967296.0);
    EXPECT_EQ(journal.numberField(JournalList::OverwriteOld, RecordKind::All, 0, "missing"), 0.0);
}

TEST_F(ChangeJournalTest, MoveReadersCountOnlyTheirKind) {
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Rename, "a/old", "a/new", "q0", prompter));
    ASSERT_TRUE(journal.AddMoveFileRecord(MoveKind::Rename, "/f1", "/x/f1b", "xp1", "q1", "real",
                                          prompter));
    ASSERT_TRUE(journal.AddMoveFileRecord(MoveKind::Rename, "/f1b", "nameonly", "xp2", "q2",
                                          "virtual", prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Rename, "b", "top", "q3", prompter));
    EXPECT_EQ(journal.GetRenameFolderCount(), 2);
    EXPECT_EQ(journal.GetRenameFileCount(), 2);
    EXPECT_EQ(journal.recordCount(JournalList::Rename), 4);
    EXPECT_EQ(journal.GetRenameFolderOldPath(1), "b");
    EXPECT_EQ(journal.GetRenameFolderNewPath(0), "a/new");
    EXPECT_EQ(journal.GetRenameOldFile(1), "/f1b");
    EXPECT_EQ(journal.GetRenameNewFile(0), "/x/f1b");
    EXPECT_EQ(journal.GetRenameXmlPath(1), "xp2");
    EXPECT_EQ(journal.GetRenamePathType(0), "real");
    EXPECT_EQ(journal.GetRenameFolderNewPath(2), QString());
    EXPECT_EQ(journal.GetRenameName("d", 0), "new");
    EXPECT_EQ(journal.GetRenameName("d", 1), "top");
    EXPECT_EQ(journal.GetRenameName("f", 0), "f1b");
    EXPECT_EQ(journal.GetRenameName("", 1), "nameonly");
    EXPECT_EQ(journal.GetRenameName("d", 2), QString());
    EXPECT_EQ(journal.GetRenameName("d", -1), QString());
    EXPECT_EQ(journal.GetDragDropFolderCount() + journal.GetDragDropFileCount(), 0);

    ASSERT_TRUE(
        journal.AddMoveFileRecord(MoveKind::Drag, "/s", "/t", "xd", "qd", "real", prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Drag, "s/", "t/", "qf", prompter));
    EXPECT_EQ(journal.GetDragDropFileCount(), 1);
    EXPECT_EQ(journal.GetDragDropFolderCount(), 1);
    EXPECT_EQ(journal.GetDragFile(0), "/s");
    EXPECT_EQ(journal.GetDropFile(0), "/t");
    EXPECT_EQ(journal.GetDropXmlPath(0), "xd");
    EXPECT_EQ(journal.GetDragFolderPath(0), "s/");
    EXPECT_EQ(journal.GetDropFolderPath(0), "t/");
    EXPECT_EQ(journal.GetDropFile(1), QString());
    EXPECT_EQ(journal.GetRenameFileCount(), 2);
}

TEST_F(ChangeJournalTest, UploadDataNamesItsFields) {
    ASSERT_TRUE(journal.AddUploadRecord("/up/a.txt", "a.txt", "12", "Text", "2024-05-06", "xq",
                                        "docs/", prompter));
    EXPECT_EQ(journal.GetCurrentUploadFileCnt(), 1);
    EXPECT_EQ(journal.GetCurrentUploadFileData("path", 0), "/up/a.txt");
    EXPECT_EQ(journal.GetCurrentUploadFileData("name", 0), "a.txt");
    EXPECT_EQ(journal.GetCurrentUploadFileData("size", 0), "12");
    EXPECT_EQ(journal.GetCurrentUploadFileData("type", 0), "Text");
    EXPECT_EQ(journal.GetCurrentUploadFileData("xpath", 0), "xq");
    EXPECT_EQ(journal.GetCurrentUploadFileData("spath", 0), "docs/");
    EXPECT_EQ(journal.GetCurrentUploadFileData("modifydate", 0), "2024-05-06");
    EXPECT_EQ(journal.GetCurrentUploadFileData("date", 0), QString());
    EXPECT_EQ(journal.GetCurrentUploadFileData("PATH", 0), QString());
    EXPECT_EQ(journal.GetCurrentUploadFileData("path", 1), QString());
}

TEST_F(ChangeJournalTest, ClearingOneListLeavesTheOthers) {
    ASSERT_TRUE(journal.AddDeleteRecord("/a", "a", "1", "", "", prompter));
    ASSERT_TRUE(journal.AddMoveFileRecord(MoveKind::Drag, "o", "n", "x", "q", "real", prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Drag, "o", "n", "q", prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Rename, "o", "n", "q", prompter));
    EXPECT_EQ(journal.GetDragDropFileCount(), 1);

    journal.RemoveDragList();
    EXPECT_EQ(journal.GetDragDropFileCount(), 0);
    EXPECT_EQ(journal.GetDragDropFolderCount(), 0);
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 1);
    EXPECT_EQ(journal.GetRenameFolderCount(), 1);
    EXPECT_EQ(listXml("DRAGDROPLIST"), "<DRAGDROPLIST/>");

    ASSERT_TRUE(journal.AddMoveFileRecord(MoveKind::Drag, "o2", "n2", "x", "q", "real", prompter));
    EXPECT_EQ(journal.GetDragFile(0), "o2");

    journal.RemoveDeleteList();
    journal.RemoveRenameList();
    journal.RemoveOldOWList();
    journal.ClearList(JournalList::Upload);
    EXPECT_EQ(journal.text(), "<UDLIST><DELETELIST/><UPLOADLIST/><RENAMELIST/><DRAGDROPLIST>"
                              "<FILE oldPath=\"o2\" newPath=\"n2\" xmlPath=\"x\" Query=\"q\" "
                              "type=\"real\"/></DRAGDROPLIST><OVERWRITEOLDLIST/></UDLIST>");
}

TEST_F(ChangeJournalTest, TruncateTakesBackRecordsAppendedSinceTheMark) {
    ASSERT_TRUE(journal.AddDeleteRecord("/keep", "keep", "1", "", "", prompter));
    const int mark = journal.recordCount(JournalList::Delete);
    ASSERT_TRUE(journal.AddDeleteRecord("/x1", "x1", "2", "", "", prompter));
    ASSERT_TRUE(journal.AddDeleteRecord("/x2", "x2", "3", "", "", prompter));
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 3);

    journal.truncateList(JournalList::Delete, mark);
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 1);
    EXPECT_EQ(journal.GetServerDeleteFile(0), "/keep");
    EXPECT_EQ(journal.GetServerDeleteFile(1), QString());

    journal.truncateList(JournalList::Delete, 5);
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 1);
    journal.truncateList(JournalList::Delete, -3);
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 0);
}

TEST_F(ChangeJournalTest, ReadersSeeEveryChange) {
    ASSERT_TRUE(
        journal.AddMoveFileRecord(MoveKind::Rename, "o1", "n1", "x", "q", "real", prompter));
    EXPECT_EQ(journal.GetRenameFileCount(), 1);
    EXPECT_EQ(journal.recordCount(JournalList::Rename), 1);
    ASSERT_TRUE(
        journal.AddMoveFileRecord(MoveKind::Rename, "o1", "n2", "x", "q", "real", prompter));
    EXPECT_EQ(journal.GetRenameFileCount(), 2);
    EXPECT_EQ(journal.GetRenameNewFile(1), "n2");
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Rename, "f", "g", "q", prompter));
    EXPECT_EQ(journal.GetRenameFolderCount(), 1);
    EXPECT_EQ(journal.recordCount(JournalList::Rename), 3);

    journal.RemoveRenameList();
    EXPECT_EQ(journal.GetRenameFileCount(), 0);
    EXPECT_EQ(journal.GetRenameNewFile(0), QString());
    ASSERT_TRUE(journal.AddMoveFileRecord(MoveKind::Rename, "a", "b", "x", "q", "real", prompter));
    EXPECT_EQ(journal.GetRenameNewFile(0), "b");

    ASSERT_TRUE(journal.Create(prompter));
    EXPECT_EQ(journal.GetRenameFileCount(), 0);
    EXPECT_EQ(journal.GetRenameNewFile(0), QString());
}

TEST_F(ChangeJournalTest, HostileValuesRoundTrip) {
    const QString hostile = QStringLiteral("a\"b'c<d>&e;&amp; ]]> 파일\t/..\\");
    ASSERT_TRUE(journal.AddDeleteRecord(hostile, hostile, "1", hostile, hostile, prompter));
    ASSERT_TRUE(journal.AddMoveFolderRecord(MoveKind::Rename, hostile, hostile + "/" + hostile,
                                            hostile, prompter));
    EXPECT_EQ(journal.GetServerDeleteFile(0), hostile);
    EXPECT_EQ(journal.GetServerDeleteFileXmlQuery(0), hostile);
    EXPECT_EQ(journal.GetRenameName("d", 0), "..\\");

    XmlDocument reparsed;
    ASSERT_EQ(reparsed.parseText(journal.text()), XmlDocument::ParseStatus::Parsed);
    const XmlNode deleted = reparsed.root().selectFirst("DELETELIST/FILE");
    EXPECT_EQ(deleted.attribute("name"), hostile);
    EXPECT_EQ(deleted.attribute("type"), hostile);
    EXPECT_EQ(reparsed.root().selectFirst("RENAMELIST/FOLDER").attribute("Query"), hostile);
    EXPECT_EQ(reparsed.root().selectAll("//*").count(), 8);
}
