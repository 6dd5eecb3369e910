#pragma once

#include "framework/Failure.h"

#include <QString>

#include <cstdint>

// Value of one hexadecimal digit of either case; -1 for any other character.
int HexDigitValue(char16_t c);

// Decimal digits with a leading "-" when negative.
QString IntToStr(std::int64_t value);

// Rounded to 15 significant digits; trailing zeros and point removed; scientific form
// (1E-7, 1.5E20) below 0.00001 or from 10^15 on.
QString FloatToStr(double value);

// Nearest integer, halves away from zero.
std::int64_t RoundHalfAway(double value);

// Blanks around, optional sign, digits, optional point and digits; at least one digit or the
// point. A lone point reads 0. Returns false for anything else.
bool TryReadFloat(const QString &text, double &out);
// Same, throwing EConvertError "'%s' は浮動小数点数ではありません".
double StrToFloat(const QString &text);

// The integer number rule: optional leading blanks, optional sign, then decimal digits that fit
// a signed 32-bit integer, or up to 8 significant hex digits after "$", "x", "X", "0x" or "0X"
// (taken as the 32-bit pattern). Nothing may follow.
bool TryReadInteger(const QString &text, std::int32_t &out);
// Same, throwing EConvertError "'%s' は整数ではありません".
std::int32_t StrToInt(const QString &text);
// Same, with a fallback for a text that does not read.
std::int32_t StrToIntDef(const QString &text, std::int32_t fallback);
