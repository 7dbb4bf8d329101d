#include "transfer/HttpStatus.h"

#include "IsolatedHome.h"
#include "TestServer.h"
#include "common/Prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class HttpStatusTest : public ::testing::Test {
protected:
    void SetUp() override {
        qunsetenv("http_proxy");
        qunsetenv("HTTP_PROXY");
    }
    void serve(const QString& name, const QByteArray& bytes) {
        QFile file(m_root.path() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString root() const { return m_root.path(); }

    IsolatedHome m_home;
    QTemporaryDir m_root;
};

// Records what it was asked to show and whether the file was there at that moment.
struct ShowingPrompter : Prompter {
    QString title, shown;
    QByteArray contentWhenShown;
    int shows = 0;
    void message(const QString&, const QString&) override {}
    int ask(const QString&, const QString&, const QStringList&, int answer) override {
        return answer;
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString& t, const QString& file) override {
        ++shows;
        title = t;
        shown = file;
        QFile page(file);
        contentWhenShown = page.open(QIODevice::ReadOnly) ? page.readAll() : "<none>";
    }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST_F(HttpStatusTest, ErrorPageKeepsFirst9999BytesOfAReplyInManyPieces) {
    QByteArray big;
    for (int i = 0; i < 30000; ++i)
        big += static_cast<char>('a' + i % 26);
    serve("big.htm", big);
    TestServer server({"--root", root(), "--status", "500", "--rate", "64"});
    HttpSession session("MxPOST");
    QByteArray page;
    int pieces = 0;
    HttpReplyHandler collector = ErrorPageCollector(&page);
    HttpReplyHandler counting = collector;
    counting.onBody = [&](QByteArrayView piece) {
        ++pieces;
        return collector.onBody(piece);
    };
    const HttpResult result = session.get(server.url("/big.htm"), {}, counting);
    EXPECT_EQ(result.status, 500);
    EXPECT_GT(pieces, 1);
    ASSERT_TRUE(SaveErrorPage(page));
    EXPECT_EQ(ReadAll(ErrorPagePath()), big.left(9999));

    ASSERT_TRUE(SaveErrorPage(QByteArray("<html>\0hidden", 13)));
    EXPECT_EQ(ReadAll(ErrorPagePath()), "<html>");
    EXPECT_TRUE(ErrorPagePath().endsWith("/server_errorlog.htm"));
}

TEST_F(HttpStatusTest, ErrorPageViewShowsThenDeletes) {
    ASSERT_TRUE(SaveErrorPage("<p>server said no</p>"));
    ShowingPrompter prompter;
    ServerErrorPageView(prompter);
    EXPECT_EQ(prompter.title, "Preview");
    EXPECT_EQ(prompter.shown, ErrorPagePath());
    EXPECT_EQ(prompter.contentWhenShown, "<p>server said no</p>");
    EXPECT_FALSE(QFileInfo::exists(ErrorPagePath()));
    ServerErrorPageView(prompter);
    EXPECT_EQ(prompter.contentWhenShown, "<none>");
}

TEST_F(HttpStatusTest, ErrorTripleReadsBack) {
    ControlSettings settings;
    EXPECT_EQ(GetHTTPMSErrTxt(settings), "0");
    settings.httpErrorCode = -107;
    settings.httpSystemError = -12029;
    settings.httpErrorText = QString::fromUtf8("서버쪽 페이지에서 문제가 발생 하였습니다.");
    EXPECT_EQ(GetHTTPErrCode(settings), -107);
    EXPECT_EQ(GetHTTPMSErrTxt(settings), "-12029");
    EXPECT_EQ(GetHTTPErrText(settings), settings.httpErrorText);
}

} // namespace
