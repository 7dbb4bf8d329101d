#include "xml/XmlDocument.h"

#include "QStringPrinter.h"
#include "common/TextCodec.h"
#include "xml/WellFormedCheck.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using Status = XmlDocument::ParseStatus;

const QString kCatalogue = R"(<MORVEXXML>
  <FOLDER type="disk" name="Server">
    <FOLDER name="docs"><FILE name="a.txt" size="10"/></FOLDER>
    <FOLDER name="img"/>
    <FILE name="x.bin" size="1"/>
    <FILE name="y.bin" size="2">note <B>bold</B> end</FILE>
  </FOLDER>
</MORVEXXML>)";

XmlDocument Parsed(const QString& text) {
    XmlDocument doc;
    EXPECT_EQ(doc.parseText(text), Status::Parsed);
    return doc;
}

} // namespace

TEST(XmlDocument, QueriesAnswerFromTheRoot) {
    const XmlDocument doc = Parsed(kCatalogue);
    const XmlNode root = doc.root();
    EXPECT_EQ(root.name(), "MORVEXXML");
    EXPECT_TRUE(root.parent().isNull());

    const XmlNode disk = root.selectFirst(R"(FOLDER[@name="Server"])");
    EXPECT_EQ(disk.attribute("type"), "disk");
    EXPECT_EQ(disk.childCount(), 4); // whitespace between elements is not kept
    EXPECT_EQ(disk.child(3).attribute("name"), "y.bin");
    EXPECT_TRUE(disk.child(4).isNull());
    EXPECT_TRUE(disk.child(-1).isNull());

    const XmlNodeList files = disk.selectAll("FILE");
    EXPECT_EQ(files.count(), 2);
    EXPECT_EQ(files.at(0).attribute("name"), "x.bin");
    EXPECT_TRUE(files.at(2).isNull());
    EXPECT_EQ(disk.descendants("FILE").count(), 3);
    EXPECT_EQ(disk.descendants("FILE").at(0).attribute("name"), "a.txt");
    EXPECT_EQ(root.descendants("*").count(), 7);

    EXPECT_EQ(files.at(1).text(), "note bold end");
    EXPECT_EQ(files.at(1).parent(), disk);
    EXPECT_EQ(files.at(0).attribute("absent"), "");
    EXPECT_FALSE(files.at(0).hasAttribute("absent"));
}

TEST(XmlDocument, EditsCreateInsertAppendAndRemove) {
    XmlDocument doc = Parsed(kCatalogue);
    XmlNode disk = doc.root().selectFirst("FOLDER");

    XmlNode folder = doc.createElement("FOLDER");
    ASSERT_TRUE(folder.setAttribute("name", "new"));
    EXPECT_EQ(doc.root().xml().count("new"), 0); // not placed yet
    EXPECT_EQ(disk.insertBefore(folder, disk.selectFirst("FILE")), folder);
    EXPECT_EQ(disk.selectAll("FOLDER").count(), 3);
    EXPECT_EQ(disk.child(2).attribute("name"), "new");

    XmlNode file = doc.createElement("FILE");
    file.setAttribute("path", "/p");
    file.setAttribute("name", "z");
    file.setAttribute("path", "/q"); // replaces, keeps its place
    EXPECT_EQ(disk.appendChild(file), file);
    EXPECT_EQ(file.xml(), R"(<FILE path="/q" name="z"/>)");

    EXPECT_TRUE(disk.appendChild(disk).isNull());              // into itself
    EXPECT_TRUE(folder.appendChild(doc.root()).isNull());      // an ancestor
    EXPECT_TRUE(disk.insertBefore(file, doc.root()).isNull()); // not a child of disk
    XmlDocument other = Parsed("<R/>");
    EXPECT_TRUE(other.root().appendChild(file).isNull()); // another document

    EXPECT_FALSE(doc.root().removeChild(file)); // not its child
    EXPECT_TRUE(disk.removeChild(file));
    EXPECT_EQ(disk.descendants("FILE").count(), 3);
    EXPECT_FALSE(doc.root().setAttribute("", "v"));
}

TEST(XmlDocument, SerialisesTheRootWithoutDeclarationStably) {
    const XmlDocument doc = Parsed(R"(<?xml version="1.0" encoding="EUC-KR"?>)"
                                   "<MORVEXXML><FOLDER type='disk' name='서버'></FOLDER>"
                                   "<FILE name='a&amp;b' note='q&quot;'>t&lt;x</FILE></MORVEXXML>");
    const QString text = doc.root().xml();
    EXPECT_EQ(text, R"(<MORVEXXML><FOLDER type="disk" name="서버"/>)"
                    R"(<FILE name="a&amp;b" note="q&quot;">t&lt;x</FILE></MORVEXXML>)");
    const XmlDocument again = Parsed(text);
    EXPECT_EQ(again.root().xml(), text);
}

