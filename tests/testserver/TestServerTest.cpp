#include "TestServer.h"

#include "platform/HttpClient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {

class TestServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid() && m_outside.isValid());
        qunsetenv("http_proxy");
        qunsetenv("HTTP_PROXY");
        write(m_root.path() + "/inside.txt", "inside");
        write(m_outside.path() + "/secret.txt", "secret");
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString root() const { return m_root.path(); }
    QString logPath() const { return m_outside.path() + "/log.jsonl"; }

    // GET `path`; returns the status and fills `body`.
    int get(const TestServer& server, const QByteArray& path, QByteArray* body = nullptr) {
        HttpSession session("tests");
        const HttpResult result =
            session.get(server.url(path), {}, CollectReply(body ? body : &m_sink, 1 << 24));
        return result.status;
    }

    QTemporaryDir m_root, m_outside;
    QByteArray m_sink;
};

// A reply as the stock curl client reads it: status, head fields by lower-cased name, body.
struct CurlReply {
    int status = 0;
    QMap<QByteArray, QByteArray> fields;
    QByteArray body;
};

CurlReply CurlGet(const QByteArray& url, const QStringList& extra) {
    QTemporaryDir scratch;
    const QString bodyFile = scratch.filePath("body");
    QProcess curl;
    curl.start("curl", QStringList{"-s", "-D", "-", "-o", bodyFile} + extra + QStringList{url});
    curl.waitForFinished(10000);
    CurlReply reply;
    for (const QByteArray& line : curl.readAllStandardOutput().split('\n')) {
        if (line.startsWith("HTTP/"))
            reply.status = line.split(' ').value(1).toInt();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            reply.fields[line.left(colon).toLower()] = line.mid(colon + 1).trimmed();
    }
    QFile body(bodyFile);
    if (body.open(QIODevice::ReadOnly))
        reply.body = body.readAll();
    return reply;
}

int RunServerExpectingExit(const QStringList& args, QByteArray* output) {
    QProcess process;
    process.start(QStringLiteral(VANTREL_TESTSERVER_PATH), args);
    process.waitForFinished(5000);
    *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitCode();
}

TEST_F(TestServerTest, HelpDocumentsEveryFlagAndBadFlagsExitWith2) {
    QByteArray output;
    EXPECT_EQ(RunServerExpectingExit({"--help"}, &output), 0);
    for (const char* flag :
         {"--root", "--port", "--log", "--status", "--status-path", "--drop-after",
          "--ignore-range", "--rate", "--delay-ms", "--cut", "--cut-path", "--cut-skip",
          "--keep-body", "--post-reply", "--post-encoding"})
        EXPECT_TRUE(output.contains(flag)) << flag;
    EXPECT_EQ(RunServerExpectingExit({"--root", root(), "--bogus"}, &output), 2);
    EXPECT_EQ(RunServerExpectingExit({"--root", root(), "--cut", "sideways"}, &output), 2);
    EXPECT_EQ(RunServerExpectingExit({"--root", root(), "--keep-body", root() + "/none"}, &output),
              2);
    EXPECT_EQ(RunServerExpectingExit({"--root", root(), "--rate", "fast"}, &output), 2);
    EXPECT_EQ(RunServerExpectingExit({"--root", root(), "--post-encoding", "br"}, &output), 2);
    EXPECT_EQ(RunServerExpectingExit({"--root", root(), "--port"}, &output), 2);
    EXPECT_EQ(RunServerExpectingExit({"--port", "0"}, &output), 2);
    EXPECT_EQ(RunServerExpectingExit({"--root", root() + "/nothing"}, &output), 2);
}

