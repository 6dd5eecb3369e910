#pragma once

#include "colour/ExactColour.h"

#include <optional>
#include <string_view>

// How two hues are interpolated: along the shorter or longer arc, or always increasing or
// decreasing (CSS Color 4's hue interpolation methods).
enum class THueMethod { Shorter, Longer, Increasing, Decreasing };

// A space color-mix() and gradients interpolate in, by its CSS name in any case (lab, oklab,
// lch, oklch, hsl, hwb and color()'s predefined spaces, "xyz" being xyz-d65); empty for others.
std::optional<TColourSpace> InterpolationSpace(std::string_view name);
// The space's CSS name as an "in" clause writes it.
const char *InterpolationSpaceName(TColourSpace space);
// A hue interpolation method by its CSS keyword (shorter, longer, increasing, decreasing).
std::optional<THueMethod> HueMethodNamed(std::string_view name);
const char *HueMethodName(THueMethod method);

// The colour `t` (0-1) of the way from `first` to `second`, as color-mix() interpolates it in
// `space`: missing components taken from the other colour, the hues brought onto the method's
// arc, premultiplied alpha. The result is in `space`.
TExactColour Interpolate(const TExactColour &first, const TExactColour &second, double t, TColourSpace space,
                         THueMethod method);
