#pragma once

#include "colour/ColourSpaces.h"

// The gamuts whose edge the OKLCH controls mark.
enum class TGamut { Srgb, DisplayP3 };

// Whether an OKLCH colour lies inside the gamut, with no tolerance: every channel of its
// gamma-encoded value within 0-1. This is the test the gamut mapping's chroma search makes.
bool InGamut(TGamut gamut, const TVec3 &oklch);

// The chroma up to which every OKLCH colour of this lightness (0-1) and hue (degrees) lies inside
// the gamut: the edge that CSS Color 4's gamut mapping, which reduces chroma at constant
// lightness and hue, searches for with its in-gamut test. (Near a corner of the gamut the line
// can leave it and come back; this is where it first leaves.) 0 at a lightness at or outside 0-1
// and for anything that is not a finite number. Found by bisection to 1e-6 (about 20 conversions, well under a
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
