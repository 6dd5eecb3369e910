#pragma once

#include "framework/Colors.h"

#include <QStringView>

#include <optional>
#include <span>

// Reads one colour written in any notation a user is likely to hold, for pasting, dropping and
// the command line. Accepted, with blanks around the whole text ignored:
//   every CSS Color 4 colour but currentcolor and the system colours: #RGB, #RGBA, #RRGGBB,
//   #RRGGBBAA; the 148 CSS colour names; rgb(), rgba(), hsl(), hsla() in the comma and the space
//   syntax, hwb(), lab(), lch(), oklab(), oklch() and color() with srgb, srgb-linear,
//   display-p3, a98-rgb, prophoto-rgb, rec2020, xyz, xyz-d50 and xyz-d65; hues as numbers or in
//   deg, rad, grad or turn; "none"; CSS's math functions (calc() and the rest) in any value;
//   relative colours ("from") and color-mix(); out-of-range values clamped as CSS clamps them; an
//   alpha part (ReadExactColour keeps it, these 8-bit readings ignore it); function names and
//   keywords in any case;
//   the names clBlack ... clWhite, in any case;
//   $00BBGGRR ($01 and $02 as the constant restore takes them) and $BBGGRR;
//   the POV-Ray forms rgb, rgbf, rgbt, srgb, srgbf, srgbt <...>, alone, after "color" or
//   "colour", or inside "pigment{ ... }"; the numbers 0-1 are taken as they stand (sRGB);
//   program code: vec3()/vec4() and Qt.rgba() with numbers 0-1, QColor() with integers 0-255,
//   0xAARRGGBB and 0xRRGGBB, LaTeX's \definecolor{name}{HTML|rgb|RGB}{...};
//   three integers 0-255, or three numbers 0-1 with at least one point, separated by commas or
//   by spaces and tabs.
// A CSS colour outside sRGB is brought into it by CSS Color 4's gamut mapping. Anything else is
// refused: transparent (ReadExactColour reads it as black with alpha 0), out-of-range values
// outside CSS, a wrong count of values, two colours, and three integers that read either way
// (only 0s and 1s, not all 0). Numbers are read the same in every locale. A notation beyond a
// few hundred characters (a CSS function beyond 64 KiB), or a text beyond a million, is refused
// without being scanned; nesting deeper than a couple of hundred functions is refused.
std::optional<TColor> ParseAnyColor(QStringView text);

// What ParseAnyColor reads, and whether the colour lay outside sRGB and was mapped into it.
struct TColourReading {
    TColor Color = 0;
    bool Mapped = false;
};
std::optional<TColourReading> ReadAnyColor(QStringView text);

struct TCssName {
    const char *name; // lower case
    unsigned rgb;     // 0xRRGGBB
};
// The CSS colour names, in alphabetical order.
std::span<const TCssName> CssColorNames();
