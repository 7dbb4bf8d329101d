#include "UploadFixture.h"
#include "common/TextCodec.h"
#include "transfer/HttpStatus.h"
#include "transfer/UploadSource.h"
#include "transfer/UploadWire.h"

#include <QDate>
#include <QJsonArray>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <thread>

namespace {

const QByteArray kDelimiter = "-----------------------------Morvex-Upload-GOOD";

// The whole body an UploadSource hands to the HTTP layer.
QByteArray Drain(UploadSource& source) {
    HttpBodySource body = source.body();
    QByteArray all;
    char buffer[7];
    while (all.size() < body.length) {
        const qint64 got = body.read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        all.append(buffer, got);
    }
    return all;
}

QByteArray ExpectedBody(const QByteArray& folder, const QByteArray& path, const QByteArray& type,
                        const QByteArray& content) {
    return kDelimiter + "\r\nContent-Disposition: form-data; name=\"path\"\r\n\r\n" + folder +
           "\r\n" + kDelimiter + "\r\nContent-Disposition: form-data; name=\"localpath\"\r\n\r\n" +
           path + "\r\n" + kDelimiter +
           "\r\nContent-Disposition: form-data; name=\"file_attach\"; filename=\"" + path +
           "\"\r\nContent-Type: " + type + "\r\n\r\n" + content + "\r\n" + kDelimiter + "--\r\n";
}

QByteArray SourceBytes(const UploadRow& row, const QString& charset) {
    UploadSource source(
        BuildUploadPieces(row, charset), row.localPath, static_cast<qint64>(row.size),
        [](qint64) {}, [] {});
    EXPECT_TRUE(source.open());
    return Drain(source);
}

TEST(UploadWireTest, ContentTypesObjectNamesAndHeaders) {
    EXPECT_EQ(MimeTypeForName("photo.JPG"), "image/pjpeg");
    EXPECT_EQ(MimeTypeForName("a.tar.zip"), "application/x-zip-compressed");
    EXPECT_EQ(MimeTypeForName("README"), "application/octet-stream");
    EXPECT_EQ(MimeTypeForName("movie.mkv"), "application/octet-stream");
    EXPECT_EQ(MimeTypeForName("song.Mp3"), "audio/mpeg");
    EXPECT_EQ(UploadObjectName("/up.php", 0), "/up.php?upinx=0");
    EXPECT_EQ(UploadObjectName("/up.php?id=7", 12), "/up.php?id=7&upinx=12");
    const QList<QByteArray> headers = UploadHeaders();
    ASSERT_EQ(headers.size(), 3);
    EXPECT_EQ(headers[1], "Accept-Language: ko");
    EXPECT_EQ(headers[2], "Content-Type: multipart/form-data; "
                          "boundary=---------------------------Morvex-Upload-GOOD");
    EXPECT_EQ(EscapeHeadText("C:/a \"b\"\r\nc"), "C:/a %22b%22%0D%0Ac");
    EXPECT_EQ(EscapeHeadText("/home/kim/보고서 (1).txt"), "/home/kim/보고서 (1).txt");
}

TEST_F(UploadFixture, WireFormatIsByteExactInUtf8AndCodePage) {
    const QByteArray content = "hello\r\n--not a boundary\0end";
    const QString path = writeLocal("보고서.txt", content);
    queue({path}, {"보고서.txt"});
    const UploadRow row = CollectUploadRows(catalogue_).value(0);
    EXPECT_EQ(row.serverFolder, "disk/docs/");
    EXPECT_EQ(SourceBytes(row, "UTF-8"),
              ExpectedBody("disk/docs/", path.toUtf8(), "text/plain", content));
    bool known = false;
    const QByteArray cp949 = EncodeWith(path, "CP949", &known);
    ASSERT_TRUE(known);
    EXPECT_EQ(SourceBytes(row, "EUC-KR"), ExpectedBody("disk/docs/", cp949, "text/plain", content));

    startServer();
    UploadJob job;
    prepare(job);
    run(job);
    EXPECT_EQ(job.resultCode(), 0);
    EXPECT_EQ(job.resultMessage(), "정상 종료 하였습니다.");
    const QList<QJsonObject> log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 1);
    const QJsonObject headers = log[0]["headers"].toObject();
    EXPECT_EQ(log[0]["method"].toString(), "POST");
    EXPECT_EQ(log[0]["path"].toString(), "/upload.php");
    EXPECT_EQ(log[0]["query"].toString(), "upinx=0");
    EXPECT_EQ(headers["User-Agent"].toString(), "MxPOST");
    EXPECT_EQ(headers["Accept"].toString(),
              "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
              "application/x-shockwave-flash, application/vnd.ms-powerpoint, "
              "application/vnd.ms-excel, application/msword, */*");
    EXPECT_EQ(headers["Accept-Language"].toString(), "ko");
    EXPECT_EQ(headers["Cookie"].toString(), "sid=42");
    EXPECT_EQ(headers["Content-Length"].toString().toLongLong(), SourceBytes(row, "UTF-8").size());
    const QJsonArray parts = log[0]["parts"].toArray();
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0].toObject()["name"].toString(), "path");
    EXPECT_EQ(parts[1].toObject()["name"].toString(), "localpath");
    EXPECT_EQ(parts[2].toObject()["name"].toString(), "file_attach");
    EXPECT_EQ(parts[2].toObject()["filename"].toString(), path);
    EXPECT_EQ(ReadAll(uploadsPath() + "/disk/docs/보고서.txt"), content);
}

