#include "HttpFixture.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <atomic>
#include <curl/curl.h>
#include <thread>

namespace {

// A body source that hands out `data` in pieces of at most `step` bytes.
struct PieceSource {
    QByteArray data;
    qsizetype step;
    qsizetype at = 0;
    int reads = 0;

    HttpBodySource source() {
        HttpBodySource body;
        body.length = data.size();
        body.read = [this](char* buffer, qint64 capacity) -> qint64 {
            ++reads;
            const qsizetype n = std::min<qsizetype>({step, capacity, data.size() - at});
            memcpy(buffer, data.constData() + at, n);
            at += n;
            return n;
        };
        body.rewind = [this] {
            at = 0;
            return true;
        };
        return body;
    }
};

using HttpClientTest = HttpFixture;

TEST_F(HttpClientTest, GetDeliversHeadFirstThenWholeBodyOnOneConnection) {
    const QByteArray file = writeFile("data.bin", 300000);
    TestServer server({"--root", root(), "--log", logPath()});
    ASSERT_TRUE(server.isRunning());
    HttpSession session("MxVantrel2");
    for (int round = 0; round < 2; ++round) {
        Reply reply;
        const HttpResult result = session.get(server.url("/data.bin"), {}, reply.handler());
        EXPECT_TRUE(result.ok()) << result.errorText.toStdString();
        EXPECT_EQ(result.status, 200);
        EXPECT_EQ(reply.headCalls, 1);
        EXPECT_EQ(reply.headLength, file.size());
        EXPECT_FALSE(reply.bodyBeforeHead);
        EXPECT_EQ(reply.body, file);
        EXPECT_EQ(result.bodyBytes, file.size());
    }
    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0]["headers"]["User-Agent"].toString(), "MxVantrel2");
    EXPECT_EQ(log[0]["remote_port"], log[1]["remote_port"]) << "connection not kept alive";
}

TEST_F(HttpClientTest, NonOkStatusesAreReportedNotFollowed) {
    writeFile("page.htm", QByteArray("<p>broken</p>"));
    TestServer moved({"--root", root(), "--log", logPath(), "--status", "302"});
    TestServer failing({"--root", root(), "--status", "500", "--status-path", "/page*"});
    HttpSession session("MxVantrel2");

    Reply redirect;
    HttpResult result = session.get(moved.url("/page.htm"), {}, redirect.handler());
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.status, 302);
    EXPECT_EQ(ReadRequestLog(logPath()).size(), 1) << "the redirect was followed";

    Reply error;
    result = session.get(failing.url("/page.htm"), {}, error.handler());
    EXPECT_EQ(result.status, 500);
    EXPECT_EQ(error.body, "<p>broken</p>");
    Reply missing;
    result = session.get(failing.url("/none.htm"), {}, missing.handler());
    EXPECT_EQ(result.status, 404) << "--status-path must limit the override";
}

TEST_F(HttpClientTest, RangeLineGivesPartialContentUnlessIgnored) {
    const QByteArray file = writeFile("big.bin", 5000);
    TestServer honest({"--root", root()});
    TestServer careless({"--root", root(), "--ignore-range"});
    HttpSession session("MxHttpDown2");
    Reply part;
    HttpResult result = session.get(honest.url("/big.bin"), {"Range: bytes=1000-"}, part.handler());
    EXPECT_EQ(result.status, 206);
    EXPECT_EQ(part.headLength, 4000);
    EXPECT_EQ(part.body, file.mid(1000));
    Reply whole;
    result = session.get(careless.url("/big.bin"), {"Range: bytes=1000-"}, whole.handler());
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(whole.body, file);
}

