#include "FormPostFixture.h"
#include "common/TextCodec.h"
#include "common/WorkingFolders.h"
#include "platform/HttpClient.h"
#include "transfer/FormPostWire.h"
#include "transfer/FormXmlFile.h"
#include "transfer/HttpStatus.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <curl/curl.h>

namespace {

// Parses a URL-encoded body file with Python's standard library, the text decoded from the
// page's character set first (the names go unencoded); prints the fields as JSON.
constexpr char kStockFormParser[] = R"(
import json, sys, urllib.parse
text = open(sys.argv[1], "rb").read().decode(sys.argv[2])
fields = urllib.parse.parse_qs(text, keep_blank_values=True, strict_parsing=True,
                               encoding=sys.argv[2], errors="strict")
print(json.dumps(fields))
)";

// Parses a multipart body file with Python's standard library. One JSON object a part: name,
// filename and body as hex of their bytes, the content type, and for the file part its XML
// declaration and its fields as the stock XML parser reads them. The parser hands header
// parameters on decoded (bytes of another charset than UTF-8 become U+FFFD), so the names are
// read from the raw head it kept.
constexpr char kStockMultipartParser[] = R"py(
import email.parser, email.policy, json, re, sys, xml.etree.ElementTree as ET
raw = open(sys.argv[1], "rb").read()
head = b"Content-Type: " + sys.argv[2].encode() + b"\r\n\r\n"
message = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(head + raw)
if message.defects or not message.is_multipart():
    sys.exit("not a clean multipart body: %r" % message.defects)
parts = []
def param(part, key):
    raw = dict(part.raw_items())["Content-Disposition"].encode("ascii", "surrogateescape")
    found = re.search(rb'; ' + key + rb'="([^"]*)"', raw)
    return found.group(1).hex() if found else ""
for part in message.iter_parts():
    name, filename = param(part, b"name"), param(part, b"filename")
    payload = part.get_payload(decode=True)
    entry = {"name": name, "filename": filename, "body": payload.hex(),
             "type": part.get_content_type()}
    if filename:
        text = payload.decode(sys.argv[3])
        declaration = re.match(r'<\?xml[^>]*\?>\r\n', text)
        root = ET.fromstring(text[declaration.end():])
        entry["declaration"] = declaration.group(0)
        entry["xml"] = [root.tag] + [[f.get("name"), f.get("value")] for f in root]
    parts.append(entry)
print(json.dumps(parts))
)py";

QString Hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex());
}

QStringList DataFiles() {
    return QDir(DataFolder()).entryList(QDir::Files);
}

} // namespace

TEST(FormPostWireTest, HeadersAddressesHostNamesAndFieldNames) {
    const QList<QByteArray> form = FormPostHeaders(false);
    ASSERT_EQ(form.size(), 3);
    EXPECT_TRUE(form[0].startsWith("Accept: image/gif, image/x-xbitmap,"));
    EXPECT_TRUE(form[0].endsWith("application/msword, */*"));
    EXPECT_EQ(form[1], "Accept-Language: ko");
    EXPECT_EQ(form[2], "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(FormPostHeaders(true)[2], "Content-Type: multipart/form-data; "
                                        "boundary=---------------------------Morvex-Upload-GOOD");
    EXPECT_EQ(FormPostUrl("example.test", 8080, "post.php?id=1", "UTF-8"),
              "http://example.test:8080/post.php?id=1");
    EXPECT_EQ(FormPostUrl("127.0.0.1", 80, "/보고.php", "EUC-KR"),
              "http://127.0.0.1:80/" + EncodeWith("보고.php", "CP949"));

    for (const char* host : {"example.test", "127.0.0.1", "my_host-1.local", "[::1]", "[fe80::1]"})
        EXPECT_TRUE(IsHostName(host)) << host;
    for (const char* host : {"", "evil.test/x", "a@b.test", "127.0.0.1:80", "a b", "a?b", "a#b",
                             "[::1", "[g::1]", "a\r\nHost: b", "a%2Fb"})
        EXPECT_FALSE(IsHostName(host)) << host;

    EXPECT_TRUE(IsSafeFieldName("이름 (1) & 'x'"));
    for (const char* name : {"a\"b", "a\rb", "a\nb"})
        EXPECT_FALSE(IsSafeFieldName(name));
}

