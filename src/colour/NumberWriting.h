#pragma once

#include <string>

// How the colour notations write a number: "." in every locale, no exponent, trailing zeros and
// a bare point dropped, "-0" as "0".

// At most `decimals` decimals.
std::string FixedText(double value, int decimals);
// At most `digits` significant digits (a huge value is written in full with zeros, a tiny one
// with leading zeros after the point), so that a number typed with that many digits comes back
// as typed. A value within 1e-10 of 0, what conversions leave of a zero, is written "0".
std::string SignificantText(double value, int digits = 6);
