#pragma once

#include "colour/Palette.h"

#include <array>
#include <span>
#include <optional>
#include <string_view>

// Palettes made from one colour: its tints and shades, and its harmonies. Every colour made is
// an OKLCH colour inside the chosen gamut, brought there by lowering its chroma alone
// (ReduceChroma), so that its lightness and hue are exactly those asked for; the colour itself is
// kept exactly as it was given.

// The gamut the colours made are brought into.
enum class TGamut { Srgb, DisplayP3 };

// The steps of a scale, by name, and the OKLCH lightness each stands on: a fixed curve from near
// white (50) to near black (950).
inline constexpr std::array<int, 11> ScaleSteps{50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 950};
inline constexpr std::array<double, 11> ScaleLightness{0.97, 0.93, 0.87, 0.79, 0.7, 0.61, 0.52, 0.44, 0.36, 0.28, 0.2};

// The step whose lightness lies nearest the colour's OKLCH lightness (the lighter on a tie).
int NearestScaleStep(const TExactColour &colour);

// The colour's 11-step scale, entries named "50" to "950". The nearest step is the colour itself;
// every other step has the curve's lightness, the colour's hue, and its chroma eased toward the
// ends: times 1 - t², t being how far the step lies from the colour toward white (lighter steps)
// or black (darker ones), 0 at the colour and 1 at white or black. Each then has its chroma lowered into the gamut.
TPalette MakeScale(const TExactColour &colour, TGamut gamut = TGamut::Srgb);

enum class THarmony { Complementary, Analogous, Triadic, SplitComplementary, Square, Monochromatic };

// Each harmony by its name on the command line ("complementary", "analogous", "triadic",
// "split-complementary", "square", "monochromatic") and in a window.
struct THarmonyInfo {
    THarmony Harmony;
    const char *Key;
    const char *Caption;
};
std::span<const THarmonyInfo> HarmonyInfos();
std::optional<THarmony> HarmonyNamed(std::string_view key);

// The harmony of a colour, the colour itself first and exactly as given, named "base". The others
// are OKLCH hue rotations at the colour's lightness and chroma (complementary 180°; analogous
// -30° and +30°; triadic 120° and 240°; split-complementary 150° and 210°; square 90°, 180° and
// 270°), named by their rotation ("+180°"), each brought into the gamut. Monochromatic: five colours of the
// colour's hue and chroma 0.12 apart in OKLCH lightness, light to dark, named by their lightness
// against the colour's ("L+0.12"); the colour is the middle one, or as near the middle as keeps
// the others between 0.15 and 0.95.
TPalette MakeHarmony(THarmony harmony, const TExactColour &colour, TGamut gamut = TGamut::Srgb);
