#include "xml/ServerCatalogue.h"

#include "FakePrompter.h"
#include "QStringPrinter.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerPath.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kCatalogue = R"(<MORVEXXML>
<FOLDER type="disk" name="disk">
  <FOLDER name="a">
    <FOLDER name="a1"><FILE path="/disk/a/a1/deep.txt" name="deep.txt" transtype="server" size="5"/></FOLDER>
    <FOLDER name="a2"/>
    <FILE path="/disk/a/one.txt" name="one.txt" transtype="server" size="100" type="Text" modifydate="2024-01-02" owner="kim"/>
    <FILE path="/home/disk/a/two.bin" name="two.bin" transtype="local" size="20.7"/>
    <FILE path="C:\up\plain" name="plain" size=" 3kb"/>
  </FOLDER>
</FOLDER>
<FOLDER type="disk" name="other"><FILE path="/other/x" name="x" transtype="server" size="1000"/></FOLDER>
</MORVEXXML>)";

// Hands records to a real journal but refuses the record numbered `refuseAt` (from 0).
class RefusingSink : public DeleteRecordSink {
public:
    RefusingSink(ChangeJournal& journal, Prompter& prompter, int refuseAt)
        : journal_(journal), prompter_(prompter), refuseAt_(refuseAt) {}
    int recordCount() const override { return journal_.recordCount(JournalList::Delete); }
    bool add(const QString& path, const QString& name, const QString& size,
             const QString& folderPath, const QString& query) override {
        if (offered_++ == refuseAt_)
            return false;
        return journal_.AddDeleteRecord(path, name, size, folderPath, query, prompter_);
    }
    void truncate(int keep) override { journal_.truncateList(JournalList::Delete, keep); }

private:
    ChangeJournal& journal_;
    Prompter& prompter_;
    int refuseAt_;
    int offered_ = 0;
};

class ServerCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Load(kCatalogue)); }

    bool Load(const QByteArray& bytes) {
        const QString path = dir_.filePath("catalogue.xml");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(bytes);
        file.close();
        const bool loaded = catalogue_.LoadFile(path, prompter_);
        EXPECT_FALSE(QFile::exists(path));
        return loaded;
    }

    QStringList ChildNames(const QString& serverPath) const {
        QStringList names;
        for (const XmlNode& child : catalogue_.FindFolder(serverPath).selectAll("*"))
            names.append(child.attribute("name"));
        return names;
    }

    QTemporaryDir dir_;
    FakePrompter prompter_;
    ServerCatalogue catalogue_;
};

} // namespace

TEST(ServerPathTest, ConvertsPathsLikeTheClassicLoop) {
    EXPECT_EQ(TrimServerPath("/disk/a/"), "disk/a");
    EXPECT_EQ(TrimServerPath("//disk//"), "/disk/");
    EXPECT_EQ(ServerPathXPath("", false), "");
    EXPECT_EQ(ServerPathXPath("d/a", false), "FOLDER[@name=\"d\"]/FOLDER[@name=\"a\"]");
    EXPECT_EQ(ServerPathXPath("d/f", true), "FOLDER[@name=\"d\"]/FILE[@name=\"f\"]");
    // The last character always joins the last segment, so an untrimmed trailing "/" is a name.
    EXPECT_EQ(ServerPathXPath("d/", false), "FOLDER[@name=\"d/\"]");
    EXPECT_EQ(ServerPathXPath("/d", false), "FOLDER[@name=\"\"]/FOLDER[@name=\"d\"]");

    EXPECT_EQ(SizeValue(" 12abc"), 12.0);
    EXPECT_EQ(SizeValue("abc"), 0.0);
    EXPECT_EQ(SizeValue("1e3"), 1000.0);
    EXPECT_EQ(SizeValue("1e"), 1.0);
    EXPECT_EQ(SizeValue(".5"), 0.5);
    EXPECT_EQ(SizeValue("-2."), -2.0);
    EXPECT_EQ(SizeValue("1,5"), 1.0);
    EXPECT_EQ(CatalogueSizeText(20.7), "21");
    EXPECT_EQ(CatalogueSizeText(12345678901.0), "12345678901");
}