TEST_F(FormPostFixture, UrlEncodedBodyIsAnnouncedByItsBytesInEitherCharset) {
    keepBodies();
    const QString longValue(1100, QChar(u'가'));
    int number = 0;
    for (const QString charset : {"EUC-KR", "UTF-8"}) {
        SCOPED_TRACE(charset.toStdString());
        settings_.Charset = charset.toLower();
        posting_.addFormField("a", "1", charset);
        posting_.addFormField("b", "x y", charset);
        posting_.addFormField("이름", "홍길동 & co=1", charset);
        posting_.addFormField("long", longValue, charset);
        const QString formText = posting_.formText();
        EXPECT_TRUE(formText.startsWith("a=1&b=x%20y&이름="));
        ASSERT_EQ(sendForm(), 0) << settings_.httpErrorText.toStdString();
        EXPECT_TRUE(posting_.formText().isEmpty());
        const QByteArray body = kept(++number, "body");
        EXPECT_EQ(body, ToBytes(formText, charset));
        // The unencoded Korean name makes the bytes outnumber the characters.
        EXPECT_GT(body.size(), formText.size());
        const QMap<QString, QString> head = keptHead(number);
        EXPECT_EQ(head.value("Content-Length"), QString::number(body.size()));
        EXPECT_EQ(head.value("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(head.value("User-Agent"), "MxPOSTForm");
        EXPECT_EQ(head.value("Accept-Language"), "ko");
        EXPECT_EQ(head.value("Accept-Encoding"), "gzip, deflate");
        EXPECT_EQ(posting_.response(), QString("/%1.body").arg(number));
        EXPECT_EQ(settings_.httpErrorCode, 0);
        EXPECT_EQ(settings_.httpErrorText, "POST 완료");

        bool skipped = false;
        const QJsonObject fields = RunPython(kStockFormParser,
                                             {bodies_.filePath(QString("%1.body").arg(number)),
                                              charset == "UTF-8" ? "utf-8" : "euc-kr"},
                                             &skipped)
                                       .object();
        if (skipped)
            GTEST_SKIP() << "python3 is not on PATH";
        EXPECT_EQ(fields.value("a").toArray(), QJsonArray({"1"}));
        EXPECT_EQ(fields.value("b").toArray(), QJsonArray({"x y"}));
        EXPECT_EQ(fields.value("이름").toArray(), QJsonArray({"홍길동 & co=1"}));
        EXPECT_EQ(fields.value("long").toArray(), QJsonArray({longValue}));
        EXPECT_EQ(fields.size(), 4);
    }
}

TEST_F(FormPostFixture, MultipartFieldsAndXmlFileArriveIntactInEitherCharset) {
    keepBodies();
    const QStringList names = {"title", "내용", "empty"};
    const QStringList values = {"보고서 \"1\" <끝>", "첫 줄\r\n--둘째 줄", ""};
    int number = 0;
    for (const QString charset : {"EUC-KR", "UTF-8"}) {
        SCOPED_TRACE(charset.toStdString());
        settings_.Charset = charset;
        for (qsizetype i = 0; i < names.size(); ++i)
            posting_.addXmlField(names[i], values[i]);
        ASSERT_EQ(sendXmlForm(), 0) << settings_.httpErrorText.toStdString();
        const QByteArray body = kept(++number, "body");
        const QMap<QString, QString> head = keptHead(number);
        EXPECT_EQ(head.value("Content-Length"), QString::number(body.size()));
        EXPECT_EQ(head.value("User-Agent"), "MxPOSTFormEx");
        EXPECT_EQ(head.value("Accept-Encoding"), "gzip, deflate");
        const QString contentType = head.value("Content-Type");
        EXPECT_EQ(contentType, "multipart/form-data; "
                               "boundary=---------------------------Morvex-Upload-GOOD");
        EXPECT_EQ(posting_.response(), QString("/%1.body").arg(number));
        // The generated file is gone once the post is over.
        EXPECT_EQ(DataFiles(), QStringList());

        bool skipped = false;
        const QJsonArray parts = RunPython(kStockMultipartParser,
                                           {bodies_.filePath(QString("%1.body").arg(number)),
                                            contentType, charset == "UTF-8" ? "utf-8" : "euc-kr"},
                                           &skipped)
                                     .array();
        if (skipped)
            GTEST_SKIP() << "python3 is not on PATH";
        ASSERT_EQ(parts.size(), 4);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QJsonObject part = parts[i].toObject();
            EXPECT_EQ(part["name"].toString(), Hex(ToBytes(names[i], charset)));
            EXPECT_EQ(part["filename"].toString(), "");
            EXPECT_EQ(part["body"].toString(), Hex(ToBytes(values[i], charset)));
        }
        const QJsonObject file = parts[3].toObject();
        EXPECT_EQ(file["name"].toString(), Hex("file_attach"));
        EXPECT_TRUE(QRegularExpression(R"(^_\d+_-?\d+\[\d+\]\.xml$)")
                        .match(QString::fromLatin1(
                            QByteArray::fromHex(file["filename"].toString().toLatin1())))
                        .hasMatch())
            << file["filename"].toString().toStdString();
        EXPECT_EQ(file["type"].toString(), "text/xml");
        EXPECT_EQ(file["declaration"].toString(),
                  "<?xml version=\"1.0\" encoding=\"" + charset + "\"?>\r\n");
        EXPECT_EQ(file["xml"].toArray(), QJsonArray({"POSTFORM", QJsonArray({names[0], values[0]}),
                                                     QJsonArray({names[1], values[1]}),
                                                     QJsonArray({names[2], values[2]})}));
    }
}

TEST_F(FormPostFixture, NamedXmlFileIsKeptInTheDataFolderAndReplacedWhole) {
    keepBodies();
    ASSERT_TRUE(EnsureFolder(DataFolder()));
    // A link planted under the name is replaced, and what it pointed at stays untouched.
    const QString outside = work_.filePath("outside.txt");
    write(outside, "untouched");
    ASSERT_TRUE(QFile::link(outside, DataFolder() + "/report.xml"));
    posting_.addXmlField("kind", "보고");
    ASSERT_EQ(sendXmlForm("report.xml"), 0) << settings_.httpErrorText.toStdString();
    const QByteArray stored = ReadAll(DataFolder() + "/report.xml");
    EXPECT_FALSE(QFileInfo(DataFolder() + "/report.xml").isSymLink());
    EXPECT_EQ(ReadAll(outside), "untouched");
    EXPECT_EQ(stored, ToBytes(FormXmlText({"kind"}, {"보고"}, "UTF-8"), "UTF-8"));
    EXPECT_TRUE(kept(1, "body").contains(
        "filename=\"report.xml\"\r\nContent-Type: text/xml\r\n\r\n" + stored + "\r\n"));
    EXPECT_EQ(DataFiles(), QStringList({"report.xml"}));
}

TEST_F(FormPostFixture, UnsafeNamesAndPathsAreRefusedBeforeAnythingIsSent) {
    startServer();
    posting_.addFormField("ok", "1", "UTF-8");
    posting_.addFormField("a\"b", "2", "UTF-8");
    EXPECT_EQ(sendForm(), -2103);
    EXPECT_EQ(settings_.httpErrorCode, -2103);
    EXPECT_TRUE(settings_.httpErrorText.startsWith("Form 데이타를 전송 할 수 없습니다."));
    EXPECT_TRUE(settings_.httpErrorText.contains("a%22b"));
    EXPECT_TRUE(posting_.formText().isEmpty());
    // The refusal went with the fields it refused: the next form is sent.
    posting_.addFormField("ok", "1", "UTF-8");
    EXPECT_EQ(sendForm(), 0);

    for (const QString name : {"x\ny", "x\ry", "x\"y"}) {
        posting_.addXmlField("fine", "1");
        posting_.addXmlField(name, "2");
        EXPECT_EQ(sendXmlForm(), -2103);
        EXPECT_EQ(settings_.httpErrorCode, -2103);
    }

    const QStringList outsideNames = {"../up.xml",
                                      "sub/x.xml",
                                      "/tmp/abs.xml",
                                      "..",
                                      ".",
                                      "a\\b.xml",
                                      QString::fromUtf8("a\0b", 3)};
    for (const QString& fileName : outsideNames) {
        posting_.addXmlField("f", "1");
        EXPECT_EQ(sendXmlForm(fileName), -2105) << fileName.toStdString();
        EXPECT_EQ(settings_.httpErrorCode, -2105);
        EXPECT_TRUE(
            settings_.httpErrorText.startsWith("POST 하기전 temp xml을 생성 할 수 없습니다."));
        EXPECT_TRUE(settings_.httpErrorText.contains(fileName)) << fileName.toStdString();
    }
    EXPECT_FALSE(QFile::exists(BaseFolder() + "/up.xml"));
    // A name the data folder cannot take: it holds a folder of that name.
    ASSERT_TRUE(EnsureFolder(DataFolder() + "/taken.xml"));
    posting_.addXmlField("f", "1");
    EXPECT_EQ(sendXmlForm("taken.xml"), -2105);
    EXPECT_EQ(settings_.httpErrorText, "POST 하기전 temp xml을 생성 할 수 없습니다.");
    EXPECT_EQ(DataFiles(), QStringList());
    // Only the one form that was allowed reached the server.
    EXPECT_EQ(ReadRequestLog(logPath()).size(), 1);
}

TEST_F(FormPostFixture, EveryRefusalHasItsCodeAndOnlyARunReplacesTheLastReply) {
    startServer();
    posting_.addFormField("a", "1", "UTF-8");
    ASSERT_EQ(sendForm(), 0);
    ASSERT_EQ(posting_.response(), "a=1");
    const QString host = settings_.HttpServerName;
    const quint16 port = settings_.HttpPORT;

    struct Case {
        const char* what;
        QString server;
        quint16 port;
        QString postUrl;
        qint16 code;
        QString text;
        bool ran; // refused by the worker, whose empty reply replaces the last one
    };
    const QList<Case> cases = {
        {"no server", "", port, "/p", -2100, "서버 도메인을 지정 하지 않았습니다.", false},
        {"no port", host, 0, "/p", -2101, "서버 PORT를 지정 하지 않았습니다.", false},
        {"no script", host, port, "", -2104, "POST 파일을 지정 하지 않았습니다.", false},
        {"not a host", "127.0.0.1:80", port, "/p", -101, "서버에 연결할 수 없습니다.", true},
        {"host with a path", "evil.test/x", port, "/p", -101, "서버에 연결할 수 없습니다.", true},
        {"script path with a line break", host, port, "/a\nb", -2102,
         "서버에서 '/a\nb' POST 파일을 찾을 수 없습니다.", true},
    };
    settings_.HttpServerName.clear();
    settings_.HttpPORT = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        posting_.addFormField("b", "2", "UTF-8");
        const QString lastReply = posting_.response();
        EXPECT_EQ(sendForm(c.postUrl, c.server, c.port), c.code);
        EXPECT_EQ(posting_.response(), c.ran ? QString() : lastReply);
        EXPECT_EQ(settings_.httpErrorCode, c.code);
        EXPECT_EQ(settings_.httpErrorText, c.text);
        EXPECT_TRUE(posting_.formText().isEmpty());
        posting_.addXmlField("b", "2");
        EXPECT_EQ(sendXmlForm({}, c.postUrl, c.server, c.port), c.code);
    }
    EXPECT_EQ(DataFiles(), QStringList());
    EXPECT_EQ(ReadRequestLog(logPath()).size(), 1);
}