TEST_F(HttpClientTest, FailuresHaveTheirKinds) {
    writeFile("big.bin", 200000);
    HttpSession session("MxVantrel2");
    QByteArray refusedUrl;
    {
        TestServer gone({"--root", root()});
        refusedUrl = gone.url("/big.bin");
    }
    Reply none;
    HttpResult result = session.get(refusedUrl, {}, none.handler());
    EXPECT_EQ(result.failure, HttpFailure::NoConnection);
    EXPECT_EQ(result.systemError, CURLE_COULDNT_CONNECT);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(none.headCalls, 0);

    TestServer cutting({"--root", root(), "--drop-after", "10000"});
    Reply cut;
    result = session.get(cutting.url("/big.bin"), {}, cut.handler());
    EXPECT_EQ(result.failure, HttpFailure::CutBody);
    EXPECT_EQ(result.systemError, CURLE_PARTIAL_FILE);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(cut.body.size(), 10000);

    TestServer server({"--root", root()});
    HttpReplyHandler refuseHead;
    bool bodySeen = false;
    refuseHead.onHead = [](int, qint64) {
        return false;
    };
    refuseHead.onBody = [&bodySeen](QByteArrayView) {
        return bodySeen = true;
    };
    result = session.get(server.url("/big.bin"), {}, refuseHead);
    EXPECT_EQ(result.failure, HttpFailure::Refused);
    EXPECT_EQ(result.status, 200);
    EXPECT_FALSE(bodySeen);

    // The session stays usable after every failure.
    Reply after;
    EXPECT_TRUE(session.get(server.url("/big.bin"), {}, after.handler()).ok());
}

TEST_F(HttpClientTest, ConnectionBrokenAroundTheHeadIsNeverAWholeReply) {
    writeFile("f.bin", 5000);
    HttpSession session("MxVantrel2");
    const auto fetchFrom = [&](const char* where, Reply& reply) {
        TestServer server({"--root", root(), "--cut", where});
        return session.get(server.url("/f.bin"), {}, reply.handler());
    };
    Reply nothing;
    HttpResult result = fetchFrom("before-head", nothing);
    EXPECT_EQ(result.failure, HttpFailure::NoConnection);
    EXPECT_EQ(result.systemError, CURLE_GOT_NOTHING);
    EXPECT_EQ(nothing.headCalls, 0);

    Reply halfHead;
    result = fetchFrom("in-head", halfHead);
    EXPECT_EQ(result.failure, HttpFailure::CutHead);
    EXPECT_EQ(result.systemError, CURLE_PARTIAL_FILE);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(halfHead.headCalls, 0);

    Reply headOnly;
    result = fetchFrom("after-head", headOnly);
    EXPECT_EQ(result.failure, HttpFailure::CutBody);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(headOnly.headCalls, 1);
    EXPECT_TRUE(headOnly.body.isEmpty());

    Reply reset;
    result = fetchFrom("reset", reset);
    EXPECT_EQ(result.failure, HttpFailure::NoConnection);
    EXPECT_EQ(reset.headCalls, 0);
}

TEST_F(HttpClientTest, UnsafeOrLocalRequestsAreNeverSent) {
    writeFile("a.txt", QByteArray("local secret"));
    TestServer server({"--root", root(), "--log", logPath()});
    HttpSession session("MxVantrel2");
    Reply reply;
    const QByteArray localFile = "file://" + root().toUtf8() + "/a.txt";
    HttpResult result = session.get(localFile, {}, reply.handler());
    EXPECT_EQ(result.failure, HttpFailure::NoConnection);
    EXPECT_EQ(result.systemError, CURLE_UNSUPPORTED_PROTOCOL);
    EXPECT_TRUE(reply.body.isEmpty());

    const QList<QByteArray> badUrls = {server.url("/a.txt\r\nX-Evil: 1"), server.url("/a.txt\nb"),
                                       server.url("/a") + '\0' + "b", server.url("/a\x7f"),
                                       QByteArray()};
    for (const QByteArray& url : badUrls)
        EXPECT_EQ(session.get(url, {}, reply.handler()).failure, HttpFailure::BadRequest);
    EXPECT_EQ(session.get(server.url("/a.txt"), {"X-A: 1\r\nX-Evil: 2"}, reply.handler()).failure,
              HttpFailure::BadRequest);
    HttpRequest post;
    post.url = server.url("/script");
    post.headers = {"Cookie: a=1\nX-Evil: 2"};
    EXPECT_EQ(session.send(post, reply.handler()).failure, HttpFailure::BadRequest);
    post.headers = {};
    post.method = "POST /x HTTP/1.1\r\n";
    EXPECT_EQ(session.send(post, reply.handler()).failure, HttpFailure::BadRequest);
    session.setPageCookie("127.0.0.1", "sid=1\r\nX-Evil: 3");
    EXPECT_EQ(session.get(server.url("/a.txt"), {}, reply.handler()).failure,
              HttpFailure::BadRequest);
    EXPECT_TRUE(ReadRequestLog(logPath()).isEmpty());
}