TEST_F(ServerCatalogueTest, TrimsOneSlashEachSideOnlyForTheTrimmingQueries) {
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk/a", false), 3);
    EXPECT_EQ(catalogue_.GetServerListFileCount("/disk/a/", false), 3);
    EXPECT_EQ(catalogue_.GetServerListFileCount("//disk/a", false), -1);
    EXPECT_EQ(catalogue_.GetServerListFileCount("", false), -1);
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk/missing", true), -1);
    EXPECT_EQ(catalogue_.GetServerListFolderItem("disk/missing", true, "name", 0), "");
    EXPECT_EQ(catalogue_.GetServerPathFileSize("all", "/disk/a/"), 128.7);
    EXPECT_EQ(catalogue_.GetServerPathFileSize("all", "disk/missing"), -1.0);
    // The rewrites take the path as written.
    EXPECT_EQ(catalogue_.SetServerReplacePathAllfile("/disk/a", "x"), kCatalogueTargetMissing);
    EXPECT_EQ(catalogue_.SetServerReplacePathfile("/disk/a/one.txt", "x"), kCatalogueTargetMissing);
    EXPECT_EQ(catalogue_.SetServerReplacePathAllfile("disk/a/", "x"), kCatalogueTargetMissing);
}

TEST_F(ServerCatalogueTest, CountsDirectChildrenOrAllDescendants) {
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk", false), 0);
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk", true), 4);
    EXPECT_EQ(catalogue_.GetServerListFolderCount("disk", false), 1);
    EXPECT_EQ(catalogue_.GetServerListFolderCount("disk", true), 3);
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 0), "deep.txt");
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 3), "plain");
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 4), "");
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", -1), "");
    EXPECT_EQ(catalogue_.GetServerListFolderItem("disk", true, "name", 2), "a2");
    EXPECT_EQ(catalogue_.GetDiskCount(), 2);
    EXPECT_EQ(catalogue_.GetDiskName(1), "other");
    EXPECT_EQ(catalogue_.GetDiskName(2), "");
}

TEST_F(ServerCatalogueTest, ItemFieldsFollowTheFieldTable) {
    auto file = [this](const QString& field, int index) {
        return catalogue_.GetServerListFileItem("disk/a", false, field, index);
    };
    EXPECT_EQ(file("path", 0), "/disk/a/");
    EXPECT_EQ(file("path", 1), "/home/disk/a/"); // a local path splits at this machine's separator
    EXPECT_EQ(file("path", 2), "C:\\UP\\PLAIN"); // no separator: the whole path in capitals
    EXPECT_EQ(file("pathname", 0), "/disk/a/one.txt");
    EXPECT_EQ(file("size", 1), "20.7");
    EXPECT_EQ(file("type", 0), "Text");
    EXPECT_EQ(file("datetime", 0), "2024-01-02");
    EXPECT_EQ(file("transtype", 0), "server");
    EXPECT_EQ(file("transtype", 2), "local"); // absent transtype
    EXPECT_EQ(file("parentfolderpath", 0), "disk/a/");
    EXPECT_EQ(file("owner", 0), "kim");
    EXPECT_EQ(file("type", 1), ""); // empty field, no such attribute either
    EXPECT_EQ(file("", 0), "");

    auto folder = [this](const QString& field, int index) {
        return catalogue_.GetServerListFolderItem("disk/a", false, field, index);
    };
    EXPECT_EQ(folder("name", 0), "a1");
    EXPECT_EQ(folder("size", 0), "0");
    EXPECT_EQ(folder("parentfolderpath", 1), "disk/a/");
    EXPECT_EQ(catalogue_.GetServerListFolderItem("disk", false, "type", 0), "");
}

