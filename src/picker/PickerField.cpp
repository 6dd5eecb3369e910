#include "picker/PickerField.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstring>

namespace {

int ColumnLevel(int x, int w) { return x * 256 / w; }
int ColumnHue(int x, int w) { return x * 768 / w; }
int RowLevel(int y, int h) { return (h - 1 - y) * 256 / h; }

} // namespace

TColor FieldColor(TColorSwitch mode, const TPickerValues &v, int x, int y, int w, int h)
{
    const int sx = ColumnLevel(x, w);
    const int vy = RowLevel(y, h);
    switch (mode) {
    case csHue:
        return HSBToRGB(PackHSB(v.Hue, sx, vy));
    case csSaturation:
        return HSBToRGB(PackHSB(ColumnHue(x, w), v.Saturation, vy));
    case csBrightness:
        return HSBToRGB(PackHSB(ColumnHue(x, w), vy, v.Brightness));
    case csBlue:
        return v.Blue * 65536 + sx * 256 + vy;
    case csGreen:
        return vy * 65536 + v.Green * 256 + sx;
    case csRed:
        return sx * 65536 + vy * 256 + v.Red;
    }
    return 0;
}

THSB FieldHSB(TColorSwitch mode, const TPickerValues &v, int x, int y, int w, int h)
{
    switch (mode) {
    case csHue:
        return PackHSB(v.Hue, ColumnLevel(x, w), RowLevel(y, h));
    case csSaturation:
        return PackHSB(ColumnHue(x, w), v.Saturation, RowLevel(y, h));
    case csBrightness:
        return PackHSB(ColumnHue(x, w), RowLevel(y, h), v.Brightness);
    default:
        return RGBToHSB(FieldColor(mode, v, x, y, w, h));
    }
}

void HSBToFieldPos(TColorSwitch mode, THSB value, int &x, int &y, int w, int h)
{
    const int hue = HSBHue(value);
    const int s = HSBSaturation(value);
    const int b = HSBBrightness(value);
    switch (mode) {
    case csHue:
        x = s * w / 256;
        y = h - 1 - b * h / 256;
        break;
    case csSaturation:
        x = hue * w / 768;
        y = h - 1 - b * h / 256;
        break;
    case csBrightness:
        x = hue * w / 768;
        y = h - 1 - s * h / 256;
        break;
    default:
        break;
    }
}

void RGBToFieldPos(TColorSwitch mode, TColor value, int &x, int &y, int w, int h)
{
    const int r = GetRValue(value);
    const int g = GetGValue(value);
    const int b = GetBValue(value);
    switch (mode) {
    case csBlue:
        x = g * w / 256;
        y = h - 1 - r * h / 256;
        break;
    case csGreen:
        x = r * w / 256;
        y = h - 1 - b * h / 256;
        break;
    case csRed:
        x = b * w / 256;
        y = h - 1 - g * h / 256;
        break;
    default:
        break;
    }
}

int StripValue(int y, int h) { return (h - 1 - y) * 255 / h; }
int StripHue(int y, int h) { return (h - 1 - y) * 767 / h; }

TColor StripColor(TColorSwitch mode, const TPickerValues &v, int y, int h)
{
    const int value = StripValue(y, h);
    switch (mode) {
    case csHue:
        return HSBToRGB(PackHSB(StripHue(y, h), 255, 255));
    case csSaturation:
        return HSBToRGB(PackHSB(v.Hue, value, v.Brightness));
    case csBrightness:
        return HSBToRGB(PackHSB(v.Hue, v.Saturation, value));
    case csBlue:
        return (v.Color & 0x00FFFF) | (value << 16);
    case csGreen:
        return (v.Color & 0xFF00FF) | (value << 8);
    case csRed:
        return (v.Color & 0xFFFF00) | value;
    }
    return 0;
}

int StripComparedValue(TColorSwitch mode, const TPickerValues &v)
{
    switch (mode) {
    case csHue:
        return v.Hue;
    case csSaturation:
        return v.Saturation;
    case csBrightness:
        return v.Brightness;
    case csBlue:
        return GetBValue(v.Color);
    case csGreen:
        return GetGValue(v.Color);
    case csRed:
        return GetRValue(v.Color);
    }
    return 0;
}

