#include "common/Formatting.h"

#include "common/FileTypes.h"
#include "common/LocalPath.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

const QColor kFallback(168, 166, 164);

TEST(ParseColor, ReadsThreeHexPairsAfterAnUncheckedFirstCharacter) {
    EXPECT_EQ(ParseColor("#FF0000", kFallback), QColor(255, 0, 0));
    EXPECT_EQ(ParseColor("X00ff80", kFallback), QColor(0, 255, 128));
    EXPECT_EQ(ParseColor("#a8A6a4", kFallback), QColor(168, 166, 164));
}

TEST(ParseColor, AnyOtherLengthGivesTheFallback) {
    EXPECT_EQ(ParseColor("FF0000", kFallback), kFallback);
    EXPECT_EQ(ParseColor("#FF00000", kFallback), kFallback);
    EXPECT_EQ(ParseColor("", kFallback), kFallback);
}

TEST(ParseColor, APairStopsAtItsFirstNonHexCharacter) {
    EXPECT_EQ(ParseColor("#GG0000", kFallback), QColor(0, 0, 0));
    EXPECT_EQ(ParseColor("#F-0000", kFallback), QColor(15, 0, 0));
    EXPECT_EQ(ParseColor("#-F0000", kFallback), QColor(0, 0, 0));
    EXPECT_EQ(ParseColor("# F0000", kFallback), QColor(0, 0, 0));
    EXPECT_EQ(ParseColor("#0xFFFF", kFallback), QColor(0, 255, 255));
    EXPECT_EQ(ParseColor(QString::fromUtf8("#\xEF\xBC\x91"
                                           "10000"),
                         kFallback),
              QColor(0, 0, 0));
}

TEST(SizeText, WritesWholeKilobytesWithGroupedThousands) {
    EXPECT_EQ(SizeText(0), "0KB");
    EXPECT_EQ(SizeText(100), "1KB");
    EXPECT_EQ(SizeText(1023), "1KB");
    EXPECT_EQ(SizeText(1024), "1KB");
    EXPECT_EQ(SizeText(10240), "10KB");
    EXPECT_EQ(SizeText(1048576), "1,024KB");
    EXPECT_EQ(SizeText(1536), "2KB");
    EXPECT_EQ(SizeText(2560), "3KB"); // halves away from zero, not to even
    EXPECT_EQ(SizeText(4607), "4KB");
    EXPECT_EQ(SizeText(4608), "5KB");
    EXPECT_EQ(SizeText(4.0 * 1024 * 1024 * 1024 * 1024), "4,294,967,296KB");
    const QString huge = SizeText(1e300);
    EXPECT_TRUE(huge.startsWith("976,562,5")) << huge.toStdString();
    EXPECT_EQ(huge.size(), 297 + 98 + 2);
}

TEST(SizeText, NonFiniteSizesShowAsZero) {
    EXPECT_EQ(SizeText(std::numeric_limits<double>::quiet_NaN()), "0KB");
    EXPECT_EQ(SizeText(std::numeric_limits<double>::infinity()), "0KB");
}

TEST(GroupThousands, InsertsCommasFromTheEndKeepingALeadingDigit) {
    EXPECT_EQ(GroupThousands(""), "");
    EXPECT_EQ(GroupThousands("123"), "123");
    EXPECT_EQ(GroupThousands("1234"), "1,234");
    EXPECT_EQ(GroupThousands("123456"), "123,456");
    EXPECT_EQ(GroupThousands("1234567"), "1,234,567");
}

// A local path splits where this machine's paths do, as LocalFileName and LocalFolderPart
// split it; a server path at "/".
TEST(SplitPath, SplitsAtTheLastSeparatorOfItsKind) {
    const QString local = "/home/kim/file.txt";
    EXPECT_EQ(SplitPath(kLocalPathKind, kNamePart, local), "file.txt");
    EXPECT_EQ(SplitPath(kLocalPathKind, kFolderPart, local), "/home/kim/");
    EXPECT_EQ(SplitPath(kLocalPathKind, kNamePart, local), LocalFileName(local));
    EXPECT_EQ(SplitPath(kLocalPathKind, kFolderPart, local), LocalFolderPart(local));
    EXPECT_EQ(SplitPath(kServerPathKind, kNamePart, "/a/b/c.doc"), "c.doc");
    EXPECT_EQ(SplitPath(kServerPathKind, kFolderPart, "/a/b/c.doc"), "/a/b/");
    EXPECT_EQ(SplitPath(kServerPathKind, kNamePart, "dir/"), "");
}

TEST(SplitPath, NoSeparatorOrUnknownPartGivesThePathInCapitals) {
    EXPECT_EQ(SplitPath(kLocalPathKind, kNamePart, "C:\\dir\\name.txt"), "C:\\DIR\\NAME.TXT");
    EXPECT_EQ(LocalFileName("C:\\dir\\name.txt"), "C:\\dir\\name.txt");
    EXPECT_EQ(LocalFolderPart("C:\\dir\\name.txt"), "");
    EXPECT_EQ(SplitPath(kServerPathKind, kFolderPart, "a\\b"), "A\\B");
    EXPECT_EQ(SplitPath(kServerPathKind, 2, "/a/b"), "/A/B");
    EXPECT_EQ(SplitPath(kServerPathKind, -1, "/a/b"), "/A/B");
}

} // namespace

TEST(ShownText, LongTextsAreCutAndTypesAreJudgedByTheNameTailOnly) {
    const QString huge = "report.pdf" + QString(10'000'000, 'a');
    EXPECT_EQ(ShownText("short.txt"), "short.txt");
    const QString atLimit(kMaxShownTextLength, 'x');
    EXPECT_EQ(ShownText(atLimit), atLimit);
    const QString shown = ShownText(huge);
    EXPECT_EQ(shown.size(), kMaxShownTextLength);
    EXPECT_TRUE(shown.startsWith("report.pdfaaa"));
    EXPECT_EQ(shown.back(), QChar(0x2026));

    // A dot far from the end is not an extension: the head of a long name is never read.
    EXPECT_EQ(ExtensionOf(huge), "");
    EXPECT_EQ(ExtensionOf(huge + ".TXT"), "txt");
    EXPECT_EQ(ExtensionOf("a." + QString(kTypeNameTail, 'b')), "");
    EXPECT_EQ(ExtensionOf("archive.tar.GZ"), "gz");
    EXPECT_EQ(ExtensionOf("noextension"), "");
    EXPECT_EQ(TypeNameTail(huge).size(), kTypeNameTail);
    EXPECT_EQ(TypeOfFile(huge + ".txt").name, TypeOfFile("x.txt").name);
    EXPECT_EQ(TypeOfFile(huge).name, TypeOfFile("noextension").name);
}