TEST_F(UploadFixture, PageCookieGoesOnlyToThePageHost) {
    queue({writeLocal("1.txt", "one")}, {"1.txt"});
    startServer();
    // The same loopback server under a name that is not the page's host.
    UploadJob elsewhere;
    prepare(elsewhere);
    elsewhere.server = "localhost";
    RunUpload(elsewhere);
    UploadJob own;
    prepare(own);
    RunUpload(own);

    const QList<QJsonObject> log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(elsewhere.resultCode(), 0) << elsewhere.resultMessage().toStdString();
    EXPECT_FALSE(log[0]["headers"].toObject().contains("Cookie"))
        << "the page's cookie went to another host";
    EXPECT_EQ(log[1]["headers"]["Cookie"].toString(), "sid=42");
}

TEST_F(UploadFixture, SuccessJournalsEveryFileAndTurnsEntriesIntoServerFiles) {
    const QString a = writeLocal("a.txt", "aaa");
    const QString empty = writeLocal("empty.bin", "");
    queue({a, empty}, {"a.txt", "empty.bin"});
    startServer();
    UploadJob job;
    prepare(job, "/cgi/up.php?user=kim");
    run(job);
    ASSERT_EQ(job.resultCode(), 0);
    const QList<QJsonObject> log = ReadRequestLog(logPath());
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0]["query"].toString(), "user=kim&upinx=0");
    EXPECT_EQ(log[1]["query"].toString(), "user=kim&upinx=1");
    EXPECT_EQ(log[1]["body_length"].toInteger(),
              BuildUploadPieces(job.rows()[1], "UTF-8").contentLength(0));
    EXPECT_EQ(ReadAll(uploadsPath() + "/disk/docs/empty.bin"), "");

    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    ASSERT_EQ(journal_.GetCurrentUploadFileCnt(), 2);
    EXPECT_EQ(journal_.GetCurrentUploadFileData("path", 0), "/disk/docs/a.txt");
    EXPECT_EQ(journal_.GetCurrentUploadFileData("name", 1), "empty.bin");
    EXPECT_EQ(journal_.GetCurrentUploadFileData("size", 0), "3");
    EXPECT_EQ(journal_.GetCurrentUploadFileData("modifydate", 0), today);
    EXPECT_EQ(journal_.GetCurrentUploadFileData("spath", 0), "disk/docs/");
    EXPECT_EQ(transtypes(), QStringList({"server", "server", "server"}));
    const XmlNode uploaded = catalogue_.FindFile("disk/docs/a.txt");
    EXPECT_EQ(uploaded.attribute("path"), "/disk/docs/a.txt");
    EXPECT_EQ(uploaded.attribute("modifydate"), today);
    EXPECT_TRUE(CollectUploadRows(catalogue_).isEmpty());
}

