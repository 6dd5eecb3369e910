// Reading and writing a palette file of 10,000 colours in each format, through the file-level
// calls the window and the command line use (a real file in a temporary folder, the atomic write
// with its sync included), beside the GIMP palette writer the main window exported with before
// (the reference: bytes only, no file).
#include "app/PaletteFiles.h"
#include "colour/PaletteFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

constexpr int Colours = 10000;

// Colours in every space a palette holds: 8-bit sRGB, OKLCH, display-p3 with an alpha, Lab;
// each named as a scale's step.
TPalette BigPalette()
{
    TPalette p{QStringLiteral("Big"), {}};
    for (int i = 0; i < Colours; ++i) {
        TExactColour c;
        switch (i % 4) {
        case 0: c = TExactColour::FromRgb8({i % 256, (i / 256) % 256, 99}); break;
        case 1: c.Space = TColourSpace::Oklch; c.Coords = {0.3 + (i % 60) / 100.0, 0.1, double(i % 360)}; break;
        case 2: c.Space = TColourSpace::DisplayP3; c.Coords = {(i % 100) / 100.0, 0.5, 0.25}; c.Alpha = 0.5; break;
        default: c.Space = TColourSpace::Lab; c.Coords = {double(i % 100), -20, 30}; break;
        }
        p.Entries.push_back({QStringLiteral("step %1").arg(i * 50), c});
    }
    return p;
}

const TPalette &Palette()
{
    static const TPalette p = BigPalette();
    return p;
}

const char *const Suffixes[] = {"gpl", "css", "tokens.json", "tailwind.css", "ase", "kpl", "soc", "xml", "svg", "png"};

void BM_ReferenceGimpWriter(benchmark::State &state)
{
    std::vector<TExactColour> colours;
    for (const TPaletteEntry &e : Palette().Entries)
        colours.push_back(e.Colour);
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteGimpPalette(QStringLiteral("Big"), colours));
}
BENCHMARK(BM_ReferenceGimpWriter)->Unit(benchmark::kMillisecond);

void BM_WriteFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.") + QLatin1String(Suffixes[state.range(0)]));
    state.SetLabel(Suffixes[state.range(0)]);
    for (auto _ : state)
        if (!WritePaletteFile(path, Palette()))
            state.SkipWithError("not written");
}
BENCHMARK(BM_WriteFile)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

void BM_ReadFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.") + QLatin1String(Suffixes[state.range(0)]));
    state.SetLabel(Suffixes[state.range(0)]);
    WritePaletteFile(path, Palette());
    for (auto _ : state) {
        const auto palette = ReadPaletteFile(path);
        if (!palette || palette->Entries.size() != Colours)
            state.SkipWithError("not read whole");
    }
}
BENCHMARK(BM_ReadFile)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace
