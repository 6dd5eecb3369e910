#pragma once

#include "colour/ExactColour.h"
#include "colour/GamutMap.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Palettes that other programs read and write.

// A GIMP palette (.gpl) of the colours, each named by its "#RRGGBB" text; UTF-8, LF line ends.
// The format holds 0-255 only: each colour is its 8-bit sRGB fallback.
QByteArray WriteGimpPalette(const QString &name, const std::vector<TExactColour> &colours);
// The colours as CSS custom properties, --pigmora-1 onwards, in a :root rule; each exactly, as
// its CSS text ("#98b5d1" for one that is its 8 bits).
QByteArray WriteCssPalette(const std::vector<TExactColour> &colours);

// The first `wanted` colours of a GIMP palette: a text whose first line is "GIMP Palette" (a
// byte-order mark, blanks and CR line ends allowed), then any "Name:", "Columns:" and "#" comment
// lines and colour lines "R G B" with an optional name. Lines that are no colour are skipped; the
// reading stops at the wanted count. Empty for a text that is no GIMP palette.
std::optional<std::vector<TRgb8>> ReadGimpPalette(const QByteArray &bytes, int wanted);