TEST_F(UploadFixture, FailingStatusMidBatchKeepsEarlierFilesAndTheCatalogue) {
    const QStringList paths{writeLocal("1.txt", "one"), writeLocal("2.txt", "two"),
                            writeLocal("3.txt", "three")};
    queue(paths, {"1.txt", "2.txt", "3.txt"});
    for (const char* status : {"500", "404"}) {
        SCOPED_TRACE(status);
        startServer({"--status", status, "--status-path", "*upinx=1"});
        ASSERT_TRUE(journal_.Create(prompter_));
        UploadJob job;
        prepare(job);
        run(job);
        EXPECT_EQ(job.resultCode(), -107);
        EXPECT_EQ(job.resultMessage(), "서버쪽 페이지에서 문제가 발생 하였습니다.");
        EXPECT_EQ(job.systemError(), QByteArray(status).toInt());
        EXPECT_EQ(job.filesDone, 1);
        ASSERT_EQ(journal_.GetCurrentUploadFileCnt(), 1);
        EXPECT_EQ(journal_.GetCurrentUploadFileData("name", 0), "1.txt");
        EXPECT_EQ(transtypes(), QStringList({"server", "local", "local", "local"}));
        EXPECT_EQ(ReadAll(ErrorPagePath()),
                  "<html><body>status " + QByteArray(status) + "</body></html>");
        EXPECT_FALSE(QFile::exists(uploadsPath() + "/disk/docs/3.txt"));
        QFile::remove(uploadsPath() + "/disk/docs/1.txt");
    }
}

TEST_F(UploadFixture, PageErrorReplyEndsTheUploadWithItsText) {
    queue({writeLocal("1.txt", "one"), writeLocal("2.txt", "two")}, {"1.txt", "2.txt"});
    startServer({"--upload-error", "디스크 부족"});
    UploadJob job;
    prepare(job);
    run(job);
    EXPECT_EQ(job.resultCode(), -109);
    EXPECT_EQ(job.resultMessage(), "디스크 부족");
    EXPECT_EQ(ReadRequestLog(logPath()).size(), 1);
    EXPECT_EQ(journal_.GetCurrentUploadFileCnt(), 0);
    EXPECT_EQ(transtypes(), QStringList({"server", "local", "local"}));
}

TEST_F(UploadFixture, CancelMidFileEndsWithoutCatalogueChange) {
    const QString big = local_.filePath("big.bin");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(64 * 1024 * 1024));
    }
    queue({writeLocal("first.txt", "first"), big}, {"first.txt", "big.bin"});
    startServer({"--delay-ms", "1500"});
    UploadJob job;
    prepare(job);
    std::thread worker([&] { RunUpload(job); });
    while (!(job.currentRow == 1 && job.bytesThisFile > 0) && !job.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto cancelledAt = std::chrono::steady_clock::now();
    job.cancel();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, std::chrono::seconds(2));
    FinishUpload(job, catalogue_, journal_, prompter_);
    EXPECT_EQ(job.resultCode(), -99);
    EXPECT_EQ(job.resultMessage(), "사용자가 전송을 취소 하였습니다.");
    EXPECT_EQ(journal_.GetCurrentUploadFileCnt(), 1);
    EXPECT_EQ(transtypes(), QStringList({"server", "local", "local"}));
}

