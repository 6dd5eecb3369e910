#pragma once

#include "colour/ExactColour.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// How a colour looks to someone with a colour-vision deficiency. The full dichromacies follow
// Viénot, Brettel and Mollon 1999 (protanopia, deuteranopia: one projection plane) and Brettel,
// Viénot and Mollon 1997 (tritanopia: two half-planes); the anomalous trichromacies apply Machado,
// Oliveira and Fernandes 2009's published matrices, interpolated between their tenths of
// severity; achromatopsia keeps the luminance alone. All of it in linear-light sRGB.
enum class TVision { Normal, Protanopia, Deuteranopia, Tritanopia, Protanomaly, Deuteranomaly, Tritanomaly, Achromatopsia };

// A vision with its severity 0-1 (only the anomalous trichromacies take one; the others are 1).
struct TVisionChoice {
    TVision Vision = TVision::Normal;
    double Severity = 1;
    friend bool operator==(const TVisionChoice &, const TVisionChoice &) = default;
};

// Every vision, Normal first, in the order a list shows them.
std::span<const TVision> AllVisions();

// Whether the vision takes a severity (protanomaly, deuteranomaly, tritanomaly).
bool HasSeverity(TVision vision);

// The colour as the vision sees it: an sRGB colour (unclamped, so a colour outside sRGB stays
// outside), with the colour's own alpha. Normal gives the colour itself. The severity is clamped
// to 0-1 (NaN counts as 1) and ignored by visions that take none.
TExactColour SimulateVision(const TExactColour &colour, TVision vision, double severity = 1);
TExactColour SimulateVision(const TExactColour &colour, const TVisionChoice &choice);

// The same on linear-light sRGB values.
TVec3 SimulateLinearSrgb(const TVec3 &linear, TVision vision, double severity = 1);

// The lower-case English name the command line reads and writes: "deuteranomaly".
QString VisionName(TVision vision);
// A name as people read it: "Deuteranomaly".
QString VisionTitle(TVision vision);
// "deuteranomaly:0.6"; a vision without severity, or at severity 1, is its name alone.
QString VisionChoiceText(const TVisionChoice &choice);

// Reads "NAME" or "NAME:SEVERITY" (case-insensitive, surrounding spaces ignored; the severity a
// plain decimal 0-1, '.' as the separator). Empty for an unknown name, a severity that is not such
// a number, or a severity on a vision that takes none.
std::optional<TVisionChoice> ReadVisionChoice(QStringView text);
