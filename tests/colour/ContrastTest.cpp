#include "colour/Contrast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr TRgb8 White{255, 255, 255}, Black{0, 0, 0};

TEST(WcagContrast, PublishedValuesAndTheirVerdicts)
{
    const double grey77 = ContrastRatio({0x77, 0x77, 0x77}, White);
    EXPECT_NEAR(grey77, 4.478, 0.001);
    EXPECT_EQ(RatioText(grey77), QStringLiteral("4.47"));
    const TWcagVerdict v = WcagVerdict(grey77);
    EXPECT_FALSE(v.AaNormal);
    EXPECT_TRUE(v.AaLarge);
    EXPECT_FALSE(v.AaaNormal);
    EXPECT_FALSE(v.AaaLarge);
    EXPECT_EQ(RatioText(ContrastRatio(Black, White)), QStringLiteral("21.00"));
    EXPECT_EQ(ContrastRatio(White, Black), ContrastRatio(Black, White));
    EXPECT_EQ(RatioText(ContrastRatio({10, 20, 30}, {10, 20, 30})), QStringLiteral("1.00"));
    // Cut, never rounded up past a threshold.
    EXPECT_EQ(RatioText(4.499), QStringLiteral("4.49"));
    EXPECT_FALSE(WcagVerdict(4.499).AaNormal);
    EXPECT_EQ(RatioText(4.5), QStringLiteral("4.50"));
    EXPECT_TRUE(WcagVerdict(4.5).AaNormal);
    EXPECT_EQ(RatioText(6.999999), QStringLiteral("6.99"));
}

TEST(ApcaContrast, ReferenceImplementationExamples)
{
    EXPECT_NEAR(ApcaLc({0x88, 0x88, 0x88}, White), 63.056469930209424, 1e-9);
    EXPECT_NEAR(ApcaLc(White, {0x88, 0x88, 0x88}), -68.54146436644962, 1e-9);
    EXPECT_EQ(LcText(ApcaLc({0x88, 0x88, 0x88}, White)), QStringLiteral("63.1"));
    EXPECT_EQ(LcText(ApcaLc(White, {0x88, 0x88, 0x88})), QStringLiteral("-68.5"));
    EXPECT_EQ(ApcaLc({100, 100, 100}, {100, 100, 101}), 0) << "too close to tell";
    EXPECT_EQ(ApcaContrast(NAN, 1), 0);
    EXPECT_EQ(ApcaContrast(-0.1, 1), 0);
    EXPECT_GT(ApcaLc(Black, White), 100);
    EXPECT_LT(ApcaLc(White, Black), -100);
}

// The formulas as WCAG 2.2 and apca-w3 write them, term by term.
double WcagAsWritten(const TRgb8 &a, const TRgb8 &b)
{
    const auto lum = [](const TRgb8 &c) {
        const auto f = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * f(c.R) + 0.7152 * f(c.G) + 0.0722 * f(c.B);
    };
    const double l1 = std::max(lum(a), lum(b)), l2 = std::min(lum(a), lum(b));
    return (l1 + 0.05) / (l2 + 0.05);
}

double ApcaAsWritten(const TRgb8 &text, const TRgb8 &bg)
{
    const auto y = [](const TRgb8 &c) {
        return 0.2126729 * std::pow(c.R / 255.0, 2.4) + 0.7151522 * std::pow(c.G / 255.0, 2.4)
               + 0.0721750 * std::pow(c.B / 255.0, 2.4);
    };
    double t = y(text), b = y(bg);
    t = t > 0.022 ? t : t + std::pow(0.022 - t, 1.414);
    b = b > 0.022 ? b : b + std::pow(0.022 - b, 1.414);
    if (std::abs(b - t) < 0.0005)
        return 0;
    if (b > t) {
        const double sapc = (std::pow(b, 0.56) - std::pow(t, 0.57)) * 1.14;
        return (sapc < 0.1 ? 0 : sapc - 0.027) * 100;
    }
    const double sapc = (std::pow(b, 0.65) - std::pow(t, 0.62)) * 1.14;
    return (sapc > -0.1 ? 0 : sapc + 0.027) * 100;
}

TEST(Contrast, AHundredThousandPairsAgreeWithTheFormulasAsWritten)
{
    std::mt19937 gen(2026);
    std::uniform_int_distribution<int> ch(0, 255);
    for (int i = 0; i < 100000; ++i) {
        const TRgb8 a{ch(gen), ch(gen), ch(gen)}, b{ch(gen), ch(gen), ch(gen)};
        ASSERT_NEAR(ContrastRatio(a, b), WcagAsWritten(a, b), 1e-9);
        ASSERT_NEAR(ApcaLc(a, b), ApcaAsWritten(a, b), 1e-9);
    }
}

TEST(Contrast, ExactColoursCountInDoublesAndEightBitOnesGiveTheSameFigures)
{
    std::mt19937 gen(24);
    std::uniform_int_distribution<int> ch(0, 255);
    for (int i = 0; i < 10000; ++i) {
        const TRgb8 a{ch(gen), ch(gen), ch(gen)}, b{ch(gen), ch(gen), ch(gen)};
        const TExactColour ea = TExactColour::FromRgb8(a), eb = TExactColour::FromRgb8(b);
        ASSERT_EQ(ContrastRatio(ea, eb), ContrastRatio(a, b));
        ASSERT_EQ(ApcaLc(ea, eb), ApcaLc(a, b));
    }
    const auto read = [](const char16_t *text) { return ReadExactColour(text)->Colour; };
    const TExactColour white = TExactColour::FromRgb8(White);

    // A mid grey between two bytes: 0.5 itself, not 128 / 255.
    const TExactColour half = read(u"color(srgb 0.5 0.5 0.5)");
    const double y = std::pow(0.555 / 1.055, 2.4);
    EXPECT_NEAR(ContrastRatio(half, white), 1.05 / (y + 0.05), 1e-12);
    EXPECT_EQ(RatioText(ContrastRatio(half, white)), QStringLiteral("3.97"));
    EXPECT_EQ(RatioText(ContrastRatio(TRgb8{128, 128, 128}, White)), QStringLiteral("3.94"));
    EXPECT_NEAR(ApcaY(half), (0.2126729 + 0.7151522 + 0.0721750) * std::pow(0.5, 2.4), 1e-15);

    // Outside sRGB: its fallback's values, unrounded.
    for (const char16_t *text : {u"color(display-p3 1 0 0)", u"oklch(0.7 0.25 30)", u"lab(50 120 -130)"}) {
        const TExactColour c = read(text);
        TExactColour fallback;
        fallback.Coords = c.SrgbFallback();
        EXPECT_EQ(ContrastRatio(c, white), ContrastRatio(fallback, white));
        EXPECT_EQ(ApcaLc(c, white), ApcaLc(fallback, white));
        EXPECT_NE(ApcaLc(c, white), 0);
    }
}

} // namespace