TEST_F(ServerCatalogueTest, SumsSizesByKind) {
    EXPECT_EQ(catalogue_.GetServerPathFileSize("all", "disk"), 128.7);
    EXPECT_EQ(catalogue_.GetServerPathFileSize("server", "disk"), 105.0);
    EXPECT_EQ(catalogue_.GetServerPathFileSize("local", "disk"), 20.7);
    EXPECT_EQ(catalogue_.GetServerPathFileSize("ALL", "disk"), 0.0);
    EXPECT_EQ(catalogue_.GetServerPathFileSize("ALL", "disk/missing"), 0.0);
    EXPECT_EQ(catalogue_.GetServerAllFilesize("server"), 1105.0);
    EXPECT_EQ(catalogue_.GetServerAllFilesize("all"), 1128.7);
    EXPECT_EQ(catalogue_.GetServerAllFilesize("x"), 0.0);

    // A disk that no path addresses still counts, and a non-disk folder does not.
    ASSERT_TRUE(Load("<MORVEXXML><FOLDER name='plain'><FILE size='7'/></FOLDER>"
                     "<FOLDER type='disk' name='s/lash'><FILE size='9'/></FOLDER></MORVEXXML>"));
    EXPECT_EQ(catalogue_.GetDiskCount(), 1);
    EXPECT_EQ(catalogue_.GetDiskName(0), "");
    EXPECT_EQ(catalogue_.GetServerAllFilesize("all"), 9.0);
}

TEST_F(ServerCatalogueTest, InsertsFoldersBeforeTheFirstFile) {
    const XmlNode a = catalogue_.FindFolder("disk/a");
    const XmlNode folder = catalogue_.CreateFolderElement("new", prompter_);
    EXPECT_EQ(catalogue_.InsertFolder(a, folder), 2);
    EXPECT_EQ(ChildNames("disk/a"),
              (QStringList{"a1", "a2", "new", "one.txt", "two.bin", "plain"}));
    EXPECT_EQ(folder.xml(), "<FOLDER name=\"new\"/>");
    // Without files the folder is appended.
    const XmlNode a2 = catalogue_.FindFolder("disk/a/a2");
    EXPECT_EQ(catalogue_.InsertFolder(a2, catalogue_.CreateFolderElement("n2", prompter_)), 0);
    EXPECT_EQ(ChildNames("disk/a/a2"), QStringList{"n2"});
    EXPECT_EQ(catalogue_.InsertFolder(XmlNode(), folder), -1);
    EXPECT_TRUE(prompter_.messages.isEmpty());

    const XmlNode file =
        catalogue_.CreateFileElement("/p/f", "f", "server", 1234.6, "Doc", "2024", prompter_);
    EXPECT_EQ(file.xml(), "<FILE path=\"/p/f\" name=\"f\" transtype=\"server\" size=\"1235\" "
                          "type=\"Doc\" modifydate=\"2024\"/>");
    EXPECT_FALSE(catalogue_.AppendFile(a2, file).isNull());
    EXPECT_EQ(ChildNames("disk/a/a2"), (QStringList{"n2", "f"}));

    EXPECT_EQ(ServerCatalogue::FindChildByName(a, "one.txt"), ChildMatch::WithTranstype);
    EXPECT_EQ(ServerCatalogue::FindChildByName(a, "plain"), ChildMatch::WithoutTranstype);
    EXPECT_EQ(ServerCatalogue::FindChildByName(a, "a1"), ChildMatch::WithoutTranstype);
    EXPECT_EQ(ServerCatalogue::FindChildByName(a, "ONE.TXT"), ChildMatch::None);

    ServerCatalogue empty;
    EXPECT_TRUE(empty.CreateFolderElement("x", prompter_).isNull());
    EXPECT_TRUE(empty.CreateFileElement("p", "n", "local", 1, "", "", prompter_).isNull());
    EXPECT_EQ(prompter_.messages,
              (QStringList{"현재 document 가 없습니다.", "현재 document 가 없습니다."}));
    EXPECT_EQ(empty.GetServerListFileCount("disk", true), -1);
    EXPECT_EQ(empty.GetServerAllFilesize("all"), 0.0);
    EXPECT_EQ(empty.AllXml("UTF-8"), "");
}