TEST_F(HttpClientTest, UnencodedUrlBytesArePercentEncoded) {
    EXPECT_EQ(EncodeUrlBytes("/a b/\xc3\xa9%41?x=%zz"), "/a%20b/%C3%A9%41?x=%zz");
    writeFile(QString::fromUtf8("my fil\xc3\xa9.txt"), QByteArray("spaced"));
    TestServer server({"--root", root()});
    HttpSession session("MxVantrel2");
    Reply reply;
    const HttpResult result = session.get(server.url("/my fil\xc3\xa9.txt"), {}, reply.handler());
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(reply.body, "spaced");
}

TEST_F(HttpClientTest, PostStreamsExactBodyWithKnownLengthAndOrderedHeaders) {
    TestServer server({"--root", root(), "--log", logPath()});
    HttpSession session("MxPOST");
    QByteArray sentHead;
    session.setRequestTrace([&sentHead](QByteArrayView head) { sentHead += head; });
    PieceSource body{QByteArray(), 777};
    for (int i = 0; i < 250000; ++i)
        body.data += static_cast<char>(i * 7 % 251);
    HttpRequest request;
    request.url = server.url("/up.php?upinx=0");
    request.headers = {"Accept-Language: ko", "Content-Type: application/octet-stream", "Cookie: "};
    request.body = body.source();
    Reply reply;
    const HttpResult result = session.send(request, reply.handler());
    ASSERT_TRUE(result.ok()) << result.errorText.toStdString();
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(reply.body, body.data) << "the echoed body differs from the one sent";
    EXPECT_GT(body.reads, 100) << "the body was not pulled in pieces";

    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 1);
    const QJsonObject headers = log[0]["headers"].toObject();
    EXPECT_EQ(log[0]["method"].toString(), "POST");
    EXPECT_EQ(log[0]["query"].toString(), "upinx=0");
    EXPECT_EQ(log[0]["body_length"].toInteger(), body.data.size());
    EXPECT_EQ(headers["Content-Length"].toString().toLongLong(), body.data.size());
    EXPECT_FALSE(headers.contains("Expect"));
    EXPECT_FALSE(headers.contains("Transfer-Encoding"));
    EXPECT_EQ(headers["User-Agent"].toString(), "MxPOST");
    // The server library drops empty header values, so the empty Cookie is checked as sent.
    const qsizetype language = sentHead.indexOf("\r\nAccept-Language: ko\r\n");
    const qsizetype type = sentHead.indexOf("\r\nContent-Type: application/octet-stream\r\n");
    const qsizetype cookie = sentHead.indexOf("\r\nCookie:\r\n");
    EXPECT_TRUE(sentHead.startsWith("POST /up.php?upinx=0 HTTP/1.1\r\n"));
    EXPECT_TRUE(language > 0 && type > language && cookie > type) << sentHead.toStdString();
    EXPECT_FALSE(sentHead.contains("Expect"));
}