TEST(XmlDocument, EmptyHandlesAnswerHarmlessly) {
    XmlDocument empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(empty.root().isNull());
    EXPECT_TRUE(empty.createElement("FILE").isNull());

    XmlNode none;
    EXPECT_EQ(none.name(), "");
    EXPECT_EQ(none.text(), "");
    EXPECT_EQ(none.xml(), "");
    EXPECT_EQ(none.childCount(), 0);
    EXPECT_TRUE(none.selectFirst("*").isNull());
    EXPECT_EQ(none.selectAll("//*").count(), 0);
    EXPECT_EQ(none.descendants("*").count(), 0);
    EXPECT_FALSE(none.setAttribute("a", "b"));
    EXPECT_TRUE(none.appendChild(none).isNull());
    EXPECT_FALSE(none.removeChild(none));
    EXPECT_TRUE(none.selectFirst("FOLDER").selectFirst("FILE").parent().isNull());
}

TEST(XmlDocument, BadXPathFailsToEmptyResults) {
    const XmlDocument doc = Parsed(kCatalogue);
    for (const QString& xpath :
         {QString("FOLDER["), QString("1 + 1"), QString("count(*)"), QString(""), QString("]]]"),
          QString("FOLDER/@name"), QString("unknown-function()"), QString(5000, '(')}) {
        EXPECT_TRUE(doc.root().selectFirst(xpath).isNull()) << xpath.left(40).toStdString();
        EXPECT_EQ(doc.root().selectAll(xpath).count(), 0);
    }
}

TEST(XmlDocument, HandlesSurviveMovingTheDocument) {
    XmlDocument doc = Parsed(kCatalogue);
    const XmlNode disk = doc.root().selectFirst("FOLDER");
    XmlDocument moved = std::move(doc);
    EXPECT_EQ(disk.attribute("name"), "Server");
    EXPECT_EQ(moved.root(), disk.parent());
}

TEST(XmlDocument, FailedParseKeepsThePreviousDocument) {
    XmlDocument doc = Parsed("<A/>");
    EXPECT_EQ(doc.parseText("<A><B></A>"), Status::NotWellFormed);
    EXPECT_EQ(doc.parseText("<A/><B/>"), Status::NotWellFormed);
    EXPECT_EQ(doc.parseText(""), Status::NotWellFormed);
    EXPECT_EQ(doc.parseText("just text"), Status::NotWellFormed);
    EXPECT_EQ(doc.root().name(), "A");
}

