// The document layer judges a corpus of mutated documents exactly as an independent strict
// parser (xmllint from libxml2) does, and what it writes back out passes that parser too.

#include "FakePrompter.h"
#include "QStringPrinter.h"
#include "common/TextCodec.h"
#include "xml/ServerCatalogue.h"
#include "xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Sample {
    QString label; // the seed and the mutation, for failure messages
    QByteArray bytes;
};

const QByteArray kCatalogueSeed =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<MORVEXXML>\n"
    "  <FOLDER type=\"disk\" name=\"서버\">\n"
    "    <FOLDER name=\"docs &amp; more\" path='/d'><FILE name=\"a.txt\" size=\"10\" "
    "modifydate=\"2024-01-02\"/></FOLDER>\n"
    "    <FILE name=\"b&#xAC00;.bin\" size='1'>note <![CDATA[<raw> & ]]> &lt;x&gt; "
    "&quot;q&apos;</FILE>\n"
    "    <!-- kept out of the tree -->\n"
    "  </FOLDER>\n"
    "</MORVEXXML>\n"
    "<!-- after the root --><?page note?>\n";

const QByteArray kConfigSeed = "<UI>\r\n<UICOLOR><ServerTreebgClr VALUE=\"#FFFFFF\"/>"
                               "<LocalTreebgClr VALUE='#00FF00'/></UICOLOR>\r\n"
                               "\t<NEWFOLDERNAME VALUE=\"새 폴더\"/><?page keep?>\r\n"
                               "<DATEFORMAT VALUE=\"%Y-%m-%d\"/></UI>";

const QByteArray kJournalSeed = "<UDLIST>\r\n\t<DELETELIST><FILE name=\"x\" path=\"/a/x\" "
                                "size=\"3\"/></DELETELIST>\r\n\t<UPLOADLIST></UPLOADLIST>\r\n"
                                "<RENAMELIST><FILE old=\"a\" new=\"b\"/></RENAMELIST>\r\n"
                                "</UDLIST>\r\n";

// Hangul from the common set that both a strict EUC-KR decoder and CP949 read alike.
QByteArray EucKrSeed() {
    return "<?xml version=\"1.0\" encoding=\"EUC-KR\"?>\r\n<MORVEXXML><FOLDER type=\"disk\" "
           "name=\"" +
           EncodeWith("서버 폴더", "CP949") + "\"><FILE name=\"" +
           EncodeWith("가나다.txt", "CP949") + "\" size=\"5\">" + EncodeWith("메모", "CP949") +
           "</FILE></FOLDER></MORVEXXML>\r\n";
}

// Where mutations may touch: after the XML declaration. The encoding label itself is not
// mutated, because the names iconv and libxml2 accept differ in spelling details that say
// nothing about well-formedness.
qsizetype BodyStart(const QByteArray& doc) {
    return doc.startsWith("<?xml ") ? doc.indexOf("?>") + 2 : 0;
}

// A position between two ASCII bytes (or at an end), so an insertion never splits a multibyte
// character in either UTF-8 or EUC-KR.
qsizetype Boundary(const QByteArray& doc, QRandomGenerator& random) {
    const qsizetype start = BodyStart(doc);
    for (;;) {
        const qsizetype at = start + random.bounded(doc.size() - start + 1);
        const bool before = at == doc.size() || static_cast<unsigned char>(doc[at]) < 0x80;
        const bool after = at == 0 || static_cast<unsigned char>(doc[at - 1]) < 0x80;
        if (before && after)
            return at;
    }
}

QByteArray InsertAt(QByteArray doc, qsizetype at, const QByteArray& piece) {
    return doc.insert(at, piece);
}

template <typename T> const T& Pick(const QList<T>& choices, QRandomGenerator& random) {
    return choices[random.bounded(static_cast<int>(choices.size()))];
}

// Builds the corpus: each seed as it is, then many mutations of it. Three things are left out
// on purpose, where the document layer is stricter or plainer than xmllint: a DOCTYPE with an
// internal subset (refused, since its declarations would have to be applied and entities are
// never expanded), the version "1." (xmllint lets it pass), and a UTF-16 or UTF-32 label on
// 8-bit text (read as the UTF-8 it is, where xmllint refuses it).
class CorpusBuilder {
public:
    explicit CorpusBuilder(quint32 seed) : random_(seed) {}

