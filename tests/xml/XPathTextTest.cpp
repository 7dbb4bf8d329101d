#include "xml/XPathText.h"

#include "QStringPrinter.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

TEST(XPathText, OrdinaryNamesKeepTheirPlainForm) {
    EXPECT_EQ(NameStep("FOLDER", "x"), R"(FOLDER[@name="x"])");
    EXPECT_EQ(NameStep("FILE", "보고서 1.txt"), R"(FILE[@name="보고서 1.txt"])");
    EXPECT_EQ(NameStep("FOLDER", ""), R"(FOLDER[@name=""])");
    EXPECT_EQ(XPathLiteral(R"(say "hi")"), R"('say "hi"')");
    EXPECT_EQ(XPathLiteral(R"(a"b')"), R"(concat("a",'"',"b'"))");
    EXPECT_EQ(XPathLiteral(R"("'")"), R"(concat('"',"'",'"'))");
}

TEST(XPathText, HostileNamesSelectExactlyTheirOwnElement) {
    const QStringList names = {
        "plain",
        R"(a"] | //FILE[@name="b)",
        R"(x' or '1'='1)",
        R"(both"and'quotes)",
        R"(")",
        R"(')",
        R"("')",
        "]",
        "",
        R"(a"]/.. | //*[@name=")",
    };
    XmlDocument doc;
    QString text = "<ROOT>";
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString escaped = names[i];
        escaped.replace('&', "&amp;").replace('"', "&quot;").replace('<', "&lt;");
        text += QString(R"(<FOLDER id="%1" name="%2"/>)").arg(i).arg(escaped);
    }
    text += R"(<FILE name="b"/><FOLDER name="a"><FILE name="b"/></FOLDER></ROOT>)";
    ASSERT_EQ(doc.parseText(text), XmlDocument::ParseStatus::Parsed);

    for (qsizetype i = 0; i < names.size(); ++i) {
        const XmlNodeList found = doc.root().selectAll(NameStep("FOLDER", names[i]));
        ASSERT_EQ(found.count(), 1) << names[i].toStdString();
        EXPECT_EQ(found.at(0).attribute("id"), QString::number(i));
        EXPECT_EQ(found.at(0).attribute("name"), names[i]);
    }

    for (const QString& absent : {QString(R"(a" or "1"="1)"), QString(R"(b"] | //*[")"),
                                  QString("a\"]"), QString::fromUtf8("nul\0tail", 8)}) {
        EXPECT_EQ(doc.root().selectAll(NameStep("FOLDER", absent)).count(), 0)
            << absent.toStdString();
        EXPECT_TRUE(doc.root().selectFirst(NameStep("FILE", absent)).isNull());
    }
    const XmlNode nested =
        doc.root().selectFirst(NameStep("FOLDER", "a") + '/' + NameStep("FILE", "b"));
    EXPECT_EQ(nested.parent().attribute("name"), "a");
}
