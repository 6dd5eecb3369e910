#include "colour/ColourSpaces.h"
#include "colour/GamutMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

struct TVector {
    TRgb8 Rgb;
    const char *Space;
    TVec3 Expected;
};

void PrintTo(const TVector &v, std::ostream *os) { *os << v.Space << " of " << v.Rgb.R << ',' << v.Rgb.G << ',' << v.Rgb.B; }

TColourSpace SpaceNamed(const std::string &name)
{
    if (name == "lab") return TColourSpace::Lab;
    if (name == "lch") return TColourSpace::Lch;
    if (name == "oklab") return TColourSpace::Oklab;
    if (name == "oklch") return TColourSpace::Oklch;
    if (name == "p3") return TColourSpace::DisplayP3;
    return TColourSpace::XyzD50;
}

class PublishedVectors : public testing::TestWithParam<TVector> {};

// Worked with an independent transcription of CSS Color 4's sample conversion code; red in OKLab
// is CSS Color 4's own published 0.627955, 0.224863, 0.125846.
TEST_P(PublishedVectors, AgreeWithTheSampleCode)
{
    const TVector &v = GetParam();
    const TVec3 got = FromSrgb(SpaceNamed(v.Space), SrgbOf(v.Rgb));
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], v.Expected[i], 1e-8 * std::max(1.0, std::abs(v.Expected[i]))) << i;
}

INSTANTIATE_TEST_SUITE_P(Colours, PublishedVectors, testing::Values(
    TVector{{255, 0, 0}, "lab", {54.2905414047, 80.8049281704, 69.8909647686}},
    TVector{{255, 0, 0}, "lch", {54.2905414047, 106.837181603, 40.857656505}},
    TVector{{255, 0, 0}, "oklab", {0.627955363921, 0.224863068426, 0.125846277331}},
    TVector{{255, 0, 0}, "oklch", {0.627955363921, 0.257683303805, 29.2338802796}},
    TVector{{255, 0, 0}, "p3", {0.917487557325, 0.200286807741, 0.138560591211}},
    TVector{{255, 0, 0}, "xyz-d50", {0.436065746874, 0.222493177111, 0.0139239214632}},
    TVector{{0, 255, 0}, "lab", {87.818534365, -79.2710607756, 80.9945814844}},
    TVector{{0, 255, 0}, "oklch", {0.866439617523, 0.294827224543, 142.495345041}},
    TVector{{0, 255, 0}, "p3", {0.458401590191, 0.985264583325, 0.298294707833}},
    TVector{{0, 0, 255}, "lch", {29.5683019791, 131.201448089, 301.364267733}},
    TVector{{0, 0, 255}, "oklab", {0.452013718174, -0.0324569751708, -0.311528165678}},
    TVector{{255, 255, 255}, "lab", {100, 0, 0}},
    TVector{{255, 255, 255}, "xyz-d50", {0.96429567643, 1, 0.82510460251}},
    TVector{{152, 181, 209}, "lab", {72.213010788, -5.44263112343, -17.6645897589}},
    TVector{{152, 181, 209}, "lch", {72.213010788, 18.4840462263, 252.875428057}},
    TVector{{152, 181, 209}, "oklch", {0.760950473622, 0.0513826005729, 247.58021012}},
    TVector{{152, 181, 209}, "p3", {0.618262323616, 0.706403283176, 0.809097156953}},
    TVector{{128, 128, 128}, "lab", {53.5850134522, 0, 0}},
    TVector{{7, 32, 45}, "oklab", {0.231264956659, -0.022856742625, -0.0322505902908}},
    TVector{{7, 32, 45}, "lch", {10.8622691887, 13.1178425058, 243.416154802}},
    TVector{{255, 136, 0}, "oklch", {0.744202472464, 0.18117078944, 56.4584548228}},
    TVector{{1, 254, 127}, "lab", {88.1339615609, -72.1982127059, 45.610709813}},
    TVector{{200, 30, 160}, "oklab", {0.570967507634, 0.218267223625, -0.0772283174849}},
    TVector{{200, 30, 160}, "xyz-d50", {0.307160209544, 0.159124913823, 0.260331797867}}));

TEST(ColourSpaces, HuesOfGreysArePowerlessAndOfColoursInRange)
{
    for (int v : {0, 1, 128, 254, 255}) {
        const TRgb8 grey{v, v, v};
        for (TColourSpace s : {TColourSpace::Lch, TColourSpace::Oklch})
            EXPECT_TRUE(colour::IsPowerless(FromSrgb(s, SrgbOf(grey))[2])) << v;
        EXPECT_TRUE(colour::IsPowerless(colour::SrgbToHsl(SrgbOf(grey))[0])) << v;
        EXPECT_TRUE(colour::IsPowerless(colour::SrgbToHwb(SrgbOf(grey))[0])) << v;
    }
    const TVec3 hsl = colour::SrgbToHsl(SrgbOf({255, 0, 1}));
    EXPECT_GE(hsl[0], 0);
    EXPECT_LT(hsl[0], 360);
}

