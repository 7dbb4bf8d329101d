#include "common/RenameRules.h"

#include "QStringPrinter.h"
#include "common/RenameCodes.h"

#include <gtest/gtest.h>

using namespace RenameCode;

TEST(RenameRules, OuterDotsGoAndANameOfDotsAloneIsEmpty) {
    EXPECT_EQ(RequestedNameOf("..new..").name, "new");
    EXPECT_EQ(RequestedNameOf(".hidden").name, "hidden");
    EXPECT_EQ(RequestedNameOf("a..b.txt").name, "a..b.txt") << "inner dots stay";
    EXPECT_EQ(RequestedNameOf("이름 .txt").name, "이름 .txt");
    for (const char* dots : {"", ".", "..", "..."}) {
        const RequestedName requested = RequestedNameOf(dots);
        EXPECT_EQ(requested.code, EmptyName) << dots;
        EXPECT_TRUE(requested.name.isEmpty()) << dots;
    }
}

// Every character a path or the catalogue's XML could not carry as a name.
TEST(RenameRules, SeparatorsWildcardsQuotesAndControlCharactersAreRefused) {
    for (const QChar bad : QStringLiteral("\\/:*?\"<>|")) {
        const RequestedName requested = RequestedNameOf(QString("a") + bad + "b");
        EXPECT_EQ(requested.code, BadCharacter) << QString(bad).toStdString();
        EXPECT_TRUE(requested.name.isEmpty());
    }
    for (const char16_t control : {u'\0', u'\x01', u'\t', u'\n', u'\x1f'})
        EXPECT_EQ(RequestedNameOf(QString("a") + QChar(control) + "b").code, BadCharacter)
            << int(control);
    EXPECT_EQ(RequestedNameOf("./..").code, BadCharacter) << "refused before the dots go";
    EXPECT_EQ(RequestedNameOf("it's (1) & [x] #2.txt").code, Renamed);
}

TEST(RenameRules, OnlyCodesTheUserCanCorrectOpenTheEditorAgain) {
    for (short code : {BadCharacter, NameTaken, TooLong, Refused})
        EXPECT_TRUE(ReopensEditor(code)) << code;
    for (short code : {Renamed, EmptyName, NotRenameable, NotOnDisk})
        EXPECT_FALSE(ReopensEditor(code)) << code;
}
