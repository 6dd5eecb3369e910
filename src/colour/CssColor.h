#pragma once

#include "colour/CssTokens.h"
#include "colour/ExactColour.h"

#include <optional>
#include <string_view>

// Reads a whole text as one CSS colour: #RGB, #RGBA, #RRGGBB, #RRGGBBAA, the CSS colour names
// and transparent, rgb(), rgba(), hsl(), hsla() in the legacy comma syntax and the modern space
// syntax, hwb(), lab(), lch(), oklab(), oklch() and color() with its predefined spaces; in every
// function "none", "/ alpha", math functions (calc() and the rest) for any value, and relative
// colours ("from <colour>" with the channel keywords); and color-mix(). Values are clamped where
// CSS clamps them. The colour in its own space with its alpha; empty for anything CSS would not
// take. Linear time in the text's length; nesting deeper than TTokenStream::MaxDepth is refused.
std::optional<TExactColour> ParseCssColour(std::string_view text);

// Whether a text starts as a CSS colour function does ("name(" with a CSS colour function's name).
bool StartsAsCssFunction(std::string_view text);

namespace css {

// One colour at the cursor (after any whitespace), the cursor left after it.
std::optional<TExactColour> ReadColour(TTokenStream &ts);
// color-mix()'s arguments and closing parenthesis, its Function token taken.
std::optional<TExactColour> ReadColorMix(TTokenStream &ts);

// #RGB, #RGBA, #RRGGBB or #RRGGBBAA by its hexadecimal digits, from bytes.
std::optional<TExactColour> HexColour(std::string_view digits);
// A CSS colour name or transparent, in any case, from bytes.
std::optional<TExactColour> NamedColour(std::string_view word);

// A predefined space of color() and of color-mix()'s "in" ("xyz" is xyz-d65).
std::optional<TColourSpace> PredefinedSpace(std::string_view name);

} // namespace css
