// Download of one large file through the download engine against `curl -o` from the same
// loopback server in the same run (size in MiB from VANTREL_BENCH_DOWNLOAD_MB, default 1024),
// and 100 downloads cut at random offsets by --drop-after, each resumed and compared.
#include "BenchServer.h"
#include "CurlRace.h"
#include "platform/HttpClient.h"
#include "transfer/DownloadEngine.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kCutRounds = 100;
constexpr int kSpeedRounds = 3;

// Every existing file is resumed; no save dialog is ever needed.
class ResumeAlways : public DownloadQuestions {
public:
    OverwriteAnswer askOverwrite(const QString&) override { return {0, true}; }
    QString askSavePath(const QString&) override { return {}; }
};

qint16 Download(const QString& base, const QString& name, qint64 size, const QString& folder) {
    DownloadJob job;
    job.settings.charset = "UTF-8";
    job.settings.hostBase = base;
    job.settings.downloadFolder = folder;
    // A cut fails its run, so that the next run resumes the part from disk.
    job.settings.retryCount = 0;
    job.addFileRow(name, "/" + name, size, {});
    ResumeAlways questions;
    RunDownload(job, questions);
    return job.resultCode();
}

// Each side removes its file once timed, as curl's run does: a gigabyte of dirty pages left
// behind would be written back during the other side's run.
double EngineSeconds(const QString& base, qint64 size, const QString& folder) {
    const QString path = folder + "/big.bin";
    QElapsedTimer timer;
    timer.start();
    const qint16 code = Download(base, "big.bin", size, folder);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const bool whole = code == 0 && QFile(path).size() == size;
    QFile::remove(path);
    return whole ? seconds : -1.0;
}

bench::ChildRun CurlRun(const QString& base, const QString& folder) {
    const bench::ChildRun run =
        bench::RunChild("curl", {"-s", "-o", folder + "/curl.bin", base + "/big.bin"});
    QFile::remove(folder + "/curl.bin");
    return run;
}

void BM_DownloadAgainstCurl(benchmark::State& state) {
    const int megabytes = qEnvironmentVariableIntValue("VANTREL_BENCH_DOWNLOAD_MB");
    const qint64 size = (megabytes > 0 ? megabytes : 1024) * 1048576LL;
    QTemporaryDir served, local;
    QFile file(served.filePath("big.bin"));
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size)) {
        state.SkipWithError("cannot prepare the file");
        return;
    }
    file.close();
    bench::BenchServer server({"--root", served.path()});
    if (!server.running()) {
        state.SkipWithError("test server did not start");
        return;
    }
    bench::CurlRace race;
    for (auto _ : state) {
        race = bench::RaceCurl(
            kSpeedRounds, [&] { return CurlRun(server.base(), local.path()); },
            [&] { return EngineSeconds(server.base(), size, local.path()); });
        if (!race.ok) {
            state.SkipWithError("a download failed");
            return;
        }
        state.SetIterationTime(race.engine);
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["engine_MiBps"] = size / 1048576.0 / race.engine;
    state.counters["curl_MiBps"] = size / 1048576.0 / race.curl.seconds;
    state.counters["ratio_vs_curl"] = race.curl.seconds / race.engine;
    state.counters["peak_rss_MiB"] = race.peakMiB;
    state.counters["rss_growth_MiB"] = race.growthMiB;
    state.counters["curl_peak_rss_MiB"] = race.curl.peakMiB;
    std::printf("download of %lld MiB: %.2f s, curl -o %.2f s, throughput ratio vs curl %.2f; "
                "peak RSS %.0f MiB (the whole bench process, %.1f MiB of it added by the run), "
                "curl %.0f MiB\n",
                size / 1048576LL, race.engine, race.curl.seconds, race.curl.seconds / race.engine,
                race.peakMiB, race.growthMiB, race.curl.peakMiB);
}

QByteArray RandomBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()),
                                          static_cast<qsizetype>(size / 4));
    return bytes;
}

// One round: a file cut after a random number of body bytes, then resumed from a whole
// server. True when the result equals the source byte for byte.
bool CutAndResume(const QString& servedRoot, const QString& folder, const bench::BenchServer& whole,
                  int round) {
    const QString name = QStringLiteral("cut%1.bin").arg(round);
    const qint64 size = 4096 + QRandomGenerator::global()->bounded(2 * 1048576);
    const QByteArray source = RandomBytes(size);
    QFile served(servedRoot + "/" + name);
    if (!served.open(QIODevice::WriteOnly) || served.write(source) != size)
        return false;
    served.close();
    const qint64 cut = 1 + QRandomGenerator::global()->bounded(size - 1);
    {
        bench::BenchServer cutting({"--root", servedRoot, "--drop-after", QString::number(cut)});
        if (!cutting.running() || Download(cutting.base(), name, size, folder) != kDownloadCutShort)
            return false;
    }
    if (QFile(folder + "/" + name).size() != cut || Download(whole.base(), name, size, folder) != 0)
        return false;
    QFile result(folder + "/" + name);
    return result.open(QIODevice::ReadOnly) && result.readAll() == source;
}

void BM_CutDownloadsResumeByteIdentical(benchmark::State& state) {
    QTemporaryDir served, local;
    bench::BenchServer whole({"--root", served.path()});
    int identical = 0;
    for (auto _ : state) {
        identical = 0;
        for (int round = 0; round < kCutRounds; ++round)
            identical += CutAndResume(served.path(), local.path(), whole, round) ? 1 : 0;
    }
    state.counters["identical"] = identical;
    std::printf("cut and resumed downloads byte-identical: %d / %d\n", identical, kCutRounds);
    if (identical != kCutRounds)
        state.SkipWithError("a resumed download differs from its source");
}

} // namespace

BENCHMARK(BM_DownloadAgainstCurl)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutDownloadsResumeByteIdentical)->Iterations(1)->Unit(benchmark::kMillisecond);