int StripMarkerRow(TColorSwitch mode, const TPickerValues &v, int h)
{
    const int compared = StripComparedValue(mode, v);
    for (int y = 0; y < h; ++y) {
        const int value = mode == csHue ? StripHue(y, h) : StripValue(y, h);
        if (value <= compared)
            return y;
    }
    return h - 1;
}

int StripClickValue(TColorSwitch mode, int y, int h)
{
    return mode == csHue ? (h - 1 - y) * 256 * 3 / h : (h - 1 - y) * 256 / h;
}

int StripClickRow(TColorSwitch mode, const TPickerValues &v, int h)
{
    const int compared = StripComparedValue(mode, v);
    for (int y = 0; y < h; ++y)
        if (StripClickValue(mode, y, h) <= compared)
            return y;
    return h - 1;
}

TColor MarkerColorOn(TColor c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 384 ? clWhite : clBlack;
}

void PaintStripImage(QImage &image, TColorSwitch mode, const TPickerValues &v)
{
    const int w = image.width();
    const int h = image.height();
    const int marker = StripMarkerRow(mode, v, h);
    for (int y = 0; y < h; ++y) {
        TColor c = StripColor(mode, v, y, h);
        if (y == marker)
            c = MarkerColorOn(c);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::fill(line, line + w, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

TDisplayFormat ScreenDisplayFormat()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int depth = screen ? screen->depth() : 0;
    switch (depth) {
    case 16:
        return {16, QImage::Format_RGB16};
    case 24:
        return {24, QImage::Format_BGR888};
    case 32:
        return {32, QImage::Format_RGB32};
    default:
        return {depth, QImage::Format_Invalid};
    }
}

bool DetectPixelFormat(const TDisplayFormat &display, TPixelFormat &out)
{
    const int depth = display.Depth;
    std::uint64_t mask = 0;
    if (depth == 16)
        mask = 31;
    else if (depth == 24 || depth == 32)
        mask = 255;
    else
        return false;
    QImage probe(1, 1, display.Format);
    if (probe.isNull() || probe.depth() != depth)
        return false;

    int shifts[3] = {-1, -1, -1}; // red, green, blue
    for (int i = 0; i < depth; ++i) {
        const std::uint64_t raw = mask << i;
        uchar *bytes = probe.scanLine(0);
        for (int k = 0; k < depth / 8; ++k)
            bytes[k] = static_cast<uchar>(raw >> (8 * k));
        const QRgb back = probe.pixel(0, 0);
        const int levels[3] = {qRed(back), qGreen(back), qBlue(back)};
        for (int c = 0; c < 3; ++c)
            if (levels[c] > 128 && shifts[c] == -1)
                shifts[c] = i;
    }
    // A format in which some channel never lit up, or two share their bits (grey), cannot be
    // packed into.
    if (shifts[0] < 0 || shifts[1] < 0 || shifts[2] < 0 || shifts[0] == shifts[1] || shifts[1] == shifts[2] || shifts[0] == shifts[2])
        return false;
    out.BitsPerPixel = depth;
    out.RedShift = shifts[0];
    out.GreenShift = shifts[1];
    out.BlueShift = shifts[2];
    out.Format = display.Format;
    return true;
}

namespace {

// One row of the field as three component arrays. The per-column parts of each mode are
// computed once per render; a row then costs one multiply and one division by a constant per
// component, in a loop without branches that the compiler vectorises.
//
// A component of HSBToRGB is ((255 - s) * 255 + X * s) * b + 32640) div 65025. Written as
// 65025 - s * (255 - X) for the first factor, this is b - (s * (255 - X) * b + 32384) div 65025
// exactly (the tests compare both over every pixel of every field), and s * (255 - X) depends
// only on the column in two of the three HSB modes.
class TFieldRows {
public:
    TFieldRows(TColorSwitch mode, const TPickerValues &v, int w, int h)
        : FMode(mode), FValues(v), FW(w), FH(h)
    {
        switch (mode) {
        case csHue: {
            const TPureHue p = PureHue(HSBHue(static_cast<THSB>(v.Hue) << 16) % HueSteps);
            for (int x = 0; x < w; ++x) {
                const std::uint32_t s = static_cast<std::uint32_t>(ColumnLevel(x, w));
                FD[0][x] = s * static_cast<std::uint32_t>(255 - p.R);
                FD[1][x] = s * static_cast<std::uint32_t>(255 - p.G);
                FD[2][x] = s * static_cast<std::uint32_t>(255 - p.B);
            }
            break;
        }
        case csSaturation:
        case csBrightness: {
            const std::uint32_t s = static_cast<std::uint32_t>(v.Saturation & 255);
            for (int x = 0; x < w; ++x) {
                const TPureHue p = PureHue(ColumnHue(x, w) % HueSteps);
                FX[0][x] = static_cast<std::uint32_t>(255 - p.R);
                FX[1][x] = static_cast<std::uint32_t>(255 - p.G);
                FX[2][x] = static_cast<std::uint32_t>(255 - p.B);
                for (int c = 0; c < 3; ++c)
                    FD[c][x] = s * FX[c][x];
            }
            break;
        }
        default:
            for (int x = 0; x < w; ++x)
                FD[0][x] = static_cast<std::uint32_t>(ColumnLevel(x, w));
            break;
        }
    }

    void Row(int y, std::uint32_t *r, std::uint32_t *g, std::uint32_t *b)
    {
        const std::uint32_t vy = static_cast<std::uint32_t>(RowLevel(y, FH));
        switch (FMode) {
        case csHue:
        case csSaturation:
            Scale(FD[0], vy, r);
            Scale(FD[1], vy, g);
            Scale(FD[2], vy, b);
            break;
        case csBrightness: {
            const std::uint32_t level = static_cast<std::uint32_t>(FValues.Brightness & 255);
            for (int c = 0; c < 3; ++c)
                for (int x = 0; x < FW; ++x)
                    FD[c][x] = vy * FX[c][x];
            Scale(FD[0], level, r);
            Scale(FD[1], level, g);
            Scale(FD[2], level, b);
            break;
        }
        case csBlue:
            Fill(r, vy);
            std::copy(FD[0], FD[0] + FW, g);
            Fill(b, static_cast<std::uint32_t>(FValues.Blue));
            break;
        case csGreen:
            std::copy(FD[0], FD[0] + FW, r);
            Fill(g, static_cast<std::uint32_t>(FValues.Green));
            Fill(b, vy);
            break;
        case csRed:
            Fill(r, static_cast<std::uint32_t>(FValues.Red));
            Fill(g, vy);
            std::copy(FD[0], FD[0] + FW, b);
            break;
        }
    }

private:
    void Scale(const std::uint32_t *d, std::uint32_t level, std::uint32_t *out) const
    {
        for (int x = 0; x < FW; ++x)
            out[x] = level - (d[x] * level + 32384u) / 65025u;
    }
    void Fill(std::uint32_t *out, std::uint32_t value) const { std::fill(out, out + FW, value); }

    TColorSwitch FMode;
    TPickerValues FValues;
    int FW;
    int FH;
    std::uint32_t FD[3][FieldMaxSize];
    std::uint32_t FX[3][FieldMaxSize];
};

// Bits of a 32-bit pixel that no channel uses (the alpha byte of Qt's RGB32) are set.
std::uint32_t UnusedBits32(const TPixelFormat &pf)
{
    return ~((255u << pf.RedShift) | (255u << pf.GreenShift) | (255u << pf.BlueShift));
}

bool Fits(int w, int h) { return w > 0 && h > 0 && w <= FieldMaxSize && h <= FieldMaxSize; }

struct TRowBuffers {
    std::uint32_t R[FieldMaxSize];
    std::uint32_t G[FieldMaxSize];
    std::uint32_t B[FieldMaxSize];
};

} // namespace

void RenderField32(std::uint32_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w, int h)
{
    if (!Fits(w, h))
        return;
    TFieldRows rows(mode, v, w, h);
    TRowBuffers rb;
    const std::uint32_t fill = UnusedBits32(pf);
    const int rs = pf.RedShift, gs = pf.GreenShift, bs = pf.BlueShift;
    for (int y = 0; y < h; ++y) {
        rows.Row(y, rb.R, rb.G, rb.B);
        std::uint32_t *line = dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x)
            line[x] = fill | (rb.R[x] << rs) | (rb.G[x] << gs) | (rb.B[x] << bs);
    }
}

void RenderField24(std::uint8_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w, int h)
{
    if (!Fits(w, h))
        return;
    TFieldRows rows(mode, v, w, h);
    TRowBuffers rb;
    std::uint8_t *p = dst;
    for (int y = 0; y < h; ++y) {
        rows.Row(y, rb.R, rb.G, rb.B);
        for (int x = 0; x < w; ++x, p += 3) {
            const std::uint32_t value = (rb.B[x] << pf.BlueShift) | (rb.G[x] << pf.GreenShift) | (rb.R[x] << pf.RedShift);
            p[0] = static_cast<std::uint8_t>(value);
            p[1] = static_cast<std::uint8_t>(value >> 8);
            p[2] = static_cast<std::uint8_t>(value >> 16);
            p[3] = static_cast<std::uint8_t>(value >> 24);
        }
    }
}

void RenderField16(std::uint16_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w, int h)
{
    if (!Fits(w, h))
        return;
    TFieldRows rows(mode, v, w, h);
    TRowBuffers rb;
    for (int y = 0; y < h; ++y) {
        rows.Row(y, rb.R, rb.G, rb.B);
        std::uint16_t *line = dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x)
            line[x] = static_cast<std::uint16_t>(((rb.B[x] >> 3) << pf.BlueShift) | ((rb.G[x] >> 3) << pf.GreenShift) | ((rb.R[x] >> 3) << pf.RedShift));
    }
}

