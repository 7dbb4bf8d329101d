#include "HostOptions.h"

#include <gtest/gtest.h>

TEST(HostOptions, ReadsEveryOption) {
    HostOptions o;
    QString error;
    ASSERT_TRUE(ParseHostOptions({"--offscreen", "--url", "http://example.test:8080/p", "--cookie",
                                  "a=b", "--param", "UploadPOSTFile=/up.php?x=1", "--param",
                                  "Charset=UTF-8", "--size", "640x480", "--screenshot", "s.png",
                                  "--timeout", "5", "page.js"},
                                 o, error))
        << error.toStdString();
    EXPECT_TRUE(o.offscreen);
    EXPECT_EQ(o.pageUrl.host(), "example.test");
    EXPECT_EQ(o.pageUrl.port(), 8080);
    EXPECT_EQ(o.cookie, "a=b");
    EXPECT_EQ(o.params.value("UploadPOSTFile"), "/up.php?x=1");
    EXPECT_EQ(o.params.value("Charset"), "UTF-8");
    EXPECT_EQ(o.size, QSize(640, 480));
    EXPECT_EQ(o.screenshotFile, "s.png");
    EXPECT_EQ(o.timeoutSeconds, 5);
    EXPECT_EQ(o.pageFile, "page.js");
}

TEST(HostOptions, RefusesMalformedCommandLines) {
    const QList<QStringList> bad = {
        {},
        {"--bogus", "page.js"},
        {"--url"},
        {"--url", "not a url", "page.js"},
        {"--param", "novalue", "page.js"},
        {"--param", "=x", "page.js"},
        {"--size", "12", "page.js"},
        {"--timeout", "0", "page.js"},
        {"a.js", "b.js"},
    };
    for (const QStringList& args : bad) {
        HostOptions o;
        QString error;
        EXPECT_FALSE(ParseHostOptions(args, o, error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(error.contains('\n'));
    }
}
