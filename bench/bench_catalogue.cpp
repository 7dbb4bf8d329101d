// Server catalogue at page scale: raw parse as the baseline, the catalogue load, and reading
// every file back through the count and item queries, at 10k and 100k files (50 per folder).

#include "common/Prompter.h"
#include "xml/ServerCatalogue.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <pugixml.hpp>

namespace {

constexpr int kFilesPerFolder = 50;
constexpr int kSubfoldersPerFolder = 49; // top folders each hold this many subfolders

class SilentPrompter : public Prompter {
public:
    void message(const QString&, const QString&) override {}
    int ask(const QString&, const QString&, const QStringList&, int defaultButton) override {
        return defaultButton;
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString&, const QString&) override {}
};

QByteArray FilesOf(const QByteArray& folderPath, int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = "file" + QByteArray::number(i) + ".dat";
        text += "<FILE path=\"/" + folderPath + "/" + name + "\" name=\"" + name +
                "\" transtype=\"server\" size=\"" + QByteArray::number(1000 + i) +
                "\" type=\"Data\" modifydate=\"2024-05-01 12:00\"/>";
    }
    return text;
}

// A catalogue of `files` files: one disk, top folders each holding subfolders, 50 files in
// every folder.
QByteArray CatalogueText(int files) {
    const int folders = files / kFilesPerFolder;
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><MORVEXXML>"
                      "<FOLDER type=\"disk\" name=\"disk\">";
    for (int top = 0; top * (kSubfoldersPerFolder + 1) < folders; ++top) {
        const QByteArray topPath = "disk/top" + QByteArray::number(top);
        text += "<FOLDER name=\"top" + QByteArray::number(top) + "\">";
        for (int sub = 0; sub < kSubfoldersPerFolder; ++sub) {
            const QByteArray name = "sub" + QByteArray::number(sub);
            text += "<FOLDER name=\"" + name + "\">" +
                    FilesOf(topPath + "/" + name, kFilesPerFolder) + "</FOLDER>";
        }
        text += FilesOf(topPath, kFilesPerFolder) + "</FOLDER>";
    }
    return text + "</FOLDER></MORVEXXML>";
}

// The generated catalogue files, made once per size.
const QString& CatalogueFile(int files) {
    static QTemporaryDir dir;
    static QMap<int, QString> made;
    if (!made.contains(files)) {
        const QString path = dir.filePath(QString("catalogue%1.xml").arg(files));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(CatalogueText(files));
        made.insert(files, path);
    }
    return made[files];
}

// A copy the catalogue may consume (it deletes the file it loads).
QString ConsumableCopy(int files) {
    const QString copy = CatalogueFile(files) + ".load";
    QFile::remove(copy);
    QFile::copy(CatalogueFile(files), copy);
    return copy;
}

double RawParseSeconds(int files) {
    const QByteArray path = CatalogueFile(files).toLocal8Bit();
    const auto start = std::chrono::steady_clock::now();
    pugi::xml_document document;
    document.load_file(path.constData());
    benchmark::DoNotOptimize(document.document_element());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CatalogueRawParse(benchmark::State& state) {
    const QByteArray path = CatalogueFile(static_cast<int>(state.range(0))).toLocal8Bit();
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_file(path.constData()));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
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
    double rawParse = 0.0;
    for (int i = 0; i < 3; ++i)
        rawParse += RawParseSeconds(files) / 3;
    double enumeration = 0.0;
    for (auto _ : state) {
        catalogue.SetAttribute(catalogue.root(), "run", QString::number(state.iterations()));
        const auto start = std::chrono::steady_clock::now();
        const int count = catalogue.GetServerListFileCount("disk", true);
        for (int i = 0; i < count; ++i)
            benchmark::DoNotOptimize(catalogue.GetServerListFileItem("disk", true, "name", i));
        enumeration +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (count != files)
            state.SkipWithError("wrong file count");
    }
    state.counters["ratio_to_raw_parse"] = enumeration / state.iterations() / rawParse;
    state.SetItemsProcessed(state.iterations() * files);
}

} // namespace

BENCHMARK(BM_CatalogueRawParse)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueLoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueEnumerateAllFiles)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