TEST(ColourSpaces, EveryPredefinedSpaceGoesThereAndBack)
{
    const TColourSpace spaces[] = {TColourSpace::SrgbLinear, TColourSpace::DisplayP3, TColourSpace::A98Rgb,
                                   TColourSpace::ProPhotoRgb, TColourSpace::Rec2020, TColourSpace::XyzD50,
                                   TColourSpace::XyzD65, TColourSpace::Lab, TColourSpace::Lch, TColourSpace::Oklab,
                                   TColourSpace::Oklch, TColourSpace::Hsl, TColourSpace::Hwb};
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 51)
                for (TColourSpace s : spaces) {
                    const TVec3 rgb = SrgbOf({r, g, b});
                    const TVec3 back = ToSrgb(s, FromSrgb(s, rgb));
                    for (int i = 0; i < 3; ++i)
                        ASSERT_NEAR(back[i], rgb[i], 1e-9) << static_cast<int>(s) << ' ' << r << ',' << g << ',' << b;
                }
}

struct TMapCase {
    TVec3 Oklch;
    TVec3 Srgb;
};

void PrintTo(const TMapCase &c, std::ostream *os) { *os << "oklch(" << c.Oklch[0] << ' ' << c.Oklch[1] << ' ' << c.Oklch[2] << ')'; }

class GamutMapping : public testing::TestWithParam<TMapCase> {};

// Worked with the algorithm's published pseudo-code, written out independently.
TEST_P(GamutMapping, MatchesTheWorkedValue)
{
    const TVec3 got = GamutMapToSrgb(TColourSpace::Oklch, GetParam().Oklch);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], GetParam().Srgb[i], 1e-9) << i;
}

INSTANTIATE_TEST_SUITE_P(Worked, GamutMapping, testing::Values(
    TMapCase{{0.7, 0.3, 30}, {1, 0.345135078748, 0.264575112252}},
    TMapCase{{0.5, 0.4, 140}, {0, 0.478982918866, 0}},
    TMapCase{{0.9, 0.3, 250}, {0.73003573293, 0.888339707869, 1}},
    TMapCase{{0.3, 0.25, 300}, {0.249949442131, 0, 0.472470921557}},
    TMapCase{{0.6, 0.5, 60}, {0.765927060185, 0.385887856014, 0}},
    TMapCase{{0.99, 0.1, 100}, {1, 0.996760912114, 0.683728932471}},
    TMapCase{{0.05, 0.2, 20}, {0.0127062416683, 0, 0}},
    TMapCase{{0.7, 0.35, 200}, {0, 0.717608728932, 0.753243364253}}));

TEST(GamutMapping, LightnessAtTheEndsGivesWhiteOrBlackAndInGamutStaysPut)
{
    EXPECT_EQ(GamutMapToSrgb(TColourSpace::Oklch, {1.2, 0.3, 30}), (TVec3{1, 1, 1}));
    EXPECT_EQ(GamutMapToSrgb(TColourSpace::Oklch, {-0.1, 0.3, 30}), (TVec3{0, 0, 0}));
    const TVec3 inside = FromSrgb(TColourSpace::Oklch, SrgbOf({152, 181, 209}));
    const auto rgb8 = ToRgb8(TColourSpace::Oklch, inside);
    ASSERT_TRUE(rgb8);
    EXPECT_EQ(rgb8->Rgb, (TRgb8{152, 181, 209}));
    EXPECT_FALSE(rgb8->Mapped);
    const auto outside = ToRgb8(TColourSpace::DisplayP3, {1, 0, 0});
    ASSERT_TRUE(outside);
    EXPECT_TRUE(outside->Mapped);
    EXPECT_EQ(outside->Rgb.R, 255);
}

TEST(GamutMapping, CoordinatesBeyondAnyColourNeitherHangNorMakeNumbersUp)
{
    for (double big : {1e6, 1e30, 1e300}) {
        const auto lab = ToRgb8(TColourSpace::Lab, {50, big, -big});
        if (lab) {
            EXPECT_GE(lab->Rgb.R, 0);
            EXPECT_LE(lab->Rgb.R, 255);
        }
        (void)ToRgb8(TColourSpace::Oklch, {0.5, big, 30});
        (void)ToRgb8(TColourSpace::XyzD65, {big, big, big});
    }
    EXPECT_FALSE(ToRgb8(TColourSpace::Lab, {INFINITY, 0, 0}));
}

} // namespace
