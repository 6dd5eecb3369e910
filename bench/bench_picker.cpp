// Field render, strip paint and one strip drag step of the picker window, next to the fill a
// general toolkit does per pixel (QColor::fromHsv) of the same 256 x 256 field; and the field
// render for a display of two device pixels per pixel beside the same render at one.
#include "picker/ColPickForm.h"

#include <benchmark/benchmark.h>

#include <QColor>
#include <QPainter>
#include <QTimer>

#include <map>

namespace {

TDisplayFormatSource Rgb32Display(qreal ratio)
{
    return [ratio] { return TDisplayFormat{32, QImage::Format_RGB32, ratio}; };
}

// One window per display ratio (0: the paint box's own, one device pixel per pixel here).
TColorPickerForm &Form(TColorSwitch mode, qreal ratio = 0)
{
    static std::map<qreal, TColorPickerForm *> forms;
    TColorPickerForm *&form = forms[ratio];
    if (!form) {
        form = new TColorPickerForm(nullptr, Rgb32Display(ratio));
        form->SetColor(RGB(200, 100, 50));
        form->PreparePicker();
    }
    form->SetColorSwitch(mode);
    form->UpdateControls(ucMode);
    form->ColListPaintTimer->stop();
    return *form;
}

void FieldRender(benchmark::State &state, TColorSwitch mode)
{
    TColorPickerForm &form = Form(mode);
    for (auto _ : state) {
        form.ColorListPaintBoxPaint(form.ColListPaintTimer);
        benchmark::DoNotOptimize(form.FieldBitmap().constBits());
    }
}

// The render a paint of the field at `ratio` uses: the field and its image at that resolution.
void FieldRenderAtRatio(benchmark::State &state, TColorSwitch mode, qreal ratio)
{
    TColorPickerForm &form = Form(mode, ratio);
    for (auto _ : state) {
        form.ColorListPaintBoxPaint(form.ColListPaintTimer);
        benchmark::DoNotOptimize(form.FieldDeviceBitmap().constBits());
    }
    state.counters["device_pixels"] = static_cast<double>(form.FieldDeviceBitmap().isNull()
                                                              ? form.FieldBitmap().width() * form.FieldBitmap().height()
                                                              : form.FieldDeviceBitmap().width() * form.FieldDeviceBitmap().height());
}

void BM_FieldRenderHue(benchmark::State &state) { FieldRender(state, csHue); }
void BM_FieldRenderSaturation(benchmark::State &state) { FieldRender(state, csSaturation); }
void BM_FieldRenderRed(benchmark::State &state) { FieldRender(state, csRed); }

void BM_FieldRenderPlainLoop(benchmark::State &state)
{
    const TPickerValues v{42, 192, 200, 200, 100, 50, RGB(200, 100, 50)};
    const TPixelFormat pf{32, 16, 8, 0, QImage::Format_RGB32};
    QImage image(FieldWidth, FieldHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        RenderField32Reference(reinterpret_cast<std::uint32_t *>(image.bits()), csHue, v, pf);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The same saturation-brightness field at one hue, the way a general toolkit fills it.
void BM_FieldFillToolkitFromHsv(benchmark::State &state)
{
    QImage image(FieldWidth, FieldHeight, QImage::Format_RGB32);
    const int hue = 42 * 360 / 768;
    for (auto _ : state) {
        for (int y = 0; y < FieldHeight; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            const int value = 255 - y;
            for (int x = 0; x < FieldWidth; ++x)
                line[x] = QColor::fromHsv(hue, x, value).rgb();
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_StripPaint(benchmark::State &state)
{
    TColorPickerForm &form = Form(csHue);
    QImage target(StripWidth, StripHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        form.PaintStrip(painter);
    }
}

// Input handler, refresh of every control, strip paint and field render of one drag step.
void BM_StripDragStep(benchmark::State &state)
{
    TColorPickerForm &form = Form(csHue);
    QImage target(StripWidth, StripHeight, QImage::Format_RGB32);
    int y = 0;
    for (auto _ : state) {
        y = (y + 7) % StripHeight;
        form.GradPaintBoxMouseMove(Qt::LeftButton, 5, y);
        {
            QPainter painter(&target);
            form.PaintStrip(painter);
        }
        form.ColListPaintTimer->stop();
        form.ColorListPaintBoxPaint(form.ColListPaintTimer);
    }
}

} // namespace

BENCHMARK(BM_FieldRenderHue);
BENCHMARK(BM_FieldRenderSaturation);
BENCHMARK(BM_FieldRenderRed);
BENCHMARK(BM_FieldRenderPlainLoop);
BENCHMARK(BM_FieldFillToolkitFromHsv);
BENCHMARK(BM_StripPaint);
BENCHMARK(BM_StripDragStep);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Hue_Ratio1, csHue, 1.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Hue_Ratio2, csHue, 2.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Saturation_Ratio1, csSaturation, 1.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Saturation_Ratio2, csSaturation, 2.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Brightness_Ratio1, csBrightness, 1.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Brightness_Ratio2, csBrightness, 2.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Red_Ratio1, csRed, 1.0);
BENCHMARK_CAPTURE(FieldRenderAtRatio, Red_Ratio2, csRed, 2.0);
