#include "transfer/UrlEncoder.h"

#include <gtest/gtest.h>

namespace {

std::string Encoded(const QString& charset, const QString& text) {
    return UrlEncoder(charset).encode(text).toStdString();
}

} // namespace

TEST(UrlEncoder, EncodesReservedAndControlBytesOnly) {
    EXPECT_EQ(Encoded("UTF-8", "a b~c"), "a%20b%7Ec");
    EXPECT_EQ(Encoded("UTF-8", "AZaz09'()*-._"), "AZaz09'()*-._");
    EXPECT_EQ(Encoded("UTF-8", R"("<>%\^[]`+$,@:;/!#?=&)"),
              "%22%3C%3E%25%5C%5E%5B%5D%60%2B%24%2C%40%3A%3B%2F%21%23%3F%3D%26");
    EXPECT_EQ(Encoded("UTF-8", QString("\t\n{|}\x7F")), "%09%0A%7B%7C%7D%7F");
    EXPECT_EQ(Encoded("UTF-8", "/dir/file name.txt"), "%2Fdir%2Ffile%20name.txt");
    EXPECT_EQ(Encoded("UTF-8", ""), "");
    EXPECT_EQ(Encoded("euc-kr", ""), "");
}

TEST(UrlEncoder, UsesTheBytesOfThePagesCharset) {
    qunsetenv("VANTREL_CODEPAGE"); // the system code page is then CP949
    const QString pa(QChar(0xD30C));
    EXPECT_EQ(Encoded("UTF-8", pa), "%ED%8C%8C");
    EXPECT_EQ(Encoded("utf-8", pa), "%ED%8C%8C"); // the setting's getter upper-cases it
    EXPECT_EQ(Encoded("euc-kr", pa), "%C6%C4");
    EXPECT_EQ(Encoded("EUC-KR", pa + " a"), "%C6%C4%20a");
    EXPECT_EQ(Encoded("UTF8", pa), "%C6%C4"); // only the exact name selects UTF-8
}
