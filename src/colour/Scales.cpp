#include "colour/Scales.h"

#include "colour/CssTokens.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double OklchLightness(const TExactColour &c)
{
    const TExactColour oklch = c.To(TColourSpace::Oklch);
    return oklch.Missing[0] ? 0 : oklch.Coords[0];
}

// An OKLCH colour (hue NaN for none) inside the gamut, its chroma lowered as far as needed.
TExactColour InGamut(double l, double c, double h, TGamut gamut)
{
    TExactColour r;
    r.Space = TColourSpace::Oklch;
    const bool noHue = std::isnan(h);
    r.Coords = ReduceChroma(gamut == TGamut::Srgb ? TColourSpace::Srgb : TColourSpace::DisplayP3,
                            {l, c, noHue ? 0 : std::fmod(std::fmod(h, 360) + 360, 360)});
    r.Missing[2] = noHue;
    return r;
}

// The colour's OKLCH lightness, chroma and hue (NaN when it has none).
TVec3 OklchOf(const TExactColour &c)
{
    const TExactColour o = c.To(TColourSpace::Oklch);
    return {o.Missing[0] ? 0 : o.Coords[0], o.Missing[1] ? 0 : o.Coords[1], o.Missing[2] ? std::nan("") : o.Coords[2]};
}

QString Rotation(int degrees)
{
    return (degrees > 0 ? QStringLiteral("+") : QString()) + QString::number(degrees) + QChar(0xB0);
}

} // namespace

int NearestScaleStep(const TExactColour &colour)
{
    const double l = OklchLightness(colour);
    int best = 0;
    for (int i = 1; i < static_cast<int>(ScaleLightness.size()); ++i)
        if (std::abs(ScaleLightness[i] - l) < std::abs(ScaleLightness[best] - l))
            best = i;
    return best;
}

TPalette MakeScale(const TExactColour &colour, TGamut gamut)
{
    const TVec3 lch = OklchOf(colour);
    const int nearest = NearestScaleStep(colour);
    TPalette scale;
    for (int i = 0; i < static_cast<int>(ScaleSteps.size()); ++i) {
        TPaletteEntry entry;
        entry.Name = QString::number(ScaleSteps[i]);
        if (i == nearest) {
            entry.Colour = colour;
        } else {
            const double l = ScaleLightness[i];
            const double t = l > lch[0] ? (l - lch[0]) / (1 - lch[0]) : lch[0] > 0 ? (lch[0] - l) / lch[0] : 0;
            const double chroma = lch[1] * (1 - t * t);
            entry.Colour = InGamut(l, std::max(0.0, chroma), lch[2], gamut);
        }
        scale.Entries.push_back(std::move(entry));
    }
    return scale;
}

namespace {

constexpr THarmonyInfo Harmonies[] = {
    {THarmony::Complementary, "complementary", "Complementary"},
    {THarmony::Analogous, "analogous", "Analogous"},
    {THarmony::Triadic, "triadic", "Triadic"},
    {THarmony::SplitComplementary, "split-complementary", "Split-complementary"},
    {THarmony::Square, "square", "Square"},
    {THarmony::Monochromatic, "monochromatic", "Monochromatic"},
};

std::vector<int> Rotations(THarmony harmony)
{
    switch (harmony) {
    case THarmony::Complementary: return {180};
    case THarmony::Analogous: return {-30, 30};
    case THarmony::Triadic: return {120, 240};
    case THarmony::SplitComplementary: return {150, 210};
    case THarmony::Square: return {90, 180, 270};
    case THarmony::Monochromatic: break;
    }
    return {};
}

constexpr double MonoStep = 0.12;
constexpr double MonoLow = 0.15, MonoHigh = 0.95;

} // namespace

std::span<const THarmonyInfo> HarmonyInfos()
{
    return Harmonies;
}

std::optional<THarmony> HarmonyNamed(std::string_view key)
{
    for (const THarmonyInfo &info : Harmonies)
        if (css::NameIs(key, info.Key))
            return info.Harmony;
    return std::nullopt;
}

TPalette MakeHarmony(THarmony harmony, const TExactColour &colour, TGamut gamut)
{
    const TVec3 lch = OklchOf(colour);
    TPalette palette;
    if (harmony == THarmony::Monochromatic) {
        // The colour's place, counted from the lightest: the middle, moved toward an end while a
        // colour would fall outside the band.
        int place = 2;
        while (place > 0 && lch[0] + MonoStep * place > MonoHigh)
            --place;
        while (place < 4 && lch[0] - MonoStep * (4 - place) < MonoLow)
            ++place;
        for (int k = 0; k < 5; ++k) {
            const int offset = place - k; // in steps, lighter positive
            if (offset == 0) {
                palette.Entries.push_back({QStringLiteral("L"), colour});
                continue;
            }
            const QString name = QStringLiteral("L%1%2").arg(offset > 0 ? QStringLiteral("+") : QStringLiteral("-"))
                                     .arg(QString::number(std::abs(offset) * MonoStep, 'f', 2));
            palette.Entries.push_back({name, InGamut(lch[0] + offset * MonoStep, lch[1], lch[2], gamut)});
        }
        return palette;
    }
    palette.Entries.push_back({QStringLiteral("base"), colour});
    for (int degrees : Rotations(harmony))
        palette.Entries.push_back({Rotation(degrees), InGamut(lch[0], lch[1], lch[2] + degrees, gamut)});
    return palette;
}
