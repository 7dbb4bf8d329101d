// The local pane at scale: listing a folder of 50,000 files into the list model in one reset,
// the attach scan of a 100,000-file tree against `find` over the same tree, and applying
// 150,000 found files to the server pane in slices.

#include "ServerPaneBench.h"
#include "panes/local/FolderScanner.h"
#include "panes/local/LocalListModel.h"
#include "panes/local/RealLocalNamespace.h"
#include "panes/local/ScanApplier.h"
#include "panes/local/ServerAttachTarget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>

namespace {

constexpr int kListFiles = 50000;
constexpr int kScanFolders = 100;
constexpr int kScanFilesPerFolder = 1000;

const char* const kExtensions[] = {"txt", "jpg", "pdf", "cpp", "zip", "png", "md", "bin"};

void makeFiles(const QString& folder, int count) {
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/file%1.%2").arg(i).arg(kExtensions[i % 8]));
        file.open(QIODevice::WriteOnly);
    }
}

// Made once per run of the binary and removed at its end.
const QTemporaryDir& listFolder() {
    static QTemporaryDir dir;
    static const bool made = (makeFiles(dir.path(), kListFiles), true);
    (void)made;
    return dir;
}

const QTemporaryDir& scanTree() {
    static QTemporaryDir dir;
    static const bool made = [] {
        for (int f = 0; f < kScanFolders; ++f)
            makeFiles(dir.path() + QStringLiteral("/d%1/e%2").arg(f % 10).arg(f),
                      kScanFilesPerFolder);
        return true;
    }();
    (void)made;
    return dir;
}

void BM_ListFolder50k(benchmark::State& state) {
    RealLocalNamespace names;
    const std::filesystem::path folder = PathFromText(listFolder().path());
    LocalListModel model;
    for (auto _ : state) {
        std::vector<LocalEntry> entries;
        names.list(folder, false, entries);
        model.fill(LocalListModel::rowsFor(std::move(entries), QStringLiteral("%Y-%m-%d %H:%M")));
        for (int row = 0; row < model.rowCount(); ++row)
            benchmark::DoNotOptimize(model.data(model.index(row, 0), Qt::DecorationRole));
        if (model.rowCount() != kListFiles)
            state.SkipWithError("the folder did not list");
    }
    state.SetItemsProcessed(state.iterations() * kListFiles);
}

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each iteration times one scan and one `find` of the same (warm) tree; "ratio" is
// scan time over find time and should stay at or below 1.5.
void BM_AttachScanVsFind100k(benchmark::State& state) {
    const QString root = scanTree().path();
    const std::string findCommand =
        "find '" + QFile::encodeName(root).toStdString() + "' > /dev/null";
    double scanSeconds = 0, findSeconds = 0;
    long long files = 0;
    for (auto _ : state) {
        std::atomic<bool> keepRunning{true};
        ScanQueue queue;
        scanSeconds += secondsOf([&] {
            ScanFolder(PathFromText(root), keepRunning, queue);
            benchmark::DoNotOptimize(queue.take());
        });
        files = queue.filesSeen.load();
        findSeconds +=
            secondsOf([&] { benchmark::DoNotOptimize(std::system(findCommand.c_str())); });
    }
    if (files != kScanFolders * kScanFilesPerFolder)
        state.SkipWithError("the scan missed files");
    state.counters["ratio"] = findSeconds > 0 ? scanSeconds / findSeconds : 0;
    state.counters["scan_ms"] =
        benchmark::Counter(scanSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["find_ms"] =
        benchmark::Counter(findSeconds * 1000, benchmark::Counter::kAvgIterations);
}

constexpr int kApplyFolders = 150;
constexpr int kApplyFilesPerFolder = 1000;

// The server pane over a catalogue of one empty disk, selected, with its list model attached
// and drawing off as a folder attach has it.
struct AttachPane : bench::ServerPane {
    AttachPane() : ServerPane(R"(<MORVEXXML><FOLDER type="disk" name="D"/></MORVEXXML>)") {
        controller.selectNode(controller.tree().topLevel().front().get());
        target.setDrawing(false);
        target.beginBatch();
    }
    ServerAttachTarget target{controller};
};

// A structured walk of 150 folders of 1,000 files each. The files of every folder are the
// same 1,000 real files, so the tree need not be made 150,000 times over on disk.
std::vector<ScanItem> walkOf150kFiles() {
    static QTemporaryDir dir;
    static const bool made = (makeFiles(dir.path(), kApplyFilesPerFolder), true);
    (void)made;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromText(dir.path())))
        files.push_back(entry.path());
    std::vector<ScanItem> steps;
    for (int folder = 0; folder < kApplyFolders; ++folder) {
        steps.push_back(
            {ScanStep::EnterFolder, PathFromText(dir.filePath(QString("d%1").arg(folder)))});
        for (const auto& file : files)
            steps.push_back({ScanStep::File, file});
        steps.push_back({ScanStep::LeaveFolder, {}});
    }
    return steps;
}

// Applies a found walk of 150,000 files as the scan window does, one slice per turn of the
// event loop. "longest_slice_ms" is the longest the UI thread is held at once (the window
// repaints and hears its stop button between slices; the target is under 100 ms);
// "apply_ms" is the whole apply, which the UI thread would otherwise be held for in one go;
// "flush_ms" is the end of the batch, when the list's views learn of the new rows at once.
void BM_AttachApply150kInSlices(benchmark::State& state) {
    const std::vector<ScanItem> walk = walkOf150kFiles();
    double longest = 0, total = 0, flush = 0, slices = 0, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        AttachPane pane;
        ScanQueue queue;
        std::vector<ScanItem> steps = walk;
        queue.push(steps);
        queue.finish();
        const std::atomic<bool> keepRunning{true};
        ScanApplier applier(pane.target, pane.events, true, pane.target.currentFolder());
        state.ResumeTiming();
        while (applier.hasWaitingSteps(queue)) {
            const double seconds = secondsOf([&] { applier.applySlice(queue, keepRunning); });
            longest = std::max(longest, seconds);
            total += seconds;
            ++slices;
        }
        flush += secondsOf([&] {
            pane.target.endBatch();
            pane.target.setDrawing(true);
        });
        added = applier.filesAdded();
    }
    if (added != kApplyFolders * kApplyFilesPerFolder)
        state.SkipWithError("files were refused");
    state.counters["longest_slice_ms"] = longest * 1000;
    state.counters["apply_ms"] =
        benchmark::Counter(total * 1000, benchmark::Counter::kAvgIterations);
    state.counters["flush_ms"] =
        benchmark::Counter(flush * 1000, benchmark::Counter::kAvgIterations);
    state.counters["slices"] = benchmark::Counter(slices, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_ListFolder50k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttachScanVsFind100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AttachApply150kInSlices)->Unit(benchmark::kMillisecond)->Iterations(2);
