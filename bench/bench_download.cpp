// Download of one large file through the download engine against `curl -o` from the same
// loopback server in the same run (size in MiB from VANTREL_BENCH_DOWNLOAD_MB, default 1024),
// and 100 downloads cut at random offsets by --drop-after, each resumed and compared.
#include "PeakMemory.h"
#include "platform/HttpClient.h"
#include "transfer/DownloadEngine.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kCutRounds = 100;
constexpr int kSpeedRounds = 3;

// vantrel-testserver next to this binary, for the life of the object.
class ServedFolder {
public:
    ServedFolder(const QString& root, const QStringList& extra = {}) {
        const QString binary = QCoreApplication::applicationDirPath() + "/vantrel-testserver";
        process_.start(binary, QStringList{"--root", root} + extra);
        if (process_.waitForStarted() && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().mid(13).toInt();
    }
    ~ServedFolder() {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }
    bool running() const { return port_ > 0; }

private:
    QProcess process_;
    int port_ = 0;
};

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

double EngineSeconds(const QString& base, qint64 size, const QString& folder) {
    QFile::remove(folder + "/big.bin");
    QElapsedTimer timer;
    timer.start();
    const qint16 code = Download(base, "big.bin", size, folder);
    const double seconds = timer.nsecsElapsed() / 1e9;
    return code == 0 && QFile(folder + "/big.bin").size() == size ? seconds : -1.0;
}

double CurlSeconds(const QString& base, const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    const int exitCode =
        QProcess::execute("curl", {"-s", "-o", folder + "/curl.bin", base + "/big.bin"});
    const double seconds = timer.nsecsElapsed() / 1e9;
    QFile::remove(folder + "/curl.bin");
    return exitCode == 0 ? seconds : -1.0;
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
    ServedFolder server(served.path());
    if (!server.running()) {
        state.SkipWithError("test server did not start");
        return;
    }
    double engine = 0;
    double curl = 0;
    for (auto _ : state) {
        // Alternating rounds, best of each: the machine's other load hits both alike.
        for (int round = 0; round < kSpeedRounds; ++round) {
            const double curlRound = CurlSeconds(server.base(), local.path());
            const double engineRound = EngineSeconds(server.base(), size, local.path());
            if (engineRound <= 0 || curlRound <= 0) {
                state.SkipWithError("a download failed");
                return;
            }
            engine = round == 0 ? engineRound : std::min(engine, engineRound);
            curl = round == 0 ? curlRound : std::min(curl, curlRound);
        }
        state.SetIterationTime(engine);
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["engine_MiBps"] = size / 1048576.0 / engine;
    state.counters["curl_MiBps"] = size / 1048576.0 / curl;
    state.counters["ratio_vs_curl"] = curl / engine;
    state.counters["peak_rss_MiB"] = bench::PeakResidentKiB() / 1024.0;
    std::printf("download throughput ratio vs curl -o: %.2f\n", curl / engine);
}

QByteArray RandomBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()),
                                          static_cast<qsizetype>(size / 4));
    return bytes;
}

// One round: a file cut after a random number of body bytes, then resumed from a whole
// server. True when the result equals the source byte for byte.
bool CutAndResume(const QString& servedRoot, const QString& folder, const ServedFolder& whole,
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
        ServedFolder cutting(servedRoot, {"--drop-after", QString::number(cut)});
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
    ServedFolder whole(served.path());
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
