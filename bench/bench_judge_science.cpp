// Judging a colour: its simulation under each colour vision, the nearest colour that reaches a
// contrast target, and the three colour differences, each beside what the program already does
// with the same colours (the sRGB fallback's 8 bits the main window takes, and the contrast
// figures the contrast panel shows).
#include "colour/ColourDifference.h"
#include "colour/Contrast.h"
#include "colour/ContrastFix.h"
#include "colour/Vision.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// 256 colours: half 8-bit sRGB, half OKLCh (some outside sRGB), from a fixed seed.
const std::vector<TExactColour> &Colours()
{
    static const std::vector<TExactColour> colours = [] {
        std::mt19937 random(42);
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_real_distribution<double> unit(0, 1);
        std::vector<TExactColour> out;
        for (int i = 0; i < 256; ++i) {
            if (i % 2) {
                out.push_back(TExactColour::FromRgb8({byte(random), byte(random), byte(random)}));
            } else {
                TExactColour c;
                c.Space = TColourSpace::Oklch;
                c.Coords = {unit(random), unit(random) * 0.3, unit(random) * 360};
                out.push_back(c);
            }
        }
        return out;
    }();
    return colours;
}

void BM_Reference_Rgb8OfExactColour(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Colours()[++i % 256].Rgb8());
}

void BM_Reference_ContrastFigures(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        ++i;
        const TExactColour &a = Colours()[i % 256], &b = Colours()[(i * 7 + 3) % 256];
        benchmark::DoNotOptimize(ContrastRatio(a, b));
        benchmark::DoNotOptimize(ApcaLc(a, b));
    }
}

void BM_SimulateVision(benchmark::State &state)
{
    const auto vision = static_cast<TVision>(state.range(0));
    state.SetLabel(VisionName(vision).toStdString());
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(SimulateVision(Colours()[++i % 256], vision, 0.6));
}

// Every vision of one colour and of its background, with the contrast figures of each pair: what
// the colour-vision view works out for one colour.
void BM_SimulateEveryVisionWithFigures(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        ++i;
        const TExactColour &a = Colours()[i % 256], &b = Colours()[(i * 7 + 3) % 256];
        for (const TVision vision : AllVisions()) {
            const TExactColour sa = SimulateVision(a, vision, 0.6), sb = SimulateVision(b, vision, 0.6);
            benchmark::DoNotOptimize(ContrastRatio(sa, sb));
            benchmark::DoNotOptimize(ApcaLc(sa, sb));
        }
    }
}

void BM_FixContrast(benchmark::State &state)
{
    const auto target = static_cast<TContrastTarget>(state.range(0));
    state.SetLabel(ContrastTargetName(target).toStdString());
    size_t i = 0;
    for (auto _ : state) {
        ++i;
        const TExactColour &a = Colours()[i % 256], &b = Colours()[(i * 7 + 3) % 256];
        benchmark::DoNotOptimize(FixContrast(a, b, target));
    }
}

// The longest search: no lightness passes, so every step up and down is tried.
void BM_FixContrast_NonePasses(benchmark::State &state)
{
    TExactColour text;
    text.Space = TColourSpace::Oklch;
    text.Coords = {0.6, 0.25, 30}; // outside sRGB at most lightnesses: the chroma is cut at each step
    const TExactColour grey = TExactColour::FromRgb8({128, 128, 128});
    for (auto _ : state)
        benchmark::DoNotOptimize(FixContrast(text, grey, TContrastTarget::ApcaLc90));
}

void BM_GreyOnWhiteToAa(benchmark::State &state)
{
    const TExactColour grey = TExactColour::FromRgb8({0x77, 0x77, 0x77}), white = TExactColour::FromRgb8({255, 255, 255});
    for (auto _ : state)
        benchmark::DoNotOptimize(FixContrast(grey, white, TContrastTarget::WcagAa));
}

void BM_DeltaE2000(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(DeltaE2000(Colours()[i % 256], Colours()[(i * 7 + 3) % 256]));
    }
}

void BM_DeltaEOk(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(DeltaEOk(Colours()[i % 256], Colours()[(i * 7 + 3) % 256]));
    }
}

void BM_DeltaE76(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(DeltaE76(Colours()[i % 256], Colours()[(i * 7 + 3) % 256]));
    }
}

} // namespace

BENCHMARK(BM_Reference_Rgb8OfExactColour);
BENCHMARK(BM_Reference_ContrastFigures);
BENCHMARK(BM_SimulateVision)->DenseRange(static_cast<int>(TVision::Normal), static_cast<int>(TVision::Achromatopsia));
BENCHMARK(BM_SimulateEveryVisionWithFigures);
BENCHMARK(BM_FixContrast)->DenseRange(static_cast<int>(TContrastTarget::WcagAa), static_cast<int>(TContrastTarget::ApcaLc90));
BENCHMARK(BM_FixContrast_NonePasses);
BENCHMARK(BM_GreyOnWhiteToAa);
BENCHMARK(BM_DeltaE2000);
BENCHMARK(BM_DeltaEOk);
BENCHMARK(BM_DeltaE76);
