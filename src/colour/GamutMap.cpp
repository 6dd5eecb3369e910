#include "colour/GamutMap.h"

#include <algorithm>
#include <cmath>

using namespace colour;

namespace {

constexpr double Jnd = 0.02;
constexpr double Epsilon = 0.0001;

bool InGamut(const TVec3 &rgb, double tolerance)
{
    return std::all_of(rgb.begin(), rgb.end(), [&](double v) { return v >= -tolerance && v <= 1 + tolerance; });
}

TVec3 Clip(const TVec3 &rgb)
{
    return {std::clamp(rgb[0], 0.0, 1.0), std::clamp(rgb[1], 0.0, 1.0), std::clamp(rgb[2], 0.0, 1.0)};
}

// The RGB space a colour is mapped into: a colour of any space into it, and its colours into OKLab.
struct TTarget {
    TVec3 (*From)(TColourSpace space, const TVec3 &c);
    TVec3 (*ToOklab)(const TVec3 &rgb);
};

const TTarget SrgbTarget{ToSrgb, [](const TVec3 &rgb) { return FromSrgb(TColourSpace::Oklab, rgb); }};
const TTarget P3Target{[](TColourSpace space, const TVec3 &c) { return FromXyzD65(TColourSpace::DisplayP3, ToXyzD65(space, c)); },
                       [](const TVec3 &rgb) { return FromXyzD65(TColourSpace::Oklab, ToXyzD65(TColourSpace::DisplayP3, rgb)); }};

bool Finite(const TVec3 &v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

// CSS Color 4's gamut mapping into the target.
TVec3 GamutMap(const TTarget &target, TColourSpace space, const TVec3 &c)
{
    // OKLab and OKLCh lightness is taken as written: a trip through XYZ would turn 1 into
    // 0.9999999999999999 and a white into a tint.
    TVec3 origin = space == TColourSpace::Oklch ? c : FromXyzD65(TColourSpace::Oklch, ToXyzD65(space, c));
    if (space == TColourSpace::Oklab)
        origin[0] = c[0];
    if (origin[0] >= 1)
        return {1, 1, 1};
    if (origin[0] <= 0)
        return {0, 0, 0};
    const auto toTarget = [&](const TVec3 &oklch) { return target.From(TColourSpace::Oklch, oklch); };
    const auto distanceToClipped = [&](const TVec3 &currentOklch, const TVec3 &clipped) {
        return DeltaEOK(target.ToOklab(clipped), OklchToOklab(currentOklch));
    };
    const TVec3 direct = target.From(space, c);
    if (InGamut(direct, 0))
        return direct;

    TVec3 current = origin;
    if (IsPowerless(current[2]))
        current[2] = 0;
    TVec3 clipped = Clip(toTarget(current));
    if (distanceToClipped(current, clipped) < Jnd)
        return clipped;

    double min = 0, max = current[1];
    bool minInGamut = true;
    while (max - min > Epsilon) {
        const double chroma = (min + max) / 2;
        current[1] = chroma;
        const TVec3 rgb = toTarget(current);
        if (minInGamut && InGamut(rgb, 0)) {
            min = chroma;
            continue;
        }
        clipped = Clip(rgb);
        const double e = distanceToClipped(current, clipped);
        if (e < Jnd) {
            if (Jnd - e < Epsilon)
                return clipped;
            minInGamut = false;
            min = chroma;
        } else {
            max = chroma;
        }
    }
    return clipped;
}

} // namespace

TVec3 GamutMapToSrgb(TColourSpace space, const TVec3 &c)
{
    return GamutMap(SrgbTarget, space, c);
}

TVec3 GamutMapToP3(TColourSpace space, const TVec3 &c)
{
    return GamutMap(P3Target, space, c);
}

TVec3 ReduceChroma(TColourSpace rgbSpace, const TVec3 &oklch)
{
    const TTarget &target = rgbSpace == TColourSpace::DisplayP3 ? P3Target : SrgbTarget;
    const auto inside = [&](double chroma) {
        return InGamut(target.From(TColourSpace::Oklch, {oklch[0], chroma, oklch[2]}), 0);
    };
    if (!(oklch[1] > 0) || std::isnan(oklch[2]) || inside(oklch[1]))
        return oklch;
    if (oklch[0] >= 1 || oklch[0] <= 0 || !inside(0))
        return {std::clamp(oklch[0], 0.0, 1.0), 0, oklch[2]};
    double min = 0, max = oklch[1];
    while (max - min > 1e-7) {
        const double chroma = (min + max) / 2;
        (inside(chroma) ? min : max) = chroma;
    }
    return {oklch[0], min, oklch[2]};
}

int ByteOfUnit(double v)
{
    // An exact half rounds up. Worked through a chain of conversions a half can come out a hair
    // below (hwb(120 30% 50%) gives 127.49999999999999 for 127.5), so a value within a billionth
    // of a step of the half counts as the half; no 8-bit input lands that close by chance.
    const double x = v * 255;
    if (!(x > 0))
        return 0;
    if (x >= 255)
        return 255;
    const double whole = std::floor(x);
    return static_cast<int>(x - whole >= 0.5 - 1e-9 ? whole + 1 : whole);
}

TVec3 SrgbOf(const TRgb8 &rgb)
{
    return {rgb.R / 255.0, rgb.G / 255.0, rgb.B / 255.0};
}

std::optional<TMappedRgb8> ToRgb8(TColourSpace space, const TVec3 &c)
{
    if (!std::all_of(c.begin(), c.end(), [](double x) { return std::isfinite(x) || IsPowerless(x); }))
        return std::nullopt;
    TVec3 rgb = ToSrgb(space, c);
    if (!Finite(rgb))
        return std::nullopt;
    bool mapped = false;
    if (!InGamut(rgb, 0.5 / 255)) {
        // The search halves the chroma until it is below 0.0001, so even a huge one ends soon.
        rgb = GamutMapToSrgb(space, c);
        mapped = true;
        if (!Finite(rgb))
            return std::nullopt;
    }
    return TMappedRgb8{{ByteOfUnit(rgb[0]), ByteOfUnit(rgb[1]), ByteOfUnit(rgb[2])}, mapped};
}
