#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include <cstdint>

// A colour value: $00BBGGRR for a plain colour, $80000000 + index for a theme colour,
// clNone for no colour. Stored as a signed 32-bit integer, as the settings file shows it.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor ThemeColor(int index) { return static_cast<TColor>(0x80000000u + static_cast<std::uint32_t>(index)); }
constexpr TColor clScrollBar = ThemeColor(0);
constexpr TColor clBackground = ThemeColor(1);
constexpr TColor clActiveCaption = ThemeColor(2);
constexpr TColor clInactiveCaption = ThemeColor(3);
constexpr TColor clMenu = ThemeColor(4);
constexpr TColor clWindow = ThemeColor(5);
constexpr TColor clWindowFrame = ThemeColor(6);
constexpr TColor clMenuText = ThemeColor(7);
constexpr TColor clWindowText = ThemeColor(8);
constexpr TColor clCaptionText = ThemeColor(9);
constexpr TColor clActiveBorder = ThemeColor(10);
constexpr TColor clInactiveBorder = ThemeColor(11);
constexpr TColor clAppWorkSpace = ThemeColor(12);
constexpr TColor clHighlight = ThemeColor(13);
constexpr TColor clHighlightText = ThemeColor(14);
constexpr TColor clBtnFace = ThemeColor(15);
constexpr TColor clBtnShadow = ThemeColor(16);
constexpr TColor clGrayText = ThemeColor(17);
constexpr TColor clBtnText = ThemeColor(18);
constexpr TColor clInactiveCaptionText = ThemeColor(19);
constexpr TColor clBtnHighlight = ThemeColor(20);
constexpr TColor cl3DDkShadow = ThemeColor(21);
constexpr TColor cl3DLight = ThemeColor(22);
constexpr TColor clInfoText = ThemeColor(23);
constexpr TColor clInfoBk = ThemeColor(24);
constexpr TColor clNone = 0x1FFFFFFF;

constexpr int ThemeColorCount = 25;

constexpr bool IsThemeColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0x80000000u
           && (static_cast<std::uint32_t>(c) & 0xFFu) < ThemeColorCount;
}

// The 16 fixed colours with their identifiers, in the order the design lists them.
struct TNamedColor {
    TColor value;
    const char *ident;
};
inline constexpr TNamedColor StandardColors[16] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"},     {clOlive, "clOlive"},
    {clNavy, "clNavy"},   {clPurple, "clPurple"}, {clTeal, "clTeal"},       {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"},     {clLime, "clLime"},       {clYellow, "clYellow"},
    {clBlue, "clBlue"},   {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},     {clWhite, "clWhite"},
};

// Identifier of a named colour (16 fixed, 25 theme, clNone); empty when the value has no name.
QString ColorToIdent(TColor c);
// "$" and eight upper-case hex digits, or the identifier when the value is named.
QString ColorToString(TColor c);
// Reads an identifier (ASCII case ignored) or a number by the integer number rule.
bool TryStringToColor(const QString &text, TColor &out);
// Same, but a text that reads neither way throws EConvertError.
TColor StringToColor(const QString &text);

// A theme colour resolved through the running style's palette; plain colours unchanged
// (high byte dropped). clNone resolves to black.
TColor ColorToRGB(TColor c);
QColor ToQColor(TColor c);
// The same through a given palette (a widget's own, say).
TColor ColorToRGB(TColor c, const QPalette &palette);
QColor ToQColor(TColor c, const QPalette &palette);

// A standard light palette that is the same on every desktop (Fusion's). Windows whose faces and
// backgrounds are fixed light colours resolve their theme colours from it, so that their text
// stays dark on a dark desktop.
const QPalette &LightPalette();
TColor FromQColor(const QColor &c);

constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
