#include "colour/ContrastFix.h"

#include "colour/Contrast.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace colour;

namespace {

constexpr TContrastTarget Targets[] = {TContrastTarget::WcagAa,   TContrastTarget::WcagAaLarge, TContrastTarget::WcagAaa,
                                       TContrastTarget::WcagAaaLarge, TContrastTarget::ApcaLc45, TContrastTarget::ApcaLc60,
                                       TContrastTarget::ApcaLc75, TContrastTarget::ApcaLc90};

struct TTargetInfo {
    TContrastTarget Target;
    const char *Name;
    const char *Title;
    bool Apca;
    double Minimum; // the ratio, or |Lc|
};
constexpr TTargetInfo Infos[] = {
    {TContrastTarget::WcagAa, "aa", "WCAG AA (4.5)", false, 4.5},
    {TContrastTarget::WcagAaLarge, "aa-large", "WCAG AA large text (3)", false, 3},
    {TContrastTarget::WcagAaa, "aaa", "WCAG AAA (7)", false, 7},
    {TContrastTarget::WcagAaaLarge, "aaa-large", "WCAG AAA large text (4.5)", false, 4.5},
    {TContrastTarget::ApcaLc45, "lc45", "APCA Lc 45", true, 45},
    {TContrastTarget::ApcaLc60, "lc60", "APCA Lc 60", true, 60},
    {TContrastTarget::ApcaLc75, "lc75", "APCA Lc 75", true, 75},
    {TContrastTarget::ApcaLc90, "lc90", "APCA Lc 90", true, 90},
};

const TTargetInfo &InfoOf(TContrastTarget target)
{
    for (const TTargetInfo &info : Infos)
        if (info.Target == target)
            return info;
    return Infos[0];
}

// The contrast the target measures, larger is better: the ratio or |Lc|.
double Measure(const TTargetInfo &info, const TExactColour &text, const TExactColour &background)
{
    return info.Apca ? std::abs(ApcaLc(text, background)) : ContrastRatio(text, background);
}

bool InCube(const TVec3 &rgb)
{
    return std::all_of(rgb.begin(), rgb.end(), [](double v) { return v >= 0 && v <= 1; });
}

// A colour's line of constant OKLCh hue and chroma, worked out once for every lightness on it.
struct THueLine {
    double Chroma = 0, Hue = 0, Cos = 1, Sin = 0;
    bool Powerless = false;
    double Alpha = 1;
    bool AlphaMissing = false;

    explicit THueLine(const TExactColour &colour)
    {
        const TExactColour oklch = colour.To(TColourSpace::Oklch);
        Hue = oklch.Coords[2];
        Powerless = oklch.Missing[2] || !std::isfinite(Hue);
        Chroma = oklch.Missing[1] || !std::isfinite(oklch.Coords[1]) ? 0 : std::max(oklch.Coords[1], 0.0);
        if (Powerless)
            Hue = 0, Chroma = 0;
        Cos = std::cos(Hue * std::numbers::pi / 180);
        Sin = std::sin(Hue * std::numbers::pi / 180);
        Alpha = colour.Alpha;
        AlphaMissing = colour.Missing[3];
    }

    bool InSrgb(double lightness, double chroma) const
    {
        return InCube(XyzToLinSrgb(OklabToXyz({lightness, chroma * Cos, chroma * Sin})));
    }

    // The largest chroma up to the line's own that sRGB holds at this lightness, to 1e-7 below.
    double ChromaAt(double lightness) const
    {
        if (lightness <= 0 || lightness >= 1)
            return 0;
        if (InSrgb(lightness, Chroma))
            return Chroma;
        // No colour in sRGB has an OKLCh chroma above 0.33, so a larger one searches from 0.5.
        double low = 0, high = std::min(Chroma, 0.5);
        while (high - low > 1e-7) {
            const double mid = (low + high) / 2;
            (InSrgb(lightness, mid) ? low : high) = mid;
        }
        return low;
    }

    TExactColour At(double lightness) const
    {
        const double l = std::isnan(lightness) ? 0 : std::clamp(lightness, 0.0, 1.0);
        TExactColour out;
        out.Space = TColourSpace::Oklch;
        out.Coords = {l, ChromaAt(l), Hue};
        out.Alpha = Alpha;
        out.Missing[2] = Powerless;
        out.Missing[3] = AlphaMissing;
        return out;
    }
};

} // namespace

std::span<const TContrastTarget> AllContrastTargets() { return Targets; }

QString ContrastTargetName(TContrastTarget target) { return QLatin1String(InfoOf(target).Name); }

QString ContrastTargetTitle(TContrastTarget target) { return QLatin1String(InfoOf(target).Title); }

std::optional<TContrastTarget> ReadContrastTarget(QStringView text)
{
    text = text.trimmed();
    for (const TTargetInfo &info : Infos)
        if (text.compare(QLatin1String(info.Name), Qt::CaseInsensitive) == 0)
            return info.Target;
    return std::nullopt;
}

bool PassesContrast(const TExactColour &text, const TExactColour &background, TContrastTarget target)
{
    const TTargetInfo &info = InfoOf(target);
    return Measure(info, text, background) >= info.Minimum;
}

TExactColour WithOklchLightness(const TExactColour &colour, double lightness)
{
    return THueLine(colour).At(lightness);
}

TContrastFix FixContrast(const TExactColour &text, const TExactColour &background, TContrastTarget target)
{
    const TTargetInfo &info = InfoOf(target);
    // The background as the figures see it, worked out once.
    TExactColour flat;
    flat.Coords = background.SrgbFallback();
    const auto figures = [&](TContrastFix &fix) {
        fix.Ratio = ContrastRatio(fix.Colour, flat);
        fix.Lc = ApcaLc(fix.Colour, flat);
    };
    TContrastFix fix;
    fix.Colour = text;
    if (Measure(info, text, flat) >= info.Minimum) {
        fix.Found = true;
        figures(fix);
        return fix;
    }
    const THueLine line(text);
    const double start = text.To(TColourSpace::Oklch).Coords[0];
    if (!std::isfinite(start))
        return fix;
    const double origin = std::clamp(start, 0.0, 1.0);
    bool upOpen = origin < 1, downOpen = origin > 0;
    for (int step = 1; upOpen || downOpen; ++step) {
        std::optional<TExactColour> best;
        double bestMeasure = 0;
        const auto consider = [&](bool &open, double lightness) {
            if (!open)
                return;
            if (lightness >= 1 || lightness <= 0) {
                lightness = std::clamp(lightness, 0.0, 1.0);
                open = false;
            }
            TExactColour candidate = line.At(lightness);
            const double measure = Measure(info, candidate, flat);
            if (measure >= info.Minimum && (!best || measure > bestMeasure)) {
                best = candidate;
                bestMeasure = measure;
            }
        };
        consider(upOpen, origin + step * ContrastFixStep);
        consider(downOpen, origin - step * ContrastFixStep);
        if (best) {
            fix.Found = true;
            fix.Colour = *best;
            figures(fix);
            return fix;
        }
    }
    return fix;
}
