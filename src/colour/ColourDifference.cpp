#include "colour/ColourDifference.h"

#include <cmath>
#include <numbers>

using namespace colour;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Pow25To7 = 6103515625.0; // 25^7

double Radians(double degrees) { return degrees * Pi / 180; }
double Degrees(double radians) { return radians * 180 / Pi; }

TVec3 LabOf(const TExactColour &c)
{
    return c.To(TColourSpace::Lab).Coords;
}

TVec3 OklabOf(const TExactColour &c)
{
    return c.To(TColourSpace::Oklab).Coords;
}

double Zeroed(double v) { return std::isnan(v) ? 0 : v; }

// A hue angle 0-360 of (a, b); 0 where both are 0.
double HueAngle(double a, double b)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = Degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
}

} // namespace

double DeltaE2000Lab(const TVec3 &lab1, const TVec3 &lab2)
{
    const double l1 = lab1[0], a1 = lab1[1], b1 = lab1[2];
    const double l2 = lab2[0], a2 = lab2[1], b2 = lab2[2];

    const double c1 = std::hypot(a1, b1), c2 = std::hypot(a2, b2);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + Pow25To7)));
    const double a1p = (1 + g) * a1, a2p = (1 + g) * a2;
    const double c1p = std::hypot(a1p, b1), c2p = std::hypot(a2p, b2);
    const double h1p = HueAngle(a1p, b1), h2p = HueAngle(a2p, b2);

    const double dLp = l2 - l1;
    const double dCp = c2p - c1p;
    double dhp = 0;
    if (c1p * c2p != 0) {
        dhp = h2p - h1p;
        if (dhp > 180)
            dhp -= 360;
        else if (dhp < -180)
            dhp += 360;
    }
    const double dHp = 2 * std::sqrt(c1p * c2p) * std::sin(Radians(dhp) / 2);

    const double lMean = (l1 + l2) / 2;
    const double cpMean = (c1p + c2p) / 2;
    double hpMean = h1p + h2p;
    if (c1p * c2p != 0) {
        if (std::abs(h1p - h2p) <= 180)
            hpMean /= 2;
        else if (hpMean < 360)
            hpMean = (hpMean + 360) / 2;
        else
            hpMean = (hpMean - 360) / 2;
    }

    const double t = 1 - 0.17 * std::cos(Radians(hpMean - 30)) + 0.24 * std::cos(Radians(2 * hpMean))
                     + 0.32 * std::cos(Radians(3 * hpMean + 6)) - 0.20 * std::cos(Radians(4 * hpMean - 63));
    const double dTheta = 30 * std::exp(-std::pow((hpMean - 275) / 25, 2));
    const double cpMean7 = std::pow(cpMean, 7);
    const double rc = 2 * std::sqrt(cpMean7 / (cpMean7 + Pow25To7));
    const double lShift = (lMean - 50) * (lMean - 50);
    const double sl = 1 + 0.015 * lShift / std::sqrt(20 + lShift);
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(Radians(2 * dTheta)) * rc;

    const double termL = dLp / sl, termC = dCp / sc, termH = dHp / sh;
    return std::sqrt(termL * termL + termC * termC + termH * termH + rt * termC * termH);
}

double DeltaE76(const TExactColour &a, const TExactColour &b)
{
    const TVec3 la = LabOf(a), lb = LabOf(b);
    return std::sqrt(std::pow(Zeroed(la[0]) - Zeroed(lb[0]), 2) + std::pow(Zeroed(la[1]) - Zeroed(lb[1]), 2)
                     + std::pow(Zeroed(la[2]) - Zeroed(lb[2]), 2));
}

double DeltaE2000(const TExactColour &a, const TExactColour &b)
{
    const TVec3 la = LabOf(a), lb = LabOf(b);
    return DeltaE2000Lab({Zeroed(la[0]), Zeroed(la[1]), Zeroed(la[2])}, {Zeroed(lb[0]), Zeroed(lb[1]), Zeroed(lb[2])});
}

double DeltaEOk(const TExactColour &a, const TExactColour &b)
{
    const TVec3 oa = OklabOf(a), ob = OklabOf(b);
    return colour::DeltaEOK({Zeroed(oa[0]), Zeroed(oa[1]), Zeroed(oa[2])}, {Zeroed(ob[0]), Zeroed(ob[1]), Zeroed(ob[2])});
}

TColourDifferences ColourDifferences(const TExactColour &a, const TExactColour &b)
{
    return {DeltaE2000(a, b), DeltaEOk(a, b), DeltaE76(a, b)};
}
