#include "transfer/DownloadRules.h"

#include "QStringPrinter.h"
#include "transfer/TransferDisplay.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(TransferDisplayTest, SizesSpeedsTimesAndPercentages) {
    EXPECT_EQ(KBText(512), "1");
    EXPECT_EQ(KBText(0), "0");
    EXPECT_EQ(KBText(1536), "2");
    EXPECT_EQ(KBText(-5), "0");
    EXPECT_EQ(KBText(NAN), "0");
    EXPECT_EQ(ProgressUnits(1048576), 1024);
    EXPECT_EQ(ProgressUnits(1e30), INT_MAX);
    EXPECT_EQ(SpeedText(1048576), "1,024KB/sec");
    EXPECT_EQ(SpeedText(0), "0KB/sec");
    EXPECT_EQ(TimeLeftText(3725), "01:02:05");
    EXPECT_EQ(TimeLeftText(59), "00:00:59");
    EXPECT_EQ(TimeLeftText(360000), "100:00:00");
    EXPECT_EQ(TimeLeftText(-3), "00:00:00");
    EXPECT_EQ(PercentText(50, 200, false), "25%");
    EXPECT_EQ(PercentText(0, 0, false), "0%");
    EXPECT_EQ(PercentText(0, 0, true), "100%");
    EXPECT_EQ(PercentText(300, 200, false), "100%");
    EXPECT_EQ(PercentText(-1, 200, false), "0%");
    EXPECT_EQ(PercentText(NAN, 200, false), "0%");
    EXPECT_EQ(SecondsLeft(1000, 400, 0), -1);
    EXPECT_EQ(SecondsLeft(1000, 400, 200), 3);
    EXPECT_EQ(SecondsLeft(1000, 1400, 200), 0);
    EXPECT_EQ(SizeLineText(2048, 1024, "down", false), "(2KB / 1KB, 50% down)");
    EXPECT_EQ(SizeLineText(0, 0, "down", true), "(0KB / 0KB, 100% down)");
}

TEST(TransferDisplayTest, RateMeasuredEveryFifthTick) {
    RateMeter meter;
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(meter.tick(1000.0 * i));
    EXPECT_TRUE(meter.tick(5000));
    EXPECT_EQ(meter.bytesPerSecond(), 5000);
    for (int i = 0; i < 4; ++i)
        meter.tick(6000);
    EXPECT_TRUE(meter.tick(7000));
    EXPECT_EQ(meter.bytesPerSecond(), 2000);
}

TEST(DownloadRulesTest, NamesUrlsAndLocalSizes) {
    EXPECT_EQ(ShortServerName("123_report.pdf", "_"), "report.pdf");
    EXPECT_EQ(ShortServerName("report.pdf", "_"), "report.pdf");
    EXPECT_EQ(ShortServerName("a__b", "__"), "b");
    EXPECT_EQ(ShortServerName("a_b", ""), "a_b");
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "../x", "..\\x", "x/..", "/etc/passwd"})
        EXPECT_FALSE(IsSafeLocalName(QString::fromUtf8(bad))) << bad;
    EXPECT_FALSE(IsSafeLocalName(QString("a") + QChar(0)));
    for (const char* good :
         {"a", ".hidden", "a.b.c", "문서.hwp", "x..y.txt", "..hidden", "end..", "...", "...."})
        EXPECT_TRUE(IsSafeLocalName(QString::fromUtf8(good))) << good;

    EXPECT_EQ(BuildDownloadUrl("/f/a.txt", "http://h:8", true), "http://h:8/f/a.txt");
    EXPECT_EQ(BuildDownloadUrl("hTtP://x/a.txt", "http://h", true), "hTtP://x/a.txt");
    EXPECT_EQ(BuildDownloadUrl("/f/a.txt", "http://h", false), "/f/a.txt");
    EXPECT_EQ(EncodeUrlFileName("http://h/my dir/a b+c.txt", "UTF-8"),
              "http://h/my dir/a%20b%2Bc.txt");
    EXPECT_EQ(LocalFileSize("/definitely/not/here"), -1);
    EXPECT_EQ(LocalFileSize("/tmp"), -1);
}

TEST(DownloadRulesTest, ReplyHeadsJudgedAgainstTheLocalLength) {
    EXPECT_EQ(JudgeDownloadHead(200, 0, {}), HeadVerdict::WriteFromStart);
    EXPECT_EQ(JudgeDownloadHead(200, 1000, {}), HeadVerdict::WriteFromStart);
    EXPECT_EQ(JudgeDownloadHead(404, 1000, {}), HeadVerdict::NotFound);
    EXPECT_EQ(JudgeDownloadHead(206, 1000, "bytes 1000-1999/2000"), HeadVerdict::Append);
    EXPECT_EQ(JudgeDownloadHead(206, 1000, "bytes 999-1999/2000"), HeadVerdict::Unusable);
    EXPECT_EQ(JudgeDownloadHead(206, 1000, ""), HeadVerdict::Unusable);
    EXPECT_EQ(JudgeDownloadHead(206, 0, "bytes 0-1999/2000"), HeadVerdict::Unusable);
    EXPECT_EQ(JudgeDownloadHead(416, 2000, "bytes */2000"), HeadVerdict::Complete);
    EXPECT_EQ(JudgeDownloadHead(416, 1500, "bytes */2000"), HeadVerdict::Unusable);
    EXPECT_EQ(JudgeDownloadHead(416, 2000, "garbage"), HeadVerdict::Unusable);
    EXPECT_EQ(JudgeDownloadHead(500, 0, {}), HeadVerdict::Unusable);
    EXPECT_EQ(JudgeDownloadHead(302, 0, {}), HeadVerdict::Unusable);
}

} // namespace
