// Writing every row of the Notations window for one colour (8-bit, and exact colours inside and
// outside sRGB), and the main window's full rendering (DoRGB) with the Notations window open
// beside the same rendering with it closed: what a colour command, or a picker drag that ends in
// one, costs the user with the window open. A strip drag step in the picker with the main window
// taking its colour and the Notations window open, beside DoRGB alone. Also a new colour into the
// history with its swatch row repainted.
#include "app/ColourState.h"
#include "app/HistoryRow.h"
#include "app/NotationsWindow.h"
#include "app/Unit1.h"
#include "colour/Notations.h"
#include "framework/MessageBoxes.h"
#include "picker/ColPickForm.h"

#include <benchmark/benchmark.h>

#include <QPainter>
#include <QTimer>

namespace {

TRgb8 Colour(int i)
{
    const unsigned v = static_cast<unsigned>(i) * 2654435761u;
    return {static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF)};
}

void BM_WriteNotations(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteNotations(Colour(++i)));
}

// Every row for one exact colour, a third of them outside sRGB (the gamut mapping of the
// fallback rows is the costliest part).
void BM_WriteNotations_ExactColour(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        ++i;
        TExactColour c;
        c.Space = TColourSpace::Oklch;
        c.Coords = {0.3 + (i % 7) * 0.1, (i % 3) * 0.12, static_cast<double>(i * 37 % 360)};
        c.Alpha = i % 2 ? 1 : 0.5;
        benchmark::DoNotOptimize(WriteNotations(c));
    }
}

void DoRGBWith(benchmark::State &state, bool notationsOpen)
{
    TRecordingMessageSink messages;
    TForm1Env env;
    env.Messages = &messages;
    TForm1 form(env);
    form.show();
    if (notationsOpen)
        form.NotationsClick();
    int i = 0;
    for (auto _ : state) {
        const TRgb8 c = Colour(++i);
        form.fMyColor = RGB(c.R, c.G, c.B);
        form.DoRGB();
    }
}

// A new colour into the full history and the swatch row brought up to date, painted.
void BM_HistoryAddAndRowRepaint(benchmark::State &state)
{
    QWidget window;
    THistoryRow row(&window);
    window.show();
    TColourHistory history;
    for (int i = 0; i < TColourHistory::Limit; ++i)
        history.Add(TExactColour::FromRgb8(Colour(i)));
    row.Show(history);
    int i = 1000;
    for (auto _ : state) {
        history.Add(TExactColour::FromRgb8(Colour(++i)));
        row.Show(history);
        row.repaint();
    }
}

// One strip drag step of the picker (input, strip paint, field render), and the main window taking
// the colour it gives with the Notations window open: a drag that ends in a colour.
void BM_StripDragStepThenColour_NotationsOpen(benchmark::State &state)
{
    TRecordingMessageSink messages;
    TForm1Env env;
    env.Messages = &messages;
    TForm1 form(env);
    form.show();
    form.NotationsClick();
    TColorPickerForm picker(nullptr);
    picker.SetColor(RGB(200, 100, 50));
    picker.PreparePicker();
    picker.SetColorSwitch(csHue);
    picker.UpdateControls(ucMode);
    QImage strip(picker.GradPaintBox->width(), picker.GradPaintBox->height(), QImage::Format_RGB32);
    int y = 0;
    for (auto _ : state) {
        y = (y + 7) % strip.height();
        picker.GradPaintBoxMouseMove(Qt::LeftButton, 5, y);
        {
            QPainter painter(&strip);
            picker.PaintStrip(painter);
        }
        picker.ColListPaintTimer->stop();
        picker.ColorListPaintBoxPaint(picker.ColListPaintTimer);
        form.SetColor(picker.Color());
        form.NotationsWindow()->repaint();
    }
}

void BM_Reference_DoRGB_NotationsClosed(benchmark::State &state) { DoRGBWith(state, false); }
void BM_DoRGB_NotationsOpen(benchmark::State &state) { DoRGBWith(state, true); }

} // namespace

BENCHMARK(BM_WriteNotations)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteNotations_ExactColour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryAddAndRowRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Reference_DoRGB_NotationsClosed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DoRGB_NotationsOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripDragStepThenColour_NotationsOpen)->Unit(benchmark::kMicrosecond);
