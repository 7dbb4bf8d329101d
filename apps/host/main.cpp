#include "HostOptions.h"
#include "PageRunner.h"
#include "platform/HttpClient.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>

namespace {
constexpr int kUsageExit = 2;
constexpr int kStartFailedExit = 1;
} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));

    HostOptions options;
    QString error;
    if (!ParseHostOptions(args, options, error)) {
        std::fprintf(stderr, "vantrel-host: %s\n", qPrintable(error));
        return kUsageExit;
    }
    if (options.helpRequested) {
        std::fputs(qPrintable(HostUsage()), stdout);
        return 0;
    }
    if (!QFileInfo(options.pageFile).isFile()) {
        std::fprintf(stderr, "vantrel-host: no page file %s\n", qPrintable(options.pageFile));
        return kUsageExit;
    }
    // Before any thread starts: libcurl's global set-up is not thread-safe.
    if (!InitHttpClient()) {
        std::fputs("vantrel-host: the HTTP client could not be initialised\n", stderr);
        return kStartFailedExit;
    }
    if (options.offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    PageRunner runner(options);
    return runner.run();
}
