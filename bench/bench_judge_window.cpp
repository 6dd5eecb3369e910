// One OKLCH slider step with the judging window open (the colour moved, the gamut limits and the
// four tracks rendered, every colour vision simulated with its figures, the nearest passing
// colour and the differences, the main window rendering the new 8 bits, and the judging window
// repainted), beside the main window's own colour update (DoRGB) alone. A step must stay within
// a frame (8 ms). The parts are timed alone too, to show where the time goes.
#include "app/ContrastFixPanel.h"
#include "app/JudgeWindow.h"
#include "app/OklchAdjust.h"
#include "app/OklchSlider.h"
#include "app/Unit1.h"
#include "app/VisionPanel.h"
#include "colour/OklchLimits.h"
#include "framework/MessageBoxes.h"

#include <benchmark/benchmark.h>

namespace {

TRgb8 Colour(int i)
{
    const unsigned v = static_cast<unsigned>(i) * 2654435761u;
    return {static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF)};
}

struct TOpenWindows {
    TRecordingMessageSink Messages;
    TForm1Env Env;
    std::unique_ptr<TForm1> Form;
    TOpenWindows(bool judge, bool notations)
    {
        Env.Messages = &Messages;
        Form = std::make_unique<TForm1>(Env);
        Form->show();
        if (notations)
            Form->NotationsClick();
        if (judge)
            Form->JudgeClick();
    }
};

void BM_Reference_DoRGB(benchmark::State &state)
{
    TOpenWindows w(false, false);
    int i = 0;
    for (auto _ : state) {
        const TRgb8 c = Colour(++i);
        w.Form->fMyColor = RGB(c.R, c.G, c.B);
        w.Form->DoRGB();
    }
}

// A step of the given slider as an arrow key makes it, back and forth across a saturated colour
// near the sRGB edge (so the tracks hold colours outside sRGB), and the window repainted.
void SliderStep(benchmark::State &state, TOklchAdjust::TQuantity q, bool notations)
{
    TOpenWindows w(true, notations);
    TJudgeWindow *judge = w.Form->JudgeWindow();
    TExactColour start;
    start.Space = TColourSpace::Oklch;
    start.Coords = {0.62, 0.2, 30};
    w.Form->Colour().Take(start);
    TOklchSlider *slider = judge->Adjust()->Slider(q);
    int i = 0;
    for (auto _ : state) {
        slider->MoveTo(slider->Value() + (++i % 2 ? 1 : -1) * slider->Step());
        judge->repaint();
    }
    judge->Adjust()->Stop();
}

void BM_LightnessStep_JudgeOpen(benchmark::State &state) { SliderStep(state, TOklchAdjust::Lightness, false); }
void BM_ChromaStep_JudgeOpen(benchmark::State &state) { SliderStep(state, TOklchAdjust::Chroma, false); }
void BM_HueStep_JudgeAndNotationsOpen(benchmark::State &state) { SliderStep(state, TOklchAdjust::Hue, true); }

void BM_GamutLimits(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(MaxChroma(TGamut::Srgb, 0.2 + (i % 60) * 0.01, i % 360));
        benchmark::DoNotOptimize(MaxChroma(TGamut::DisplayP3, 0.2 + (i % 60) * 0.01, i % 360));
    }
}

void BM_VisionPanelShow(benchmark::State &state)
{
    QWidget parent;
    TVisionPanel panel(&parent);
    int i = 0;
    for (auto _ : state)
        panel.Show(TExactColour::FromRgb8(Colour(++i)), TExactColour::FromRgb8({255, 255, 255}), TContrastTarget::WcagAa);
}

void BM_ContrastFixPanelShow(benchmark::State &state)
{
    QWidget parent;
    TContrastFixPanel panel(&parent, {});
    int i = 0;
    for (auto _ : state)
        panel.Show(TExactColour::FromRgb8(Colour(++i)), TExactColour::FromRgb8({255, 255, 255}));
}

} // namespace

BENCHMARK(BM_Reference_DoRGB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LightnessStep_JudgeOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChromaStep_JudgeOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HueStep_JudgeAndNotationsOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GamutLimits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VisionPanelShow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContrastFixPanelShow)->Unit(benchmark::kMicrosecond);
