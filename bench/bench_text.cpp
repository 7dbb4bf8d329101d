#include "common/TextCodec.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kTextBytes = 1024 * 1024;

// About 1 MiB of mixed Hangul and ASCII in the given encoding.
QString sampleText() {
    const QString piece = QString::fromUtf8("파일 목록 file-list.xml ");
    return piece.repeated(kTextBytes / ToBytes(piece, "UTF-8").size());
}

void encodeBench(benchmark::State& state, const char* encoding) {
    const QString text = sampleText();
    for (auto _ : state)
        benchmark::DoNotOptimize(ToBytes(text, encoding));
    state.SetBytesProcessed(state.iterations() * kTextBytes);
}

void decodeBench(benchmark::State& state, const char* encoding) {
    const QByteArray bytes = ToBytes(sampleText(), encoding);
    for (auto _ : state)
        benchmark::DoNotOptimize(FromBytes(bytes, encoding));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK_CAPTURE(encodeBench, Utf8, "UTF-8");
BENCHMARK_CAPTURE(encodeBench, CodePage, "EUC-KR");
BENCHMARK_CAPTURE(decodeBench, Utf8, "UTF-8");
BENCHMARK_CAPTURE(decodeBench, CodePage, "EUC-KR");