// UpRateLimitKBps: the files' bytes together go no faster than the cap, and a cancel is not
// held up by it.
TEST_F(UploadFixture, ARateLimitHoldsTheFilesToItAndYieldsToCancel) {
    const QByteArray content(160 * 1024, 'r');
    queue({writeLocal("one.bin", content), writeLocal("two.bin", content)}, {"one.bin", "two.bin"});
    startServer();
    UploadJob job;
    prepare(job);
    job.rateLimit = 256 * 1024; // 1.25 s for both
    const auto started = std::chrono::steady_clock::now();
    run(job);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(job.resultCode(), 0);
    EXPECT_GE(took, std::chrono::milliseconds(1050));
    EXPECT_LT(took, std::chrono::milliseconds(3500));
    EXPECT_EQ(ReadAll(uploadsPath() + "/disk/docs/two.bin"), content);

    queue({writeLocal("slow.bin", QByteArray(4 * 1024 * 1024, 's'))}, {"slow.bin"});
    UploadJob slow;
    prepare(slow);
    slow.rateLimit = 64 * 1024;
    std::thread worker([&] { RunUpload(slow); });
    while (slow.bytesThisFile == 0 && !slow.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto cancelledAt = std::chrono::steady_clock::now();
    slow.cancel();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, std::chrono::milliseconds(500));
    EXPECT_EQ(slow.resultCode(), UploadCode::Cancelled);
}

TEST_F(UploadFixture, HostileNamesStayInsideTheHeadAndTheUploadFolder) {
    const QString hostile = writeLocal("a\"b\r\nContent-Type: evil.txt", "payload");
    queue({hostile}, {"a\"b\r\nContent-Type: evil.txt"});
    const UploadRow queued = CollectUploadRows(catalogue_).value(0);
    UploadRow row = queued;
    row.serverFolder = "../../escape/";
    const QByteArray head = BuildUploadPieces(row, "UTF-8").fileHead;
    EXPECT_TRUE(head.contains("filename=\"" + EscapeHeadText(hostile).toUtf8() + "\"\r\n"));
    EXPECT_EQ(head.count("\r\n"), 4);

    startServer();
    UploadJob job;
    prepare(job);
    run(job);
    ASSERT_EQ(job.resultCode(), 0);
    const QJsonArray parts = ReadRequestLog(logPath()).value(0)["parts"].toArray();
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[2].toObject()["filename"].toString(), EscapeHeadText(hostile));
    EXPECT_EQ(
        ReadAll(uploadsPath() + "/disk/docs/" + EscapeHeadText("a\"b\r\nContent-Type: evil.txt")),
        "payload");
}

// Parses a multipart body file with Python's standard library; one line per part: name,
// filename and body, each in hex, so any byte survives the trip.
constexpr char kStockMultipartParser[] = R"(
import email.parser, email.policy, sys
raw = open(sys.argv[1], "rb").read()
head = b"Content-Type: " + sys.argv[2].encode() + b"\r\n\r\n"
message = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(head + raw)
if message.defects or not message.is_multipart():
    sys.exit("not a clean multipart body: %r" % message.defects)
for part in message.iter_parts():
    fields = [part.get_param(key, "", header="content-disposition") for key in ("name", "filename")]
    hexed = [field.encode("utf-8", "surrogateescape").hex() for field in fields]
    print(*hexed, part.get_payload(decode=True).hex() or "-")
)";

