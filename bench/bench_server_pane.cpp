// The server pane at scale: filling a folder of 20,000 files, and 10,000 AddServerFile calls
// with list drawing switched off.
#include "ServerPaneBench.h"

#include <benchmark/benchmark.h>

namespace {

// A disk "D" holding the folder "big" of `files` files.
QByteArray catalogueOf(int files) {
    QString xml = "<MORVEXXML><FOLDER type=\"disk\" name=\"D\"><FOLDER name=\"big\">";
    for (int i = 0; i < files; ++i)
        xml += QString("<FILE name=\"f%1.txt\" transtype=\"server\" size=\"%1\"/>").arg(i);
    xml += "</FOLDER></FOLDER></MORVEXXML>";
    return xml.toUtf8();
}

void BM_FillFolderOf20000Files(benchmark::State& state) {
    bench::ServerPane pane(catalogueOf(20000));
    for (auto _ : state) {
        pane.controller.goToFolder("D", 0);
        pane.controller.goToFolder("D/big", 0);
        pane.controller.selectAll();
        benchmark::DoNotOptimize(pane.controller.selectedField("name", 19999));
    }
}
BENCHMARK(BM_FillFolderOf20000Files)->Unit(benchmark::kMillisecond);

void BM_AddServerFileWithDrawOff(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        bench::ServerPane pane(catalogueOf(0));
        pane.controller.goToFolder("D/big", 0);
        state.ResumeTiming();
        pane.controller.setListDraw(false);
        for (int i = 0; i < count; ++i) {
            const QString name = QString("n%1").arg(i);
            pane.controller.addServerFile("/D/big/" + name, name, 100, "Text", "2024-01-01");
        }
        pane.controller.setListDraw(true);
        benchmark::DoNotOptimize(pane.model.rowCount());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddServerFileWithDrawOff)
    ->Arg(2500)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace
