#include "common/TextCodec.h"

#include <gtest/gtest.h>

namespace {

const QString kPa = QString(QChar(0xD30C));
const QByteArray kPaCp949("\xC6\xC4");
const QByteArray kPaUtf8("\xED\x8C\x8C");
const QString kReplacement = QString(QChar(0xFFFD));

// Sets VANTREL_CODEPAGE for one test and restores it after.
class CodePage {
public:
    explicit CodePage(const QByteArray& name)
        : had_(qEnvironmentVariableIsSet("VANTREL_CODEPAGE")), old_(qgetenv("VANTREL_CODEPAGE")) {
        if (name.isNull())
            qunsetenv("VANTREL_CODEPAGE");
        else
            qputenv("VANTREL_CODEPAGE", name);
    }
    ~CodePage() {
        if (had_)
            qputenv("VANTREL_CODEPAGE", old_);
        else
            qunsetenv("VANTREL_CODEPAGE");
    }

private:
    bool had_;
    QByteArray old_;
};

TEST(TextCodec, Utf8NameInAnyLetterCaseConvertsAsUtf8) {
    CodePage defaultPage{QByteArray()};
    for (const char* name : {"UTF-8", "utf-8", "Utf-8"}) {
        EXPECT_EQ(ToBytes("a" + kPa, name), "a" + kPaUtf8) << name;
        EXPECT_EQ(FromBytes("a" + kPaUtf8, name), "a" + kPa) << name;
    }
    const QString astral = QString::fromUtf8("x\xF0\x9F\x98\x80y");
    EXPECT_EQ(FromBytes(ToBytes(astral, "UTF-8"), "UTF-8"), astral);
}

TEST(TextCodec, OtherNamesUseTheCp949CodePage) {
    CodePage defaultPage{QByteArray()};
    for (const char* name : {"euc-kr", "", "UTF8", "ISO-8859-1"}) {
        EXPECT_EQ(ToBytes("a" + kPa + "b", name), "a" + kPaCp949 + "b") << name;
        EXPECT_EQ(FromBytes("a" + kPaCp949 + "b", name), "a" + kPa + "b") << name;
    }
}

TEST(TextCodec, CodePageComesFromTheEnvironmentAtEachCall) {
    {
        CodePage latin1("ISO-8859-1");
        EXPECT_EQ(ToBytes(QString::fromUtf8("caf\xC3\xA9"), "x"), "caf\xE9");
        EXPECT_EQ(FromBytes("caf\xE9", "x"), QString::fromUtf8("caf\xC3\xA9"));
    }
    CodePage unknown("NO-SUCH-CODEPAGE");
    EXPECT_EQ(ToBytes(kPa, "x"), kPaCp949);
}

TEST(TextCodec, UnmappableCharactersBecomeQuestionMarksAndTheRestSurvives) {
    CodePage defaultPage{QByteArray()};
    const QString text =
        "a" + QString(QChar(0x0E01)) + kPa + QString::fromUtf8("\xF0\x9F\x98\x80") + "z";
    EXPECT_EQ(ToBytes(text, "euc-kr"), "a?" + kPaCp949 + "?z");
    const QString loneSurrogates = "a" + QString(QChar(0xD800)) + "b" + QString(QChar(0xDC00));
    EXPECT_EQ(ToBytes(loneSurrogates, "UTF-8"), "a?b?");
}

TEST(TextCodec, UndecodableBytesBecomeReplacementCharactersAndTheRestSurvives) {
    CodePage defaultPage{QByteArray()};
    EXPECT_EQ(FromBytes("a\xFF"
                        "b\xC3",
                        "UTF-8"),
              "a" + kReplacement + "b" + kReplacement);
    EXPECT_EQ(FromBytes("a\xE2\x82z", "UTF-8"), "a" + kReplacement + kReplacement + "z");
    EXPECT_EQ(FromBytes("x" + kPaCp949 + "\xC6", "cp949"), "x" + kPa + kReplacement);
    EXPECT_EQ(FromBytes("\xFF" + kPaCp949, "cp949"), kReplacement + kPa);
}

TEST(TextCodec, FromBytesStopsAtTheFirstNul) {
    EXPECT_EQ(FromBytes(QByteArray("ab\0cd", 5), "UTF-8"), "ab");
    EXPECT_EQ(FromBytes(QByteArray("\0cd", 3), "UTF-8"), "");
    EXPECT_EQ(DecodeWith(QByteArray("ab\0cd", 5), "UTF-8"), QString::fromLatin1("ab\0cd", 5));
}

TEST(TextCodec, NamedEncodingsReportWhetherIconvKnowsThem) {
    bool ok = false;
    EXPECT_EQ(EncodeWith(kPa, "EUC-KR", &ok), kPaCp949);
    EXPECT_TRUE(ok);
    EXPECT_EQ(DecodeWith(kPaCp949, "EUC-KR", &ok), kPa);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(EncodeWith(kPa, "NO-SUCH-ENCODING", &ok).isEmpty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(DecodeWith(kPaCp949, "NO-SUCH-ENCODING", &ok).isEmpty());
    EXPECT_FALSE(ok);
}

TEST(TextCodec, ExactDecodingRefusesWhatOrdinaryDecodingReplaces) {
    QString text = "untouched";
    EXPECT_FALSE(DecodeExactly("x" + kPaCp949 + "\xC6", "CP949", &text)); // cut off at the end
    EXPECT_FALSE(DecodeExactly("\xFF" + kPaCp949, "CP949", &text));
    EXPECT_FALSE(DecodeExactly(kPaCp949, "UTF-8", &text));
    EXPECT_FALSE(DecodeExactly(kPaUtf8, "NO-SUCH-ENCODING", &text));
    EXPECT_EQ(text, "untouched");
    ASSERT_TRUE(DecodeExactly("x" + kPaCp949, "EUC-KR", &text));
    EXPECT_EQ(text, "x" + kPa);
    ASSERT_TRUE(DecodeExactly(kPaUtf8.repeated(50000), "UTF-8", &text));
    EXPECT_EQ(text, kPa.repeated(50000));
}

TEST(TextCodec, LongTextRoundTripsWhole) {
    CodePage defaultPage{QByteArray()};
    const QString text = QString(kPa + "ab").repeated(100000);
    EXPECT_EQ(FromBytes(ToBytes(text, "x"), "x"), text);
    EXPECT_EQ(FromBytes(ToBytes(text, "UTF-8"), "UTF-8"), text);
}

} // namespace
