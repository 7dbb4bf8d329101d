// 1000 downloads of 1 KiB each through the download engine in one run, against one curl
// process fetching the same 1000 URLs (both keep one connection alive), with peak memory.
#include "BenchServer.h"
#include "ChildRun.h"
#include "PeakMemory.h"
#include "transfer/DownloadEngine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFiles = 1000;
constexpr qint64 kFileBytes = 1024;

QString FileName(int index) {
    return QStringLiteral("s%1.bin").arg(index, 4, 10, QLatin1Char('0'));
}

class NoQuestions : public DownloadQuestions {
public:
    OverwriteAnswer askOverwrite(const QString&) override { return {1, true}; }
    QString askSavePath(const QString&) override { return {}; }
};

// Seconds for the engine to fetch every file into `folder` with `parallel` rows at once;
// -1 when a file is missing or wrong.
double EngineSeconds(const QString& base, const QString& folder, int parallel) {
    DownloadJob job;
    job.settings.charset = "UTF-8";
    job.settings.hostBase = base;
    job.settings.downloadFolder = folder;
    job.settings.fixedFolder = true;
    job.settings.parallel = parallel;
    for (int i = 0; i < kFiles; ++i)
        job.addFileRow(FileName(i), "/" + FileName(i), kFileBytes, {});
    NoQuestions questions;
    QElapsedTimer clock;
    clock.start();
    RunDownload(job, questions);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (job.resultCode() != 0)
        return -1;
    for (int i = 0; i < kFiles; ++i) {
        if (QFile(folder + "/" + FileName(i)).size() != kFileBytes)
            return -1;
    }
    return seconds;
}

// One curl process, its URLs and output files from a config file.
bench::ChildRun CurlRun(const QString& base, const QString& folder, const QString& config) {
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int i = 0; i < kFiles; ++i)
        file.write(QStringLiteral("url = \"%1/%2\"\noutput = \"%3/%2\"\n")
                       .arg(base, FileName(i), folder)
                       .toUtf8());
    file.close();
    return bench::RunChild("curl", {"-s", "-K", config});
}

void BM_SmallDownloadsAgainstCurl(benchmark::State& state) {
    QTemporaryDir served, engineFolder, curlFolder, work;
    for (int i = 0; i < kFiles; ++i) {
        QFile file(served.filePath(FileName(i)));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(QByteArray(kFileBytes, 'k')) != kFileBytes) {
            state.SkipWithError("cannot prepare the files");
            return;
        }
    }
    bench::BenchServer server({"--root", served.path()});
    if (!server.running()) {
        state.SkipWithError("test server did not start");
        return;
    }
    double serial = 0, parallel = 0, enginePeakMiB = 0, engineGrowthMiB = 0;
    bench::ChildRun curl;
    for (auto _ : state) {
        curl = CurlRun(server.base(), curlFolder.path(), work.filePath("urls.txt"));
        bench::ResetPeakResident();
        const qint64 before = bench::ResidentKiB();
        serial = EngineSeconds(server.base(), engineFolder.path(), 1);
        enginePeakMiB = bench::PeakResidentKiB() / 1024.0;
        engineGrowthMiB = (bench::PeakResidentKiB() - before) / 1024.0;
        parallel = EngineSeconds(server.base(), engineFolder.path(), kMaxParallel);
        state.SetIterationTime(serial);
    }
    if (serial <= 0 || parallel <= 0 || !curl.ok) {
        state.SkipWithError("a download failed");
        return;
    }
    state.counters["engine_s"] = serial;
    state.counters["engine_parallel4_s"] = parallel;
    state.counters["curl_s"] = curl.seconds;
    state.counters["ratio_vs_curl"] = curl.seconds / serial;
    state.counters["peak_rss_MiB"] = enginePeakMiB;
    state.counters["rss_growth_MiB"] = engineGrowthMiB;
    state.counters["curl_peak_rss_MiB"] = curl.peakMiB;
    std::printf("%d x 1 KiB downloads: %.3f s (%.3f s with 4 rows at once), one curl process "
                "%.3f s, ratio vs curl %.2f (%.2f at 4); peak RSS %.0f MiB (the whole bench "
                "process, %.1f MiB of it added by the run), curl %.0f MiB\n",
                kFiles, serial, parallel, curl.seconds, curl.seconds / serial,
                curl.seconds / parallel, enginePeakMiB, engineGrowthMiB, curl.peakMiB);
}

} // namespace

BENCHMARK(BM_SmallDownloadsAgainstCurl)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
