#include "HostOptions.h"

#include "common/CommandLine.h"

namespace {

bool parseSize(const QString& text, QSize& size) {
    const QStringList parts = text.split('x');
    if (parts.size() != 2)
        return false;
    bool okWidth = false, okHeight = false;
    const int width = parts[0].toInt(&okWidth);
    const int height = parts[1].toInt(&okHeight);
    if (!okWidth || !okHeight || width <= 0 || height <= 0)
        return false;
    size = QSize(width, height);
    return true;
}

bool applyValueOption(const QString& name, const QString& value, HostOptions& options,
                      QString& error) {
    if (name == "--url") {
        options.pageUrl = QUrl(value, QUrl::StrictMode);
        if (!options.pageUrl.isValid() || options.pageUrl.host().isEmpty()) {
            error = QStringLiteral("--url needs http://DOMAIN[:PORT]/page, got \"%1\"").arg(value);
            return false;
        }
    } else if (name == "--cookie") {
        options.cookie = value;
    } else if (name == "--param") {
        const qsizetype equals = value.indexOf('=');
        if (equals <= 0) {
            error = QStringLiteral("--param needs NAME=VALUE, got \"%1\"").arg(value);
            return false;
        }
        options.params.insert(value.left(equals), value.mid(equals + 1));
    } else if (name == "--size") {
        if (!parseSize(value, options.size)) {
            error = QStringLiteral("--size needs WIDTHxHEIGHT, got \"%1\"").arg(value);
            return false;
        }
    } else if (name == "--screenshot") {
        options.screenshotFile = value;
    } else if (name == "--window-shots") {
        options.windowShotsFolder = value;
    } else {
        bool ok = false;
        options.timeoutSeconds = value.toInt(&ok);
        if (!ok || options.timeoutSeconds <= 0) {
            error = QStringLiteral("--timeout needs a positive number of seconds");
            return false;
        }
    }
    return true;
}

} // namespace

bool ParseHostOptions(const QStringList& args, HostOptions& options, QString& error) {
    static const QStringList valueOptions = {"--url",        "--cookie",       "--param",  "--size",
                                             "--screenshot", "--window-shots", "--timeout"};
    const auto takeValue = [&options](const QString& name, const QString& value, QString& error) {
        return applyValueOption(name, value, options, error);
    };
    const auto takeOther = [&options](const QString& arg, QString& error) {
        if (arg == "--offscreen") {
            options.offscreen = true;
        } else if (arg.startsWith('-')) {
            error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        } else if (options.pageFile.isEmpty()) {
            options.pageFile = arg;
        } else {
            error = QStringLiteral("only one page file may be given");
            return false;
        }
        return true;
    };
    if (!ReadCommandLine(args, valueOptions, options.helpRequested, takeValue, takeOther, error))
        return false;
    if (!options.helpRequested && options.pageFile.isEmpty()) {
        error = QStringLiteral("no page file given (see --help)");
        return false;
    }
    return true;
}

QString HostUsage() {
    return QStringLiteral(
        "usage: vantrel-host [options] PAGE.js\n"
        "Runs PAGE.js as the script of a page that embeds the control. The control is the\n"
        "global `ctrl`; `console.log(...)` prints a line; `host.quit(code)` ends the run;\n"
        "`host.answer(KIND, VALUE)` queues the answer to the next offscreen prompt of KIND\n"
        "(message, ask, files, folder, page).\n"
        "\n"
        "  --offscreen           no window; every prompt prints \"prompt: KIND: TEXT\", and a\n"
        "                        file the control would open with its program prints\n"
        "                        \"open: PATH\" instead\n"
        "  --url URL             the page's address, http://DOMAIN[:PORT]/page\n"
        "  --cookie TEXT         the page's cookie\n"
        "  --param NAME=VALUE    one parameter of the control (repeatable)\n"
        "  --size WxH            the control's size (default 900x600)\n"
        "  --screenshot FILE     save the control as PNG just before exit\n"
        "  --window-shots DIR    save each window the control opens (transfers, questions)\n"
        "                        as DIR/NN-TITLE.png just before it closes\n"
        "  --timeout SECONDS     exit 124 after this long (default 60)\n"
        "  --help                this text\n"
        "\n"
        "Exit codes: the page's host.quit code; 1 uncaught script error; 2 bad command line\n"
        "or missing page; 124 timeout.\n");
}
