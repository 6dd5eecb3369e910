// Palettes made from colours: a scale, a harmony and a 256-step gradient, each beside one
// color-mix() read through the CSS reader (the reference every gradient step is checked against);
// the palette window's swatches repainted with 1,000 colours beside a bare list view of the same
// size; a 12-megapixel image to 8 colours beside one pass over its pixels (QImage::convertToFormat).
#include "app/PaletteModel.h"
#include "app/PaletteWindow.h"
#include "colour/CssColor.h"
#include "colour/Gradient.h"
#include "colour/ImageColours.h"
#include "colour/Scales.h"

#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QPainter>

namespace {

TExactColour Colour(int i)
{
    TExactColour c;
    c.Space = TColourSpace::Oklch;
    c.Coords = {0.3 + 0.05 * (i % 12), 0.05 + 0.02 * (i % 9), static_cast<double>((i * 37) % 360)};
    return c;
}

void BM_ColorMixReference(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseCssColour("color-mix(in oklch longer hue, oklch(0.6 0.2 30), oklch(0.8 0.1 200) 37%)"));
}

void BM_Scale(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeScale(Colour(++i), state.range(0) ? TGamut::DisplayP3 : TGamut::Srgb));
}

void BM_Harmony(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        for (const THarmonyInfo &info : HarmonyInfos())
            benchmark::DoNotOptimize(MakeHarmony(info.Harmony, Colour(++i)));
    }
    state.SetLabel("all six harmonies");
}

void BM_Gradient256(benchmark::State &state)
{
    const TGradientPlan plan{TColourSpace::Oklch, THueMethod::Longer, 256};
    int i = 0;
    for (auto _ : state) {
        ++i;
        const auto steps = MakeGradient(Colour(i), Colour(i + 5), plan);
        benchmark::DoNotOptimize(steps);
        if (state.range(0))
            benchmark::DoNotOptimize(GradientCss(*steps, plan));
    }
    state.SetLabel(state.range(0) ? "made and written as CSS" : "made");
}

QImage Photo()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            line[x] = qRgb((x / 16 + (seed >> 24) % 16) & 0xFF, (y / 12 + (seed >> 16) % 16) & 0xFF, ((x + y) / 28) & 0xFF);
        }
    }
    return image;
}

void BM_ImageReference(benchmark::State &state)
{
    const QImage image = Photo();
    for (auto _ : state)
        benchmark::DoNotOptimize(image.convertToFormat(QImage::Format_RGB888));
    state.SetLabel("12 MP, one pass over the pixels");
}

void BM_ImageColours(benchmark::State &state)
{
    const QImage image = Photo();
    for (auto _ : state)
        benchmark::DoNotOptimize(ImageColours(image, 8));
    state.SetLabel("12 MP to 8 colours");
}

// A palette of 1,000 entries, "colour 0" to "colour 999".
std::vector<TPaletteEntry> ThousandEntries()
{
    std::vector<TPaletteEntry> entries;
    for (int i = 0; i < 1000; ++i)
        entries.push_back({QStringLiteral("colour %1").arg(i), Colour(i)});
    return entries;
}

void Repaint(benchmark::State &state, QWidget *view)
{
    view->resize(800, 600);
    view->show();
    QImage target(view->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        view->render(&p);
    }
}

void BM_PaletteViewRepaint(benchmark::State &state)
{
    TPaletteModel model;
    model.Add(ThousandEntries());
    TPaletteWindow window(nullptr, &model, {});
    Repaint(state, window.Swatches());
    state.SetLabel("1,000 swatches, 800 x 600");
}

// A change to the palette (a rename) with the window showing all 1,000 swatches: the list made
// anew, then repainted.
void BM_PaletteChangeShown(benchmark::State &state)
{
    TPaletteModel model;
    model.Add(ThousandEntries());
    TPaletteWindow window(nullptr, &model, {});
    QWidget *view = window.Swatches();
    view->resize(800, 600);
    window.show();
    QImage target(view->size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        model.Rename(0, QString::number(++i));
        QPainter p(&target);
        view->render(&p);
    }
    state.SetLabel("1,000 swatches, one renamed");
}

void BM_BareListRepaint(benchmark::State &state)
{
    QListWidget list;
    list.setViewMode(QListView::IconMode);
    for (int i = 0; i < 1000; ++i)
        list.addItem(QStringLiteral("colour %1").arg(i));
    Repaint(state, &list);
    state.SetLabel("reference: 1,000 text items, 800 x 600");
}

} // namespace

BENCHMARK(BM_ColorMixReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scale)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Harmony)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Gradient256)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImageReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareListRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaletteViewRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaletteChangeShown)->Unit(benchmark::kMillisecond);
