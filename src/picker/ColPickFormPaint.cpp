// The picker window's painting: the palette cells, the strip, and the field with its render and
// marker.
#include "picker/ColPickForm.h"

#include "framework/Painting.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

// A 17 x 17 cell at (x, y) with a one-pixel outline.
void DrawCell(QPainter &painter, int x, int y, const QColor &fill, const QColor &pen)
{
    painter.fillRect(x, y, PaletteCellSize, PaletteCellSize, fill);
    painter.fillRect(x, y, PaletteCellSize, 1, pen);
    painter.fillRect(x, y + PaletteCellSize - 1, PaletteCellSize, 1, pen);
    painter.fillRect(x, y, 1, PaletteCellSize, pen);
    painter.fillRect(x + PaletteCellSize - 1, y, 1, PaletteCellSize, pen);
}

// The keyboard focus of the strip, the field or a palette cell: a dotted black ring with a
// dotted white ring inside it, seen on any colour. Drawn only while the control has the focus.
void DrawFocusRing(QPainter &painter, int left, int top, int right, int bottom)
{
    painter.save();
    painter.setPen(QColor(Qt::black));
    DrawFocusRect(painter, left, top, right, bottom);
    painter.setPen(QColor(Qt::white));
    DrawFocusRect(painter, left + 1, top + 1, right - 1, bottom - 1);
    painter.restore();
}

} // namespace

void TColorPickerForm::PaintPalette(QPainter &painter) const
{
    for (int i = 0; i < PaletteCellCount; ++i)
        DrawCell(painter, (i % PaletteColumns) * PaletteCellStep, (i / PaletteColumns) * PaletteCellStep, ToQColor(FPalette[static_cast<std::size_t>(i)]), ToQColor(clBlack));
    DrawCell(painter, (FSelected % PaletteColumns) * PaletteCellStep, (FSelected / PaletteColumns) * PaletteCellStep, ToQColor(CurrentColor()), ToQColor(clWhite));
    if (ColCelPaintBox->hasFocus()) {
        const int x = (FPaletteCursor % PaletteColumns) * PaletteCellStep;
        const int y = (FPaletteCursor / PaletteColumns) * PaletteCellStep;
        DrawFocusRing(painter, x + 2, y + 2, x + PaletteCellSize - 2, y + PaletteCellSize - 2);
    }
}

void TColorPickerForm::PaintStrip(QPainter &painter)
{
    QImage rows(GradPaintBox->size(), QImage::Format_RGB32);
    PaintStripImage(rows, GetColorSwitch(), Values());
    const qreal ratio = PaintRatio(painter);
    if (ratio == 1.0) {
        painter.drawImage(0, 0, rows);
    } else {
        QImage device;
        ExpandToDevice(rows, ratio, device);
        painter.drawImage(QPointF(0, 0), device);
    }
    if (GradPaintBox->hasFocus())
        DrawFocusRing(painter, 0, 0, GradPaintBox->width(), GradPaintBox->height());
}

void TColorPickerForm::ColListPaintTimerTimer()
{
    ColListPaintTimer->stop();
    ColorListPaintBoxPaint(ColListPaintTimer);
}

void TColorPickerForm::ColorListPaintBoxPaint(QObject *sender)
{
    if (sender) {
        if (FRendering) {
            // Asked again while plotting row by row: start over with what is current now.
            FFieldIdle = true;
            return;
        }
        FRendering = true;
        do {
            FFieldIdle = false;
            ++FRenderPasses;
            const int depth = FPixelFormat.BitsPerPixel;
            if (depth == 16 || depth == 24 || depth == 32)
                RenderBuffered();
            else if (!RenderDithered())
                return;
        } while (FFieldIdle);
        FFieldIdle = true;
        FRendering = false;
        const qreal ratio = FieldRatio();
        if (ratio == 1.0)
            FFieldDevice = QImage();
        else
            ExpandToDevice(FFieldBitmap, ratio, FFieldDevice);
    }
    ColorListPaintBox->update();
}

