#pragma once

#include "colour/ColourSpaces.h"

// The gamuts whose edge the OKLCH controls mark.
enum class TGamut { Srgb, DisplayP3 };

// Whether an OKLCH colour lies inside the gamut, with no tolerance: every channel of its
// gamma-encoded value within 0-1. This is the test the gamut mapping's chroma search makes.
bool InGamut(TGamut gamut, const TVec3 &oklch);

// The largest chroma that keeps an OKLCH colour of this lightness (0-1) and hue (degrees) inside
// the gamut: where CSS Color 4's gamut mapping, which reduces chroma at constant lightness and
// hue, stops finding the colour in gamut. 0 at a lightness at or outside 0-1 and for anything
// that is not a finite number. Found by bisection to 1e-6 (about 20 conversions, well under a
// microsecond each), so a track can ask it once per pixel column.
double MaxChroma(TGamut gamut, double lightness, double hue);

// The colour a track shows for an OKLCH colour: its gamma-encoded sRGB, with the chroma reduced
// to the sRGB limit where it lies outside (the same lightness and hue, as the gamut mapping
// keeps them), and whether it had to be.
struct TTrackColour {
    TVec3 Srgb{};
    bool Outside = false;
};
TTrackColour TrackColour(const TVec3 &oklch);
