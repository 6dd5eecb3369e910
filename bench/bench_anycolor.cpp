// Refusing 10 MB of pasted or dropped text: the whole path from the clipboard's data to "no
// colour" (ColorFromMime), and ParseAnyColor and ReadExactColour alone, beside the floor that any
// reader of the text pays, Qt's own decoding of the bytes into a QString. Colour data, a short
// notation and one CSS text of every kind for scale; the exact reading of single texts, of
// relative colours with calc() and of the longest CSS function it reads.
#include "colour/AnyColor.h"
#include "colour/ExactColour.h"
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

// One CSS text of each kind, the slowest being those that need gamut mapping.
const char *const CssTexts[] = {
    "#98b5d1", "rgb(152 181 209 / 50%)", "hsl(0.5turn 40% 50%)", "hwb(200 20% 10%)", "lab(52 40 -30)",
    "lch(52 50 323.13deg)", "oklab(0.6 0.1 -0.05)", "oklch(0.7 0.1 200)", "color(display-p3 0.2 0.5 0.8)",
    "oklch(0.7 0.3 30)", "color(rec2020 1 0 0)", "rebeccapurple",
};

void BM_ParseAnyColor_Css(benchmark::State &state)
{
    const QString text = QString::fromLatin1(CssTexts[state.range(0)]);
    state.SetLabel(text.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseAnyColor(text));
}

// The exact reading of the same texts and of the CSS Color 5 forms without calc(): every one under
// 5 µs.
const char *const ExactTexts[] = {
    "#98b5d1", "rgb(152 181 209 / 50%)", "hsl(0.5turn 40% 50%)", "oklch(0.7 0.3 30)", "color(display-p3 1 0 0)",
    "color(rec2020 1 0 0)", "transparent", "QColor(10, 20, 30, 128)", "rgb(from indianred 255 g b / 0.5)",
    "color-mix(in oklch, red, blue)", "color-mix(in hsl longer hue, color(display-p3 0 1 0) 80%, yellow)",
};

void BM_ReadExactColour(benchmark::State &state)
{
    const QString text = QString::fromLatin1(ExactTexts[state.range(0)]);
    state.SetLabel(text.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadExactColour(text));
}

// Relative colours with calc(): every one under 20 µs.
const char *const CalcTexts[] = {
    "oklch(from #336699 calc(l + 0.1) c calc(h + 180))",
    "rgb(from color-mix(in lab, red, blue) calc(r * .3 + g * .59 + b * .11) clamp(0, g, 200) round(up, b, 10) / calc(alpha / 2))",
    "lch(from color(display-p3 0.2 0.9 0.3) calc(l * 0.8) min(c, 60) mod(calc(h + 200), 360))",
};

void BM_ReadExactColour_RelativeWithCalc(benchmark::State &state)
{
    const QString text = QString::fromLatin1(CalcTexts[state.range(0)]);
    state.SetLabel(text.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadExactColour(text));
}

void BM_ReadExactColour_TenMBText(benchmark::State &state)
{
    const QString text = QString::fromUtf8(TenMBBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadExactColour(text));
}

// The longest CSS function read: 64 KiB of a relative colour's calc().
void BM_ReadExactColour_LongestRelativeColour(benchmark::State &state)
{
    QString text = QStringLiteral("rgb(from red calc(r");
    while (text.size() < 64 * 1024 - 16)
        text += QStringLiteral(" + 0");
    text += QStringLiteral(") g b)");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadExactColour(text));
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
BENCHMARK(BM_ParseAnyColor_Css)->DenseRange(0, std::size(CssTexts) - 1);
BENCHMARK(BM_ReadExactColour)->DenseRange(0, std::size(ExactTexts) - 1);
BENCHMARK(BM_ReadExactColour_RelativeWithCalc)->DenseRange(0, std::size(CalcTexts) - 1);
BENCHMARK(BM_ReadExactColour_TenMBText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadExactColour_LongestRelativeColour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorFromMime_ColourData);
