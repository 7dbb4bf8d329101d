#include "AgentOptions.h"

#include "OriginRules.h"
#include "common/CommandLine.h"

namespace {

constexpr int kHighestPort = 65535;

bool applyValueOption(const QString& name, const QString& value, AgentOptions& options,
                      QString& error) {
    if (name == "--port") {
        bool ok = false;
        options.port = value.toInt(&ok);
        if (!ok || options.port < 0 || options.port > kHighestPort) {
            error = QStringLiteral("--port needs a number from 0 to 65535, got \"%1\"").arg(value);
            return false;
        }
    } else if (name == "--allow-origin") {
        if (NormalOrigin(value).isEmpty()) {
            error =
                QStringLiteral("--allow-origin needs http[s]://HOST[:PORT], got \"%1\"").arg(value);
            return false;
        }
        options.allowedOrigins.append(value);
    } else {
        const qsizetype equals = value.indexOf('=');
        if (equals <= 0) {
            error = QStringLiteral("--answer needs KIND=VALUE, got \"%1\"").arg(value);
            return false;
        }
        options.answers.append({value.left(equals), value.mid(equals + 1)});
    }
    return true;
}

} // namespace

bool ParseAgentOptions(const QStringList& args, AgentOptions& options, QString& error) {
    static const QStringList valueOptions = {"--port", "--allow-origin", "--answer"};
    const auto takeValue = [&options](const QString& name, const QString& value, QString& error) {
        return applyValueOption(name, value, options, error);
    };
    const auto takeOther = [&options](const QString& arg, QString& error) {
        if (arg != "--offscreen") {
            error = QStringLiteral("unknown argument %1").arg(arg);
            return false;
        }
        options.offscreen = true;
        return true;
    };
    return ReadCommandLine(args, valueOptions, options.helpRequested, takeValue, takeOther, error);
}

QString AgentUsage() {
    return QStringLiteral(
        "usage: vantrel-agent [options]\n"
        "Lets web pages on the allowed origins drive the control over a WebSocket on\n"
        "127.0.0.1; each page connection gets its own control window. Prints\n"
        "\"listening on PORT\" first; refused connections are logged on stderr.\n"
        "\n"
        "  --offscreen             no display and no tray icon; origins come only from\n"
        "                          --allow-origin, and prompts print \"prompt: KIND: TEXT\"\n"
        "  --port N                listen on port N (0: any free port); default from the\n"
        "                          settings file, else 47810\n"
        "  --allow-origin ORIGIN   let pages of ORIGIN connect (repeatable)\n"
        "  --answer KIND=VALUE     queue the answer to the next offscreen prompt of KIND\n"
        "                          (message, ask, files, folder, option, save, page, and\n"
        "                          path: \"allow\" lets a page use a local path it named)\n"
        "  --help                  this text\n"
        "\n"
        "Settings file: $XDG_CONFIG_HOME/Morvex/VantrelAgent.conf (see the README).\n");
}
