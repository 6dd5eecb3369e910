#include "colour/Scales.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>

inline void PrintTo(const TExactColour &c, std::ostream *os)
{
    *os << ExactColourText(c).toStdString();
}

namespace {

TExactColour Read(const char *text)
{
    const auto r = ReadExactColour(QString::fromLatin1(text));
    EXPECT_TRUE(r) << text;
    return r ? r->Colour : TExactColour{};
}

TExactColour Oklch(double l, double c, double h)
{
    TExactColour r;
    r.Space = TColourSpace::Oklch;
    r.Coords = {l, c, h};
    return r;
}

void ExpectOklch(const TPaletteEntry &e, double l, double c, double h, double tolerance = 1e-9)
{
    ASSERT_EQ(e.Colour.Space, TColourSpace::Oklch) << e.Name.toStdString();
    EXPECT_NEAR(e.Colour.Coords[0], l, tolerance) << e.Name.toStdString();
    EXPECT_NEAR(e.Colour.Coords[1], c, tolerance) << e.Name.toStdString();
    EXPECT_NEAR(e.Colour.Coords[2], h, tolerance) << e.Name.toStdString();
}

bool InP3(const TExactColour &c)
{
    const TVec3 p3 = c.To(TColourSpace::DisplayP3).Coords;
    return std::all_of(p3.begin(), p3.end(), [](double v) { return v > -1e-6 && v < 1 + 1e-6; });
}

// The steps are the arithmetic itself: the colour's lightness 0.6 is nearest 500's 0.61; 400
// (L 0.7) lies t = 0.1 / 0.4 = 0.25 toward white, chroma × (1 - 0.0625); 600 (L 0.52)
// t = 0.08 / 0.6; 950 (L 0.2) t = 0.4 / 0.6, chroma × (1 - 4/9); 50 (L 0.97) t = 0.37 / 0.4.
// At chroma 0.05 every step lies in sRGB; at 0.1 the dark ones do not, and have their chroma
// lowered to the most sRGB holds at the same lightness and hue.
TEST(Scale, StepsFollowTheCurveWithChromaEasedTowardTheEnds)
{
    for (double chroma : {0.05, 0.1}) {
        const TExactColour teal = Oklch(0.6, chroma, 200);
        const TPalette scale = MakeScale(teal);
        ASSERT_EQ(scale.Entries.size(), 11u);
        QStringList names;
        for (const auto &e : scale.Entries)
            names << e.Name;
        EXPECT_EQ(names.join(QLatin1Char(' ')), QStringLiteral("50 100 200 300 400 500 600 700 800 900 950"));
        EXPECT_EQ(scale.Entries[5].Colour, teal);
        const std::vector<std::pair<size_t, double>> eased{
            {4, 1 - 0.0625}, {6, 1 - std::pow(0.08 / 0.6, 2)}, {10, 1 - 4.0 / 9}, {0, 1 - 0.925 * 0.925}};
        for (const auto &[step, factor] : eased) {
            const TPaletteEntry &e = scale.Entries[step];
            const double want = chroma * factor;
            const TVec3 rgb = Oklch(ScaleLightness[step], want, 200).To(TColourSpace::Srgb).Coords;
            if (std::all_of(rgb.begin(), rgb.end(), [](double v) { return v >= 0 && v <= 1; })) {
                ExpectOklch(e, ScaleLightness[step], want, 200);
                continue;
            }
            // Lowered: same lightness and hue, in sRGB, and a little more chroma would leave it.
            ExpectOklch(e, ScaleLightness[step], e.Colour.Coords[1], 200);
            EXPECT_LT(e.Colour.Coords[1], want);
            EXPECT_TRUE(e.Colour.InSrgb());
            EXPECT_FALSE(Oklch(ScaleLightness[step], e.Colour.Coords[1] + 0.002, 200).InSrgb()) << step;
        }
    }
    EXPECT_TRUE(Oklch(0.52, 0.05 * (1 - std::pow(0.08 / 0.6, 2)), 200).InSrgb());
    EXPECT_FALSE(Oklch(0.2, 0.1 * (1 - 4.0 / 9), 200).InSrgb());
}

TEST(Scale, TheColourStandsExactlyAtTheStepNearestItsLightness)
{
    // #3b82f6 has OKLCH lightness 0.623, nearest 500 (0.61); white 50, black 950; 0.65 lies
    // nearer 500 (0.61), 0.66 nearer 400 (0.7); lab(30 …) has OKLCH lightness 0.43, nearest 700.
    for (const auto &[text, step] : std::vector<std::pair<const char *, int>>{
             {"#3b82f6", 5}, {"white", 0}, {"black", 10}, {"oklch(0.65 0.05 10)", 5}, {"oklch(0.66 0.05 10)", 4},
             {"color(display-p3 1 0 0)", 5}, {"lab(30 20 -40 / 0.5)", 7}}) {
        const TExactColour c = Read(text);
        EXPECT_EQ(NearestScaleStep(c), step) << text;
        EXPECT_EQ(MakeScale(c).Entries[static_cast<size_t>(step)].Colour, c) << text;
    }
}

TEST(Scale, OtherStepsLieInTheChosenGamutDarkeningWithTheHueKept)
{
    // A vivid display-p3 red stays itself; every other step is brought into sRGB, or display-p3.
    const TExactColour red = Read("color(display-p3 1 0 0)");
    for (TGamut gamut : {TGamut::Srgb, TGamut::DisplayP3}) {
        const TPalette scale = MakeScale(red, gamut);
        double previous = 2;
        for (size_t i = 0; i < scale.Entries.size(); ++i) {
            const TExactColour &c = scale.Entries[i].Colour;
            const double l = c.To(TColourSpace::Oklch).Coords[0];
            EXPECT_LT(l, previous) << i;
            previous = l;
            if (i == 5)
                continue;
            EXPECT_TRUE(gamut == TGamut::Srgb ? c.InSrgb() : InP3(c)) << i;
            EXPECT_NEAR(c.Coords[2], red.To(TColourSpace::Oklch).Coords[2], 1e-9) << i;
        }
    }
    // display-p3 holds more chroma than sRGB at the same step.
    EXPECT_GT(MakeScale(red, TGamut::DisplayP3).Entries[6].Colour.Coords[1], MakeScale(red).Entries[6].Colour.Coords[1] + 0.01);
    EXPECT_FALSE(MakeScale(red, TGamut::DisplayP3).Entries[6].Colour.InSrgb());
}

TEST(Scale, GreysHaveNoHueAndNoChroma)
{
    for (const char *grey : {"#808080", "white", "black", "oklch(0.5 0 none)"}) {
        for (const TPaletteEntry &e : MakeScale(Read(grey)).Entries) {
            if (e.Colour.Space != TColourSpace::Oklch)
                continue; // the colour itself
            EXPECT_NEAR(e.Colour.Coords[1], 0, 1e-6) << grey << ' ' << e.Name.toStdString();
            EXPECT_TRUE(e.Colour.Missing[2]) << grey << ' ' << e.Name.toStdString();
            EXPECT_TRUE(std::isfinite(e.Colour.Coords[0]));
        }
    }
}

// oklch(0.7 0.1 200) has every rotation in sRGB: the hues are the arithmetic mod 360.
TEST(Harmony, RotationsKeepLightnessAndChroma)
{
    const TExactColour c = Oklch(0.7, 0.1, 200);
    const std::vector<std::pair<THarmony, std::vector<double>>> cases{
        {THarmony::Complementary, {20}},
        {THarmony::Analogous, {170, 230}},
        {THarmony::Triadic, {320, 80}},
        {THarmony::SplitComplementary, {350, 50}},
        {THarmony::Square, {290, 20, 110}},
    };
    for (const auto &[harmony, hues] : cases) {
        const TPalette p = MakeHarmony(harmony, c);
        ASSERT_EQ(p.Entries.size(), hues.size() + 1);
        EXPECT_EQ(p.Entries[0].Colour, c);
        EXPECT_EQ(p.Entries[0].Name, QStringLiteral("base"));
        for (size_t i = 0; i < hues.size(); ++i)
            ExpectOklch(p.Entries[i + 1], 0.7, 0.1, hues[i]);
    }
    EXPECT_EQ(MakeHarmony(THarmony::Complementary, c).Entries[1].Name, QStringLiteral("+180\u00B0"));
    EXPECT_EQ(MakeHarmony(THarmony::Analogous, c).Entries[1].Name, QStringLiteral("-30\u00B0"));
}

TEST(Harmony, MonochromaticStepsLightnessWithinTheBand)
{
    // L 0.7: 0.94 0.82 0.7 0.58 0.46; L 0.9 moves to the top: 0.9 0.78 … 0.42; L 0.05 the bottom.
    const auto lightnesses = [](double l) {
        std::vector<double> ls;
        for (const auto &e : MakeHarmony(THarmony::Monochromatic, Oklch(l, 0.05, 120)).Entries)
            ls.push_back(e.Colour.To(TColourSpace::Oklch).Coords[0]);
        return ls;
    };
    const auto expect = [](const std::vector<double> &got, const std::vector<double> &want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i)
            EXPECT_NEAR(got[i], want[i], 1e-9) << i;
    };
    expect(lightnesses(0.7), {0.94, 0.82, 0.7, 0.58, 0.46});
    expect(lightnesses(0.9), {0.9, 0.78, 0.66, 0.54, 0.42});
    expect(lightnesses(0.05), {0.53, 0.41, 0.29, 0.17, 0.05});
    const TPalette p = MakeHarmony(THarmony::Monochromatic, Oklch(0.7, 0.05, 120));
    EXPECT_EQ(p.Entries[0].Name, QStringLiteral("L+0.24"));
    EXPECT_EQ(p.Entries[2].Name, QStringLiteral("L"));
    EXPECT_EQ(p.Entries[4].Name, QStringLiteral("L-0.24"));
}

TEST(Harmony, OutOfGamutRotationsAreMappedAndNamesRead)
{
    const TExactColour vivid = Oklch(0.7, 0.3, 200);
    for (const THarmonyInfo &info : HarmonyInfos()) {
        EXPECT_EQ(HarmonyNamed(info.Key), info.Harmony);
        const TPalette p = MakeHarmony(info.Harmony, vivid);
        EXPECT_EQ(p.Entries[info.Harmony == THarmony::Monochromatic ? 2 : 0].Colour, vivid) << info.Key;
        for (const TPaletteEntry &e : p.Entries) {
            if (!(e.Colour == vivid)) {
                EXPECT_TRUE(e.Colour.InSrgb()) << info.Key << ' ' << e.Name.toStdString();
            }
        }
    }
    EXPECT_EQ(HarmonyNamed("TRIADIC"), THarmony::Triadic);
    EXPECT_FALSE(HarmonyNamed("pentadic"));
    EXPECT_FALSE(HarmonyNamed(""));
}

} // namespace