    QList<Sample> build() {
        const QList<std::pair<QString, QByteArray>> utf8Seeds = {
            {"catalogue", kCatalogueSeed}, {"config", kConfigSeed}, {"journal", kJournalSeed}};
        for (const auto& [name, seed] : utf8Seeds) {
            add(name, "as is", seed);
            structuralMutations(name, seed);
            // Byte flips and UTF-8 damage only where the text is UTF-8: a flipped byte inside
            // an EUC-KR character can form a pair that libxml2's strict EUC-KR and the CP949
            // the documents are actually read with decode differently, both validly.
            repeat(40, name, "byte flip", [&] { return flipByte(seed); });
            repeat(15, name, "UTF-8 sequence", [&] { return insertUtf8Sequence(seed); });
        }
        const QByteArray eucKr = EucKrSeed();
        add("euc-kr", "as is", eucKr);
        structuralMutations("euc-kr", eucKr);
        add("euc-kr", "declaration removed", eucKr.mid(BodyStart(eucKr)));
        add("euc-kr", "declared UTF-8", QByteArray(eucKr).replace("EUC-KR", "UTF-8"));
        repeat(12, "euc-kr", "invalid EUC-KR bytes", [&] { return insertInvalidEucKr(eucKr); });
        return samples_;
    }

private:
    void add(const QString& seed, const QString& mutation, const QByteArray& bytes) {
        samples_.append({seed + ": " + mutation, bytes});
    }

    void repeat(int times, const QString& seed, const QString& mutation,
                const std::function<QByteArray()>& mutate) {
        for (int i = 0; i < times; ++i)
            add(seed, mutation + " #" + QString::number(i), mutate());
    }

    // Mutations made of ASCII only, so they apply to any of the seeds.
    void structuralMutations(const QString& name, const QByteArray& seed) {
        repeat(12, name, "attribute repeated", [&] { return repeatAttribute(seed); });
        repeat(15, name, "reference", [&] { return insertReference(seed); });
        repeat(8, name, "after the root", [&] { return appendAfterRoot(seed); });
        repeat(12, name, "control character", [&] { return insertControl(seed); });
        repeat(10, name, "truncation", [&] { return truncate(seed); });
        repeat(10, name, "tags", [&] { return breakTags(seed); });
    }

    // Any byte but NUL: libxml2 takes a NUL after the root element as the end of the input,
    // where the document layer refuses it as the control character it is.
    QByteArray flipByte(const QByteArray& seed) {
        QByteArray doc = seed;
        const qsizetype start = BodyStart(doc);
        doc[start + random_.bounded(doc.size() - start)] =
            static_cast<char>(random_.bounded(1, 256));
        return doc;
    }

