#include "AgentConfig.h"
#include "AgentOptions.h"
#include "AgentServer.h"
#include "platform/HttpClient.h"
#include "session/ScriptedPrompter.h"

#include <QApplication>
#include <QMenu>
#include <QSocketNotifier>
#include <QStyle>
#include <QSystemTrayIcon>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kUsageExit = 2;
constexpr int kStartFailedExit = 1;

void printLine(const QString& line) {
    std::fputs((line + '\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void logLine(const QString& line) {
    std::fputs(("vantrel-agent: " + line + '\n').toUtf8().constData(), stderr);
}

int signalPipe[2] = {-1, -1};

void writeToSignalPipe(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// SIGTERM and SIGINT end the event loop, so every page's control closes as on Quit. The handler
// only writes a byte; the event loop reads it.
void quitOnSignals(QObject& owner) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &owner);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, &QApplication::quit);
    struct sigaction action = {};
    action.sa_handler = writeToSignalPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// The agent's presence on the desktop: what it listens on, and a way to end it.
std::unique_ptr<QSystemTrayIcon> makeTrayIcon(quint16 port) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return nullptr;
    auto tray = std::make_unique<QSystemTrayIcon>(
        QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon));
    tray->setToolTip(QStringLiteral("Vantrel agent on 127.0.0.1:%1").arg(port));
    auto* menu = new QMenu();
    menu->addAction(QStringLiteral("Quit Vantrel agent"), qApp, &QApplication::quit);
    QObject::connect(tray.get(), &QObject::destroyed, menu, &QObject::deleteLater);
    tray->setContextMenu(menu);
    tray->show();
    return tray;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    AgentOptions options;
    QString error;
    if (!ParseAgentOptions(args, options, error)) {
        logLine(error);
        return kUsageExit;
    }
    if (options.helpRequested) {
        std::fputs(qPrintable(AgentUsage()), stdout);
        return 0;
    }
    // Before any thread starts: libcurl's global set-up is not thread-safe.
    if (!InitHttpClient()) {
        logLine(QStringLiteral("the HTTP client could not be initialised"));
        return kStartFailedExit;
    }
    if (options.offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    quitOnSignals(app);

    std::unique_ptr<ScriptedPrompter> answers;
    if (options.offscreen) {
        answers = std::make_unique<ScriptedPrompter>(printLine);
        for (const auto& [kind, value] : options.answers)
            answers->queueAnswer(kind, value);
    }
    const AgentConfig config(AgentConfig::defaultFile());
    AgentServer server({options.offscreen, answers.get(), printLine, logLine}, config,
                       options.allowedOrigins);
    const quint16 port = options.port >= 0 ? static_cast<quint16>(options.port) : config.port();
    if (!server.listen(port, error)) {
        logLine(QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(error));
        return kStartFailedExit;
    }
    printLine(QStringLiteral("listening on %1").arg(server.port()));
    const auto tray = options.offscreen ? nullptr : makeTrayIcon(server.port());
    return QApplication::exec();
}
