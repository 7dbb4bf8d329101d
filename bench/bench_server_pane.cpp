// The server pane at scale: filling a folder of 20,000 files, and 10,000 AddServerFile calls
// with list drawing switched off.
#include "RecordingEvents.h"
#include "common/Prompter.h"
#include "control/ControlSettings.h"
#include "panes/server/ServerListItemModel.h"
#include "panes/server/ServerPaneController.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class SilentPrompter : public Prompter {
public:
    void message(const QString&, const QString&) override {}
    int ask(const QString&, const QString&, const QStringList&, int b) override { return b; }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString&, const QString&) override {}
};

struct Pane {
    explicit Pane(int files) {
        QString xml = "<MORVEXXML><FOLDER type=\"disk\" name=\"D\"><FOLDER name=\"big\">";
        for (int i = 0; i < files; ++i)
            xml += QString("<FILE name=\"f%1.txt\" transtype=\"server\" size=\"%1\"/>").arg(i);
        xml += "</FOLDER></FOLDER></MORVEXXML>";
        const QString path = dir.filePath("c.xml");
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(xml.toUtf8());
        out.close();
        catalogue.LoadFile(path, prompter);
        journal.Create(prompter);
        controller.buildTree();
    }
    QTemporaryDir dir;
    SilentPrompter prompter;
    RecordingEvents events;
    ControlSettings settings;
    UIConfig uiConfig;
    ServerCatalogue catalogue;
    ChangeJournal journal;
    ServerPaneController controller{catalogue, journal, settings, uiConfig, prompter, events};
    ServerListItemModel model{controller.list()};
};

void BM_FillFolderOf20000Files(benchmark::State& state) {
    Pane pane(20000);
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
        Pane pane(0);
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
