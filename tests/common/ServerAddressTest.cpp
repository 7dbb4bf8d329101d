#include "common/ServerAddress.h"

#include <gtest/gtest.h>

namespace {

const QString kHost = "http://files.example:8080";

TEST(ServerAddress, SchemeIsFoundInAnyLetterCase) {
    EXPECT_TRUE(HasHttpScheme("http://a/b"));
    EXPECT_TRUE(HasHttpScheme("HtTpS://a/b"));
    EXPECT_TRUE(HasHttpScheme("redirect?to=HTTP://a"));
    EXPECT_FALSE(HasHttpScheme("/files/a.txt"));
    EXPECT_FALSE(HasHttpScheme("ftp://a/b"));
    EXPECT_FALSE(HasHttpScheme("http:/a"));
}

TEST(ServerAddress, RelativeLocationsGetTheHostPrefixOnlyWhenAutomatic) {
    EXPECT_EQ(ResolveServerAddress("/files/a.txt", true, kHost), kHost + "/files/a.txt");
    EXPECT_EQ(ResolveServerAddress("/files/a.txt", false, kHost), "/files/a.txt");
    EXPECT_EQ(ResolveServerAddress("Http://other/a.txt", true, kHost), "Http://other/a.txt");
    EXPECT_EQ(ResolveServerAddress("hTTPS://other/a.txt", true, kHost), "hTTPS://other/a.txt");
}

} // namespace