TEST_F(TestServerTest, PostRepliesComeCompressedAsAskedAndKeptBodiesKeepTheirHead) {
    write(m_outside.path() + "/reply.txt", "stored reply");
    QTemporaryDir kept;
    for (const QByteArray coding : {"gzip", "deflate"}) {
        TestServer server({"--root", root(), "--keep-body", kept.path(), "--post-reply",
                           m_outside.path() + "/reply.txt", "--post-encoding", coding});
        const CurlReply raw = CurlGet(server.url("/form?x=1"), {"--data-binary", "a=%41"});
        EXPECT_EQ(raw.status, 200);
        EXPECT_EQ(raw.fields.value("content-encoding"), coding);
        EXPECT_TRUE(raw.body.startsWith(coding == "gzip" ? "\x1f\x8b" : "\x78")) << coding.data();
        const CurlReply decoded =
            CurlGet(server.url("/form"), {"--compressed", "--data-binary", "b=2"});
        EXPECT_EQ(decoded.body, "stored reply");
    }
    QFile head(kept.filePath("1.head"));
    ASSERT_TRUE(head.open(QIODevice::ReadOnly));
    const QByteArray text = head.readAll();
    EXPECT_TRUE(text.startsWith("POST /form?x=1 HTTP/1.1\r\n")) << text.data();
    EXPECT_TRUE(text.contains("\r\nContent-Length: 5\r\n")) << text.data();
    QFile body(kept.filePath("1.body"));
    ASSERT_TRUE(body.open(QIODevice::ReadOnly));
    EXPECT_EQ(body.readAll(), "a=%41");
}

TEST_F(TestServerTest, NeverServesOutsideItsRoot) {
    ASSERT_TRUE(QFile::link(m_outside.path() + "/secret.txt", root() + "/escape.txt"));
    ASSERT_TRUE(QFile::link(root() + "/inside.txt", root() + "/alias.txt"));
    ASSERT_TRUE(QFile::link(m_outside.path(), root() + "/outdir"));
    TestServer server({"--root", root()});
    QByteArray body;
    EXPECT_EQ(get(server, "/inside.txt", &body), 200);
    EXPECT_EQ(body, "inside");
    EXPECT_EQ(get(server, "/alias.txt"), 200);
    const QByteArray up = "/..%2F" + QDir(root()).relativeFilePath(m_outside.path()).toUtf8();
    for (const QByteArray& path : {QByteArray("/escape.txt"), QByteArray("/outdir/secret.txt"),
                                   up + "/secret.txt", QByteArray("/%2E%2E/%2E%2E/etc/passwd")}) {
        body.clear();
        EXPECT_EQ(get(server, path, &body), 403) << path.toStdString();
        EXPECT_FALSE(body.contains("secret"));
    }
    EXPECT_EQ(get(server, "/nothing.txt"), 404);
    EXPECT_EQ(get(server, "/"), 404);
}

TEST_F(TestServerTest, RateAndDelayAreObservable) {
    write(root() + "/forty.bin", QByteArray(40 * 1024, 'r'));
    TestServer slow({"--root", root(), "--rate", "40"});
    TestServer late({"--root", root(), "--delay-ms", "600"});
    TestServer plain({"--root", root()});
    QElapsedTimer clock;
    clock.start();
    QByteArray body;
    EXPECT_EQ(get(slow, "/forty.bin", &body), 200);
    EXPECT_EQ(body.size(), 40 * 1024);
    EXPECT_GE(clock.restart(), 800);
    EXPECT_EQ(get(late, "/inside.txt"), 200);
    EXPECT_GE(clock.restart(), 600);
    EXPECT_EQ(get(plain, "/forty.bin"), 200);
    EXPECT_LT(clock.elapsed(), 500);
}

TEST_F(TestServerTest, StatusOverrideFollowsItsGlob) {
    write(root() + "/err.htm", "<b>page</b>");
    TestServer server({"--root", root(), "--status", "503", "--status-path", "/err*"});
    QByteArray body;
    EXPECT_EQ(get(server, "/err.htm", &body), 503);
    EXPECT_EQ(body, "<b>page</b>");
    EXPECT_EQ(get(server, "/err-missing", &body), 503);
    EXPECT_EQ(get(server, "/inside.txt", &body), 200);
}

