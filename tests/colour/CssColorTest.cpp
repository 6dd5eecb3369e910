#include "colour/AnyColor.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TCase {
    const char *Text;
    std::optional<TColor> Color; // nullopt: refused
    bool Mapped = false;
};

void PrintTo(const TCase &c, std::ostream *os) { *os << '"' << c.Text << '"'; }

class CssColors : public testing::TestWithParam<TCase> {};

// Expected colours of the spaces beyond sRGB were worked with an independent transcription of
// CSS Color 4's sample code and gamut-mapping pseudo-code.
TEST_P(CssColors, ReadAsCssDoes)
{
    const auto got = ReadAnyColor(QString::fromUtf8(GetParam().Text));
    if (!GetParam().Color) {
        EXPECT_FALSE(got) << QStringLiteral("$%1").arg(got ? got->Color : 0, 8, 16, QLatin1Char('0')).toStdString();
        return;
    }
    ASSERT_TRUE(got);
    EXPECT_EQ(got->Color, *GetParam().Color) << QStringLiteral("$%1").arg(got->Color, 8, 16, QLatin1Char('0')).toStdString();
    EXPECT_EQ(got->Mapped, GetParam().Mapped);
}

INSTANTIATE_TEST_SUITE_P(RgbAndHsl, CssColors, testing::Values(
    TCase{"rgb(10.5 20 30)", RGB(11, 20, 30)}, TCase{"rgb(10.4, 20, 30)", RGB(10, 20, 30)},
    TCase{"rgb(none 20 30)", RGB(0, 20, 30)}, TCase{"rgb(100% 50 0%)", RGB(255, 50, 0)},
    TCase{"rgb(300 -5 1e2)", RGB(255, 0, 100)}, TCase{"rgb(+10 .5e1 30 / none)", RGB(10, 5, 30)},
    TCase{"rgba(1 2 3 / 150%)", RGB(1, 2, 3)}, TCase{"rgb(10, 20, 30, 50%)", RGB(10, 20, 30)},
    TCase{"hsl(0.5turn 40% 50%)", RGB(77, 179, 179)}, TCase{"hsl(-30 50% 50%)", RGB(191, 64, 128)},
    TCase{"hsl(330 50 50)", RGB(191, 64, 128)}, TCase{"hsl(200 40 50)", RGB(77, 145, 179)}, // green 144.5
    TCase{"hsl(3.14159265rad 40% 50%)", RGB(77, 179, 178)}, TCase{"hsl(200grad 40% 50%)", RGB(77, 179, 179)},
    TCase{"HSL(180DEG 40% 50%)", RGB(77, 179, 179)}, TCase{"hsl(none 0% 50%)", RGB(128, 128, 128)},
    TCase{"hsl(540 40% 50%)", RGB(77, 179, 179)}, TCase{"hsl(180 -10% 50%)", RGB(128, 128, 128)},
    TCase{"hsla(0.5turn, 40%, 50%, 0.3)", RGB(77, 179, 179)},
    TCase{"rgb(none, 20, 30)", std::nullopt}, TCase{"hsl(none, 40%, 50%)", std::nullopt},
    TCase{"hsl(180, 40, 50)", std::nullopt}, TCase{"hsl(180 40% 50% 1)", std::nullopt},
    TCase{"hsl(180px 40% 50%)", std::nullopt}, TCase{"rgb(1deg 2 3)", std::nullopt},
    TCase{"rgb(5. 2 3)", std::nullopt}, TCase{"rgb(1 2 3 / 0.5 / 1)", std::nullopt},
    TCase{"rgb(1 2 3 /)", std::nullopt}, TCase{"rgb(1 2 3 / a)", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(BeyondSrgb, CssColors, testing::Values(
    TCase{"hwb(200 20% 10%)", RGB(51, 170, 230)}, TCase{"hwb(200 20 10 / 0.5)", RGB(51, 170, 230)},
    TCase{"hwb(none 60% 60%)", RGB(128, 128, 128)}, TCase{"hwb(200, 20%, 10%)", std::nullopt},
    TCase{"lab(52 40 -30)", RGB(171, 96, 177)}, TCase{"lab(52% 32% -24%)", RGB(171, 96, 177)},
    TCase{"LAB(52 40 -30 / 1)", RGB(171, 96, 177)}, TCase{"lch(52 50 323.13)", RGB(171, 96, 177)},
    TCase{"lch(52 50 323.13deg)", RGB(171, 96, 177)}, TCase{"lab(110 0 0)", RGB(255, 255, 255)},
    TCase{"lab(none none none)", RGB(0, 0, 0)},
    TCase{"oklab(0.6 0.1 -0.05)", RGB(168, 102, 156)}, TCase{"oklch(0.7 0.1 200)", RGB(64, 177, 183)},
    TCase{"oklch(70% 25% 200)", RGB(64, 177, 183)}, TCase{"OKLCH(0.7 0.1 200 / 50%)", RGB(64, 177, 183)},
    TCase{"oklch(0.7 -0.1 200)", RGB(158, 158, 158)},
    TCase{"color(srgb 0.2 0.4 0.6)", RGB(51, 102, 153)}, TCase{"color(srgb-linear 0.2 0.4 0.6)", RGB(124, 170, 203)},
    TCase{"color(display-p3 0.5 0.5 0.5)", RGB(128, 128, 128)}, // sRGB's own grey: 127.5 rounds up
    TCase{"color(srgb 20% 40% 60% / 0.5)", RGB(51, 102, 153)}, TCase{"color(srgb none 0.4 0.6)", RGB(0, 102, 153)},
    TCase{"oklch(0.7 0.3 30)", RGB(255, 88, 67), true}, TCase{"color(display-p3 1 0 0)", RGB(255, 11, 12), true},
    TCase{"color(display-p3 0.2 0.5 0.8)", RGB(0, 130, 210), true}, TCase{"lab(50 100 0)", RGB(238, 0, 125), true},
    TCase{"color(xyz 0.2 0.3 0.4)", RGB(0, 167, 164), true},
    TCase{"color(rec2020 1 1 1)", RGB(255, 255, 255)}, TCase{"color(a98-rgb 1 1 1)", RGB(255, 255, 255)},
    TCase{"color(prophoto-rgb 1 1 1)", RGB(255, 255, 255)}, TCase{"color(xyz-d50 0.9643 1 0.8251)", RGB(255, 255, 255)},
    TCase{"color(srgb 1 2)", std::nullopt}, TCase{"color(cmyk 1 2 3)", std::nullopt},
    TCase{"color(display-p3, 1, 0, 0)", std::nullopt}, TCase{"lab(50, 10, 10)", std::nullopt},
    TCase{"oklch(0.7 0.1 20%)", std::nullopt}, TCase{"color(srgb 1 1 1deg)", std::nullopt},
    TCase{"transparent", std::nullopt}, TCase{"currentcolor", std::nullopt}, TCase{"Canvas", std::nullopt},
    TCase{"lab(50 1e300 -1e300)", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(ProgramCode, CssColors, testing::Values(
    TCase{"vec3(0.596, 0.71, 0.82)", RGB(152, 181, 209)}, TCase{"vec4(1.0, 0.0, 0.0, 0.5)", clRed},
    TCase{"vec3(1, 0, 0)", clRed}, TCase{"QColor(152, 181, 209)", RGB(152, 181, 209)},
    TCase{"QColor(152, 181, 209, 128)", RGB(152, 181, 209)}, TCase{"Qt.rgba(0.596, 0.71, 0.82, 1)", RGB(152, 181, 209)},
    TCase{"0xFF98B5D1", RGB(152, 181, 209)}, TCase{"0x98b5d1", RGB(152, 181, 209)},
    TCase{"\\definecolor{sky}{HTML}{98B5D1}", RGB(152, 181, 209)},
    TCase{"\\definecolor{sky}{rgb}{0.596,0.71,0.82}", RGB(152, 181, 209)},
    TCase{"\\definecolor{sky}{RGB}{152,181,209}", RGB(152, 181, 209)},
    TCase{"vec3(1.5, 0, 0)", std::nullopt}, TCase{"vec2(1, 0)", std::nullopt}, TCase{"QColor(256, 0, 0)", std::nullopt},
    TCase{"0xF98B5D1", std::nullopt}, TCase{"0x", std::nullopt}, TCase{"\\definecolor{}{HTML}{98B5D1}", std::nullopt},
    TCase{"\\definecolor{sky}{cmyk}{0,0,0,0}", std::nullopt}, TCase{"\\definecolor{sky}{HTML}{98B5D1} x", std::nullopt}));

} // namespace
