#pragma once

// Small readers over an ASCII text, shared by the colour notations' parsers.

#include <optional>
#include <string_view>
#include <vector>

namespace textscan {

using Sv = std::string_view;

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

Sv Trim(Sv s);
bool EqualsNoCase(Sv a, Sv b);
bool HasBlank(Sv s);
// The parts between separators, each trimmed.
std::vector<Sv> Split(Sv s, char sep);
// Runs of blanks separate the tokens.
std::vector<Sv> SplitBlanks(Sv s);

// Digits with an optional point and digits ("5", "5.", ".5"; a lone point only when allowed),
// optionally followed by an exponent when allowed. No sign.
std::optional<double> ReadDecimal(Sv s, bool allowExponent, bool lonePointIsZero);
// An integer 0-255 written with one to three digits.
std::optional<int> ReadByteInteger(Sv s);
// Up to eight hexadecimal digits.
std::optional<unsigned> ReadHex(Sv s);

} // namespace textscan
