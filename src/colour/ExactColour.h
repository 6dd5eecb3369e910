#pragma once

#include "colour/GamutMap.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <string>

// A colour exactly as it was written: its own space, three coordinates in that space's units
// (sRGB-like spaces 0-1, Lab and LCH lightness 0-100, OKLab and OKLCH lightness 0-1, HSL
// saturation and lightness and HWB whiteness and blackness in percent, hues in degrees), its
// alpha 0-1, and which of the four are missing ("none"). Coordinates stay unclamped where CSS
// keeps them unclamped, so a colour outside sRGB is held as it is.
struct TExactColour {
    TColourSpace Space = TColourSpace::Srgb;
    TVec3 Coords{};
    double Alpha = 1;
    // Coordinates 0-2 and the alpha (3) written as "none".
    std::array<bool, 4> Missing{};
    // Set from 8 bits (the main window's fields and commands, the picker, random, the eyedropper,
    // a hex text): written with the fewest digits that read back as the same bytes.
    bool FromBytes = false;
    // Written in a legacy CSS form (hex, a name, rgb(), hsl(), hwb()): CSS clamps such a colour
    // to sRGB, and mixes legacy colours into a legacy colour.
    bool Legacy = false;

    friend bool operator==(const TExactColour &, const TExactColour &) = default;

    // An 8-bit sRGB colour, with an alpha.
    static TExactColour FromRgb8(const TRgb8 &rgb, double alpha = 1);

    // The same colour in another space (CSS Color 4's conversion through XYZ; missing
    // components read as 0, analogous ones carried over as CSS Color 4 carries them; a
    // powerless hue comes out missing). The alpha goes with it; FromBytes is dropped unless the
    // space is Srgb.
    TExactColour To(TColourSpace space) const;

    // Whether the colour lies in the sRGB gamut (within half an 8-bit step of the cube).
    bool InSrgb() const;
    // The sRGB fallback, gamma-encoded 0-1: the colour itself in sRGB, else CSS Color 4's gamut
    // mapping (a lightness at or above 1 is white, at or below 0 black).
    TVec3 SrgbFallback() const;
    // The fallback's nearest 8-bit colour, an exact half rounded up as browsers round it.
    TRgb8 Rgb8() const;
};

// What ReadExactColour read, and whether its sRGB fallback lies outside sRGB.
struct TExactReading {
    TExactColour Colour;
    bool Mapped = false; // outside sRGB: the 8 bits are its gamut-mapped fallback
};

// Reads one colour written in any notation AnyColor.h lists, and the CSS Color 5 forms:
// color-mix(), relative colours ("from") and calc() with CSS's math functions. The exact colour
// as written; empty for anything that reads no colour. Linear time in the text's length.
std::optional<TExactReading> ReadExactColour(QStringView text);

// The exact colour's CSS text (its own function, at most 6 significant digits per number, no
// exponent, alpha written when below 1), as the settings file and the history keep it; it reads
// back as the same colour.
QString ExactColourText(const TExactColour &c);

// The same text as a std::string, and its alpha part alone (" / 0.5", or nothing at 1).
std::string ExactCssText(const TExactColour &c);
std::string AlphaSuffix(const TExactColour &c);

// The space a colour's text is written in: its own, unless its own function would clamp it (an
// HSL, HWB, Lab or OKLab lightness out of range from a relative colour or a mix), then sRGB, XYZ
// D50 or XYZ D65, which hold it unclamped.
TColourSpace WrittenSpace(const TExactColour &c);

// The name color() gives a predefined space ("display-p3"), or null for a space with a function
// of its own.
const char *PredefinedName(TColourSpace space);

// Which coordinate of a space is a hue (0 for HSL and HWB, 2 for LCH and OKLCh), else -1.
int HueIndex(TColourSpace space);