TEST_F(TestServerTest, LogRecordsEveryRequestWithMultipartParts) {
    TestServer server({"--root", root(), "--log", logPath()});
    EXPECT_EQ(get(server, "/inside.txt?a=1&b=%41"), 200);
    const QByteArray multipart =
        "--XyZ\r\nContent-Disposition: form-data; name=\"path\"\r\n\r\n/docs\r\n"
        "--XyZ\r\nContent-Disposition: form-data; name=\"file_attach\"; "
        "filename=\"C:/up/a.txt\"\r\nContent-Type: application/octet-stream\r\n\r\nDATA\r\n"
        "--XyZ--\r\n";
    HttpSession session("MxPOST");
    HttpRequest request;
    request.url = server.url("/up.php?upinx=3");
    request.headers = {"Content-Type: multipart/form-data; boundary=XyZ"};
    request.body.length = multipart.size();
    bool given = false;
    request.body.read = [&](char* buffer, qint64) -> qint64 {
        if (given)
            return 0;
        given = true;
        memcpy(buffer, multipart.constData(), multipart.size());
        return multipart.size();
    };
    QByteArray reply;
    EXPECT_EQ(session.send(request, CollectReply(&reply, 100)).status, 200);

    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0]["method"].toString(), "GET");
    EXPECT_EQ(log[0]["path"].toString(), "/inside.txt");
    EXPECT_EQ(log[0]["query"].toString(), "a=1&b=%41");
    EXPECT_EQ(log[0]["headers"]["User-Agent"].toString(), "tests");
    EXPECT_EQ(log[1]["method"].toString(), "POST");
    EXPECT_EQ(log[1]["query"].toString(), "upinx=3");
    EXPECT_EQ(log[1]["body_length"].toInteger(), multipart.size());
    const QJsonArray parts = log[1]["parts"].toArray();
    ASSERT_EQ(parts.size(), 2);
    QStringList seen;
    for (const QJsonValue& part : parts)
        seen += part["name"].toString() + "=" + part["filename"].toString();
    seen.sort();
    EXPECT_EQ(seen, QStringList({"file_attach=C:/up/a.txt", "path="}));
}

TEST_F(TestServerTest, StopsOnSignalEvenWhileDelaying) {
    TestServer server({"--root", root(), "--delay-ms", "60000"});
    ASSERT_TRUE(server.isRunning());
    HttpResult pending;
    std::thread client([&] {
        HttpSession session("tests");
        QByteArray body;
        pending = session.get(server.url("/inside.txt"), {}, CollectReply(&body, 100));
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(server.stop(3000));
    EXPECT_LT(clock.elapsed(), 3000);
    client.join();
}

} // namespace

// A resuming client sends back the file's validator; the server serves the range only while
// the file is still that version, and the whole new file once it has changed.
TEST_F(TestServerTest, IfRangeServesTheRangeOnlyOfTheSameVersion) {
    QByteArray first(1000, 'a');
    write(root() + "/v.bin", first);
    TestServer server({"--root", root()});
    const QByteArray url = server.url("/v.bin");
    const CurlReply whole = CurlGet(url, {});
    ASSERT_EQ(whole.status, 200);
    const QByteArray tag = whole.fields.value("etag");
    const QByteArray modified = whole.fields.value("last-modified");
    ASSERT_TRUE(tag.startsWith('"') && tag.endsWith('"')) << tag.constData();
    ASSERT_TRUE(modified.endsWith(" GMT")) << modified.constData();

    const CurlReply byTag = CurlGet(url, {"-r", "100-", "-H", "If-Range: " + tag});
    EXPECT_EQ(byTag.status, 206);
    EXPECT_EQ(byTag.body, first.mid(100));
    EXPECT_EQ(CurlGet(url, {"-r", "100-", "-H", "If-Range: " + modified}).status, 206);
    const CurlReply other = CurlGet(url, {"-r", "100-", "-H", "If-Range: \"other\""});
    EXPECT_EQ(other.status, 200);
    EXPECT_EQ(other.body, first);

    const QByteArray second(1500, 'b');
    write(root() + "/v.bin", second);
    const CurlReply changed = CurlGet(url, {"-r", "100-", "-H", "If-Range: " + tag});
    EXPECT_EQ(changed.status, 200);
    EXPECT_EQ(changed.body, second);
    EXPECT_NE(changed.fields.value("etag"), tag);
}

// Browsers get pages and scripts by type; the control's documents and files stay plain bytes.
TEST_F(TestServerTest, PagesAndScriptsGoOutByType) {
    write(root() + "/page.html", "<p>page</p>");
    write(root() + "/client.js", "1;");
    write(root() + "/catalogue.xml", "<MORVEXXML/>");
    TestServer server({"--root", root()});
    ASSERT_TRUE(server.isRunning());
    EXPECT_EQ(CurlGet(server.url("/page.html"), {}).fields.value("content-type"),
              "text/html; charset=utf-8");
    EXPECT_EQ(CurlGet(server.url("/client.js"), {}).fields.value("content-type"),
              "text/javascript; charset=utf-8");
    EXPECT_EQ(CurlGet(server.url("/catalogue.xml"), {}).fields.value("content-type"),
              "application/octet-stream");
}