TEST(XmlDocument, FileBytesAreDecodedFromTheDeclaredEncoding) {
    const QString korean = "서버 폴더 똠방각하";
    XmlDocument doc;

    const QByteArray eucKr = "<?xml version=\"1.0\" encoding=\"euc-kr\"?>\r\n<R name=\"" +
                             EncodeWith(korean, "CP949") + "\"/>";
    ASSERT_EQ(doc.parseBytes(eucKr), Status::Parsed);
    EXPECT_EQ(doc.root().attribute("name"), korean);

    const QByteArray cp949 =
        "<?xml version='1.0' encoding = 'CP949' ?><R>" + EncodeWith(korean, "CP949") + "</R>";
    ASSERT_EQ(doc.parseBytes(cp949), Status::Parsed);
    EXPECT_EQ(doc.root().text(), korean);

    ASSERT_EQ(doc.parseBytes("<R>" + korean.toUtf8() + "</R>"), Status::Parsed);
    EXPECT_EQ(doc.root().text(), korean);

    ASSERT_EQ(
        doc.parseBytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?><R>" + korean.toUtf8() + "</R>"),
        Status::Parsed);
    EXPECT_EQ(doc.root().text(), korean);

    QByteArray utf16 = "\xFF\xFE";
    const QString utf16Text = "<R>" + korean + "</R>";
    utf16.append(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    ASSERT_EQ(doc.parseBytes(utf16), Status::Parsed);
    EXPECT_EQ(doc.root().text(), korean);

    EXPECT_EQ(doc.parseBytes("<?xml version=\"1.0\" encoding=\"x-no-such\"?><R/>"),
              Status::NotWellFormed);
    EXPECT_EQ(doc.root().text(), korean);
}

TEST(XmlDocument, RefusesWhatIsNotWellFormedAndTakesItsTwin) {
    // Each malformed text beside the nearest well-formed one.
    const struct {
        QByteArray good;
        QByteArray bad;
    } kPairs[] = {
        {R"(<R a="1" b="1"/>)", R"(<R a="1" a="2"/>)"},
        {R"(<R a="1" b="2" c="3" d="4" e="5" f="6" g="7" h="8" i="9" j="10"/>)",
         R"(<R a="1" b="2" c="3" d="4" e="5" f="6" g="7" h="8" i="9" c="10"/>)"},
        {R"(<R a="1"/>)", R"(<R a="1"b="2"/>)"},
        {"<R>&lt;&gt;&amp;&apos;&quot;</R>", "<R>&nbsp;</R>"},
        {"<R a='&amp;'/>", "<R a='&foo;'/>"},
        {"<R>&amp;</R>", "<R>&amp</R>"},
        {"<R>&#x10FFFF;&#9;&#65533;&#xD7FF;</R>", "<R>&#0;</R>"},
        {"<R>&#x41;</R>", "<R>&#xD800;</R>"},
        {"<R>&#65;</R>", "<R>&#X41;</R>"},
        {"<R/> <!-- c --><?p x?>\r\n", "<R/>text"},
        {"<R/>\n", "<R/><R/>"},
        {"<R/>", "<R/>&amp;"},
        {"<R>\t\r\n</R>", "<R>\x01</R>"},
        {"<R a='\t'/>", "<R a='\x1F'/>"},
        {"<R/>\n", "<R/>\x0C"},
        {"<R>\xC2\x85\x7F</R>", "<R>\xC0\xAF</R>"},
        {"<R>\xED\x9F\xBF</R>", "<R>\xED\xA0\x80</R>"},
        {"<R>\xEF\xBF\xBD</R>", "<R>\xEF\xBF\xBE</R>"},
        {"<R>\xF4\x8F\xBF\xBF</R>", "<R>\xF4\x90\x80\x80</R>"},
        {"<R>]]&gt;</R>", "<R>]]></R>"},
        {"<R><![CDATA[<&]]]]></R>", "<R><![CDATA[x</R>"},
        {"<R><!-- a - b --></R>", "<R><!-- a -- b --></R>"},
        {"<R><?pi x?></R>", "<R><?xml x?></R>"},
        {"<?xml version='1.0'?><R/>", " <?xml version='1.0'?><R/>"},
        {"<?xml version=\"1.0\" standalone='yes'?><R/>", "<?xml encoding=\"UTF-8\"?><R/>"},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?><R/>",
         "<?xml version=\"1.0\" encoding=\"\"?><R/>"},
        {"<!DOCTYPE R SYSTEM \"r.dtd\"><R/>", "<!DOCTYPE R [<!ENTITY e \"x\">]><R>&e;</R>"},
        {"<R><A></A ></R>", "<R><A></R></A>"},
        {"<R><A/></R>", "<R><A></ A></R>"},
        {"<서버 이름='값'/>", "<R 1a='x'/>"},
    };
    for (const auto& pair : kPairs) {
        XmlDocument doc;
        EXPECT_EQ(doc.parseBytes(pair.good), Status::Parsed)
            << pair.good.toStdString() << ": "
            << CheckWellFormed(pair.good, EncodingLabel::Binding).problem;
        EXPECT_EQ(doc.parseBytes(pair.bad), Status::NotWellFormed) << pair.bad.toStdString();
    }
}

TEST(XmlDocument, TheFirstFaultIsReportedWhereItIs) {
    const struct {
        QByteArray text;
        qsizetype offset;
    } kFaults[] = {
        {"<R a='1' a='2'>&foo;</R>x", 9},
        {"<R><A></B></R>", 8},
        {"<R>&nbsp;</R>x", 3},
        {"<R/>\n<R/>", 5},
        {"<R>\xC0\xAF</R>", 3},
        {"<R", 2},
    };
    for (const auto& fault : kFaults) {
        const WellFormedness result = CheckWellFormed(fault.text, EncodingLabel::Binding);
        EXPECT_FALSE(result.isWellFormed()) << fault.text.toStdString();
        EXPECT_EQ(result.offset, fault.offset)
            << fault.text.toStdString() << ": " << result.problem;
    }
    EXPECT_EQ(CheckWellFormed("<R/>", EncodingLabel::Binding).offset, -1);
}

