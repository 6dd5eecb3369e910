#pragma once

#include "colour/ExactColour.h"
#include "colour/GamutMap.h"

#include <QString>

// Text contrast of two sRGB colours, by WCAG 2.2 and by APCA. Each is given as 8 bits (the byte
// over 255) or as an exact colour, whose sRGB values count in double precision: those of its sRGB
// fallback when it lies outside sRGB. An 8-bit colour's figures are the same either way.

// WCAG 2.2's relative luminance: the sRGB channels made linear with the 0.04045 threshold,
// weighted 0.2126, 0.7152, 0.0722.
double RelativeLuminance(const TExactColour &c);
double RelativeLuminance(const TRgb8 &c);
// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter; 1 to 21, the same either way round.
double ContrastRatio(const TExactColour &a, const TExactColour &b);
double ContrastRatio(const TRgb8 &a, const TRgb8 &b);
// The ratio cut (never rounded) to two decimals, "4.49" for 4.499: a figure shown never passes a
// threshold that the ratio itself fails.
QString RatioText(double ratio);

struct TWcagVerdict {
    bool AaNormal, AaLarge, AaaNormal, AaaLarge; // 4.5, 3, 7 and 4.5 to 1 at least
};
TWcagVerdict WcagVerdict(double ratio);

// APCA-W3 0.0.98G-4g: the screen luminance of an sRGB colour (a plain 2.4 exponent) and the
// lightness contrast Lc of text on a background, as the reference implementation apca-w3 0.1.9
// computes it: positive for dark text on light, negative for light text on dark, 0 near equal.
double ApcaY(const TExactColour &c);
double ApcaY(const TRgb8 &c);
double ApcaContrast(double textY, double backgroundY);
double ApcaLc(const TExactColour &text, const TExactColour &background);
double ApcaLc(const TRgb8 &text, const TRgb8 &background);
// Lc with one decimal, "63.1", "-68.5".
QString LcText(double lc);
