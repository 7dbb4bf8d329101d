#include "common/CommandLine.h"

bool ReadCommandLine(const QStringList& args, const QStringList& valueOptions, bool& helpRequested,
                     const OptionValueTaker& takeValue, const ArgumentTaker& takeOther,
                     QString& error) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            helpRequested = true;
            return true;
        }
        if (!valueOptions.contains(arg)) {
            if (!takeOther(arg, error))
                return false;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs a value").arg(arg);
            return false;
        }
        if (!takeValue(arg, args[++i], error))
            return false;
    }
    return true;
}
