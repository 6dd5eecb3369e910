#include "widgets/GlyphEffects.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t Rgb24 = 0x00FFFFFFu;
constexpr std::uint32_t Opaque = 0xFF000000u;

inline std::uint32_t *Row(QImage &image, int y)
{
    return reinterpret_cast<std::uint32_t *>(image.scanLine(y));
}

inline const std::uint32_t *Row(const QImage &image, int y)
{
    return reinterpret_cast<const std::uint32_t *>(image.constScanLine(y));
}

inline int Red(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int Green(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int Blue(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
inline std::uint32_t Pixel(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// Applies `op` to each channel pair of the pixel and the given colour.
template <class Op>
inline std::uint32_t Channels(std::uint32_t p, std::uint32_t with, Op op)
{
    return Pixel(op(Red(p), Red(with)), op(Green(p), Green(with)), op(Blue(p), Blue(with)));
}

// A copy of the source in which `f(pixel, x, y)` replaces every non-transparent pixel.
template <class F>
QImage MapOpaquePixels(const QImage &source, F f)
{
    QImage out = ToGlyphPixels(source);
    const std::uint32_t key = TransparentKey(out);
    for (int y = 0; y < out.height(); ++y) {
        std::uint32_t *row = Row(out, y);
        for (int x = 0; x < out.width(); ++x) {
            const std::uint32_t p = row[x] & Rgb24;
            if (p != key)
                row[x] = Opaque | (f(p, x, y) & Rgb24);
        }
    }
    return out;
}

// Transparent pixels next to the glyph's shape (one pixel out), or also those next to them
// (two pixels out), painted in the shine pixel. Decisions read the source only.
QImage FrameLight(const QImage &source, std::uint32_t shine, bool twoPixels)
{
    const QImage src = ToGlyphPixels(source);
    QImage out = src.copy();
    const int w = src.width(), h = src.height();
    if (w == 0 || h == 0)
        return out;
    const std::uint32_t key = TransparentKey(src);
    auto transparent = [&](int x, int y) { return (Row(src, y)[x] & Rgb24) == key; };
    auto touches = [&](int x, int y, auto &&pred) {
        return (x > 0 && pred(x - 1, y)) || (x + 1 < w && pred(x + 1, y)) || (y > 0 && pred(x, y - 1))
               || (y + 1 < h && pred(x, y + 1));
    };
    auto opaque = [&](int x, int y) { return !transparent(x, y); };

    std::vector<unsigned char> near(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto at = [w](int x, int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            near[at(x, y)] = transparent(x, y) && touches(x, y, opaque);
    auto isNear = [&](int x, int y) { return near[at(x, y)] != 0; };

    for (int y = 0; y < h; ++y) {
        std::uint32_t *row = Row(out, y);
        for (int x = 0; x < w; ++x) {
            if (!transparent(x, y))
                continue;
            if (isNear(x, y) || (twoPixels && touches(x, y, isNear)))
                row[x] = Opaque | shine;
        }
    }
    return out;
}

} // namespace

std::uint32_t ColorToPixel(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return Pixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

std::uint32_t TransparentKey(const QImage &image)
{
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return 0;
    if (image.format() == QImage::Format_RGB32)
        return Row(image, image.height() - 1)[0] & Rgb24;
    return image.pixel(0, image.height() - 1) & Rgb24;
}

QImage ToGlyphPixels(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32)
        return image;
    // Straight (not premultiplied) ARGB keeps the colour channels whatever the alpha says.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(image.devicePixelRatio());
    for (int y = 0; y < argb.height(); ++y) {
        const std::uint32_t *in = Row(argb, y);
        std::uint32_t *row = Row(out, y);
        for (int x = 0; x < argb.width(); ++x)
            row[x] = Opaque | (in[x] & Rgb24);
    }
    return out;
}

bool IsMonoGlyph(const QImage &image)
{
    return image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
}

QImage MonoGlyphToColor(const QImage &mono, TColor oneColor, TColor zeroColor)
{
    const QImage bits = mono.format() == QImage::Format_Mono ? mono : mono.convertToFormat(QImage::Format_Mono);
    const std::uint32_t one = Opaque | ColorToPixel(oneColor);
    const std::uint32_t zero = Opaque | ColorToPixel(zeroColor);
    QImage out(bits.size(), QImage::Format_RGB32);
    for (int y = 0; y < bits.height(); ++y) {
        const uchar *in = bits.constScanLine(y);
        std::uint32_t *row = Row(out, y);
        for (int x = 0; x < bits.width(); ++x)
            row[x] = ((in[x >> 3] >> (7 - (x & 7))) & 1) ? one : zero;
    }
    return out;
}

QImage LightGlyph(const QImage &source, TActiveImageType effect, std::uint32_t shine)
{
    shine &= Rgb24;
    switch (effect) {
    case aiXorLight:
        return MapOpaquePixels(source, [shine](std::uint32_t p, int, int) { return p ^ shine; });
    case aiHalfLight:
        return MapOpaquePixels(source, [shine](std::uint32_t p, int, int) {
            return Channels(p, shine, [](int c, int s) { return (c + s) / 2; });
        });
    case aiQuaterLight:
        return MapOpaquePixels(source, [shine](std::uint32_t p, int, int) {
            return Channels(p, shine, [](int c, int s) { return (c + 3 * s) / 4; });
        });
    case aiAddLight:
        return MapOpaquePixels(source, [shine](std::uint32_t p, int, int) {
            return Channels(p, shine, [](int c, int s) { return std::min(c + s, 255); });
        });
    case aiMaskLight:
        return MapOpaquePixels(source, [shine](std::uint32_t p, int x, int y) { return ((x + y) & 1) ? shine : p; });
    case aiFrameLight:
        return FrameLight(source, shine, false);
    case aiFrameLight2:
        return FrameLight(source, shine, true);
    case aiNoLight:
        break;
    }
    return ToGlyphPixels(source).copy();
}

QImage DecorateGlyph(const QImage &source, TDecorationImageType effect, std::uint32_t face)
{
    face &= Rgb24;
    switch (effect) {
    case diGrayscale:
        return MapOpaquePixels(source, [](std::uint32_t p, int, int) {
            const int v = (Red(p) + Green(p) + Blue(p)) / 3;
            return Pixel(v, v, v);
        });
    case diAlphaHalfTrans:
        return MapOpaquePixels(source, [face](std::uint32_t p, int, int) {
            return Channels(p, face, [](int c, int f) { return (c + f) / 2; });
        });
    case diAlphaQuaterTrans:
        return MapOpaquePixels(source, [face](std::uint32_t p, int, int) {
            return Channels(p, face, [](int c, int f) { return (c + 3 * f) / 4; });
        });
    case diMaskTrans: {
        const std::uint32_t key = TransparentKey(source);
        return MapOpaquePixels(source, [key](std::uint32_t p, int x, int y) { return ((x + y) & 1) ? key : p; });
    }
    case diDefault:
        break;
    }
    return ToGlyphPixels(source).copy();
}

QImage EdgeMask(const QImage &source)
{
    const QImage src = ToGlyphPixels(source);
    QImage mask(src.size(), QImage::Format_Mono);
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask.fill(0);
    for (int y = 0; y + 1 < src.height(); ++y) {
        const std::uint32_t *top = Row(src, y);
        const std::uint32_t *below = Row(src, y + 1);
        uchar *bits = mask.scanLine(y);
        for (int x = 0; x + 1 < src.width(); ++x) {
            const bool edge = ((top[x] ^ below[x + 1]) & Rgb24) != 0 || ((top[x + 1] ^ below[x]) & Rgb24) != 0;
            if (edge)
                bits[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
        }
    }
    return mask;
}

QImage KeyedOverlay(const QImage &image, std::uint32_t key)
{
    const QImage src = ToGlyphPixels(image);
    QImage out(src.size(), QImage::Format_ARGB32_Premultiplied);
    key &= Rgb24;
    for (int y = 0; y < src.height(); ++y) {
        const std::uint32_t *in = Row(src, y);
        std::uint32_t *row = Row(out, y);
        for (int x = 0; x < src.width(); ++x) {
            const std::uint32_t p = in[x] & Rgb24;
            row[x] = p == key ? 0u : (Opaque | p);
        }
    }
    return out;
}

QImage MaskOverlay(const QImage &mask, QRgb color)
{
    const QImage bits = mask.format() == QImage::Format_Mono ? mask : mask.convertToFormat(QImage::Format_Mono);
    QImage out(bits.size(), QImage::Format_ARGB32_Premultiplied);
    const std::uint32_t paint = Opaque | (color & Rgb24);
    for (int y = 0; y < bits.height(); ++y) {
        const uchar *in = bits.constScanLine(y);
        std::uint32_t *row = Row(out, y);
        for (int x = 0; x < bits.width(); ++x)
            row[x] = ((in[x >> 3] >> (7 - (x & 7))) & 1) ? paint : 0u;
    }
    return out;
}
