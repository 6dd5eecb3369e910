#pragma once

#include "framework/Colors.h"
#include "framework/Random.h"

// "ra1": any plain colour, one draw of Random(16777216).
TColor AnyRandomColor(TRandom &random);

// "ra2": a quiet mid-tone. Blue is a base level of 60 to 167; green, then red, differ from it
// by -20 to +19, so every channel lies between 40 and 186.
TColor QuietRandomColor(TRandom &random);
