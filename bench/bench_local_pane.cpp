// The local pane at scale: listing a folder of 50,000 files into the list model in one reset,
// and the attach scan of a 100,000-file tree against `find` over the same tree.

#include "panes/local/FolderScanner.h"
#include "panes/local/LocalListModel.h"
#include "panes/local/RealLocalNamespace.h"

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

} // namespace

BENCHMARK(BM_ListFolder50k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttachScanVsFind100k)->Unit(benchmark::kMillisecond)->Iterations(3);
