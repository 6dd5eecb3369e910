#pragma once

#include "colour/Interpolation.h"
#include "colour/Palette.h"

#include <QString>

#include <optional>

// A gradient from one colour to another in evenly spaced steps, each step the colour
// color-mix() gives at its place (first and last the two colours themselves, in the space).
struct TGradientPlan {
    TColourSpace Space = TColourSpace::Oklab;
    THueMethod Method = THueMethod::Shorter;
    int Steps = 2;
};

// The step counts a gradient takes: POV-Ray's colour map holds at most 256 entries.
constexpr int MinGradientSteps = 2;
constexpr int MaxGradientSteps = 256;

// The steps, named "1" to "N"; empty when the count lies outside the range above.
std::optional<TPalette> MakeGradient(const TExactColour &from, const TExactColour &to, const TGradientPlan &plan);

// How a gradient is written.
enum class TGradientForm { Css, PovColorMap, Glsl };
// By its name on the command line ("css", "pov", "glsl"); empty for others.
std::optional<TGradientForm> GradientFormNamed(QStringView name);

// CSS: "linear-gradient(in oklch longer hue, c1, c2, …)", each step exactly as interpolated (a
// browser interpolating between the stops in the same space gives the same colours).
QString GradientCss(const TPalette &steps, const TGradientPlan &plan);
// POV-Ray: "color_map {\n  [0 color rgb <r, g, b>]\n  …\n}" at evenly spaced places, each
// step's sRGB fallback as 0-1 numbers; `srgb` (the srgb switch) writes "srgb" for "rgb".
QString GradientPovColorMap(const TPalette &steps, bool srgb);
// GLSL: "vec3[N](vec3(r, g, b), …)", each step's sRGB fallback as the GLSL notation writes it.
QString GradientGlsl(const TPalette &steps);
QString WriteGradient(TGradientForm form, const TPalette &steps, const TGradientPlan &plan, bool srgb);

// An interpolation as color-mix()'s "in" takes it: a space, then optionally a hue method and
// "hue" ("oklch longer hue"; "oklch longer" too). Empty for anything else, a method on a space
// without a hue included. The plan's step count is left as given.
std::optional<TGradientPlan> ReadInterpolation(QStringView text, TGradientPlan plan = {});
