#pragma once

#include "colour/ExactColour.h"

// Colour differences as colour.js computes them: CIE76 and CIEDE2000 in CIE Lab (D50, as CSS
// converts), deltaEOK the plain distance in OKLab (not scaled by 100). Alphas are not compared;
// missing components count as 0.
double DeltaE76(const TExactColour &a, const TExactColour &b);
double DeltaE2000(const TExactColour &a, const TExactColour &b);
double DeltaEOk(const TExactColour &a, const TExactColour &b);

// CIEDE2000 of two CIE Lab values (kL = kC = kH = 1), as Sharma, Wu and Dalal 2005 write it out.
double DeltaE2000Lab(const TVec3 &lab1, const TVec3 &lab2);

struct TColourDifferences {
    double De2000 = 0, DeOk = 0, De76 = 0;
};
TColourDifferences ColourDifferences(const TExactColour &a, const TExactColour &b);
