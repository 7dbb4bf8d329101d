#include "platform/HttpClient.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// Benchmarks that drive the control need a QApplication; the others do not mind one.
int main(int argc, char** argv) {
    // Before any thread starts: libcurl's global set-up is not thread-safe.
    if (!InitHttpClient())
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
