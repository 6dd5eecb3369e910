#pragma once

#include "colour/ExactColour.h"
#include "framework/Colors.h"

#include <QString>
#include <QStringList>

// The notations the command line writes, by name: the main window's (rgb, rgbf, rgbt, delphi,
// html, bytes, percent, decimal) and the Notations window's, in that order.
QStringList NotationNames();

struct TConversion {
    QStringList Lines;   // one text a line; "name: text" when every notation was asked for
    QString UnknownName; // a name that is no notation; then no lines
};

// The colour in the named notations (every one when `names` is empty), each text exactly as the
// windows show and copy it with the pigment wrapper off and the filter value 0; `srgb` as the
// srgb switch. The main window's notations write the sRGB fallback's 8 bits.
TConversion ConvertColour(const TExactColour &colour, const QStringList &names, bool srgb);
// An 8-bit colour, as the eyedropper takes it.
TConversion ConvertColour(TColor colour, const QStringList &names, bool srgb);
