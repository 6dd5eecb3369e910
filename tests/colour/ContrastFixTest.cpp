#include "colour/ContrastFix.h"

#include "colour/Contrast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

TExactColour Read(const char16_t *text)
{
    const auto reading = ReadExactColour(text);
    EXPECT_TRUE(reading) << QString::fromUtf16(text).toStdString();
    return reading ? reading->Colour : TExactColour{};
}

TExactColour Oklch(double l, double c, double h)
{
    TExactColour colour;
    colour.Space = TColourSpace::Oklch;
    colour.Coords = {l, c, h};
    return colour;
}

bool InCube(const TExactColour &c)
{
    const TVec3 rgb = ToSrgb(c.Space, c.Coords);
    return std::all_of(rgb.begin(), rgb.end(), [](double v) { return v >= -1e-9 && v <= 1 + 1e-9; });
}

TEST(ContrastFix, GreySevenSevenOnWhiteToAa)
{
    const TExactColour grey = Read(u"#777777"), white = Read(u"white");
    ASSERT_FALSE(PassesContrast(grey, white, TContrastTarget::WcagAa));
    const TContrastFix fix = FixContrast(grey, white, TContrastTarget::WcagAa);
    ASSERT_TRUE(fix.Found);
    EXPECT_EQ(fix.Colour.Rgb8(), (TRgb8{0x76, 0x76, 0x76}));
    EXPECT_GE(fix.Ratio, 4.5);
    EXPECT_EQ(RatioText(fix.Ratio), QStringLiteral("4.55"));
    EXPECT_TRUE(fix.Colour.Missing[2]) << "a grey's hue stays powerless";
    // Large text passes already: the colour itself.
    const TContrastFix large = FixContrast(grey, white, TContrastTarget::WcagAaLarge);
    EXPECT_TRUE(large.Found);
    EXPECT_EQ(large.Colour, grey);
}

TEST(ContrastFix, NoneReachesWhereNoLightnessCan)
{
    // On mid grey neither white (3.9:1) nor black (5.3:1) reaches 7:1.
    const TContrastFix fix = FixContrast(Read(u"oklch(0.7 0.2 30)"), Read(u"#808080"), TContrastTarget::WcagAaa);
    EXPECT_FALSE(fix.Found);
    EXPECT_FALSE(FixContrast(Read(u"red"), Read(u"#808080"), TContrastTarget::ApcaLc90).Found);
}

TEST(ContrastFix, TargetNames)
{
    EXPECT_EQ(AllContrastTargets().size(), 8u);
    for (const TContrastTarget target : AllContrastTargets())
        EXPECT_EQ(ReadContrastTarget(ContrastTargetName(target)), target);
    EXPECT_EQ(ReadContrastTarget(u" AA-Large "), TContrastTarget::WcagAaLarge);
    for (const char16_t *bad : {u"", u"a", u"lc", u"lc50", u"aa large", u"4.5", u"nan"})
        EXPECT_FALSE(ReadContrastTarget(bad)) << QString::fromUtf16(bad).toStdString();
}

TEST(ContrastFix, WithOklchLightnessKeepsHueAndCutsChromaOnlyAtTheGamut)
{
    const TExactColour vivid = Oklch(0.6, 0.3, 150); // far outside sRGB
    const TExactColour light = WithOklchLightness(vivid, 0.9);
    EXPECT_EQ(light.Space, TColourSpace::Oklch);
    EXPECT_DOUBLE_EQ(light.Coords[0], 0.9);
    EXPECT_DOUBLE_EQ(light.Coords[2], 150);
    EXPECT_LT(light.Coords[1], 0.3);
    EXPECT_TRUE(InCube(light));
    EXPECT_FALSE(InCube(Oklch(0.9, light.Coords[1] + 1e-5, 150)));
    const TExactColour muted = Oklch(0.5, 0.02, 40);
    EXPECT_DOUBLE_EQ(WithOklchLightness(muted, 0.7).Coords[1], 0.02);
    EXPECT_EQ(WithOklchLightness(muted, 1).Coords[1], 0);
    EXPECT_EQ(WithOklchLightness(muted, NAN).Coords[0], 0);
    EXPECT_EQ(WithOklchLightness(muted, 5).Coords[0], 1);
}

// For random text and background colours and every target: the result passes; it keeps the hue
// and the chroma unless sRGB cannot hold it; and one lightness step closer to the original, in
// either direction, fails. Where nothing is found, neither black nor white of the hue passes.
TEST(ContrastFix, RandomPairsEveryTarget)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_real_distribution<double> unit(0, 1);
    int found = 0, missed = 0, moved = 0;
    for (int pair = 0; pair < 10000; ++pair) {
        const TExactColour text = pair % 2 ? TExactColour::FromRgb8({byte(random), byte(random), byte(random)})
                                           : Oklch(unit(random), unit(random) * 0.37, unit(random) * 360);
        const TExactColour background = TExactColour::FromRgb8({byte(random), byte(random), byte(random)});
        const TExactColour original = text.To(TColourSpace::Oklch);
        const double l0 = std::clamp(original.Coords[0], 0.0, 1.0);
        for (const TContrastTarget target : AllContrastTargets()) {
            const TContrastFix fix = FixContrast(text, background, target);
            const std::string what = ExactCssText(text) + " on " + ExactCssText(background) + " to "
                                     + ContrastTargetName(target).toStdString();
            if (!fix.Found) {
                ++missed;
                EXPECT_FALSE(PassesContrast(WithOklchLightness(text, 0), background, target)) << what;
                EXPECT_FALSE(PassesContrast(WithOklchLightness(text, 1), background, target)) << what;
                continue;
            }
            ++found;
            ASSERT_TRUE(PassesContrast(fix.Colour, background, target)) << what;
            EXPECT_EQ(fix.Ratio, ContrastRatio(fix.Colour, background)) << what;
            EXPECT_EQ(fix.Lc, ApcaLc(fix.Colour, background)) << what;
            if (PassesContrast(text, background, target)) {
                EXPECT_EQ(fix.Colour, text) << what;
                continue;
            }
            ++moved;
            const TExactColour &c = fix.Colour;
            ASSERT_EQ(c.Space, TColourSpace::Oklch) << what;
            EXPECT_TRUE(InCube(c)) << what;
            const bool grey = original.Missing[2] || original.Coords[1] < 1e-9;
            if (!grey && c.Coords[0] > 0 && c.Coords[0] < 1) {
                EXPECT_DOUBLE_EQ(c.Coords[2], original.Coords[2]) << what;
                EXPECT_LE(c.Coords[1], original.Coords[1] + 1e-12) << what;
                if (c.Coords[1] < original.Coords[1] - 1e-6) {
                    EXPECT_FALSE(InCube(Oklch(c.Coords[0], c.Coords[1] + 1e-6, c.Coords[2])))
                        << what << ": chroma cut more than sRGB asks";
                }
            }
            // The number of steps taken; the last step may stop at 0 or 1.
            const int steps = static_cast<int>(std::ceil(std::abs(c.Coords[0] - l0) * 255 - 1e-6));
            ASSERT_GE(steps, 1) << what;
            if (steps > 1) {
                const double back = (steps - 1) / 255.0;
                EXPECT_FALSE(PassesContrast(WithOklchLightness(text, l0 + back), background, target)) << what << " up";
                EXPECT_FALSE(PassesContrast(WithOklchLightness(text, l0 - back), background, target)) << what << " down";
            }
        }
    }
    // The random pairs reach every branch.
    EXPECT_GT(found, 20000);
    EXPECT_GT(missed, 1000);
    EXPECT_GT(moved, 10000);
}

} // namespace
