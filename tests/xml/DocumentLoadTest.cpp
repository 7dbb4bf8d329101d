#include "FakePrompter.h"
#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "common/WorkingFolders.h"
#include "xml/DocumentFetch.h"
#include "xml/DocumentHolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString WriteTemp(const QByteArray& bytes) {
    const QString path = MakeTempPath();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

QStringList DataFiles() {
    return QDir(DataFolder()).entryList(QDir::Files);
}

} // namespace

TEST(DocumentFetch, ResolvesRelativeLocationsAgainstThePage) {
    const QString base = "http://example.test:8080";
    EXPECT_EQ(ResolveLocation("/ui/conf.xml", base), "http://example.test:8080/ui/conf.xml");
    EXPECT_EQ(ResolveLocation("ui/conf.xml", base), "http://example.test:8080ui/conf.xml");
    EXPECT_EQ(ResolveLocation("HTTP://Other/x.xml", base), "HTTP://Other/x.xml");
    EXPECT_EQ(ResolveLocation("https://other/x.xml", base), "https://other/x.xml");
}

TEST(DocumentFetch, TempPathsAreFreshFilesInTheDataFolder) {
    IsolatedHome home;
    const QRegularExpression pattern(R"(^_\d{1,3}_-?\d+\[(\d+)\]\.xml$)");
    QStringList paths;
    for (int i = 0; i < 20; ++i)
        paths.append(MakeTempPath());
    paths.removeDuplicates();
    ASSERT_EQ(paths.size(), 20);
    for (const QString& path : paths) {
        const QFileInfo info(path);
        EXPECT_TRUE(info.exists());
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(info.absolutePath(), DataFolder());
        EXPECT_TRUE(pattern.match(info.fileName()).hasMatch()) << path.toStdString();
        EXPECT_FALSE(info.permissions().testFlag(QFile::ReadOther));
    }
}

TEST(DocumentLoad, FileLoadsAndTheFileIsGone) {
    IsolatedHome home;
    FakePrompter prompter;
    DocumentHolder holder;
    const QString path = WriteTemp("<?xml version=\"1.0\"?><UI><A VALUE=\"1\"/></UI>");
    EXPECT_EQ(LoadFromFile(holder, path, kUIConfigMessages, prompter), LoadOutcome::Loaded);
    EXPECT_EQ(holder.root().name(), "UI");
    EXPECT_TRUE(holder.tempPath.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(DocumentText(holder), R"(<UI><A VALUE="1"/></UI>)");
}

TEST(DocumentLoad, BrokenFileShowsTheLoadMessageOnceAndKeepsTheOldDocument) {
    IsolatedHome home;
    FakePrompter prompter;
    DocumentHolder holder;
    ASSERT_TRUE(LoadFromText(holder, "<OLD/>", kCatalogueMessages, prompter));

    const QString path = WriteTemp("<UI><A></UI>");
    EXPECT_EQ(LoadFromFile(holder, path, kCatalogueMessages, prompter), LoadOutcome::Failed);
    EXPECT_EQ(prompter.messages, QStringList{"load에러"});
    EXPECT_EQ(holder.root().name(), "OLD");
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(DataFiles().isEmpty());
}

TEST(DocumentLoad, EmptyOrMissingFileIsNoText) {
    IsolatedHome home;
    FakePrompter prompter;
    DocumentHolder holder;
    const QString empty = MakeTempPath();
    EXPECT_EQ(LoadFromFile(holder, empty, kUIConfigMessages, prompter), LoadOutcome::NoText);
    EXPECT_FALSE(QFile::exists(empty));
    EXPECT_EQ(LoadFromFile(holder, DataFolder() + "/gone.xml", kUIConfigMessages, prompter),
              LoadOutcome::NoText);
    EXPECT_EQ(LoadFromFile(holder, QString(), kUIConfigMessages, prompter), LoadOutcome::NoText);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(holder.root().isNull());
}

TEST(DocumentLoad, TextLoadsUseTheHoldersMessages) {
    FakePrompter prompter;
    DocumentHolder journal;
    EXPECT_TRUE(LoadFromText(journal,
                             "<UDLIST>\r\n\t<DELETELIST></DELETELIST>\r\n\t<UPLOADLIST>"
                             "</UPLOADLIST>\r\n<RENAMELIST></RENAMELIST>\r\n</UDLIST>",
                             kJournalMessages, prompter));
    EXPECT_EQ(journal.root().childCount(), 3);
    EXPECT_EQ(journal.root().selectFirst("DELETELIST").childCount(), 0);

    DocumentHolder catalogue;
    EXPECT_FALSE(LoadFromText(catalogue, "<MORVEXXML><FOLDER name='x></MORVEXXML>",
                              kCatalogueDefaultMessages, prompter));
    EXPECT_FALSE(LoadFromText(journal, "<UDLIST>", kJournalMessages, prompter));
    EXPECT_EQ(prompter.messages, (QStringList{"초기화 loadXML에러", "(Up&Cancel) loadXML에러"}));
    EXPECT_EQ(journal.root().name(), "UDLIST");
    EXPECT_EQ(DocumentText(catalogue), "");
}
