#include "AgentServer.h"

#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "session/ScriptedPrompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QWebSocket>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A page of `origin` talking to the agent: what it was sent and how it was closed.
class PageClient {
public:
    explicit PageClient(const QString& origin) : socket_(origin) {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString& text) { texts.append(text); });
        QObject::connect(&socket_, &QWebSocket::disconnected, [this] { closed = true; });
    }
    void open(quint16 port) { socket_.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(port))); }
    bool connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    void hello(const QString& page) {
        socket_.sendTextMessage(
            QStringLiteral(R"({"vantrel":"hello","page":"%1","cookie":"sid=1","params":{}})")
                .arg(page));
    }
    // Connects to the agent on `port` and says hello as `page`; false when no connection came.
    bool introduce(quint16 port, const QString& page) {
        open(port);
        if (!waitUntil([this] { return connected(); }))
            return false;
        hello(page);
        return true;
    }
    void send(const QString& text) { socket_.sendTextMessage(text); }
    QString closeReason() const { return socket_.closeReason(); }
    int closeCode() const { return socket_.closeCode(); }

    QStringList texts;
    bool closed = false;

private:
    QWebSocket socket_;
};

QMessageBox* openQuestion() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible())
            return box;
    }
    return nullptr;
}

void click(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == text)
            button->click();
    }
}

const QString kOrigin = QStringLiteral("http://127.0.0.1:5555");
const QString kPage = QStringLiteral("http://127.0.0.1:5555/page.html");
const QString kReady = QStringLiteral(R"({"vantrel":"ready"})");

// The agent's server in this process, with its settings in an isolated home.
class AgentServerTest : public ::testing::Test {
protected:
    std::unique_ptr<AgentServer> start(bool offscreen, const QStringList& origins = {}) {
        AgentContext context{offscreen, offscreen ? &answers : nullptr,
                             [this](const QString& line) { printed.append(line); },
                             [this](const QString& line) {
                                 logged.append(line);
                             }};
        auto server = std::make_unique<AgentServer>(context, AgentConfig(config.file()), origins);
        QString error;
        EXPECT_TRUE(server->listen(0, error)) << error.toStdString();
        return server;
    }

    IsolatedHome home;
    AgentConfig config{AgentConfig::defaultFile()};
    ScriptedPrompter answers{[](const QString&) {
    }};
    QStringList printed, logged;
};

} // namespace

TEST_F(AgentServerTest, AnOriginOnNoListWaitsForTheUserWhoseYesIsKept) {
    const auto server = start(false);
    PageClient page(kOrigin);
    ASSERT_TRUE(page.introduce(server->port(), kPage));
    ASSERT_TRUE(waitUntil([] { return openQuestion() != nullptr; }));
    EXPECT_EQ(openQuestion()->text(), "Allow " + kOrigin + " to manage files with Vantrel?");
    EXPECT_TRUE(page.texts.isEmpty()) << "the page waits for the answer";

    click(openQuestion(), "Allow");
    ASSERT_TRUE(waitUntil([&] { return !page.texts.isEmpty(); }));
    EXPECT_EQ(page.texts.first(), kReady);
    EXPECT_EQ(config.origins().allowed, QStringList({kOrigin}));

    PageClient again(QStringLiteral("http://localhost:5555"));
    ASSERT_TRUE(
        again.introduce(server->port(), QStringLiteral("http://localhost:5555/other.html")));
    ASSERT_TRUE(waitUntil([&] { return !again.texts.isEmpty(); }));
    EXPECT_EQ(again.texts.first(), kReady) << "the other loopback spelling, not asked again";
    EXPECT_EQ(openQuestion(), nullptr);
}

TEST_F(AgentServerTest, TheUsersNoClosesThePageAndTurnsTheOriginAwayFromThenOn) {
    const auto server = start(false);
    PageClient page(kOrigin);
    ASSERT_TRUE(page.introduce(server->port(), kPage));
    ASSERT_TRUE(waitUntil([] { return openQuestion() != nullptr; }));
    click(openQuestion(), "Deny");
    ASSERT_TRUE(waitUntil([&] { return page.closed; }));
    EXPECT_EQ(page.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
    EXPECT_EQ(page.closeReason(), "the user did not allow the origin");
    EXPECT_EQ(config.origins().refused, QStringList({kOrigin}));

    PageClient again(kOrigin);
    again.open(server->port());
    ASSERT_TRUE(waitUntil([&] { return again.closed; }));
    EXPECT_TRUE(again.texts.isEmpty());
    EXPECT_EQ(openQuestion(), nullptr);
    EXPECT_EQ(logged.last(), "refused " + kOrigin + ": the origin is refused");
}

TEST_F(AgentServerTest, APageWhoseAddressIsNotOfItsOriginIsClosed) {
    const auto server = start(true, {kOrigin});
    PageClient page(kOrigin);
    ASSERT_TRUE(page.introduce(server->port(), QStringLiteral("https://bank.example/account")));
    ASSERT_TRUE(waitUntil([&] { return page.closed; }));
    EXPECT_EQ(page.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
    EXPECT_TRUE(page.texts.isEmpty());
    EXPECT_EQ(logged.value(0), "refused " + kOrigin +
                                   ": the page address \"https://bank.example/account\" is not of "
                                   "its origin");

    PageClient other(QStringLiteral("http://127.0.0.1:5556"));
    other.open(server->port());
    ASSERT_TRUE(waitUntil([&] { return other.closed; }));
    EXPECT_EQ(logged.last(), "refused http://127.0.0.1:5556: the origin is not allowed");
}

// A page may write any message of the channel's protocol by hand; asking to delete the objects
// the agent published leaves them in place.
TEST_F(AgentServerTest, APageCannotDeleteWhatTheAgentPublished) {
    const auto server = start(true, {kOrigin});
    PageClient page(kOrigin);
    ASSERT_TRUE(page.introduce(server->port(), kPage));
    ASSERT_TRUE(waitUntil([&] { return !page.texts.isEmpty(); }));
    page.send(R"({"type":3,"id":0})");
    page.send(R"({"type":6,"object":"vantrel","method":"deleteLater","args":[],"id":1})");
    page.send(R"({"type":6,"object":"ctrl","method":"deleteLater","args":[],"id":2})");
    page.send(R"({"type":6,"object":"ctrl","method":"IsDownFileCheck","args":[],"id":3})");
    ASSERT_TRUE(waitUntil([&] { return page.texts.join('\n').contains(R"("id":3)"); }));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    page.send(R"({"type":6,"object":"vantrel","method":"serverListRows",)"
              R"("args":["Server",false,"file",["name"]],"id":4})");
    ASSERT_TRUE(waitUntil([&] { return page.texts.join('\n').contains(R"("id":4)"); }));
    EXPECT_TRUE(page.texts.join('\n').contains(R"({"data":true,"id":3,"type":10})"))
        << page.texts.join('\n').toStdString();
    EXPECT_FALSE(page.closed);
}
