#pragma once

// CSS's math functions over numbers, percentages and angles, as colour values use them: calc(),
// min(), max(), clamp(), round(), mod(), rem(), abs(), sign(), the trigonometric functions,
// pow(), sqrt(), hypot(), log() and exp(), with the constants e, pi, infinity, -infinity and NaN
// and, in a relative colour, the origin colour's channel keywords.

#include "colour/CssTokens.h"

#include <span>
#include <string_view>

namespace css {

enum class TNumericType { Number, Percent, Angle };

struct TNumeric {
    double Value = 0; // an angle in degrees
    TNumericType Type = TNumericType::Number;
};

struct TChannelKeyword {
    std::string_view Name; // lower case
    double Value;          // 0 where the origin's channel is missing
    bool Missing = false;  // the origin's channel is missing: the keyword alone reads as "none"
};

// Where a math function stands: what 100% is in numbers there, whether it is a hue (where
// numbers are degrees and mix with angles), and the channel keywords it may name.
struct TCalcContext {
    double PercentScale = 1;
    bool Hue = false;
    std::span<const TChannelKeyword> Keywords;
};

bool IsMathFunction(std::string_view name);

// Reads the math function whose Function token is next and leaves the cursor after its ")".
// A percentage that meets a number in an operation is taken as the number it means, and in a hue
// a number as degrees. A NaN result reads as 0, as CSS censors a top-level calculation; an
// infinite one stays infinite for the caller to clamp. Empty for anything CSS would not take.
std::optional<TNumeric> ReadMathFunction(TTokenStream &ts, const TCalcContext &context);

// An angle unit's size in degrees (deg, rad, grad, turn); empty for any other unit.
std::optional<double> DegreesPerUnit(std::string_view unit);

} // namespace css
