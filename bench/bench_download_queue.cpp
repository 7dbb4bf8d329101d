// Queueing a folder for download: a chain of nested folders and one folder of many files, at
// 10,000 and 100,000 rows. Time per row should stay flat from one size to the next.
#include "transfer/DownloadQueue.h"
#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray NestedFolders(int depth) {
    QByteArray text;
    for (int level = 0; level < depth; ++level)
        text += "<FOLDER name=\"d" + QByteArray::number(level) + "\">";
    for (int level = 0; level < depth; ++level)
        text += "</FOLDER>";
    return text;
}

QByteArray WideFolder(int width) {
    QByteArray text = "<FOLDER name=\"wide\">";
    for (int i = 0; i < width; ++i)
        text += "<FILE name=\"f" + QByteArray::number(i) +
                ".bin\" transtype=\"server\" path=\"/w/f.bin\" size=\"10\"/>";
    return text + "</FOLDER>";
}

void QueueAll(benchmark::State& state, const QByteArray& text) {
    XmlDocument document;
    if (document.parseBytes(text) != XmlDocument::ParseStatus::Parsed) {
        state.SkipWithError("the document did not parse");
        return;
    }
    for (auto _ : state) {
        DownloadJob job;
        QueueDownloadElements(job, {document.root()}, "_");
        benchmark::DoNotOptimize(job.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_QueueNestedFolders(benchmark::State& state) {
    QueueAll(state, NestedFolders(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_QueueNestedFolders)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QueueWideFolder(benchmark::State& state) {
    QueueAll(state, WideFolder(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_QueueWideFolder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
