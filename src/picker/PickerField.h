#pragma once

#include "picker/ColorSpace.h"
#include "picker/ColorSwitch.h"

#include <QImage>

#include <cstdint>
#include <functional>

// Sizes of the picker's two painted controls.
constexpr int FieldWidth = 256;
constexpr int FieldHeight = 256;
constexpr int StripWidth = 23;
constexpr int StripHeight = 256;

// What the strip and the field read from the window: the raw values the six edits hold
// (hue 0..768 on the 768-step scale, everything else 0..255) and the current colour.
struct TPickerValues {
    int Hue = 0;
    int Saturation = 0;
    int Brightness = 0;
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    TColor Color = 0;
};

constexpr bool IsHSBMode(TColorSwitch mode) { return mode == csHue || mode == csSaturation || mode == csBrightness; }

// Colour field mapping: the colour and the packed HSB value under pixel (x, y) of a w x h field.
TColor FieldColor(TColorSwitch mode, const TPickerValues &v, int x, int y, int w = FieldWidth, int h = FieldHeight);
THSB FieldHSB(TColorSwitch mode, const TPickerValues &v, int x, int y, int w = FieldWidth, int h = FieldHeight);
// Marker position of a colour. HSBToFieldPos serves the HSB modes, RGBToFieldPos (colour built
// from the three component raw values) the RGB modes; each leaves x and y alone in the others.
void HSBToFieldPos(TColorSwitch mode, THSB value, int &x, int &y, int w = FieldWidth, int h = FieldHeight);
void RGBToFieldPos(TColorSwitch mode, TColor value, int &x, int &y, int w = FieldWidth, int h = FieldHeight);

// Slider strip: the painted value of row y (255 steps, hue 767 steps; the top row largest).
int StripValue(int y, int h = StripHeight);
int StripHue(int y, int h = StripHeight);
TColor StripColor(TColorSwitch mode, const TPickerValues &v, int y, int h = StripHeight);
// The value the marker row is compared with, and the marker row: the first row from the top
// whose value is not greater than it.
int StripComparedValue(TColorSwitch mode, const TPickerValues &v);
int StripMarkerRow(TColorSwitch mode, const TPickerValues &v, int h = StripHeight);
// The value a click on row y sets: 768 steps for the hue, 256 for the rest.
int StripClickValue(TColorSwitch mode, int y, int h = StripHeight);
// The row a click would have to hit to give the current value: the first row from the top whose
// click value is not greater than it. The strip's keys move from this row.
int StripClickRow(TColorSwitch mode, const TPickerValues &v, int h = StripHeight);
// White on dark colours, black on light ones (sum of the components below 384).
TColor MarkerColorOn(TColor c);
// Paints the whole strip (rows as solid lines, the marker row in its contrast colour) into a
// w x h image of Format_RGB32.
void PaintStripImage(QImage &image, TColorSwitch mode, const TPickerValues &v);

// The display's pixel layout: depth and the bit position of each channel in a raw pixel.
struct TPixelFormat {
    int BitsPerPixel = 0;
    int RedShift = 0;
    int GreenShift = 0;
    int BlueShift = 0;
    QImage::Format Format = QImage::Format_Invalid; // the device-format image of that depth
};
// What the display reports: its depth, the image format its raw pixels have, and how many device
// pixels it shows per pixel of the window (0: the window's own ratio).
struct TDisplayFormat {
    int Depth = 0;
    QImage::Format Format = QImage::Format_Invalid;
    qreal PixelRatio = 0;
};
using TDisplayFormatSource = std::function<TDisplayFormat()>;
TDisplayFormat ScreenDisplayFormat();
// Finds the channel shifts by writing raw values into a 1 x 1 device-format image and reading
// them back. False (and out untouched) for a depth other than 16, 24 or 32, or a format in
// which a channel cannot be found.
bool DetectPixelFormat(const TDisplayFormat &display, TPixelFormat &out);

// Field renderers into raw buffers of the display's format, row-major from the top row.
// w and h at most FieldMaxSize. The 24-bit buffer needs w * h * 3 + 1 bytes (the spill of the
// last pixel's four-byte write).
constexpr int FieldMaxSize = 1024;
void RenderField32(std::uint32_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w = FieldWidth, int h = FieldHeight);
void RenderField24(std::uint8_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w = FieldWidth, int h = FieldHeight);
void RenderField16(std::uint16_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w = FieldWidth, int h = FieldHeight);
// The straightforward per-pixel version of RenderField32 (FieldColor for every pixel); the
// fast renderers must match it bit for bit.
void RenderField32Reference(std::uint32_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w = FieldWidth, int h = FieldHeight);

// An image of the strip or the field at a display's resolution: `ratio` device pixels per pixel
// of `logical` (an RGB32 image), each device pixel showing the pixel under its centre; the colour
// mappings are defined per window pixel, so nothing finer exists. `device` is reused when it
// already has the size, and gets the ratio as its device pixel ratio.
void ExpandToDevice(const QImage &logical, qreal ratio, QImage &device);
