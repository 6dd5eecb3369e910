#pragma once

#include "framework/Colors.h"

#include <QString>

#include <optional>

// Text tests of the restore commands. "Digit" means the ASCII digits 0-9 only; every test on
// each character is true for an empty text.
bool IsDigit(const QString &text);
// Digits and the upper-case letters A-F.
bool IsDigitHx(const QString &text);
// Digits, ".", "," and " ".
bool IsDigitFL(const QString &text);
// At most one ".".
bool IsDot(const QString &text);
// No ",".
bool IsCom(const QString &text);

// The text without any space.
QString IsEmp(const QString &text);
// A "0" put in front of every "." that directly follows a "," or a "<".
QString IsRe(const QString &text);
// RRGGBB (six characters) to the constant form $00BBGGRR.
QString ChangeColorD(const QString &text);

// Removes every character whose code is 32 or below from both ends.
QString TrimLow(const QString &text);

// Two upper-case hexadecimal digits (at least two) of a channel value.
QString Hex2(int value);

// What a restore command writes into the window. A field left empty (nullopt) keeps its text.
struct TFieldWrites {
    TColor MyColor = 0; // the new current colour, shown in the swatch as well
    std::optional<QString> PovEdit;
    std::optional<QString> Edit1, Edit2, Edit3; // percent
    std::optional<QString> Edit4, Edit5;        // constant, HTML
    std::optional<QString> Edit6, Edit7, Edit8; // 0-255
    std::optional<QString> Label7;
    std::optional<QString> ColorText;
    std::optional<QString> RgbfText;
};

// "restore" beside the POV-Ray field, given that field's text. nullopt: the text fails a test
// and nothing changes. A value that passes the character tests but does not read (fewer than
// three values) throws EConvertError. Writes the percent, 0-255, decimal, constant and HTML
// fields and the colour; the typed text, the stored notations and the filter value stay.
std::optional<TFieldWrites> RestorePov(const QString &povText);

// "BGR": the constant field $00BBGGRR (high byte 00, 01 or 02 kept in the value); the new
// colour, to be rendered in full, or nullopt when the text is not accepted.
std::optional<TColor> RestoreConstant(const QString &constantText);

// "RGB": the HTML field #RRGGBB; the new colour, to be rendered in full, or nullopt.
std::optional<TColor> RestoreHtml(const QString &htmlText);

// "0-255": the red, green and blue fields (an empty one counts as 0); the new colour, to be
// rendered in full, or nullopt. A field of more digits than a 32-bit integer holds throws
// EConvertError.
std::optional<TColor> RestoreBytes(const QString &red, const QString &green, const QString &blue);

// "0-100%": an empty percent field is first filled with "0" in the window; this gives that text.
QString PercentFieldText(const QString &fieldText);

// "0-100%": the three percent fields (empty ones count as "0"), and whether the pigment wrapper
// is on. nullopt when a text fails a test; a text of digits, points, commas and spaces that does
// not read (such as 5,0 or 1 2) throws EConvertError. Writes the 0-255, decimal, constant, HTML
// and POV-Ray fields, the colour text and the rgbf notation (filter always 0); the percent fields
// keep their typed text.
std::optional<TFieldWrites> RestorePercent(const QString &red, const QString &green, const QString &blue,
                                           bool pigment);
