#pragma once

#include "colour/ColourSpaces.h"

#include <optional>

// An 8-bit sRGB colour.
struct TRgb8 {
    int R = 0, G = 0, B = 0;
    friend bool operator==(const TRgb8 &, const TRgb8 &) = default;
};

// A colour brought into 8-bit sRGB, and whether it lay outside sRGB and was mapped in.
struct TMappedRgb8 {
    TRgb8 Rgb;
    bool Mapped = false;
};

// Gamma-encoded sRGB 0-1 of any colour: the colour itself when it lies in sRGB, otherwise the
// result of CSS Color 4's gamut mapping (a binary search on OKLCh chroma that stops within the
// just-noticeable deltaEOK of 0.02 of the clipped colour, then the clip).
TVec3 GamutMapToSrgb(TColourSpace space, const TVec3 &c);
// The same into display-p3: gamma-encoded display-p3 0-1.
TVec3 GamutMapToP3(TColourSpace space, const TVec3 &c);
// An OKLCh colour brought into sRGB or display-p3 (`rgbSpace`) by lowering its chroma alone, to
// within 1e-7 of the most the gamut holds at that lightness and hue: unlike the mapping above,
// which ends with a clip, its lightness and hue stay exactly as they were. A lightness outside
// 0-1 is clamped, with no chroma.
TVec3 ReduceChroma(TColourSpace rgbSpace, const TVec3 &oklch);

// The nearest 8-bit sRGB colour. A colour within half an 8-bit step of the sRGB cube is that
// colour, clipped, and counts as in sRGB; anything further out is gamut-mapped first. Empty
// when a coordinate is not a finite number.
std::optional<TMappedRgb8> ToRgb8(TColourSpace space, const TVec3 &c);

// Gamma-encoded sRGB 0-1 of an 8-bit colour.
TVec3 SrgbOf(const TRgb8 &rgb);

// One channel 0-1 to 8 bits, rounded to the nearest, clamped to 0-255. The one 8-bit rounding of
// every colour: an exact half rounds up as browsers round it, also when floating-point error has
// left it a billionth of a step below the half.
int ByteOfUnit(double v);
