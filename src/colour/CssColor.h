#pragma once

#include "colour/ExactColour.h"
#include "colour/TextScan.h"

#include <optional>

// The functional notations of CSS Color 4: rgb(), rgba(), hsl(), hsla(), hwb(), lab(), lch(),
// oklab(), oklch() and color() with its predefined spaces, in the legacy comma syntax where CSS
// has one and in the modern space syntax with "none" and "/ alpha". `name` is the function's
// name in any case, `inner` what stands between its parentheses. Values are clamped as CSS
// clamps them. The colour in the function's own space with its alpha; empty for anything CSS
// would not take.
std::optional<TExactColour> ParseCssFunction(textscan::Sv name, textscan::Sv inner);

