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
QByteArray WriteSoc(const TPalette &palette);
std::optional<TPalette> ReadSoc(const QByteArray &bytes, QString &why);
QByteArray WriteScribus(const TPalette &palette);
std::optional<TPalette> ReadScribus(const QByteArray &bytes, QString &why);
QByteArray WriteSvgSheet(const TPalette &palette);
QByteArray WritePngSheet(const TPalette &palette);

// More colours than this in one file are refused (a 16 MB file holds fewer real ones).
constexpr size_t MaxColours = 1'000'000;

// A name as read: control characters (C0, DEL, C1) and line separators become spaces. Empty
// with `why` set when it is longer than MaxPaletteNameLength.
std::optional<QString> TakeName(QString name, QString &why);
// A name for a format that cannot hold control characters: each becomes a space.
QString PlainName(const QString &name);
// A number in the fewest digits (up to 9 significant) that C locale readers take, no exponent.
QByteArray Number(double value, int digits = 9);

} // namespace palettecodecs