TEST_F(FormPostFixture, TargetDefaultsToTheSettingsAndTakesItsOwnServerAndPort) {
    startServer();
    posting_.addFormField("a", "1", "UTF-8");
    EXPECT_EQ(sendForm("/a.php"), 0);
    settings_.HttpServerName = "nowhere.invalid";
    settings_.HttpPORT = 1;
    posting_.addFormField("b", "2", "UTF-8");
    EXPECT_EQ(sendForm("b.php?x=1", "127.0.0.1", static_cast<quint16>(server_->port())), 0);
    const QList<QJsonObject> log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0]["path"].toString(), "/a.php");
    EXPECT_EQ(log[1]["path"].toString(), "/b.php");
    EXPECT_EQ(log[1]["query"].toString(), "x=1");
}

TEST_F(FormPostFixture, ServerThatNeverAnswersIsTriedSixTimes) {
    startServer({"--cut", "before-head"});
    posting_.addFormField("a", "1", "UTF-8");
    EXPECT_EQ(sendForm(), -106);
    EXPECT_EQ(settings_.httpErrorCode, -106);
    EXPECT_EQ(settings_.httpErrorText, "요청을 종료 할수 없습니다.");
    EXPECT_EQ(settings_.httpSystemError, CURLE_GOT_NOTHING);
    EXPECT_EQ(ReadRequestLog(logPath()).size(), kFormPostAttempts);
    EXPECT_EQ(posting_.response(), "");
}

