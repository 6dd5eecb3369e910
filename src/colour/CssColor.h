#pragma once

#include "colour/GamutMap.h"
#include "colour/TextScan.h"

#include <optional>

// The functional notations of CSS Color 4: rgb(), rgba(), hsl(), hsla(), hwb(), lab(), lch(),
// oklab(), oklch() and color() with its predefined spaces, in the legacy comma syntax where CSS
// has one and in the modern space syntax with "none" and "/ alpha". `name` is the function's
// name in any case, `inner` what stands between its parentheses. Values are clamped as CSS
// clamps them; the alpha is read and ignored. Empty for anything CSS would not take.
std::optional<TMappedRgb8> ParseCssFunction(textscan::Sv name, textscan::Sv inner);

// 8-bit sRGB of hsl() values, hue in degrees and saturation and lightness in percent (0-100),
// worked in percent units so that whole percentages land on the halves they mean.
TRgb8 HslBytes(double hue, double saturation, double lightness);
// 8-bit channel of a percentage 0-100, multiplied before dividing for the same reason.
int ByteOfPercent(double p);
