#pragma once

#include "colour/GamutMap.h"

#include <QString>

#include <span>
#include <vector>

// The notations that web, application and scene programmers write beyond the main window's own,
// each written from an 8-bit sRGB colour.
enum class TNotationKind {
    CssHex, CssRgb, Hsl, Hwb, Lab, Lch, Oklab, Oklch, DisplayP3, SrgbLinear,
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
};

// One notation of a colour. Each number has the fewest decimals (at most 4 for 0-1 and CSS
// numbers, 2 for percentages and hues) with which the text still reads back as the same 8-bit
// colour; "." in every locale, no exponent, no trailing zeros, except that the bare 0-1 triples
// and GLSL write a whole number as "1.0" so that it reads as a fraction. A powerless hue is
// written "none".
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