TEST_F(HttpClientTest, ShortBodySourceFailsInsteadOfSendingLess) {
    TestServer server({"--root", root()});
    HttpSession session("MxPOST");
    PieceSource body{QByteArray(1000, 'x'), 100};
    HttpRequest request;
    request.url = server.url("/script");
    request.body = body.source();
    request.body.length = 2000;
    Reply reply;
    EXPECT_EQ(session.send(request, reply.handler()).failure, HttpFailure::Refused);
}

TEST_F(HttpClientTest, PageCookieGoesOnlyToThePageHost) {
    writeFile("a.txt", QByteArray("a"));
    TestServer server({"--root", root(), "--log", logPath()});
    HttpSession session("MxVantrel2");
    session.setPageCookie("127.0.0.1", "sid=42; lang=ko");
    Reply reply;
    session.get(server.url("/a.txt"), {}, reply.handler());
    const QByteArray otherHost = "http://localhost:" + QByteArray::number(server.port()) + "/a.txt";
    session.get(otherHost, {}, reply.handler());
    HttpRequest own;
    own.url = server.url("/script");
    own.headers = {"Cookie: own=1"};
    session.send(own, reply.handler());

    const auto log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0]["headers"]["Cookie"].toString(), "sid=42; lang=ko");
    EXPECT_FALSE(log[1]["headers"].toObject().contains("Cookie"))
        << "cookie leaked to another host";
    EXPECT_EQ(log[2]["headers"]["Cookie"].toString(), "own=1") << "cookie sent twice";
}

// Runs `request` while another thread sets the cancel flag after 200 ms; returns how long the
// request went on after the flag was set.
template <typename Request>
qint64 MillisecondsToCancel(std::atomic<bool>& cancel, Request request, HttpResult& result) {
    QElapsedTimer clock;
    std::atomic<qint64> setAt{-1};
    clock.start();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        setAt = clock.elapsed();
        cancel = true;
    });
    result = request();
    const qint64 end = clock.elapsed();
    canceller.join();
    return end - setAt;
}

TEST_F(HttpClientTest, CancelFromAnotherThreadEndsStalledTransfersPromptly) {
    writeFile("big.bin", 2000000);
    TestServer stalled({"--root", root(), "--delay-ms", "30000"});
    TestServer trickling({"--root", root(), "--rate", "1"});
    std::atomic<bool> cancel{false};
    HttpSession session("MxHttpDown2", &cancel);
    Reply reply;
    HttpResult result;
    qint64 waited = MillisecondsToCancel(
        cancel, [&] { return session.get(stalled.url("/big.bin"), {}, reply.handler()); }, result);
    EXPECT_EQ(result.failure, HttpFailure::Cancelled);
    EXPECT_EQ(result.systemError, CURLE_ABORTED_BY_CALLBACK);
    EXPECT_LT(waited, 1000);

    cancel = false;
    PieceSource body{QByteArray(100000, 'b'), 4096};
    HttpRequest request;
    request.url = trickling.url("/echo");
    request.body = body.source();
    waited = MillisecondsToCancel(
        cancel, [&] { return session.send(request, reply.handler()); }, result);
    EXPECT_EQ(result.failure, HttpFailure::Cancelled);
    EXPECT_LT(waited, 1000);
}

TEST_F(HttpClientTest, LowSpeedLimitEndsASilentServer) {
    writeFile("a.txt", QByteArray("late"));
    TestServer silent({"--root", root(), "--delay-ms", "20000"});
    HttpSession session("MxVantrel2");
    session.setTimeouts({15, 1});
    QElapsedTimer clock;
    clock.start();
    Reply reply;
    const HttpResult result = session.get(silent.url("/a.txt"), {}, reply.handler());
    EXPECT_EQ(result.systemError, CURLE_OPERATION_TIMEDOUT);
    EXPECT_FALSE(result.ok());
    EXPECT_LT(clock.elapsed(), 5000);
}

} // namespace
