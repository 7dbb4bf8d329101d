// Upload of one large file through the upload engine against `curl -F` to the same loopback
// server, in the same run. Size in MiB from VANTREL_BENCH_UPLOAD_MB (default 1024).
#include "BenchServer.h"
#include "CurlRace.h"
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
    bench::CurlRace race;
    for (auto _ : state) {
        race = bench::RaceCurl(
            kSpeedRounds, [&] { return CurlRun(path, server.port()); },
            [&] { return EngineSeconds(path, size, server.port()); });
        if (!race.ok) {
            state.SkipWithError("an upload failed");
            return;
        }
        state.SetIterationTime(race.engine);
    }
    const double mib = size / 1048576.0;
    state.counters["engine_MiB_s"] = mib / race.engine;
    state.counters["curl_MiB_s"] = mib / race.curl.seconds;
    state.counters["ratio_vs_curl"] = race.curl.seconds / race.engine;
    state.counters["peak_rss_MiB"] = race.peakMiB;
    state.counters["rss_growth_MiB"] = race.growthMiB;
    state.counters["curl_peak_rss_MiB"] = race.curl.peakMiB;
    std::printf("upload of %.0f MiB: %.2f s, curl -F %.2f s, throughput ratio vs curl %.2f; "
                "peak RSS %.0f MiB (the whole bench process, %.1f MiB of it added by the run), "
                "curl %.0f MiB\n",
                mib, race.engine, race.curl.seconds, race.curl.seconds / race.engine, race.peakMiB,
                race.growthMiB, race.curl.peakMiB);
}

} // namespace

BENCHMARK(BM_UploadAgainstCurl)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