void TColorPickerForm::RenderBuffered()
{
    const int w = FFieldBitmap.width();
    const int h = FFieldBitmap.height();
    const TColorSwitch mode = GetColorSwitch();
    const TPickerValues v = Values();
    const TPixelFormat &pf = FPixelFormat;
    const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    QImage raw;
    switch (pf.BitsPerPixel) {
    case 32:
        if (pf.Format == FFieldBitmap.format() && FFieldBitmap.bytesPerLine() == w * 4) {
            RenderField32(reinterpret_cast<std::uint32_t *>(FFieldBitmap.bits()), mode, v, pf, w, h);
            return;
        }
        F32.resize(pixels);
        RenderField32(F32.data(), mode, v, pf, w, h);
        raw = QImage(reinterpret_cast<const uchar *>(F32.data()), w, h, w * 4, pf.Format);
        break;
    case 24:
        F24.resize(pixels * 3 + 1);
        RenderField24(F24.data(), mode, v, pf, w, h);
        raw = QImage(F24.data(), w, h, w * 3, pf.Format);
        break;
    default:
        F16.resize(pixels);
        RenderField16(F16.data(), mode, v, pf, w, h);
        raw = QImage(reinterpret_cast<const uchar *>(F16.data()), w, h, w * 2, pf.Format);
        break;
    }
    QPainter painter(&FFieldBitmap);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, raw);
}

bool TColorPickerForm::RenderDithered()
{
    const QPointer<TColorPickerForm> alive(this);
    const int w = FFieldBitmap.width();
    const int h = FFieldBitmap.height();
    const TColorSwitch mode = GetColorSwitch();
    const TPickerValues v = Values();
    std::uniform_int_distribution<int> noise(0, 95);
    QImage plot(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(plot.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const TColor c = FieldColor(mode, v, x, y, w, h);
            const int b = std::clamp(GetBValue(c) + noise(FDither) - 48, 0, 255);
            const int g = std::clamp(GetGValue(c) + noise(FDither) - 48, 0, 255);
            const int r = std::clamp(GetRValue(c) + noise(FDither) - 48, 0, 255);
            line[x] = qRgb(r, g, b);
        }
        QCoreApplication::processEvents();
        if (!alive)
            return false;
        if (FFieldIdle)
            return true;
    }
    // Shown only once complete: until then the field keeps the previous image.
    FFieldBitmap = plot;
    return true;
}

void TColorPickerForm::PaintField(QPainter &painter) const
{
    const qreal ratio = PaintRatio(painter);
    if (ratio == 1.0) {
        painter.drawImage(0, 0, FFieldBitmap);
    } else if (!FFieldDevice.isNull() && FFieldDevice.devicePixelRatio() == ratio) {
        painter.drawImage(QPointF(0, 0), FFieldDevice);
    } else {
        // Painted somewhere other than its own display (a capture at another resolution, say).
        QImage device;
        ExpandToDevice(FFieldBitmap, ratio, device);
        painter.drawImage(QPointF(0, 0), device);
    }
    const TColorSwitch mode = GetColorSwitch();
    const TPickerValues v = Values();
    const int w = ColorListPaintBox->width();
    const int h = ColorListPaintBox->height();
    const QPoint marker = MarkerPos();
    const int x = marker.x();
    const int y = marker.y();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ToQColor(MarkerColorOn(FieldColor(mode, v, x, y, w, h))), 1));
    if (ratio == 1.0)
        painter.drawEllipse(QRect(x - 4, y - 4, 8, 8));
    else // the same circle round the centre of pixel (x, y), at the device's resolution
        painter.drawEllipse(QRectF(x - 3.5, y - 3.5, 8, 8));
    if (ColorListPaintBox->hasFocus())
        DrawFocusRing(painter, 0, 0, w, h);
}

QPoint TColorPickerForm::MarkerPos() const
{
    const TColorSwitch mode = GetColorSwitch();
    const TPickerValues v = Values();
    const int w = ColorListPaintBox->width();
    const int h = ColorListPaintBox->height();
    int x = 0;
    int y = 0;
    if (IsHSBMode(mode))
        HSBToFieldPos(mode, PackHSB(v.Hue, v.Saturation, v.Brightness), x, y, w, h);
    else
        RGBToFieldPos(mode, v.Blue * 65536 + v.Green * 256 + v.Red, x, y, w, h);
    return {x, y};
}

void TColorPickerForm::DetectPixelFormat()
{
    const TDisplayFormat display = FDisplay();
    FDisplayRatio = display.PixelRatio;
    TPixelFormat detected;
    if (::DetectPixelFormat(display, detected))
        FPixelFormat = detected;
}

qreal TColorPickerForm::FieldRatio() const
{
    return FDisplayRatio > 0 ? FDisplayRatio : ColorListPaintBox->devicePixelRatioF();
}
