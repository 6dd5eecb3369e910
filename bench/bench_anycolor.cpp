// Refusing 10 MB of pasted or dropped text: the whole path from the clipboard's data to "no
// colour" (ColorFromMime), and ParseAnyColor alone, beside the floor that any reader of the text
// pays, Qt's own decoding of the bytes into a QString. Colour data and a short notation for scale.
#include "colour/AnyColor.h"
#include "app/ColorDrop.h"

#include <benchmark/benchmark.h>

#include <QColor>
#include <QMimeData>

namespace {

constexpr qsizetype TenMB = 10 * 1024 * 1024;

const QByteArray &TenMBBytes()
{
    static const QByteArray bytes(TenMB, '7');
    return bytes;
}

void BM_Reference_DecodeTenMBText(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::fromUtf8(TenMBBytes()));
}

void BM_ColorFromMime_TenMBText(benchmark::State &state)
{
    QMimeData data;
    data.setData(QStringLiteral("text/plain"), TenMBBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(ColorFromMime(&data));
}

void BM_ParseAnyColor_TenMBText(benchmark::State &state)
{
    const QString text = QString::fromUtf8(TenMBBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseAnyColor(text));
}

// The worst case for the parser: a colour inside the longest run of blanks it still skips.
void BM_ParseAnyColor_MillionBlanksAroundAColour(benchmark::State &state)
{
    const QString pad((1 << 20) / 2 - 4, QLatin1Char(' '));
    const QString text = pad + QStringLiteral("#98B5D1") + pad;
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseAnyColor(text));
}

void BM_ParseAnyColor_Hsl(benchmark::State &state)
{
    const QString text = QStringLiteral("hsl(210, 40%, 70%)");
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseAnyColor(text));
}

void BM_ColorFromMime_ColourData(benchmark::State &state)
{
    QMimeData data;
    data.setColorData(QColor(152, 181, 209));
    for (auto _ : state)
        benchmark::DoNotOptimize(ColorFromMime(&data));
}

} // namespace

BENCHMARK(BM_Reference_DecodeTenMBText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorFromMime_TenMBText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAnyColor_TenMBText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseAnyColor_MillionBlanksAroundAColour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAnyColor_Hsl);
BENCHMARK(BM_ColorFromMime_ColourData);
