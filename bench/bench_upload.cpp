// Upload of one large file through the upload engine against `curl -F` to the same loopback
// server, in the same run. Size in MiB from VANTREL_BENCH_UPLOAD_MB (default 1024).
#include "PeakMemory.h"
#include "platform/HttpClient.h"
#include "transfer/UploadEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The server binary next to this one; it prints "listening on PORT" first.
class BenchServer {
public:
    explicit BenchServer(const QString& uploadDir) {
        const QString binary = QCoreApplication::applicationDirPath() + "/vantrel-testserver";
        process_.start(binary, {"--root", uploadDir, "--upload-dir", uploadDir});
        if (process_.waitForStarted() && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().mid(13).toInt();
    }
    ~BenchServer() {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

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

double CurlSeconds(const QString& path, int port) {
    QElapsedTimer timer;
    timer.start();
    const int exitCode = QProcess::execute(
        "curl", {"-s", "-o", "/dev/null", "-F", "path=disk/", "-F", "file_attach=@" + path,
                 QString("http://127.0.0.1:%1/upload.php?upinx=0").arg(port)});
    const double seconds = timer.nsecsElapsed() / 1e9;
    return exitCode == 0 ? seconds : -1.0;
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
    BenchServer server(uploads.path());
    if (server.port() <= 0) {
        state.SkipWithError("test server did not start");
        return;
    }
    double engine = 0, curl = 0;
    for (auto _ : state) {
        engine = EngineSeconds(path, size, server.port());
        curl = CurlSeconds(path, server.port());
        state.SetIterationTime(engine);
    }
    if (engine <= 0 || curl <= 0) {
        state.SkipWithError("an upload failed");
        return;
    }
    const double mib = size / 1048576.0;
    state.counters["engine_MiB_s"] = mib / engine;
    state.counters["curl_MiB_s"] = mib / curl;
    state.counters["ratio_vs_curl"] = curl / engine;
    state.counters["peak_rss_MiB"] = bench::PeakResidentKiB() / 1024.0;
    std::printf("upload throughput ratio vs curl -F: %.2f (engine %.0f MiB/s, curl %.0f MiB/s)\n",
                curl / engine, mib / engine, mib / curl);
}

} // namespace

BENCHMARK(BM_UploadAgainstCurl)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
