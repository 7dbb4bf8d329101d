#include "common/SilentPrompter.h"
#include "xml/ChangeJournal.h"

#include <benchmark/benchmark.h>

namespace {

// Times, for each iteration, a fresh journal that `write(journal, i, prompter)` fills with
// `records` records and `read(journal)` reads back by index as page script does.
template <typename Write, typename Read>
void RunJournalBench(benchmark::State& state, Write write, Read read) {
    SilentPrompter prompter;
    const int records = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ChangeJournal journal;
        journal.Create(prompter);
        for (int i = 0; i < records; ++i)
            write(journal, i, prompter);
        read(journal);
    }
    state.SetComplexityN(records);
}

// Delete records, every field read back.
void journalDeleteListBench(benchmark::State& state) {
    RunJournalBench(
        state,
        [](ChangeJournal& journal, int i, Prompter& prompter) {
            const QString name = QStringLiteral("file%1.txt").arg(i);
            journal.AddDeleteRecord("/disk/docs/" + name, name, QString::number(i * 17),
                                    "disk/docs/", "FOLDER[@name=\"docs\"]", prompter);
        },
        [](const ChangeJournal& journal) {
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
        });
}

// The same over a mixed list read by kind: rename folders and files interleaved.
void journalRenameListBench(benchmark::State& state) {
    RunJournalBench(
        state,
        [](ChangeJournal& journal, int i, Prompter& prompter) {
            const QString old = QStringLiteral("/disk/a/n%1").arg(i);
            if (i % 2 == 0)
                journal.AddMoveFolderRecord(MoveKind::Rename, old, old + "x", "q", prompter);
            else
                journal.AddMoveFileRecord(MoveKind::Rename, old, old + "x", "disk/a/", "q", "real",
                                          prompter);
        },
        [](const ChangeJournal& journal) {
            for (int i = 0; i < journal.GetRenameFolderCount(); ++i) {
                benchmark::DoNotOptimize(journal.GetRenameFolderOldPath(i));
                benchmark::DoNotOptimize(journal.GetRenameName("d", i));
            }
            for (int i = 0; i < journal.GetRenameFileCount(); ++i) {
                benchmark::DoNotOptimize(journal.GetRenameOldFile(i));
                benchmark::DoNotOptimize(journal.GetRenameXmlPath(i));
                benchmark::DoNotOptimize(journal.GetRenameName("f", i));
            }
        });
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
