// Upload of one large file through the upload engine against `curl -F` to the same loopback
// server, in the same run. Size in MiB from VANTREL_BENCH_UPLOAD_MB (default 1024).
#include "BenchServer.h"
#include "ChildRun.h"
#include "PeakMemory.h"
#include "platform/HttpClient.h"
#include "transfer/UploadEngine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSpeedRounds = 3;

double EngineSeconds(const QString& path, qint64 size, int port) {
    UploadJob job;
    job.charset = "UTF-8";
    job.server = "127.0.0.1";
    job.port = static_cast<quint16>(port);
    job.postPath = "/upload.php";
    job.addRow({"big.bin", path, static_cast<double>(size), {}, "disk/", {}, {}});
    QElapsedTimer timer;
    timer.start();
    RunUpload(job);
    const double seconds = timer.nsecsElapsed() / 1e9;
    return job.resultCode() == 0 ? seconds : -1.0;
}

bench::ChildRun CurlRun(const QString& path, int port) {
    return bench::RunChild("curl", {"-s", "-o", "/dev/null", "-F", "path=disk/", "-F",
                                    "file_attach=@" + path,
                                    QString("http://127.0.0.1:%1/upload.php?upinx=0").arg(port)});
}

void BM_UploadAgainstCurl(benchmark::State& state) {
    const qint64 size = qEnvironmentVariableIntValue("VANTREL_BENCH_UPLOAD_MB") > 0
                            ? qEnvironmentVariableIntValue("VANTREL_BENCH_UPLOAD_MB") * 1048576LL
                            : 1024LL * 1048576LL;
    QTemporaryDir local, uploads;
    const QString path = local.filePath("big.bin");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size)) {
        state.SkipWithError("cannot prepare the file");
        return;
    }
    file.close();
    bench::BenchServer server({"--root", uploads.path(), "--upload-dir", uploads.path()});
    if (server.port() <= 0) {
        state.SkipWithError("test server did not start");
        return;
    }
    double engine = 0;
    double enginePeakMiB = 0;
    double engineGrowthMiB = 0;
    bench::ChildRun curl;
    for (auto _ : state) {
        // Alternating rounds, best of each, curl first: the first reader of the file pays for
        // bringing it into the page cache, and the machine's other load hits both alike.
        for (int round = 0; round < kSpeedRounds; ++round) {
            const bench::ChildRun curlRound = CurlRun(path, server.port());
            bench::ResetPeakResident();
            const qint64 before = bench::ResidentKiB();
            const double engineRound = EngineSeconds(path, size, server.port());
            enginePeakMiB = std::max(enginePeakMiB, bench::PeakResidentKiB() / 1024.0);
            engineGrowthMiB =
                std::max(engineGrowthMiB, (bench::PeakResidentKiB() - before) / 1024.0);
            if (engineRound <= 0 || !curlRound.ok) {
                state.SkipWithError("an upload failed");
                return;
            }
            engine = round == 0 ? engineRound : std::min(engine, engineRound);
            if (round == 0 || curlRound.seconds < curl.seconds)
                curl = curlRound;
        }
        state.SetIterationTime(engine);
    }
    const double mib = size / 1048576.0;
    state.counters["engine_MiB_s"] = mib / engine;
    state.counters["curl_MiB_s"] = mib / curl.seconds;
    state.counters["ratio_vs_curl"] = curl.seconds / engine;
    state.counters["peak_rss_MiB"] = enginePeakMiB;
    state.counters["rss_growth_MiB"] = engineGrowthMiB;
    state.counters["curl_peak_rss_MiB"] = curl.peakMiB;
    std::printf("upload of %.0f MiB: %.2f s, curl -F %.2f s, throughput ratio vs curl %.2f; "
                "peak RSS %.0f MiB (the whole bench process, %.1f MiB of it added by the run), "
                "curl %.0f MiB\n",
                mib, engine, curl.seconds, curl.seconds / engine, enginePeakMiB, engineGrowthMiB,
                curl.peakMiB);
}

} // namespace

BENCHMARK(BM_UploadAgainstCurl)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
