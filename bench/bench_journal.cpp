#include "common/SilentPrompter.h"
#include "xml/ChangeJournal.h"

#include <benchmark/benchmark.h>

namespace {

// A fresh journal, `records` delete records written, then every field read back by index as
// page script does.
void journalDeleteListBench(benchmark::State& state) {
    SilentPrompter prompter;
    const int records = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ChangeJournal journal;
        journal.Create(prompter);
        for (int i = 0; i < records; ++i) {
            const QString name = QStringLiteral("file%1.txt").arg(i);
            journal.AddDeleteRecord("/disk/docs/" + name, name, QString::number(i * 17),
                                    "disk/docs/", "FOLDER[@name=\"docs\"]", prompter);
        }
        double total = 0;
        for (int i = 0; i < journal.GetServerDeleteFileCount(); ++i) {
            benchmark::DoNotOptimize(journal.GetServerDeleteFile(i));
            benchmark::DoNotOptimize(journal.GetServerDeleteFilename(i));
            benchmark::DoNotOptimize(journal.GetServerDeleteFilePath(i));
            benchmark::DoNotOptimize(journal.GetServerDeleteFileXmlPath(i));
            benchmark::DoNotOptimize(journal.GetServerDeleteFileXmlQuery(i));
            total += journal.GetServerDeleteFilesize(i);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetComplexityN(records);
}

// The same over a mixed list read by kind: rename folders and files interleaved.
void journalRenameListBench(benchmark::State& state) {
    SilentPrompter prompter;
    const int records = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ChangeJournal journal;
        journal.Create(prompter);
        for (int i = 0; i < records; ++i) {
            const QString old = QStringLiteral("/disk/a/n%1").arg(i);
            if (i % 2 == 0)
                journal.AddMoveFolderRecord(MoveKind::Rename, old, old + "x", "q", prompter);
            else
                journal.AddMoveFileRecord(MoveKind::Rename, old, old + "x", "disk/a/", "q", "real",
                                          prompter);
        }
        for (int i = 0; i < journal.GetRenameFolderCount(); ++i) {
            benchmark::DoNotOptimize(journal.GetRenameFolderOldPath(i));
            benchmark::DoNotOptimize(journal.GetRenameName("d", i));
        }
        for (int i = 0; i < journal.GetRenameFileCount(); ++i) {
            benchmark::DoNotOptimize(journal.GetRenameOldFile(i));
            benchmark::DoNotOptimize(journal.GetRenameXmlPath(i));
            benchmark::DoNotOptimize(journal.GetRenameName("f", i));
        }
    }
    state.SetComplexityN(records);
}

} // namespace

BENCHMARK(journalDeleteListBench)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(journalRenameListBench)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