void RenderField32Reference(std::uint32_t *dst, TColorSwitch mode, const TPickerValues &v, const TPixelFormat &pf, int w, int h)
{
    const std::uint32_t fill = UnusedBits32(pf);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = FieldColor(mode, v, x, y, w, h);
            dst[y * w + x] = fill | (static_cast<std::uint32_t>(GetRValue(c)) << pf.RedShift)
                             | (static_cast<std::uint32_t>(GetGValue(c)) << pf.GreenShift)
                             | (static_cast<std::uint32_t>(GetBValue(c)) << pf.BlueShift);
        }
}

void ExpandToDevice(const QImage &logical, qreal ratio, QImage &device)
{
    const int w = logical.width(), h = logical.height();
    const int dw = static_cast<int>(std::ceil(w * ratio)), dh = static_cast<int>(std::ceil(h * ratio));
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0 || logical.format() != QImage::Format_RGB32) {
        device = QImage();
        return;
    }
    if (device.size() != QSize(dw, dh) || device.format() != QImage::Format_RGB32)
        device = QImage(dw, dh, QImage::Format_RGB32);
    device.setDevicePixelRatio(ratio);
    auto under = [ratio](int d, int n) { return std::min(n - 1, static_cast<int>((d + 0.5) / ratio)); };
    // A whole ratio repeats each pixel that many times; any other picks the pixel per column.
    const int whole = ratio == std::floor(ratio) ? static_cast<int>(ratio) : 0;
    std::vector<int> columns;
    if (!whole) {
        columns.resize(static_cast<std::size_t>(dw));
        for (int x = 0; x < dw; ++x)
            columns[static_cast<std::size_t>(x)] = under(x, w);
    }
    int previous = -1;
    for (int y = 0; y < dh; ++y) {
        const int row = under(y, h);
        auto *out = reinterpret_cast<std::uint32_t *>(device.scanLine(y));
        if (row == previous) {
            std::memcpy(out, device.constScanLine(y - 1), static_cast<std::size_t>(dw) * 4);
            continue;
        }
        const auto *in = reinterpret_cast<const std::uint32_t *>(logical.constScanLine(row));
        if (whole == 2) {
            for (int x = 0; x < w; ++x)
                out[2 * x] = out[2 * x + 1] = in[x];
        } else if (whole) {
            for (int x = 0; x < w; ++x)
                std::fill_n(out + x * whole, whole, in[x]);
        } else {
            for (int x = 0; x < dw; ++x)
                out[x] = in[columns[static_cast<std::size_t>(x)]];
        }
        previous = row;
    }
}