    // The same attribute again (with its value or another), or, as the well-formed twin, an
    // attribute of a new name.
    QByteArray repeatAttribute(const QByteArray& seed) {
        static const QRegularExpression attribute(R"(\s([A-Za-z_][\w.-]*)=("[^"]*"|'[^']*'))");
        const QString text = QString::fromLatin1(seed);
        QList<QRegularExpressionMatch> matches;
        for (QRegularExpressionMatchIterator it = attribute.globalMatch(text); it.hasNext();)
            matches.append(it.next());
        const QRegularExpressionMatch& match = Pick(matches, random_);
        const QByteArray name = match.captured(1).toLatin1();
        const QList<QByteArray> copies = {" " + name + "=\"other\"", match.captured(0).toLatin1(),
                                          "\t" + name + " = 'x'", " " + name + "2=\"new\""};
        return InsertAt(seed, match.capturedEnd(0), Pick(copies, random_));
    }

    QByteArray insertReference(const QByteArray& seed) {
        static const QList<QByteArray> references = {
            "&foo;", "&nbsp;", "&amp;",    "&apos;",   "&#x41;",     "&#65;",
            "&#0;",  "&#1;",   "&#xD800;", "&#xFFFE;", "&#x10FFFF;", "&#1114112;",
            "&lt",   "& ",     "&#x;",     "&#X41;",   "&AMP;",      "&#x1F600;"};
        return InsertAt(seed, Boundary(seed, random_), Pick(references, random_));
    }

    QByteArray appendAfterRoot(const QByteArray& seed) {
        static const QList<QByteArray> tails = {"text",
                                                "<EXTRA/>",
                                                "<!-- fine -->",
                                                "<?pi fine?>",
                                                " \r\n\t",
                                                "&amp;",
                                                "]]>",
                                                "<!DOCTYPE X>",
                                                "<?xml version=\"1.0\"?>",
                                                "<!-- a -- b -->",
                                                "<![CDATA[x]]>",
                                                "</MORVEXXML>"};
        return seed + Pick(tails, random_);
    }

    // C0 controls other than tab, line feed and carriage return are not XML characters; the
    // three and DEL are, and so are C1 controls (here U+0085 in UTF-8) where the text is UTF-8.
    QByteArray insertControl(const QByteArray& seed) {
        QList<QByteArray> controls;
        for (char c = 1; c < 0x20; ++c)
            controls.append(QByteArray(1, c));
        controls.append("\x7F");
        if (!seed.contains("EUC-KR"))
            controls.append("\xC2\x85");
        return InsertAt(seed, Boundary(seed, random_), Pick(controls, random_));
    }

    QByteArray truncate(const QByteArray& seed) {
        return seed.left(1 + random_.bounded(seed.size() - 1));
    }

    QByteArray breakTags(const QByteArray& seed) {
        static const QRegularExpression endTag(R"(</([A-Za-z_][\w.-]*)>)");
        const QString text = QString::fromLatin1(seed);
        QList<QRegularExpressionMatch> matches;
        for (QRegularExpressionMatchIterator it = endTag.globalMatch(text); it.hasNext();)
            matches.append(it.next());
        const QRegularExpressionMatch& match = Pick(matches, random_);
        QByteArray doc = seed;
        switch (random_.bounded(5)) {
        case 0: // renamed
            return doc.insert(match.capturedEnd(1), "X");
        case 1: // dropped
            return doc.remove(match.capturedStart(0), match.capturedLength(0));
        case 2: // another letter case
            return doc.replace(match.capturedStart(1), match.capturedLength(1),
                               match.captured(1).toLower().toLatin1());
        case 3: // a stray end tag
            return doc.insert(match.capturedStart(0), "</STRAY>");
        default: // white space before ">" is allowed, after "</" it is not
            return random_.bounded(2) ? doc.insert(match.capturedEnd(1), " \n")
                                      : doc.insert(match.capturedStart(1), " ");
        }
    }

    // Malformed UTF-8 (overlong, surrogate, past U+10FFFF, cut short, stray bytes), a
    // non-character, and valid multibyte characters, which may also land inside names.
    QByteArray insertUtf8Sequence(const QByteArray& seed) {
        static const QList<QByteArray> sequences = {
            "\x80",     "\xC0\xAF",     "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82",
            "\xFF",     "\xEF\xBF\xBE", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xC3\xA9",
            "\xCC\x81", "\xB7"};
        return InsertAt(seed, Boundary(seed, random_), Pick(sequences, random_));
    }

    // Byte sequences no EUC-KR reader accepts: a lead byte before a space, and 0xFF. (A lead
    // byte before a letter can be a valid CP949 character; bytes 0x81 to 0xA0 alone are C1
    // controls to a strict EUC-KR reader.)
    QByteArray insertInvalidEucKr(const QByteArray& seed) {
        static const QList<QByteArray> sequences = {"\xB0 ", "\xFF\xFF", "\xC9 "};
        const qsizetype rootStart = seed.indexOf("<MORVEXXML>");
        const qsizetype rootEnd = seed.indexOf("</MORVEXXML>");
        // Inside the root: after it, libxml2 stops reading at a cut-off character without
        // complaint, while the document layer decodes every byte it was given.
        qsizetype at = 0;
        do {
            at = Boundary(seed, random_);
        } while (at <= rootStart || at >= rootEnd);
        return InsertAt(seed, at, Pick(sequences, random_));
    }

    QRandomGenerator random_;
    QList<Sample> samples_;
};

// The files that xmllint refuses: it names each one in front of its fatal errors.
QSet<QString> RefusedByXmllint(const QString& dir, const QStringList& files, QString* errors) {
    QProcess xmllint;
    xmllint.setWorkingDirectory(dir);
    xmllint.start("xmllint", QStringList{"--noout", "--nonet"} + files);
    EXPECT_TRUE(xmllint.waitForFinished(60000));
    *errors = QString::fromUtf8(xmllint.readAllStandardError());
    static const QRegularExpression fatal(R"(^(\S+\.xml):\d+: parser error)",
                                          QRegularExpression::MultilineOption);
    QSet<QString> refused;
    for (QRegularExpressionMatchIterator it = fatal.globalMatch(*errors); it.hasNext();)
        refused.insert(it.next().captured(1));
    return refused;
}

// A single file's verdict by exit status, which also settles the few errors xmllint reports
// as "parser error" but recovers from.
bool XmllintAccepts(const QString& dir, const QString& file, QString* errors) {
    QProcess xmllint;
    xmllint.setWorkingDirectory(dir);
    xmllint.start("xmllint", {"--noout", "--nonet", file});
    EXPECT_TRUE(xmllint.waitForFinished(10000));
    *errors = QString::fromUtf8(xmllint.readAllStandardError());
    return xmllint.exitStatus() == QProcess::NormalExit && xmllint.exitCode() == 0;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString FileName(int index) {
    return QString("doc%1.xml").arg(index, 4, 10, QChar('0'));
}

class WellFormedAgreement : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("xmllint").isEmpty())
            GTEST_SKIP() << "xmllint is not installed (libxml2-utils)";
        ASSERT_TRUE(dir_.isValid());
        corpus_ = CorpusBuilder(20240611).build();
    }

    QTemporaryDir dir_;
    QList<Sample> corpus_;
};

} // namespace