TEST_F(UploadFixture, FieldBodiesGoAsWrittenWhileTheFileNameIsEscaped) {
    const QString name = "say \"hi\"\r\n100%.txt";
    const QString path = writeLocal(name, "quoted content");
    queue({path}, {name});

    // The bytes as they arrived, kept unparsed, for a parser of another make.
    QTemporaryDir bodies;
    startServer({"--keep-body", bodies.path()});
    UploadJob kept;
    prepare(kept);
    RunUpload(kept);
    ASSERT_EQ(kept.resultCode(), 0) << kept.resultMessage().toStdString();
    const QString contentType =
        ReadRequestLog(logPath()).value(0)["headers"].toObject()["Content-Type"].toString();

    // The test server's own parsing.
    startServer();
    UploadJob job;
    prepare(job);
    run(job);
    ASSERT_EQ(job.resultCode(), 0) << job.resultMessage().toStdString();
    const QJsonArray parts = ReadRequestLog(logPath()).value(1)["parts"].toArray();
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0]["value"].toString(), "disk/docs/");
    EXPECT_EQ(parts[1]["value"].toString(), path);
    EXPECT_EQ(parts[2]["filename"].toString(), EscapeHeadText(path));
    EXPECT_FALSE(parts[2]["filename"].toString().contains('"'));

    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not on PATH";
    QProcess parser;
    parser.start(python, {"-c", kStockMultipartParser, bodies.filePath("1.body"), contentType});
    ASSERT_TRUE(parser.waitForFinished(30000));
    ASSERT_EQ(parser.exitCode(), 0) << parser.readAllStandardError().toStdString();
    QList<QByteArrayList> seen;
    for (const QByteArray& line : parser.readAllStandardOutput().trimmed().split('\n')) {
        QByteArrayList fields;
        for (const QByteArray& hex : line.split(' '))
            fields.append(hex == "-" ? QByteArray() : QByteArray::fromHex(hex));
        seen.append(fields);
    }
    const QList<QByteArrayList> expected = {
        {"path", "", "disk/docs/"},
        {"localpath", "", path.toUtf8()},
        {"file_attach", EscapeHeadText(path).toUtf8(), "quoted content"},
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(UploadFixture, ResetOnAKeptConnectionIsSentAsOftenAsTheEngineTriesAndNoMore) {
    queue({writeLocal("1.txt", "one"), writeLocal("2.txt", "two")}, {"1.txt", "2.txt"});
    // The first file leaves the connection open; the second is reset each time it arrives.
    startServer({"--cut", "reset", "--cut-path", "*upinx=1"});
    UploadJob job;
    prepare(job);
    run(job);
    EXPECT_EQ(job.resultCode(), -106);
    EXPECT_EQ(job.resultMessage(), "요청을 종료 할수 없습니다.");
    QMap<QString, int> requests;
    for (const QJsonObject& entry : ReadRequestLog(logPath()))
        ++requests[entry["query"].toString()];
    EXPECT_EQ(requests.value("upinx=0"), 1);
    EXPECT_EQ(requests.value("upinx=1"), kUploadAttempts);
    EXPECT_EQ(journal_.GetCurrentUploadFileCnt(), 1);
    EXPECT_EQ(transtypes(), QStringList({"server", "local", "local"}));
}

TEST_F(UploadFixture, AReplyCutAfterItsHeadFailsAndIsNotSentAgain) {
    queue({writeLocal("1.txt", "one")}, {"1.txt"});
    startServer({"--cut", "after-head", "--cut-path", "*upinx=0"});
    UploadJob job;
    prepare(job);
    run(job);
    EXPECT_EQ(job.resultCode(), -106);
    EXPECT_EQ(ReadRequestLog(logPath()).size(), 1);
    EXPECT_EQ(journal_.GetCurrentUploadFileCnt(), 0);
    EXPECT_EQ(transtypes(), QStringList({"server", "local"}));
}

TEST_F(UploadFixture, FileThatChangedSizeSinceQueuedIsNotSent) {
    const QString path = writeLocal("grown.txt", "short");
    queue({path}, {"grown.txt"});
    writeLocal("grown.txt", "much longer now");
    startServer();
    UploadJob job;
    prepare(job);
    run(job);
    EXPECT_EQ(job.resultCode(), -104);
    EXPECT_EQ(job.resultMessage(), "업로드 할 'grown.txt' 파일을 열수 없습니다.");
    EXPECT_TRUE(ReadRequestLog(logPath()).isEmpty());
    EXPECT_EQ(transtypes(), QStringList({"server", "local"}));
}

TEST_F(UploadFixture, DeadServerAndBadTotalFailWithTheirCodes) {
    queue({writeLocal("1.txt", "one")}, {"1.txt"});
    startServer();
    UploadJob dead;
    prepare(dead);
    server_->stop();
    run(dead);
    EXPECT_EQ(dead.resultCode(), -105);
    EXPECT_EQ(dead.resultMessage(), "파일을 전송 할 수 없습니다.");

    UploadJob negative;
    negative.server = "127.0.0.1";
    negative.addRow(UploadRow{"x", "/nonexistent", -5.0, {}, {}, {}, {}});
    run(negative);
    EXPECT_EQ(negative.resultCode(), -103);
}

} // namespace