TEST_F(ServerCatalogueTest, RewritesTouchServerFilesOnlyAndTerminate) {
    EXPECT_EQ(catalogue_.SetServerReplacePathAllfile("disk/a", "disk/a/disk/a"), 0);
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "pathname", 0),
              "/disk/a/disk/a/a1/deep.txt");
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "pathname", 1),
              "/disk/a/disk/a/one.txt");
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "pathname", 2),
              "/home/disk/a/two.bin");
    EXPECT_EQ(catalogue_.SetServerReplacePathAllfile("disk/missing", "x"), kCatalogueTargetMissing);

    EXPECT_EQ(catalogue_.SetServerReplacePathfile("disk/a/one.txt", "/moved/one.txt"), 0);
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk/a", false, "pathname", 0), "/moved/one.txt");
    ASSERT_TRUE(Load("<MORVEXXML><FOLDER type='disk' name='d'><FILE name='f'/></FOLDER>"
                     "</MORVEXXML>"));
    EXPECT_EQ(catalogue_.SetServerReplacePathfile("d/f", "/new"), 0);
    EXPECT_FALSE(catalogue_.FindFile("d/f").hasAttribute("path"));
    EXPECT_EQ(catalogue_.SetServerReplacePathfile("d/g", "/new"), kCatalogueTargetMissing);
}

TEST_F(ServerCatalogueTest, HostileNamesSelectExactlyTheirOwnElement) {
    const QStringList names{"q\"uote", "it's", "both\"'", "a\"] | //FILE[@name=\"b", "s/l"};
    const XmlNode disk = catalogue_.FindFolder("disk");
    for (const QString& name : names) {
        const XmlNode folder = catalogue_.CreateFolderElement(name, prompter_);
        catalogue_.InsertFolder(disk, folder);
        catalogue_.AppendFile(
            folder, catalogue_.CreateFileElement("/" + name, name, "server", 1, "", "", prompter_));
    }
    catalogue_.AppendFile(disk,
                          catalogue_.CreateFileElement("/b", "b", "server", 1, "", "", prompter_));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const XmlNode folder = disk.selectAll("FOLDER").at(names.indexOf(name) + 1);
        ASSERT_EQ(folder.attribute("name"), name);
        const NodePathText place = ServerCatalogue::NodePath(folder.child(0));
        EXPECT_EQ(catalogue_.root().selectFirst(place.xpath), folder.child(0));
        EXPECT_EQ(place.parentPath, "disk/" + name + "/");
        if (!name.contains('/')) {
            EXPECT_EQ(catalogue_.FindFolder("disk/" + name), folder);
            EXPECT_EQ(catalogue_.GetServerListFileCount("disk/" + name, false), 1);
            EXPECT_EQ(catalogue_.GetServerListFileItem("disk/" + name, true, "name", 0), name);
        }
    }
    EXPECT_TRUE(catalogue_.FindFolder("disk/s/l").isNull());
    EXPECT_EQ(ServerCatalogue::NodePath(catalogue_.FindFile("disk/b")).xpath,
              "FOLDER[@name=\"disk\"]/FILE[@name=\"b\"]");
}

