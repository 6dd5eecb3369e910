#include "colour/ExactColour.h"

#include "colour/AnyColor.h"
#include "colour/NumberWriting.h"

#include <algorithm>
#include <cmath>

using namespace colour;

namespace {

// What each coordinate of a space means, for carrying a missing one over to another space.
enum class TRole { Red, Green, Blue, Lightness, Colourfulness, Hue, OpponentA, OpponentB, Other };

std::array<TRole, 3> Roles(TColourSpace space)
{
    switch (space) {
    case TColourSpace::Lab:
    case TColourSpace::Oklab: return {TRole::Lightness, TRole::OpponentA, TRole::OpponentB};
    case TColourSpace::Lch:
    case TColourSpace::Oklch: return {TRole::Lightness, TRole::Colourfulness, TRole::Hue};
    case TColourSpace::Hsl: return {TRole::Hue, TRole::Colourfulness, TRole::Lightness};
    case TColourSpace::Hwb: return {TRole::Hue, TRole::Other, TRole::Other};
    default: return {TRole::Red, TRole::Green, TRole::Blue};
    }
}

bool IsSrgbFamily(TColourSpace space)
{
    return space == TColourSpace::Srgb || space == TColourSpace::SrgbLinear || space == TColourSpace::Hsl
           || space == TColourSpace::Hwb;
}

bool Finite(const TVec3 &v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

// The coordinates with every missing one read as 0.
TVec3 Resolved(const TExactColour &c)
{
    TVec3 v = c.Coords;
    for (int i = 0; i < 3; ++i)
        if (c.Missing[static_cast<size_t>(i)])
            v[static_cast<size_t>(i)] = 0;
    return v;
}

TVec3 Convert(TColourSpace from, TColourSpace to, const TVec3 &v)
{
    // Steps that need no trip through XYZ are taken directly, as the sample code's own functions
    // do, so that nothing is lost on the way.
    if (IsSrgbFamily(from) && IsSrgbFamily(to))
        return FromSrgb(to, ToSrgb(from, v));
    if (from == TColourSpace::Lab && to == TColourSpace::Lch)
        return LabToLch(v);
    if (from == TColourSpace::Lch && to == TColourSpace::Lab)
        return LchToLab(v);
    if (from == TColourSpace::Oklab && to == TColourSpace::Oklch)
        return OklabToOklch(v);
    if (from == TColourSpace::Oklch && to == TColourSpace::Oklab)
        return OklchToOklab(v);
    return FromXyzD65(to, ToXyzD65(from, v));
}

// Within this much of an achromatic colour (saturation in percent, whiteness and blackness summed
// in percent) HSL and HWB hues are powerless, so rounding error makes no hue out of a grey.
constexpr double AchromaticPercent = 1e-7;

// The sRGB cube with half an 8-bit step of slack on every side.
constexpr double SrgbSlack = 0.5 / 255;

TVec3 Clip(const TVec3 &rgb)
{
    return {std::clamp(rgb[0], 0.0, 1.0), std::clamp(rgb[1], 0.0, 1.0), std::clamp(rgb[2], 0.0, 1.0)};
}

// A colour so near grey in its own polar space that browsers take its hue as powerless in any
// other: chroma within the polar conversion's epsilon, HSL saturation within 0.001%, HWB whiteness
// and blackness within 0.001% of 100%.
bool NearlyGrey(const TExactColour &c)
{
    const TVec3 v = Resolved(c); // a missing chroma, saturation, whiteness or blackness is 0
    switch (c.Space) {
    case TColourSpace::Lch: return std::abs(v[1]) <= 0.0015;
    case TColourSpace::Oklch: return std::abs(v[1]) <= 0.000004;
    case TColourSpace::Hsl: return std::abs(v[1]) <= 0.001;
    case TColourSpace::Hwb: return v[1] + v[2] >= 100 - 0.001;
    default: return false;
    }
}

} // namespace

int HueIndex(TColourSpace space)
{
    switch (space) {
    case TColourSpace::Hsl:
    case TColourSpace::Hwb: return 0;
    case TColourSpace::Lch:
    case TColourSpace::Oklch: return 2;
    default: return -1;
    }
}

TExactColour TExactColour::FromRgb8(const TRgb8 &rgb, double alpha)
{
    TExactColour c;
    c.Coords = SrgbOf(rgb);
    c.Alpha = alpha;
    c.FromBytes = true;
    c.Legacy = true;
    return c;
}

TExactColour TExactColour::To(TColourSpace space) const
{
    if (space == Space)
        return *this;
    TExactColour out;
    out.Space = space;
    out.Alpha = Alpha;
    out.Missing[3] = Missing[3];
    out.Legacy = Legacy && IsSrgbFamily(space);
    out.FromBytes = FromBytes && space == TColourSpace::Srgb;
    out.Coords = Convert(Space, space, Resolved(*this));

    const int hue = HueIndex(space);
    if (hue >= 0) {
        const auto h = static_cast<size_t>(hue);
        const bool grey = NearlyGrey(*this);
        bool powerless = IsPowerless(out.Coords[h]) || grey;
        // A grey stays grey: no saturation (HSL) or chroma (LCH, OKLCh) made of rounding.
        if (grey && space != TColourSpace::Hwb)
            out.Coords[1] = 0;
        if (space == TColourSpace::Hsl)
            powerless = powerless || std::abs(out.Coords[1]) <= AchromaticPercent;
        if (space == TColourSpace::Hwb)
            powerless = powerless || out.Coords[1] + out.Coords[2] >= 100 - AchromaticPercent;
        if (powerless) {
            out.Coords[h] = 0;
            out.Missing[h] = true;
        }
    }
    const auto from = Roles(Space), to = Roles(space);
    for (size_t i = 0; i < 3; ++i) {
        if (!Missing[i] || from[i] == TRole::Other)
            continue;
        for (size_t j = 0; j < 3; ++j)
            if (to[j] == from[i]) {
                out.Missing[j] = true;
                out.Coords[j] = 0;
            }
    }
    return out;
}

bool TExactColour::InSrgb() const
{
    const TVec3 rgb = ToSrgb(Space, Resolved(*this));
    return std::all_of(rgb.begin(), rgb.end(),
                       [](double v) { return std::isfinite(v) && v >= -SrgbSlack && v <= 1 + SrgbSlack; });
}

TVec3 TExactColour::SrgbFallback() const
{
    const TVec3 v = Resolved(*this);
    if (InSrgb())
        return Clip(ToSrgb(Space, v));
    const TVec3 mapped = GamutMapToSrgb(Space, v);
    return Finite(mapped) ? mapped : TVec3{0, 0, 0};
}

TRgb8 TExactColour::Rgb8() const
{
    const TVec3 rgb = SrgbFallback();
    return {ByteOfUnit(rgb[0]), ByteOfUnit(rgb[1]), ByteOfUnit(rgb[2])};
}

namespace {

std::string Number(const TExactColour &c, size_t i, double scale = 1)
{
    return c.Missing[i] ? std::string("none") : SignificantText(c.Coords[i] * scale);
}

std::string Hex2(int v)
{
    static const char digits[] = "0123456789abcdef";
    return {digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

} // namespace

const char *PredefinedName(TColourSpace space)
{
    switch (space) {
    case TColourSpace::Srgb: return "srgb";
    case TColourSpace::SrgbLinear: return "srgb-linear";
    case TColourSpace::DisplayP3: return "display-p3";
    case TColourSpace::A98Rgb: return "a98-rgb";
    case TColourSpace::ProPhotoRgb: return "prophoto-rgb";
    case TColourSpace::Rec2020: return "rec2020";
    case TColourSpace::XyzD50: return "xyz-d50";
    case TColourSpace::XyzD65: return "xyz-d65";
    default: return nullptr;
    }
}

TColourSpace WrittenSpace(const TExactColour &c)
{
    // A colour its own function would clamp (from a relative colour or a mix) is written in a
    // space that holds it unclamped.
    const TVec3 &v = c.Coords;
    const auto outside = [](double x, double top) { return x < 0 || x > top; };
    switch (c.Space) {
    case TColourSpace::Hsl:
    case TColourSpace::Hwb:
        return outside(v[1], 100) || outside(v[2], 100) ? TColourSpace::Srgb : c.Space;
    case TColourSpace::Lab:
    case TColourSpace::Lch:
        return outside(v[0], 100) || (c.Space == TColourSpace::Lch && v[1] < 0) ? TColourSpace::XyzD50 : c.Space;
    case TColourSpace::Oklab:
    case TColourSpace::Oklch:
        return outside(v[0], 1) || (c.Space == TColourSpace::Oklch && v[1] < 0) ? TColourSpace::XyzD65 : c.Space;
    default: return c.Space;
    }
}

std::string AlphaSuffix(const TExactColour &c)
{
    if (c.Missing[3])
        return " / none";
    return c.Alpha < 1 ? " / " + SignificantText(std::max(c.Alpha, 0.0)) : std::string();
}

std::string ExactCssText(const TExactColour &c)
{
    if (c.FromBytes && c.Space == TColourSpace::Srgb && !c.Missing[0] && !c.Missing[1] && !c.Missing[2]
        && !c.Missing[3]) {
        const TRgb8 b = c.Rgb8();
        const int alpha = ByteOfUnit(c.Alpha);
        std::string hex = "#" + Hex2(b.R) + Hex2(b.G) + Hex2(b.B);
        if (c.Alpha >= 1)
            return hex;
        if (std::abs(alpha / 255.0 - c.Alpha) < 1e-12)
            return hex + Hex2(alpha);
    }
    if (c.Space == TColourSpace::Srgb && c.Legacy && WrittenSpace(c) == TColourSpace::Srgb) {
        const TVec3 &v = c.Coords;
        if (std::any_of(v.begin(), v.end(), [](double x) { return x < 0 || x > 1; })) {
            TExactColour unclamped = c;
            unclamped.Legacy = unclamped.FromBytes = false;
            return ExactCssText(unclamped);
        }
    }
    if (const TColourSpace home = WrittenSpace(c); home != c.Space)
        return ExactCssText(c.To(home));
    const std::string alpha = AlphaSuffix(c);
    const std::string three = Number(c, 0) + " " + Number(c, 1) + " " + Number(c, 2);
    switch (c.Space) {
    case TColourSpace::Srgb:
        if (c.Legacy)
            return "rgb(" + Number(c, 0, 255) + " " + Number(c, 1, 255) + " " + Number(c, 2, 255) + alpha + ")";
        break;
    case TColourSpace::Hsl: return "hsl(" + Number(c, 0) + " " + Number(c, 1) + "% " + Number(c, 2) + "%" + alpha + ")";
    case TColourSpace::Hwb: return "hwb(" + Number(c, 0) + " " + Number(c, 1) + "% " + Number(c, 2) + "%" + alpha + ")";
    case TColourSpace::Lab: return "lab(" + three + alpha + ")";
    case TColourSpace::Lch: return "lch(" + three + alpha + ")";
    case TColourSpace::Oklab: return "oklab(" + three + alpha + ")";
    case TColourSpace::Oklch: return "oklch(" + three + alpha + ")";
    default: break;
    }
    return std::string("color(") + PredefinedName(c.Space) + " " + three + alpha + ")";
}

QString ExactColourText(const TExactColour &c)
{
    return QString::fromStdString(ExactCssText(c));
}
