#pragma once

// Each palette format's writer and reader, behind PaletteFormats.h's WritePalette and
// ReadPalette, and what they share. Readers return empty and set `why` on failure.
#include "colour/PaletteFormats.h"

namespace palettecodecs {

QByteArray WriteGpl(const TPalette &palette);
std::optional<TPalette> ReadGpl(const QByteArray &bytes, QString &why);
QByteArray WriteCss(const TPalette &palette);
std::optional<TPalette> ReadCss(const QByteArray &bytes, QString &why);
QByteArray WriteTailwind(const TPalette &palette);
std::optional<TPalette> ReadTailwind(const QByteArray &bytes, QString &why);
QByteArray WriteTokens(const TPalette &palette);
std::optional<TPalette> ReadTokens(const QByteArray &bytes, QString &why);
QByteArray WriteAse(const TPalette &palette);
std::optional<TPalette> ReadAse(const QByteArray &bytes, QString &why);
QByteArray WriteKpl(const TPalette &palette);
std::optional<TPalette> ReadKpl(const QByteArray &bytes, QString &why);
// The colour set's XML that a .kpl holds.
QByteArray WriteKritaColourSet(const TPalette &palette);
std::optional<TPalette> ReadKritaColourSet(const QByteArray &bytes, QString &why);
QByteArray WriteSoc(const TPalette &palette);
std::optional<TPalette> ReadSoc(const QByteArray &bytes, QString &why);
QByteArray WriteScribus(const TPalette &palette);
std::optional<TPalette> ReadScribus(const QByteArray &bytes, QString &why);
QByteArray WriteSvgSheet(const TPalette &palette);
QByteArray WritePngSheet(const TPalette &palette);

// More colours than this in one file are refused (a 16 MB file holds fewer real ones).
constexpr size_t MaxColours = 1'000'000;

// A name as read: control characters (C0, DEL, C1) and line separators become spaces, what no
// file can hold (U+FFFE, U+FFFF, a lone surrogate) U+FFFD. Empty with `why` set when it is longer
// than MaxPaletteNameLength.
std::optional<QString> TakeName(QString name, QString &why);
// A name as TakeName reads it, for writing.
QString PlainName(const QString &name);
// An sRGB colour from 0-1 components: its 8 bits when each lies within 1/10000 of a byte
// value and the alpha is 1 (so that 8-bit colours come back as 8-bit colours), else exactly.
TExactColour SrgbColour(double r, double g, double b, double alpha = 1);
// The palette, unless it holds no colours (then `why` says so).
std::optional<TPalette> Filled(TPalette palette, QString &why);
// A number in the fewest digits that read back as the same double, no exponent, in any locale
// ("0" within 1e-12 of zero).
QByteArray Number(double value);
// The colour space's name as CSS's color() and design tokens write it ("display-p3", "oklch").
QString SpaceName(TColourSpace space);
std::optional<TColourSpace> SpaceNamed(const QString &name);

} // namespace palettecodecs