TEST(XmlDocument, BytesThatDoNotDecodeAreRefusedNotReplaced) {
    const QByteArray name = EncodeWith("서버", "CP949");
    XmlDocument doc;
    // Without a declaration the text is UTF-8, which EUC-KR bytes are not.
    EXPECT_EQ(doc.parseBytes("<R name=\"" + name + "\"/>"), Status::NotWellFormed);
    EXPECT_EQ(doc.parseBytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?><R>" + name + "</R>"),
              Status::NotWellFormed);
    const QByteArray declared = "<?xml version=\"1.0\" encoding=\"EUC-KR\"?>";
    EXPECT_EQ(doc.parseBytes(declared + "<R>" + name + "\xB0 </R>"), Status::NotWellFormed);
    EXPECT_EQ(doc.parseBytes(declared + "<R>" + name + "</R>\xFF"), Status::NotWellFormed);
    EXPECT_EQ(doc.parseBytes(declared + "<R a=\"" + name + "\" a=\"\"/>"), Status::NotWellFormed);
    EXPECT_EQ(doc.parseBytes("<?xml version=\"1.0\" encoding=\"UTF-9\"?><R/>"),
              Status::NotWellFormed);
    ASSERT_EQ(doc.parseBytes(declared + "<R>" + name + "</R>"), Status::Parsed);
    EXPECT_EQ(doc.root().text(), "서버");

    ASSERT_EQ(doc.parseBytes("\xEF\xBB\xBF<R>\xEC\x84\x9C</R>"), Status::Parsed);
    EXPECT_EQ(doc.root().text(), "서");
    EXPECT_EQ(doc.parseBytes("\xEF\xBB\xBF<R>\xEC\x84</R>"), Status::NotWellFormed);
    const QString utf16 = "<R>서</R>";
    QByteArray units(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2);
    ASSERT_EQ(doc.parseBytes(units), Status::Parsed);
    EXPECT_EQ(doc.root().text(), "서");
    units.replace(6, 2, QByteArray("\x00\xD8", 2)); // a lone surrogate in place of the Hangul
    EXPECT_EQ(doc.parseBytes(units), Status::NotWellFormed);
    EXPECT_EQ(doc.root().text(), "서");

    // A text the program holds is decoded already: the name in its declaration is not read.
    EXPECT_EQ(doc.parseText("<?xml version=\"1.0\" encoding=\"\"?><R/>"), Status::Parsed);
    EXPECT_EQ(doc.parseText("<R a='1' a='1'/>"), Status::NotWellFormed);
}

TEST(XmlDocument, NoInputCrashesTheParser) {
    const QByteArray full = kCatalogue.toUtf8();
    XmlDocument doc;
    for (qsizetype length = 0; length < full.size(); ++length)
        EXPECT_EQ(doc.parseBytes(full.left(length)), Status::NotWellFormed) << length;

    QRandomGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(static_cast<qsizetype>(random.bounded(1, 4096)), '\0');
        for (char& byte : noise)
            byte = static_cast<char>(random.bounded(256));
        if (round % 2)
            noise.prepend("<?xml version=\"1.0\" encoding=\"EUC-KR\"?><R>");
        doc.parseBytes(noise);
        doc.root().selectAll("//*");
        doc.root().xml();
    }
}

TEST(XmlDocument, HugeAndDeepDocumentsStayUsable) {
    QByteArray wide = "<MORVEXXML><FOLDER name=\"d\">";
    for (int i = 0; i < 200000; ++i)
        wide += "<FILE name=\"f" + QByteArray::number(i) + "\" size=\"1\"/>";
    wide += "</FOLDER></MORVEXXML>";
    XmlDocument doc;
    ASSERT_EQ(doc.parseBytes(wide), Status::Parsed);
    EXPECT_EQ(doc.root().descendants("FILE").count(), 200000);
    EXPECT_EQ(doc.root().selectFirst(R"(FOLDER/FILE[@name="f199999"])").attribute("size"), "1");

    // Repeats are found among many attributes without comparing every pair.
    QByteArray attributes = "<R";
    for (int i = 0; i < 200000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    ASSERT_EQ(doc.parseBytes(attributes + "/>"), Status::Parsed);
    EXPECT_EQ(doc.parseBytes(attributes + " a123456=\"\"/>"), Status::NotWellFormed);

    const int depth = 100000;
    const QByteArray deep =
        QByteArray("<A>").repeated(depth) + "x" + QByteArray("</A>").repeated(depth);
    ASSERT_EQ(doc.parseBytes(deep), Status::Parsed);
    EXPECT_EQ(doc.root().descendants("A").count(), depth - 1);
    EXPECT_EQ(doc.root().text(), "x");
    EXPECT_EQ(doc.root().selectAll("//A").count(), depth);
    EXPECT_EQ(doc.root().xml().size(), deep.size());
}