TEST_F(ServerCatalogueTest, CollectDeletesRecordsServerFilesAndTakesBackOnFailure) {
    ChangeJournal journal;
    ASSERT_TRUE(journal.Create(prompter_));
    ASSERT_TRUE(journal.AddDeleteRecord("/earlier", "earlier", "1", "", "", prompter_));
    const XmlNode a = catalogue_.FindFolder("disk/a");

    double total = 10.0;
    ChangeJournal never;
    EXPECT_FALSE(catalogue_.DeleteEntry(a, total, never, prompter_));
    EXPECT_EQ(catalogue_.FindFolder("disk/a"), a);
    EXPECT_EQ(prompter_.messages, QStringList{"현재 document 가 없습니다."});
    RefusingSink refusing(journal, prompter_, 1);
    EXPECT_FALSE(catalogue_.DeleteEntry(a, total, refusing));
    EXPECT_EQ(total, 10.0);
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 1);
    EXPECT_EQ(catalogue_.FindFolder("disk/a"), a);
    RefusingSink refusingFirst(journal, prompter_, 0);
    EXPECT_FALSE(catalogue_.CollectDeletes(a, total, refusingFirst));
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 1);

    EXPECT_TRUE(catalogue_.CollectDeletes(a, total, journal, prompter_));
    EXPECT_DOUBLE_EQ(total, 10.0 + 128.7);
    ASSERT_EQ(journal.GetServerDeleteFileCount(), 3);
    EXPECT_EQ(journal.GetServerDeleteFile(1), "/disk/a/a1/deep.txt");
    EXPECT_EQ(journal.GetServerDeleteFilename(2), "one.txt");
    EXPECT_EQ(journal.GetServerDeleteFilesize(2), 100.0);
    EXPECT_EQ(journal.GetServerDeleteFileXmlPath(1), "disk/a/a1/");
    EXPECT_EQ(journal.GetServerDeleteFileXmlQuery(2),
              "FOLDER[@name=\"disk\"]/FOLDER[@name=\"a\"]/FILE[@name=\"one.txt\"]");
    EXPECT_FALSE(catalogue_.CollectDeletes(catalogue_.FindFile("disk/a/one.txt"), total, journal,
                                           prompter_));

    journal.RemoveDeleteList();
    total = 0.0;
    EXPECT_FALSE(
        catalogue_.DeleteEntry(catalogue_.FindFile("disk/other/x"), total, journal, prompter_));
    EXPECT_TRUE(catalogue_.DeleteEntry(catalogue_.FindFile("other/x"), total, journal, prompter_));
    EXPECT_TRUE(catalogue_.DeleteEntry(a, total, journal, prompter_));
    EXPECT_DOUBLE_EQ(total, 1128.7);
    EXPECT_EQ(journal.GetServerDeleteFileCount(), 3);
    EXPECT_EQ(catalogue_.GetServerListFolderCount("disk", true), 0);
}

TEST_F(ServerCatalogueTest, EveryChangeRefreshesTheCollectionsQueriesRead) {
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk", true), 4);
    const XmlNode a1 = catalogue_.FindFolder("disk/a/a1");
    catalogue_.AppendFile(a1,
                          catalogue_.CreateFileElement("/n", "n", "local", 2, "", "", prompter_));
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk", true), 5);
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 1), "n");
    catalogue_.SetAttribute(catalogue_.FindFile("disk/a/a1/n"), "name", "m");
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 1), "m");
    EXPECT_TRUE(catalogue_.RemoveEntry(a1));
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk", true), 3);
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 0), "one.txt");
    EXPECT_FALSE(catalogue_.RemoveEntry(catalogue_.root()));
    ASSERT_TRUE(Load("<MORVEXXML><FOLDER type='disk' name='disk'/></MORVEXXML>"));
    EXPECT_EQ(catalogue_.GetServerListFileCount("disk", true), 0);
    EXPECT_EQ(catalogue_.GetServerListFileItem("disk", true, "name", 0), "");
}

TEST_F(ServerCatalogueTest, LoadsTheDefaultDocumentWithoutAFile) {
    ASSERT_FALSE(Load("<MORVEXXML><FOLDER></MORVEXXML>"));
    EXPECT_EQ(prompter_.messages, QStringList{"load에러"});
    EXPECT_EQ(catalogue_.GetDiskCount(), 2); // the previous document stays

    ASSERT_TRUE(Load(""));
    EXPECT_EQ(catalogue_.GetDiskCount(), 1);
    EXPECT_EQ(catalogue_.AllXml("EUC-KR"), "<?xml version=\"1.0\" encoding=\"EUC-KR\"?>\r\n"
                                           "<MORVEXXML><FOLDER type=\"disk\" name=\"\"/>"
                                           "</MORVEXXML>");
    const QString saved = dir_.filePath("saved.xml");
    ASSERT_TRUE(catalogue_.SaveToFile(saved, "UTF-8"));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), catalogue_.AllXml("UTF-8").toUtf8());
}
