#pragma once

#include "colour/ExactColour.h"

#include <QString>

#include <span>
#include <vector>

// The notations that web, application and scene programmers write beyond the main window's own,
// each written from an exact colour.
enum class TNotationKind {
    CssHex, CssRgb, Hsl, Hwb, Lab, Lch, Oklab, Oklch, DisplayP3, SrgbLinear,
    Srgb, Rec2020, A98Rgb, ProPhotoRgb, XyzD65, XyzD50,
    Linear, Floats, Glsl, Qt, Qml, Argb, Latex, Name
};

struct TNotationInfo {
    TNotationKind Kind;
    const char *Key;     // its name on the command line ("oklch", "p3", ...)
    const char *Caption; // its caption in the Notations window
};
// Every notation, in the window's order.
std::span<const TNotationInfo> NotationInfos();

struct TNotationRow {
    TNotationKind Kind;
    QString Caption; // the info's caption; the name row says when the name is only the nearest
    QString Text;
    // The notation holds only sRGB and the colour lies outside it: the text is the sRGB fallback.
    bool Fallback = false;
};

// Whether a notation holds only sRGB colours (hex, rgb(), hsl(), hwb(), the 0-1 triples, GLSL,
// Qt, QML, ARGB, LaTeX and the name).
bool HoldsOnlySrgb(TNotationKind kind);

// One notation of a colour. A colour set from 8 bits is written with the fewest decimals (at
// most 4 for 0-1 and CSS numbers, 2 for percentages and hues) with which the text still reads
// back as the same 8-bit colour, except in the color() rows for srgb, rec2020, a98-rgb,
// prophoto-rgb, xyz-d65 and xyz-d50; any other colour, and those rows, with at most 6 significant digits per number,
// so that a number typed with up to 6 comes back as typed. "." in every locale, no exponent, no
// trailing zeros, except that the bare 0-1 triples and GLSL write a whole number as "1.0" so
// that it reads as a fraction. A powerless or missing component is written "none". An alpha
// below 1 is written where the notation carries one (CSS "/ a", #rrggbbaa, QColor's fourth
// integer, Qt.rgba's fourth number, 0xAARRGGBB, vec4). A notation that holds only sRGB writes the
// sRGB fallback of a colour outside sRGB: gamut-mapped, then the nearest 8-bit colour.
TNotationRow WriteNotation(TNotationKind kind, const TExactColour &colour);
std::vector<TNotationRow> WriteNotations(const TExactColour &colour);
// The same for an 8-bit colour, opaque.
TNotationRow WriteNotation(TNotationKind kind, const TRgb8 &rgb);
std::vector<TNotationRow> WriteNotations(const TRgb8 &rgb);

// The CSS name of exactly this colour (the first in alphabetical order), or else the nearest one
// by deltaEOK with its distance.
struct TNearestName {
    const char *Name;
    double Distance; // 0 for an exact name
};
TNearestName NearestCssName(const TRgb8 &rgb);

// A number with at most `decimals` decimals, trailing zeros and a bare point dropped, "-0" as
// "0"; "." whatever the locale.
QString NumberText(double value, int decimals);
