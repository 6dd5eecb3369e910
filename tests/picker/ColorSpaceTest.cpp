#include "picker/ColorSpace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct TWorkedRow {
    int r, g, b;
    int hue, sat, bri;
    int degrees, satPercent, briPercent;
    int backR, backG, backB;
};

class WorkedConversion : public testing::TestWithParam<TWorkedRow> {};

TEST_P(WorkedConversion, MatchesEveryColumn)
{
    const TWorkedRow &row = GetParam();
    const THSB hsb = RGBToHSB(RGB(row.r, row.g, row.b));
    EXPECT_EQ(HSBHue(hsb), row.hue);
    EXPECT_EQ(HSBSaturation(hsb), row.sat);
    EXPECT_EQ(HSBBrightness(hsb), row.bri);
    EXPECT_EQ(HueToDegrees(HSBHue(hsb)), row.degrees);
    EXPECT_EQ(LevelToPercent(HSBSaturation(hsb)), row.satPercent);
    EXPECT_EQ(LevelToPercent(HSBBrightness(hsb)), row.briPercent);
    EXPECT_EQ(HSBToRGB(hsb), RGB(row.backR, row.backG, row.backB));
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedConversion,
    testing::Values(TWorkedRow{0, 0, 0, 0, 255, 1, 0, 100, 0, 1, 0, 0},
                    TWorkedRow{255, 255, 255, 0, 0, 255, 0, 0, 100, 255, 255, 255},
                    TWorkedRow{255, 0, 0, 0, 255, 255, 0, 100, 100, 255, 0, 0},
                    TWorkedRow{0, 255, 0, 256, 255, 255, 120, 100, 100, 0, 255, 0},
                    TWorkedRow{0, 0, 255, 512, 255, 255, 240, 100, 100, 0, 0, 255},
                    TWorkedRow{255, 255, 0, 128, 255, 255, 60, 100, 100, 254, 255, 0},
                    TWorkedRow{128, 128, 128, 0, 0, 128, 0, 0, 50, 128, 128, 128},
                    TWorkedRow{255, 128, 0, 64, 255, 255, 30, 100, 100, 255, 128, 0},
                    TWorkedRow{200, 100, 50, 42, 192, 200, 19, 75, 78, 200, 99, 49},
                    TWorkedRow{10, 20, 30, 448, 170, 30, 210, 66, 11, 10, 20, 30},
                    TWorkedRow{200, 0, 1, 768, 255, 200, 360, 100, 78, 200, 0, 0}));

struct THueWalk {
    int hue;
    int r, g, b;
};

class PureHueWalk : public testing::TestWithParam<THueWalk> {};

TEST_P(PureHueWalk, FullSaturationAndBrightness)
{
    const THueWalk &row = GetParam();
    EXPECT_EQ(HSBToRGB(PackHSB(row.hue, 255, 255)), RGB(row.r, row.g, row.b));
}

INSTANTIATE_TEST_SUITE_P(Walk, PureHueWalk,
                         testing::Values(THueWalk{0, 255, 0, 0}, THueWalk{127, 255, 254, 0}, THueWalk{128, 254, 255, 0},
                                         THueWalk{255, 0, 255, 0}, THueWalk{256, 0, 255, 0}, THueWalk{511, 0, 0, 255},
                                         THueWalk{512, 0, 0, 255}, THueWalk{767, 255, 0, 0},
                                         // Hue above 767 is reduced modulo 768 first.
                                         THueWalk{768, 255, 0, 0}, THueWalk{1023, 0, 255, 0}));

TEST(HSBToRGB, SaturationAndBrightnessScaleTheHue)
{
    EXPECT_EQ(HSBToRGB(PackHSB(0, 128, 255)), RGB(255, 127, 127));
    EXPECT_EQ(HSBToRGB(PackHSB(0, 255, 128)), RGB(128, 0, 0));
    EXPECT_EQ(HSBToRGB(PackHSB(300, 0, 0)), RGB(0, 0, 0));
}

TEST(RGBToHSB, BlackKeepsBrightnessOneAndDoesNotComeBack)
{
    const THSB black = RGBToHSB(0);
    EXPECT_EQ(black, PackHSB(0, 255, 1));
    EXPECT_EQ(HSBToRGB(black), RGB(1, 0, 0));
}

TEST(RGBToHSB, TopByteIsIgnored)
{
    EXPECT_EQ(RGBToHSB(static_cast<TColor>(0x7F000000) | RGB(10, 20, 30)), RGBToHSB(RGB(10, 20, 30)));
    EXPECT_EQ(RGBToHSB(static_cast<TColor>(0x80000000u | 0x0000FFu)), RGBToHSB(RGB(255, 0, 0)));
}

TEST(DisplayUnits, HueDivisorIs767)
{
    EXPECT_EQ(HueToDegrees(767), 360);
    EXPECT_EQ(HueToDegrees(768), 360);
    EXPECT_EQ(DegreesToHue(360), 767);
    // The two directions do not invert each other.
    EXPECT_EQ(HueToDegrees(256), 120);
    EXPECT_EQ(DegreesToHue(120), 255);
    EXPECT_EQ(LevelToPercent(255), 100);
    EXPECT_EQ(PercentToLevel(100), 255);
    EXPECT_EQ(PercentToLevel(50), 127);
    EXPECT_EQ(LevelToPercent(127), 49);
}

// Hue is truncated to 128 steps per sixth and the varying pure-hue component moves in steps of
// 2, and the scaling to full brightness truncates once more on the way in and on the way out.
constexpr int RoundTripTolerance = 5;

#if defined(__SANITIZE_ADDRESS__)
constexpr int ExhaustiveStride = 7; // sanitised builds sample every seventh colour
#else
constexpr int ExhaustiveStride = 1;
#endif

// Every colour: brightness is the largest component (1 for black), greys other than black
// have saturation 0
// and hue 0, the hue stays in 0..768, and the round trip stays within what the 128-step hue
// sixths and the 255-step scales can hold.
TEST(RGBToHSB, InvariantsOverEveryColour)
{
    int worst = 0;
    int failures = 0;
    for (int c = 0; c < (1 << 24); c += ExhaustiveStride) {
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        const int mx = std::max({r, g, b});
        const THSB hsb = RGBToHSB(c);
        const int hue = HSBHue(hsb);
        bool ok = HSBBrightness(hsb) == (mx == 0 ? 1 : mx) && hue <= 768 && (hsb >> 26) == 0;
        if (mx == 0)
            ok = ok && hsb == PackHSB(0, 255, 1);
        else if (r == g && g == b)
            ok = ok && HSBSaturation(hsb) == 0 && hue == 0;
        else
            ok = ok && HSBSaturation(hsb) > 0;
        const TColor back = HSBToRGB(hsb);
        const int error = std::max({std::abs(GetRValue(back) - r), std::abs(GetGValue(back) - g), std::abs(GetBValue(back) - b)});
        worst = std::max(worst, error);
        ok = ok && (back & 0xFF000000) == 0;
        if (!ok && ++failures <= 5)
            ADD_FAILURE() << "colour " << r << ", " << g << ", " << b;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_LE(worst, RoundTripTolerance);
}

} // namespace
