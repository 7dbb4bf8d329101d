#include "common/WorkingFolders.h"

#include "IsolatedHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(WorkingFolders, FoldersAreCreatedBelowTheCacheHomeOnFirstUse) {
    IsolatedHome home;
    const QString base = home.cacheHome() + "/Vantrel";
    EXPECT_FALSE(QFileInfo::exists(base));
    EXPECT_EQ(BaseFolder(), base);
    EXPECT_EQ(DataFolder(), base + "/Data");
    EXPECT_EQ(ErrorLogFolder(), base + "/error_log");
    EXPECT_EQ(DownFolder(), base + "/Temporary Compressed Files/down");
    for (const QString& folder :
         {base, base + "/Data", base + "/error_log", base + "/Temporary Compressed Files/down"})
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
}

TEST(WorkingFolders, DataFilePathAcceptsOnlyPlainFileNames) {
    IsolatedHome home;
    const QString data = home.cacheHome() + "/Vantrel/Data";
    EXPECT_EQ(DataFilePath("list.xml"), data + "/list.xml");
    EXPECT_TRUE(QFileInfo(data).isDir());
    for (const QString& bad :
         {QString("../x"), QString("a/b"), QString("/etc/passwd"), QString("."), QString(".."),
          QString(), QString::fromLatin1("..\0x", 4)})
        EXPECT_TRUE(DataFilePath(bad).isEmpty()) << bad.toStdString();
}

TEST(WorkingFolders, RelativeCacheHomeIsIgnored) {
    IsolatedHome home;
    qputenv("XDG_CACHE_HOME", "relative/cache");
    const QString base = BaseFolder();
    EXPECT_TRUE(QDir::isAbsolutePath(base)) << base.toStdString();
    EXPECT_FALSE(QFileInfo::exists("relative/cache"));
}

TEST(WorkingFolders, WithoutAUsableHomeTheBaseIsAPrivateTempFolder) {
    IsolatedHome home;
    const QByteArray oldHome = qgetenv("HOME");
    qunsetenv("XDG_CACHE_HOME");
    qputenv("HOME", "not/absolute");
    const QString base = BaseFolder();
    const QString data = DataFolder();
    qputenv("HOME", oldHome);

    EXPECT_EQ(base, QString("/tmp/vantrel-%1").arg(getuid()));
    EXPECT_EQ(data, base + "/Data");
    struct stat info {};
    ASSERT_EQ(lstat(QFile::encodeName(base).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_FALSE(QFileInfo::exists("not/absolute"));
}

TEST(WorkingFolders, PathKindAndFileExistsTellFoldersFilesAndNothingApart) {
    IsolatedHome home;
    const QString folder = home.path() + "/a/b/c";
    EXPECT_EQ(PathKind(folder), -1);
    EXPECT_TRUE(EnsureFolder(folder));
    EXPECT_TRUE(EnsureFolder(folder));
    EXPECT_EQ(PathKind(folder), 1);
    EXPECT_FALSE(FileExists(folder));

    const QString file = folder + "/f.txt";
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(CreateExclusiveFile(file));
    EXPECT_EQ(PathKind(file), 2);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(EnsureFolder(file));
    EXPECT_FALSE(EnsureFolder(""));
    EXPECT_EQ(PathKind(""), -1);
}

TEST(WorkingFolders, CreateExclusiveFileMakesAPrivateFileOnlyOnce) {
    IsolatedHome home;
    const QString file = home.path() + "/new.tmp";
    ASSERT_TRUE(CreateExclusiveFile(file));
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(CreateExclusiveFile(file));
    EXPECT_FALSE(CreateExclusiveFile(home.path() + "/missing/new.tmp"));
    EXPECT_FALSE(CreateExclusiveFile(home.path()));
}

} // namespace
