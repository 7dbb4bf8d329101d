#pragma once

// A generated server catalogue at page scale, shared by the catalogue and script benchmarks:
// one disk, top folders each holding subfolders, 50 files in every folder.

#include "common/SilentPrompter.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <pugixml.hpp>

namespace bench {

constexpr int kFilesPerFolder = 50;
constexpr int kSubfoldersPerFolder = 49; // top folders each hold this many subfolders

inline QByteArray FilesOf(const QByteArray& folderPath, int count) {
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
inline QByteArray CatalogueText(int files) {
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
inline const QString& CatalogueFile(int files) {
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
inline QString ConsumableCopy(int files) {
    const QString copy = CatalogueFile(files) + ".load";
    QFile::remove(copy);
    QFile::copy(CatalogueFile(files), copy);
    return copy;
}

// One cold parse of the generated file with pugixml alone: the baseline the catalogue and
// script benchmarks divide by.
inline double RawParseSeconds(int files) {
    const QByteArray path = CatalogueFile(files).toLocal8Bit();
    const auto start = std::chrono::steady_clock::now();
    pugi::xml_document document;
    document.load_file(path.constData());
    benchmark::DoNotOptimize(document.document_element());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline averaged over three parses.
inline double AverageRawParseSeconds(int files) {
    double total = 0.0;
    for (int i = 0; i < 3; ++i)
        total += RawParseSeconds(files);
    return total / 3;
}

// Times `enumerate` (which reads every file and returns how many it read) after a change to
// `touch`, so each run walks its collection afresh; reports the time against a raw parse.
template <typename Touch, typename Enumerate>
void MeasureEnumeration(benchmark::State& state, int files, Touch touch, Enumerate enumerate) {
    const double rawParse = AverageRawParseSeconds(files);
    double enumeration = 0.0;
    for (auto _ : state) {
        touch(QString::number(state.iterations()));
        const auto start = std::chrono::steady_clock::now();
        const int count = enumerate();
        enumeration +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (count != files)
            state.SkipWithError("wrong file count");
    }
    state.counters["ratio_to_raw_parse"] = enumeration / state.iterations() / rawParse;
    state.SetItemsProcessed(state.iterations() * files);
}

} // namespace bench