TEST_F(FormPostFixture, AReplyCutAfterItsHeadFailsAndIsNotSentAgain) {
    startServer({"--cut", "after-head"});
    posting_.addFormField("a", "1", "UTF-8");
    EXPECT_EQ(sendForm(), -106);
    EXPECT_EQ(settings_.httpErrorCode, -106);
    EXPECT_EQ(ReadRequestLog(logPath()).size(), 1);
    EXPECT_EQ(posting_.response(), "");
}

TEST_F(FormPostFixture, FailingScriptReplyIsSavedAsTheErrorPage) {
    write(work_.filePath("form.php"), "<p>script failed</p>");
    startServer({"--status", "500"});
    posting_.addFormField("a", "1", "UTF-8");
    EXPECT_EQ(sendForm(), -107);
    EXPECT_EQ(settings_.httpErrorCode, -107);
    EXPECT_EQ(settings_.httpSystemError, 500);
    EXPECT_EQ(settings_.httpErrorText, "서버쪽 페이지에서 문제가 발생 하였습니다.");
    EXPECT_EQ(ReadAll(ErrorPagePath()), "<p>script failed</p>");
    EXPECT_EQ(posting_.response(), "");
    posting_.addXmlField("a", "1");
    EXPECT_EQ(sendXmlForm({}, "/form.php"), -107);
    EXPECT_EQ(DataFiles(), QStringList());
}

