#pragma once

#include "colour/ExactColour.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// The contrast a text colour must reach on its background: a WCAG 2 ratio or an APCA lightness
// contrast (|Lc|, whichever polarity).
enum class TContrastTarget { WcagAa, WcagAaLarge, WcagAaa, WcagAaaLarge, ApcaLc45, ApcaLc60, ApcaLc75, ApcaLc90 };

// Every target, in the order a list shows them.
std::span<const TContrastTarget> AllContrastTargets();

// The name the command line reads and writes: "aa", "aa-large", "aaa", "aaa-large", "lc45",
// "lc60", "lc75", "lc90".
QString ContrastTargetName(TContrastTarget target);
// A name as people read it: "WCAG AA (4.5)", "APCA Lc 60".
QString ContrastTargetTitle(TContrastTarget target);
// Reads a target name (case-insensitive, surrounding spaces ignored); empty for anything else.
std::optional<TContrastTarget> ReadContrastTarget(QStringView text);

// Whether text in `text` on `background` reaches the target, by the figures Contrast.h gives.
bool PassesContrast(const TExactColour &text, const TExactColour &background, TContrastTarget target);

// The colour with another OKLCh lightness (0-1), keeping its OKLCh hue and chroma, the chroma
// reduced only as far as sRGB demands; its alpha kept. An OKLCh colour.
TExactColour WithOklchLightness(const TExactColour &colour, double lightness);

// The lightness step the search takes: one 8-bit step of OKLCh lightness.
inline constexpr double ContrastFixStep = 1.0 / 255;

struct TContrastFix {
    bool Found = false;  // false: no lightness reaches the target on this background
    TExactColour Colour; // the nearest passing colour; the text colour itself when it passes
    double Ratio = 0;    // its WCAG ratio and APCA Lc on the background
    double Lc = 0;
};

// The nearest colour that reaches the target on the background: the text colour's own OKLCh
// lightness moved the fewest steps of ContrastFixStep up or down (0 and 1 as the last steps),
// through WithOklchLightness. At equal distance the one with the higher contrast wins. One step
// less in the same direction fails. Under a millisecond.
TContrastFix FixContrast(const TExactColour &text, const TExactColour &background, TContrastTarget target);
