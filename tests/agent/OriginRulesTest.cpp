#include "OriginRules.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

TEST(OriginRules, OriginsAreNormalisedAsBrowsersSendThem) {
    EXPECT_EQ(NormalOrigin("HTTPS://Example.ORG"), "https://example.org");
    EXPECT_EQ(NormalOrigin("https://example.org:443"), "https://example.org");
    EXPECT_EQ(NormalOrigin("http://example.org:80/"), "http://example.org");
    EXPECT_EQ(NormalOrigin("http://127.0.0.1:8080"), "http://127.0.0.1:8080");
    EXPECT_EQ(NormalOrigin("http://[::1]:8080"), "http://[::1]:8080");
    for (const char* refused :
         {"null", "", "file:///home/u/page.html", "ftp://example.org", "https://user@example.org",
          "https://example.org/page", "https://example.org?x=1", "https://example.org#top",
          "example.org", "https://"})
        EXPECT_TRUE(NormalOrigin(refused).isEmpty()) << refused;
}

TEST(OriginRules, APageAddressGivesItsOrigin) {
    EXPECT_EQ(OriginOfPage("http://127.0.0.1:8080/app/page.html?x=1#y"), "http://127.0.0.1:8080");
    EXPECT_EQ(OriginOfPage("https://Example.org/"), "https://example.org");
    EXPECT_TRUE(OriginOfPage("file:///tmp/page.html").isEmpty());
}

TEST(OriginRules, TheTwoLoopbackSpellingsAreOneOrigin) {
    EXPECT_TRUE(SameOrigin("http://localhost:8080", "http://127.0.0.1:8080"));
    EXPECT_TRUE(SameOrigin("http://LOCALHOST:8080/", "http://127.0.0.1:8080"));
    EXPECT_FALSE(SameOrigin("http://localhost:8080", "http://127.0.0.1:8081"));
    EXPECT_FALSE(SameOrigin("http://localhost:8080", "https://127.0.0.1:8080"));
    EXPECT_FALSE(SameOrigin("http://example.org", "http://example.org.evil"));
    EXPECT_FALSE(SameOrigin("null", "null"));
}

TEST(OriginRules, OnlyTheLoopbackNamesOfThisPortReachTheAgent) {
    EXPECT_TRUE(HostHeaderNamesAgent("127.0.0.1:47810", 47810));
    EXPECT_TRUE(HostHeaderNamesAgent("LocalHost:47810", 47810));
    EXPECT_TRUE(HostHeaderNamesAgent(" localhost:47810 ", 47810));
    EXPECT_FALSE(HostHeaderNamesAgent("127.0.0.1:47811", 47810));
    EXPECT_FALSE(HostHeaderNamesAgent("127.0.0.1", 47810)) << "no port means port 80";
    EXPECT_TRUE(HostHeaderNamesAgent("127.0.0.1", 80));
    EXPECT_FALSE(HostHeaderNamesAgent("rebound.example:47810", 47810));
    EXPECT_FALSE(HostHeaderNamesAgent("127.0.0.1.nip.io:47810", 47810));
    EXPECT_FALSE(HostHeaderNamesAgent("", 47810));
}

TEST(OriginRules, ListsDecideAndTheRestIsAskedOnlyWhereSomeoneCanAnswer) {
    const OriginLists lists{{"https://allowed.example", "http://localhost:8080"},
                            {"https://trusted.example"},
                            {"https://refused.example", "https://allowed.example"}};
    const OriginRules windowed(lists, true);
    EXPECT_EQ(windowed.verdict("https://allowed.example"), OriginVerdict::Allowed)
        << "allowed wins over refused";
    EXPECT_EQ(windowed.verdict("http://127.0.0.1:8080"), OriginVerdict::Allowed);
    EXPECT_EQ(windowed.verdict("https://trusted.example"), OriginVerdict::Allowed);
    EXPECT_EQ(windowed.verdict("https://refused.example"), OriginVerdict::Refused);
    EXPECT_EQ(windowed.verdict("https://new.example"), OriginVerdict::Unknown);
    EXPECT_EQ(windowed.verdict("null"), OriginVerdict::Refused);
    EXPECT_EQ(windowed.verdict(""), OriginVerdict::Refused);
    EXPECT_TRUE(windowed.isTrusted("https://trusted.example"));
    EXPECT_FALSE(windowed.isTrusted("https://allowed.example"));

    const OriginRules offscreen(lists, false);
    EXPECT_EQ(offscreen.verdict("https://new.example"), OriginVerdict::Refused);
    EXPECT_EQ(offscreen.verdict("https://allowed.example"), OriginVerdict::Allowed);
}
