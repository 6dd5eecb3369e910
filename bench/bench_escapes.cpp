// Japanese text to escapes and back, for texts of 10,000 and 100,000 characters (a tenfold text
// should take about ten times as long), next to the plain UTF-8 round trip of the same text.
#include "app/Escapes.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

// Hiragana, kanji and a character outside the Basic Multilingual Plane, repeated.
QString Text(qsizetype size)
{
    static const QString sample = QStringView(u"あいう漢字カナ😀abc").toString();
    QString text;
    text.reserve(size);
    while (text.size() < size)
        text += sample;
    text.truncate(size);
    return text;
}

void BM_TextToEscapes(benchmark::State &state)
{
    const QString text = Text(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToPovEscapes(text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_EscapesToText(benchmark::State &state)
{
    const QString escapes = TextToPovEscapes(Text(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ChangeDelHex(escapes));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Utf8RoundTripReference(benchmark::State &state)
{
    const QString text = Text(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::fromUtf8(text.toUtf8()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_Utf8RoundTripReference)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToEscapes)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapesToText)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
