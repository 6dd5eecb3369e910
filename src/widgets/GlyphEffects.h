#pragma once

#include "framework/Colors.h"

#include <QImage>

#include <cstdint>

// Light effects a button glyph gets while the mouse is over the button.
enum TActiveImageType {
    aiNoLight,
    aiXorLight,
    aiHalfLight,
    aiQuaterLight,
    aiAddLight,
    aiFrameLight,
    aiFrameLight2,
    aiMaskLight,
};

// Looks of a glyph in the up, down and disabled states.
enum TDecorationImageType {
    diDefault,
    diGrayscale,
    diAlphaHalfTrans,
    diAlphaQuaterTrans,
    diMaskTrans,
};

// Glyph pixels are 32-bit values with red in bits 16..23, green in 8..15 and blue in 0..7.
// Every effect compares and computes on the low 24 bits only; the images it returns are
// QImage::Format_RGB32 (whose top byte Qt keeps at 0xFF). The transparent key of an image is
// the low 24 bits of its bottom-left pixel; pixels equal to it are never touched.

// A colour as a pixel, theme colours resolved to the running palette.
std::uint32_t ColorToPixel(TColor c);

// Low 24 bits of the bottom-left pixel; 0 for an empty image.
std::uint32_t TransparentKey(const QImage &image);

// Any image as glyph pixels (Format_RGB32) keeping the low 24 bits of every pixel as they are,
// whatever the alpha channel says, and the image's device pixel ratio.
QImage ToGlyphPixels(const QImage &image);

// Whether an image is a 1-bit glyph that is expanded at paint time.
bool IsMonoGlyph(const QImage &image);

// Expands a 1-bit glyph: bit x of a row comes from byte x / 8, most significant bit first;
// a 1 bit becomes `oneColor`, a 0 bit `zeroColor`.
QImage MonoGlyphToColor(const QImage &mono, TColor oneColor, TColor zeroColor);

// The hot-state effect in the shine pixel.
QImage LightGlyph(const QImage &source, TActiveImageType effect, std::uint32_t shine);

// The up, down or disabled look blended with the face pixel; diDefault returns an exact copy.
QImage DecorateGlyph(const QImage &source, TDecorationImageType effect, std::uint32_t face);

// A 1-bit image (Format_Mono, bit set = edge) of the places where the glyph's colour changes
// along either diagonal; the last row and column never carry an edge.
QImage EdgeMask(const QImage &source);

// For drawing: a premultiplied ARGB copy in which pixels equal to `key` are fully transparent
// and all others opaque.
QImage KeyedOverlay(const QImage &image, std::uint32_t key);

// For drawing: an ARGB image of the mask's size, `color` where the mask has a bit set and fully
// transparent elsewhere.
QImage MaskOverlay(const QImage &mask, QRgb color);
