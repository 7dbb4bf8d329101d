// What the windows add to the transfer they run: a 0-byte upload through StartUpload with the
// list-building window before it (as HttpSendAttach runs it) and a 1-byte download through
// StartDownload, offscreen, against the same transfer run by its engine alone. Target: the
// windows add under 50 ms to a run.
#include "BenchServer.h"
#include "RecordingEvents.h"
#include "common/SilentPrompter.h"
#include "panes/local/widgets/FolderScanWindow.h"
#include "panes/server/QueuedUploads.h"
#include "settings/ControlSettings.h"
#include "transfer/DownloadEngine.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadRows.h"
#include "transfer/widgets/DownloadStart.h"
#include "transfer/widgets/StartUpload.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"
#include "xml/XmlDocument.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

namespace {

constexpr double kTargetMs = 50;
constexpr int kRounds = 15;

// The median of `rounds` timings of `run` in milliseconds, `prepare` running untimed before
// each; -1 when a run fails.
double MedianMs(const std::function<void()>& prepare, const std::function<bool()>& run) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        if (!run())
            return -1;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

void Report(benchmark::State& state, const char* what, double window, double engine) {
    const double overhead = window - engine;
    state.counters["window_ms"] = window;
    state.counters["engine_ms"] = engine;
    state.counters["overhead_ms"] = overhead;
    std::printf("%s: %.1f ms in its window, %.1f ms by the engine alone, overhead %.1f ms "
                "(target under %.0f ms)\n",
                what, window, engine, overhead, kTargetMs);
    if (window < 0 || engine < 0)
        state.SkipWithError("a transfer failed");
    else if (overhead >= kTargetMs)
        state.SkipWithError("the window's overhead is over its target");
}

void BM_EmptyUploadWindowOverhead(benchmark::State& state) {
    QTemporaryDir local, uploads, work;
    const QString empty = local.filePath("empty.txt");
    const QString cataloguePath = work.filePath("catalogue.xml");
    const QByteArray catalogueText =
        QStringLiteral("<MORVEXXML><FOLDER type=\"disk\" name=\"disk\"><FILE path=\"%1\" "
                       "name=\"empty.txt\" transtype=\"local\" size=\"0\"/></FOLDER></MORVEXXML>")
            .arg(empty)
            .toUtf8();
    bench::BenchServer server({"--root", work.path(), "--upload-dir", uploads.path()});
    SilentPrompter prompter;
    ServerCatalogue catalogue;
    ChangeJournal journal;
    UIConfig ui;
    ControlSettings settings;
    settings.HttpServerName = "127.0.0.1";
    settings.HttpPORT = static_cast<quint16>(server.port());
    settings.Charset = "utf-8";
    const UploadContext context{settings, catalogue, journal, ui, prompter, nullptr};
    QueuedUploads queued;
    queued.note(empty);
    const UploadRowSource listBuild = [&](QList<UploadRow>& rows) {
        return RunUploadListBuild(nullptr, ui, catalogue, queued, rows);
    };
    const auto queueEmptyFile = [&] {
        WriteText(empty, {});
        WriteText(cataloguePath, catalogueText);
        catalogue.LoadFile(cataloguePath, prompter);
        journal.Create(prompter);
    };
    double window = -1, engine = -1;
    for (auto _ : state) {
        window = MedianMs(queueEmptyFile,
                          [&] { return StartUpload(context, "/up.php", listBuild) == 0; });
        engine = MedianMs(queueEmptyFile, [&] {
            UploadJob job;
            job.charset = "UTF-8";
            job.server = "127.0.0.1";
            job.port = static_cast<quint16>(server.port());
            job.postPath = "/up.php";
            for (const UploadRow& row : CollectUploadRows(catalogue))
                job.addRow(row);
            RunUpload(job);
            FinishUpload(job, catalogue, journal, prompter);
            return job.resultCode() == 0;
        });
        state.SetIterationTime(window / 1000);
    }
    Report(state, "0-byte upload", window, engine);
}

void BM_OneByteDownloadWindowOverhead(benchmark::State& state) {
    QTemporaryDir served, local;
    WriteText(served.filePath("one.txt"), "1");
    bench::BenchServer server({"--root", served.path()});
    XmlDocument doc;
    doc.parseText(R"(<R><FILE name="one.txt" path="/one.txt" size="1" transtype="server"/></R>)");
    const XmlNode file = doc.root().child(0);
    SilentPrompter prompter;
    RecordingEvents events;
    UIConfig ui;
    ControlSettings settings;
    settings.hostBaseUrl = server.base();
    settings.Charset = "utf-8";
    settings.DownPathFix = local.path();
    DownloadHost host{settings, ui, prompter, events, nullptr, [](const QString&) {}, {}};
    const auto removeCopy = [&] {
        QFile::remove(local.filePath("one.txt"));
    };
    double window = -1, engine = -1;
    for (auto _ : state) {
        window = MedianMs(removeCopy, [&] { return StartDownload(host, {file}) == 0; });
        engine = MedianMs(removeCopy, [&] {
            DownloadJob job;
            job.settings.charset = "UTF-8";
            job.settings.hostBase = server.base();
            job.settings.downloadFolder = local.path();
            job.settings.fixedFolder = true;
            job.addFileRow("one.txt", "/one.txt", 1, {});
            class NoQuestions : public DownloadQuestions {
            public:
                OverwriteAnswer askOverwrite(const QString&) override { return {}; }
                QString askSavePath(const QString&) override { return {}; }
            } questions;
            RunDownload(job, questions);
            return job.resultCode() == 0;
        });
        state.SetIterationTime(window / 1000);
    }
    Report(state, "1-byte download", window, engine);
}

} // namespace

BENCHMARK(BM_EmptyUploadWindowOverhead)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneByteDownloadWindowOverhead)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