TEST_F(FormPostFixture, UnreachableServerMissingSessionAndVanishedFileFail) {
    startServer();
    const quint16 deadPort = static_cast<quint16>(server_->port());
    ASSERT_TRUE(server_->stop());
    posting_.addFormField("a", "1", "UTF-8");
    EXPECT_EQ(sendForm("/p", "127.0.0.1", deadPort), -2103);
    EXPECT_EQ(settings_.httpErrorText, "Form 데이타를 전송 할 수 없습니다.");
    EXPECT_EQ(settings_.httpSystemError, CURLE_COULDNT_CONNECT);

    FormPostJob noSession;
    ASSERT_EQ(posting_.takeForm(noSession, settings_, {"127.0.0.1", deadPort, "/p"}), 0);
    HttpSession opened("MxPOSTForm");
    HttpSession gone(std::move(opened)); // leaves `opened` without its handles
    RunFormPost(noSession, opened);
    EXPECT_EQ(noSession.resultCode(), -100);
    EXPECT_EQ(noSession.resultMessage(), "인터넷에 연결 되지 않습니다.");
    EXPECT_TRUE(noSession.finished());

    FormPostJob vanished;
    ASSERT_EQ(posting_.takeXmlForm(vanished, settings_, {"127.0.0.1", deadPort, "/p"}, {}), 0);
    ASSERT_TRUE(QFile::remove(vanished.xmlFilePath));
    RunFormPost(vanished);
    EXPECT_EQ(posting_.finish(vanished, settings_), -2106);
    EXPECT_EQ(settings_.httpErrorText, "Content XML 파일을 열수 없습니다.");
}

