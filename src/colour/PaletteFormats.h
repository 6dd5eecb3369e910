#pragma once

#include "colour/Palette.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Palette files in the formats other programs read and write, as bytes in and out; the file
// system is the caller's (see app/PaletteFiles.h).

enum class TPaletteFormat {
    Gimp,         // .gpl: 8-bit sRGB and names (also what Inkscape reads)
    Css,          // .css: custom properties, each colour exactly as written
    DesignTokens, // .tokens.json: design tokens, colours in their own space
    Tailwind,     // Tailwind CSS v4 @theme block (.tailwind.css)
    Ase,          // .ase: swatch exchange, RGB or Lab floats, UTF-16 names
    Krita,        // .kpl: a zip holding a colour set's XML
    LibreOffice,  // .soc: a colour table, 8-bit sRGB
    Scribus,      // .xml: a swatch list, 8-bit sRGB
    Svg,          // .svg: a swatch sheet to show people (written only)
    Png,          // .png: the same sheet as an image (written only)
};

struct TPaletteFormatInfo {
    TPaletteFormat Format;
    QString Name;         // "GIMP palette", as a file dialog and messages show it
    QStringList Suffixes; // without the dot, most specific first ("tokens.json")
    QString Filter;       // "GIMP palette (*.gpl)", one entry of a file dialog's filter
    bool CanRead;
    bool CanWrite;
};

// Every format, in the order a file dialog lists them.
const std::vector<TPaletteFormatInfo> &PaletteFormats();
const TPaletteFormatInfo &PaletteFormatInfo(TPaletteFormat format);

// The format a file name's suffix names (case ignored, the longest suffix wins, so that
// "a.tokens.json" is design tokens and "a.tailwind.css" Tailwind); empty for none.
std::optional<TPaletteFormat> PaletteFormatForFile(const QString &fileName);
// The format bytes look like, for a file whose suffix names none; empty when none fits.
std::optional<TPaletteFormat> PaletteFormatOfBytes(const QByteArray &bytes);
// A Qt file dialog filter of the formats that can be read (or written), ";;"-separated.
QString PaletteFileFilter(bool forWriting);

// The palette in the format. Colours go in their own space where the format holds it, else as
// their sRGB fallback (8 bits where the format holds only bytes). Names are written as
// ReadPalette reads them back (control characters as spaces). Png needs a QGuiApplication (it
// draws text); empty without one, and for a format that cannot be written.
QByteArray WritePalette(TPaletteFormat format, const TPalette &palette);

// The palette the bytes hold. Empty, with a one-line reason in `why` (no file name: the caller
// adds it), for bytes that are not such a palette, are cut short, hold too many colours or a
// name longer than MaxPaletteNameLength. Control characters in names read as spaces. Never
// trusts a length or a count in the bytes; a zip is refused beyond MaxPaletteBytes unpacked.
std::optional<TPalette> ReadPalette(TPaletteFormat format, const QByteArray &bytes, QString *why = nullptr);

// A palette file beyond this is no palette a person made; it is refused without being read.
constexpr qsizetype MaxPaletteBytes = 16 * 1024 * 1024;
// A palette's or a colour's name beyond this many characters is refused.
constexpr qsizetype MaxPaletteNameLength = 1024;
