// Server catalogue at page scale: raw parse as the baseline, the strict well-formedness check
// that runs before every parse, the catalogue load, and reading every file back through the
// count and item queries, at 10k and 100k files (50 per folder).

#include "CatalogueFixture.h"
#include "xml/ServerCatalogue.h"
#include "xml/WellFormedCheck.h"

#include <benchmark/benchmark.h>

namespace {

using namespace bench;

void BM_CatalogueRawParse(benchmark::State& state) {
    const QByteArray path = CatalogueFile(static_cast<int>(state.range(0))).toLocal8Bit();
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_file(path.constData()));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CatalogueWellFormedCheck(benchmark::State& state) {
    QFile file(CatalogueFile(static_cast<int>(state.range(0))));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("catalogue file missing");
        return;
    }
    const QByteArray text = file.readAll();
    for (auto _ : state) {
        if (!CheckWellFormed(text, EncodingLabel::Binding).isWellFormed())
            state.SkipWithError("catalogue refused");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_CatalogueLoad(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    SilentPrompter prompter;
    for (auto _ : state) {
        state.PauseTiming();
        const QString copy = ConsumableCopy(files);
        ServerCatalogue catalogue;
        state.ResumeTiming();
        const bool loaded = catalogue.LoadFile(copy, prompter);
        state.PauseTiming();
        if (!loaded || catalogue.GetServerListFileCount("disk", true) != files)
            state.SkipWithError("catalogue did not load");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * files);
}

// Every file's name by index, as a page enumerates them; each run starts after a change so
// the collection is walked afresh.
void BM_CatalogueEnumerateAllFiles(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    SilentPrompter prompter;
    ServerCatalogue catalogue;
    if (!catalogue.LoadFile(ConsumableCopy(files), prompter)) {
        state.SkipWithError("catalogue did not load");
        return;
    }
    MeasureEnumeration(
        state, files,
        [&](const QString& run) { catalogue.SetAttribute(catalogue.root(), "run", run); },
        [&] {
            const int count = catalogue.GetServerListFileCount("disk", true);
            for (int i = 0; i < count; ++i)
                benchmark::DoNotOptimize(catalogue.GetServerListFileItem("disk", true, "name", i));
            return count;
        });
}

} // namespace

BENCHMARK(BM_CatalogueRawParse)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueWellFormedCheck)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueLoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueEnumerateAllFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