TEST_F(FormPostFixture, CookieGoesOnlyToThePageHostAndOnlyWhenSet) {
    keepBodies();
    settings_.documentCookie = "sid=42; lang=ko";
    posting_.addFormField("a", "1", "UTF-8");
    ASSERT_EQ(sendForm(), 0);
    EXPECT_EQ(keptHead(1).value("Cookie"), "sid=42; lang=ko");
    posting_.addXmlField("a", "1");
    ASSERT_EQ(sendXmlForm(), 0);
    EXPECT_EQ(keptHead(2).value("Cookie"), "sid=42; lang=ko");

    // Another host than the page's gets no cookie.
    settings_.hostBaseUrl = "http://localhost:" + QString::number(server_->port());
    posting_.addFormField("a", "1", "UTF-8");
    ASSERT_EQ(sendForm(), 0);
    EXPECT_FALSE(keptHead(3).contains("Cookie"));

    settings_.hostBaseUrl = "http://127.0.0.1:" + QString::number(server_->port());
    settings_.documentCookie.clear();
    posting_.addFormField("a", "1", "UTF-8");
    ASSERT_EQ(sendForm(), 0);
    EXPECT_FALSE(keptHead(4).contains("Cookie"));
    EXPECT_FALSE(kept(4, "head").contains("sid="));
}

TEST_F(FormPostFixture, CompressedRepliesAreDecodedAndReadInThePageCharset) {
    const QString replyFile = work_.filePath("reply.txt");
    for (const QString coding : {"gzip", "deflate"}) {
        SCOPED_TRACE(coding.toStdString());
        // The echo of the form, compressed.
        startServer({"--post-encoding", coding});
        posting_.addFormField("a", "1 2", "UTF-8");
        ASSERT_EQ(sendForm(), 0) << settings_.httpErrorText.toStdString();
        EXPECT_EQ(posting_.response(), "a=1%202");

        startServer({"--post-encoding", coding, "--post-reply", replyFile});
        for (const QString charset : {"EUC-KR", "UTF-8"}) {
            write(replyFile, ToBytes(" \t접수 완료: 보고서 1\r\n", charset));
            settings_.Charset = charset;
            posting_.addFormField("a", "1", charset);
            ASSERT_EQ(sendForm(), 0);
            EXPECT_EQ(posting_.response(), "접수 완료: 보고서 1");
            posting_.addXmlField("a", "1");
            ASSERT_EQ(sendXmlForm(), 0);
            EXPECT_EQ(posting_.response(), "접수 완료: 보고서 1");
        }
    }
}

TEST_F(FormPostFixture, LongReplyKeepsItsFirstBytesWithoutAHalfCharacter) {
    const QString replyFile = work_.filePath("reply.txt");
    write(replyFile, ToBytes(QString(700, QChar(u'가')), "EUC-KR"));
    startServer({"--post-reply", replyFile});
    settings_.Charset = "euc-kr";
    FormPostJob job;
    posting_.addFormField("a", "1", "EUC-KR");
    ASSERT_EQ(posting_.takeForm(job, settings_, {{}, 0, "/p"}), 0);
    RunFormPost(job);
    EXPECT_EQ(posting_.finish(job, settings_), 0);
    // 1023 bytes hold 511 two-byte characters and half of the next.
    EXPECT_EQ(posting_.response(), QString(511, QChar(u'가')));
    EXPECT_EQ(job.bytesDone, job.bytesTotal);
    EXPECT_EQ(job.bytesTotal, 3);
}
