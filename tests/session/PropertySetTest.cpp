#include "settings/ControlSettings.h"

#include <gtest/gtest.h>

namespace {

ControlSettings loaded(const PropertySet& set) {
    ControlSettings settings;
    bool bars = false;
    QString region;
    LoadPropertySet(set, settings, bars, region);
    return settings;
}

} // namespace

TEST(PropertySet, SetNamingNothingLeavesEveryDefault) {
    const ControlSettings s = loaded({{"Unrelated", "1"}});
    EXPECT_EQ(s.HttpPORT, 80);
    EXPECT_EQ(s.ServerListViewMode, 4);
    EXPECT_EQ(s.LocalListViewMode, 4);
    EXPECT_EQ(s.Charset, "euc-kr");
    EXPECT_EQ(s.OneFileLimitsize, -1.0);
    EXPECT_EQ(s.DiskFreeSize, -1.0);
    EXPECT_EQ(s.ServerFileOpenLimitsize, -1.0);
    EXPECT_EQ(s.InitDiskName, "Server");
    EXPECT_EQ(s.SpBarColor, "#A8A6A4");
    EXPECT_TRUE(s.FilePathDomainAuto);
    EXPECT_FALSE(s.IsDragDownAfterEvent);
    EXPECT_EQ(s.IsDownUrlEncode, 1);
    EXPECT_EQ(s.DownRetryCount, 2);
    EXPECT_EQ(s.DownParallel, 1);
    EXPECT_EQ(s.DownRateLimitKBps, 0);
    EXPECT_EQ(s.UpRateLimitKBps, 0);
}

TEST(PropertySet, SaveWritesVersionThenFixedOrder) {
    const auto saved = SavePropertySet(ControlSettings{}, false, QString());
    // Version, the 46 classic properties, then the additions beyond them.
    const QStringList additions = {"DownRetryCount", "DownParallel", "DownRateLimitKBps",
                                   "UpRateLimitKBps"};
    ASSERT_EQ(saved.size(), 47 + additions.size());
    EXPECT_EQ(saved.front(), qMakePair(QString("_Version"), QString("1.0")));
    EXPECT_EQ(saved[1].first, "ServerListViewMode");
    EXPECT_EQ(saved[2].first, "LocalListViewMode");
    EXPECT_EQ(saved[15].first, "OverWriteMessage");
    EXPECT_EQ(saved[26].first, "IeControlBarAllVisiable");
    EXPECT_EQ(saved[43].first, "IeRoundRectRgn");
    EXPECT_EQ(saved[46].first, "IsDownUrlEncode");
    for (int i = 0; i < additions.size(); ++i)
        EXPECT_EQ(saved[47 + i].first, additions[i]);
}

TEST(PropertySet, SavedSetLoadsBackToTheSameValues) {
    ControlSettings original;
    original.HttpPORT = 40000;
    original.OnlyExt = "jpg;png";
    original.OneFileLimitsize = 1048576.5;
    original.OverWriteMessage = true;
    original.LocalUIType = 2;
    original.UpRateLimitKBps = 70000; // beyond a short: the caps are 32-bit
    PropertySet set;
    for (const auto& [name, value] : SavePropertySet(original, true, "0,0,10,10,5,5"))
        set.insert(name, value);

    ControlSettings copy;
    bool bars = false;
    QString region;
    LoadPropertySet(set, copy, bars, region);
    EXPECT_EQ(copy.HttpPORT, 40000);
    EXPECT_EQ(copy.OnlyExt, "jpg;png");
    EXPECT_EQ(copy.OneFileLimitsize, 1048576.5);
    EXPECT_TRUE(copy.OverWriteMessage);
    EXPECT_EQ(copy.LocalUIType, 2);
    EXPECT_EQ(copy.UpRateLimitKBps, 70000);
    EXPECT_TRUE(bars);
    EXPECT_EQ(region, "0,0,10,10,5,5");
}

TEST(PropertySet, TextsThatDoNotParseKeepTheDefault) {
    const ControlSettings s = loaded({{"IsDragUpload", "FALSE"},
                                      {"IsAttachFolder", "0"},
                                      {"ListFullRowSelect", "maybe"},
                                      {"LocalListViewMode", "three"},
                                      {"ServerListViewMode", "70000"},
                                      {"HttpPORT", "-5"},
                                      {"DiskFreeSize", "1e6"},
                                      {"OneFileLimitsize", "12,5"}});
    EXPECT_FALSE(s.IsDragUpload);
    EXPECT_FALSE(s.IsAttachFolder);
    EXPECT_TRUE(s.ListFullRowSelect);
    EXPECT_EQ(s.LocalListViewMode, 4);
    EXPECT_EQ(s.ServerListViewMode, 4);
    EXPECT_EQ(s.HttpPORT, 80);
    EXPECT_EQ(s.DiskFreeSize, 1e6);
    EXPECT_EQ(s.OneFileLimitsize, -1.0);
}

TEST(HostPageValues, DomainPortAndCookieReachTheSettings) {
    ControlSettings s;
    TakeHostPageValues(s, "example.test", "40000", "sid=1");
    EXPECT_EQ(s.hostBaseUrl, "http://example.test:40000");
    EXPECT_EQ(s.HttpServerName, "example.test");
    EXPECT_EQ(s.HttpPORT, 40000); // stays positive above 32767
    EXPECT_EQ(s.documentCookie, "sid=1");

    ControlSettings noPort;
    TakeHostPageValues(noPort, "example.test", "", "");
    EXPECT_EQ(noPort.hostBaseUrl, "http://example.test");
    EXPECT_EQ(noPort.HttpPORT, 80);
}

TEST(HostPageValues, PageGivenServerAndPortAreKept) {
    ControlSettings s;
    s.HttpServerName = "upload.test";
    s.HttpPORT = 8081;
    TakeHostPageValues(s, "example.test", "8080", "");
    EXPECT_EQ(s.HttpServerName, "upload.test");
    EXPECT_EQ(s.HttpPORT, 8081);

    ControlSettings notAutomatic;
    notAutomatic.UploadServerAutoDomain = false;
    notAutomatic.UploadServerAutoPORT = false;
    TakeHostPageValues(notAutomatic, "example.test", "8080", "");
    EXPECT_EQ(notAutomatic.HttpServerName, "");
    EXPECT_EQ(notAutomatic.HttpPORT, 80);
}