TEST_F(WellFormedAgreement, DocumentLayerAndXmllintJudgeEveryMutationAlike) {
    QStringList files;
    QList<bool> ours;
    for (int i = 0; i < corpus_.size(); ++i) {
        files.append(FileName(i));
        ASSERT_TRUE(WriteFile(dir_.filePath(files.last()), corpus_[i].bytes));
        XmlDocument doc;
        ours.append(doc.parseBytes(corpus_[i].bytes) == XmlDocument::ParseStatus::Parsed);
    }
    QString batchErrors;
    const QSet<QString> refused = RefusedByXmllint(dir_.path(), files, &batchErrors);

    int accepted = 0;
    for (int i = 0; i < corpus_.size(); ++i) {
        accepted += ours[i];
        if (ours[i] != refused.contains(files[i]))
            continue;
        QString errors;
        EXPECT_EQ(ours[i], XmllintAccepts(dir_.path(), files[i], &errors))
            << corpus_[i].label.toStdString() << " (" << files[i].toStdString() << ")\n"
            << errors.left(600).toStdString();
    }
    // Both verdicts well represented, so agreement means something.
    EXPECT_GT(corpus_.size(), 300);
    EXPECT_GE(accepted, 50);
    EXPECT_GE(corpus_.size() - accepted, 200);
}

TEST_F(WellFormedAgreement, WhatALoadedCatalogueWritesOutIsWellFormed) {
    FakePrompter prompter;
    QStringList written;
    QStringList labels;
    for (int i = 0; i < corpus_.size(); ++i) {
        if (XmlDocument().parseBytes(corpus_[i].bytes) != XmlDocument::ParseStatus::Parsed)
            continue;
        const QString input = dir_.filePath("in.xml");
        ASSERT_TRUE(WriteFile(input, corpus_[i].bytes));
        ServerCatalogue catalogue;
        ASSERT_TRUE(catalogue.LoadFile(input, prompter)) << corpus_[i].label.toStdString();
        // EUC-KR output uses the system code page, CP949; only the documents whose text came
        // from the common Hangul set are certain to survive a strict EUC-KR reader.
        QStringList charsets{"UTF-8"};
        if (corpus_[i].label.startsWith("euc-kr"))
            charsets.append("EUC-KR");
        for (const QString& charset : charsets) {
            written.append(QString("out%1-%2.xml").arg(i).arg(charset));
            labels.append(corpus_[i].label + " as " + charset);
            ASSERT_TRUE(catalogue.SaveToFile(dir_.filePath(written.last()), charset));
        }
    }
    ASSERT_GE(written.size(), 50);
    QString errors;
    const QSet<QString> refused = RefusedByXmllint(dir_.path(), written, &errors);
    for (int i = 0; i < written.size(); ++i)
        EXPECT_FALSE(refused.contains(written[i])) << labels[i].toStdString() << "\n"
                                                   << errors.left(600).toStdString();
    EXPECT_TRUE(prompter.messages.isEmpty());
}
