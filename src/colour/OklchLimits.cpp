#include "colour/OklchLimits.h"

#include <algorithm>
#include <cmath>

using namespace colour;

namespace {

// Chroma beyond every gamut the program knows (Rec. 2020's largest is about 0.47).
constexpr double ChromaCeiling = 0.5;
constexpr double Precision = 1e-6;

// Linear-light RGB of the gamut from OKLCH, the conversion the spaces' own steps make.
TVec3 LinearRgb(TGamut gamut, const TVec3 &oklch)
{
    const TVec3 xyz = OklabToXyz(OklchToOklab(oklch));
    return gamut == TGamut::Srgb ? XyzToLinSrgb(xyz) : XyzToLinP3(xyz);
}

bool LinearInUnitCube(const TVec3 &rgb)
{
    // Both gamuts' transfer functions map 0-1 onto 0-1 and keep order, so the linear values
    // decide the same as the encoded ones.
    return std::all_of(rgb.begin(), rgb.end(), [](double v) { return v >= 0 && v <= 1; });
}

} // namespace

bool InGamut(TGamut gamut, const TVec3 &oklch)
{
    return LinearInUnitCube(LinearRgb(gamut, oklch));
}

double MaxChroma(TGamut gamut, double lightness, double hue)
{
    if (!std::isfinite(lightness) || !std::isfinite(hue) || lightness <= 0 || lightness >= 1)
        return 0;
    if (!InGamut(gamut, {lightness, 0, hue}))
        return 0;
    double in = 0, out = ChromaCeiling;
    if (InGamut(gamut, {lightness, out, hue}))
        return out;
    while (out - in > Precision) {
        const double mid = (in + out) / 2;
        (InGamut(gamut, {lightness, mid, hue}) ? in : out) = mid;
    }
    return in;
}

TTrackColour TrackColour(const TVec3 &oklch)
{
    TTrackColour t;
    TVec3 c = oklch;
    if (!std::isfinite(c[2]))
        c[2] = 0;
    c[0] = std::clamp(c[0], 0.0, 1.0);
    c[1] = std::max(c[1], 0.0);
    if (!InGamut(TGamut::Srgb, c)) {
        t.Outside = true;
        c[1] = MaxChroma(TGamut::Srgb, c[0], c[2]);
    }
    TVec3 rgb = GamSrgb(XyzToLinSrgb(OklabToXyz(OklchToOklab(c))));
    for (double &v : rgb)
        v = std::clamp(v, 0.0, 1.0);
    t.Srgb = rgb;
    return t;
}
