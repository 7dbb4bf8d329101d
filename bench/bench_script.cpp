// A page enumerating every file of a large catalogue through the script methods, as page
// script really does it: GetServerListFileCount, then GetServerListFileItem per index.

#include "CatalogueFixture.h"
#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"

#include <QJSEngine>
#include <benchmark/benchmark.h>

namespace {

using namespace bench;

const char* const kEnumerate = R"((function () {
    var count = ctrl.GetServerListFileCount("disk", true), total = 0;
    for (var i = 0; i < count; ++i)
        total += ctrl.GetServerListFileItem("disk", true, "name", i).length;
    return count;
}))";

void BM_ScriptEnumerateAllFiles(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    SilentPrompter prompter;
    CMxVantrel2Ctrl ctrl;
    ServerCatalogue& catalogue = ctrl.session().catalogue();
    if (!catalogue.LoadFile(ConsumableCopy(files), prompter)) {
        state.SkipWithError("catalogue did not load");
        return;
    }
    QJSEngine engine;
    QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
    engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
    QJSValue enumerate = engine.evaluate(kEnumerate);

    MeasureEnumeration(
        state, files,
        [&](const QString& run) { catalogue.SetAttribute(catalogue.root(), "run", run); },
        [&] { return enumerate.call().toInt(); });
}

} // namespace

BENCHMARK(BM_ScriptEnumerateAllFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
