#pragma once

#include "framework/Colors.h"

#include <QStringView>

#include <optional>
#include <span>

// Reads one colour written in any notation a user is likely to hold, for pasting and dropping.
// Accepted, with blanks around the whole text ignored:
//   #RGB, #RGBA, #RRGGBB, #RRGGBBAA (either case; alpha ignored);
//   CSS rgb()/rgba() with three integers 0-255 or three percentages, comma or space syntax, an
//   optional alpha (", a" or " / a"; ignored); CSS hsl()/hsla() with a hue 0-360 (optionally
//   "deg") and two percentages; the function names in any case;
//   the 148 CSS colour names and the names clBlack ... clWhite, in any case;
//   $00BBGGRR ($01 and $02 as the constant restore takes them) and $BBGGRR;
//   the POV-Ray forms rgb, rgbf, rgbt, srgb, srgbf, srgbt <...>, alone, after "color" or
//   "colour", or inside "pigment{ ... }"; the numbers 0-1 are taken as they stand (sRGB);
//   three integers 0-255, or three numbers 0-1 with at least one point, separated by commas or
//   by spaces and tabs.
// Anything else is refused: out-of-range values, a wrong count of values, two colours, and
// three integers that read either way (only 0s and 1s, not all 0). Numbers are read the same in
// every locale. A notation beyond a few hundred characters, or a text beyond a million, is
// refused without being scanned.
std::optional<TColor> ParseAnyColor(QStringView text);

struct TCssName {
    const char *name; // lower case
    unsigned rgb;     // 0xRRGGBB
};
// The CSS colour names, in alphabetical order.
std::span<const TCssName> CssColorNames();
