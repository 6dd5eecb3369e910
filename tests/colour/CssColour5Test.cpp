#include "colour/AnyColor.h"
#include "colour/ExactColour.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

std::optional<TExactColour> Try(const std::string &text)
{
    const auto r = ReadExactColour(QString::fromStdString(text));
    return r ? std::optional(r->Colour) : std::nullopt;
}

// The colour a text reads as, in a space, within a tolerance of each coordinate and the alpha.
void ExpectColour(const std::string &text, TColourSpace space, TVec3 want, double alpha = 1, double tolerance = 1e-4)
{
    const auto c = Try(text);
    ASSERT_TRUE(c) << text;
    const TExactColour got = c->To(space);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(got.Coords[i], want[i], tolerance) << text << " [" << i << "]";
    EXPECT_NEAR(got.Alpha, alpha, 1e-6) << text;
}

constexpr auto Srgb = TColourSpace::Srgb;
constexpr auto Lch = TColourSpace::Lch;

// The worked examples of the colour-mixing text.
TEST(ColorMix, WorkedExamples)
{
    ExpectColour("color-mix(in lch, peru 40%, palegoldenrod)", Lch, {79.7256, 40.448, 84.771}, 1, 0.01);
    ExpectColour("color-mix(in lch, teal 65%, olive)", Lch, {49.4429, 40.4830, 162.5452}, 1, 0.01);
    ExpectColour("color-mix(in srgb, rgb(100% 0% 0% / 0.7) 25%, rgb(0% 100% 0% / 0.2))", Srgb, {0.53846, 0.46154, 0}, 0.325);
    ExpectColour("color-mix(in srgb, rgb(100% 0% 0% / 0.7) 20%, rgb(0% 100% 0% / 0.2) 60%)", Srgb, {0.53846, 0.46154, 0}, 0.26);
    // A colour outside sRGB goes into HSL unmapped, as the browsers mix it (the conformance cases
    // expect color(display-p3 0 1 0) there as color(srgb -0.5118 1.0183 -0.3107)): hue 127.886,
    // saturation 302.17%, lightness 25.32%, mixed 80/20 with yellow.
    ExpectColour("color-mix(in hsl, color(display-p3 0 1 0) 80%, yellow)", TColourSpace::Hsl,
                 {114.304, 261.56, 30.2664}, 1, 0.01);
    ExpectColour("color-mix(in hwb, color(display-p3 0 1 0))", Srgb, {-0.511814, 1.01832, -0.310726}, 1, 1e-3);
    ExpectColour("color-mix(in lch, white, black)", Lch, {50, 0, 0}, 1, 0.01);
    ExpectColour("color-mix(in srgb, white, blue)", Srgb, {0.5, 0.5, 1});
    ExpectColour("color-mix(in oklch, white, blue)", TColourSpace::Oklch, {0.72601, 0.15661, 264.052}, 1, 0.001);
    // Equal mixes written six ways, and one that leaves alpha behind.
    const TExactColour equal = *Try("color-mix(in lch, purple 50%, plum 50%)");
    for (const char *same : {"color-mix(in lch, purple 50%, plum)", "color-mix(in lch, purple, plum 50%)",
                             "color-mix(in lch, purple, plum)", "color-mix(in lch, plum, purple)",
                             "color-mix(in lch, purple 80%, plum 80%)", "color-mix(in lch, 50% purple, plum)"}) {
        const auto c = Try(same);
        ASSERT_TRUE(c) << same;
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(c->Coords[i], equal.Coords[i], 1e-9) << same;
    }
    ExpectColour("color-mix(in lch, purple 30%, plum 30%)", Lch, {equal.Coords[0], equal.Coords[1], equal.Coords[2]}, 0.6);
    // The default space is OKLab; values from colorjs.io 0.7.1's Color.mix.
    ExpectColour("color-mix(red, blue)", TColourSpace::Oklab, {0.5399845410, 0.09620304663, -0.09284094417}, 1, 1e-9);
    ExpectColour("color-mix(in oklch, red, blue)", TColourSpace::Oklch, {0.5399845410, 0.2854488462, 326.6429514}, 1, 1e-7);
}

// Hue arcs, missing components and transparent, as the browsers' conformance cases have them.
TEST(ColorMix, HueMethodsMissingComponentsAndAlpha)
{
    const std::string a = "hsl(40deg 50% 50%)", b = "hsl(60deg 50% 50%)";
    ExpectColour("color-mix(in hsl, " + a + ", " + b + ")", Srgb, {0.75, 0.66666667, 0.25});
    ExpectColour("color-mix(in hsl longer hue, " + a + ", " + b + ")", Srgb, {0.25, 0.33333333, 0.75});
    ExpectColour("color-mix(in hsl increasing hue, " + b + ", " + a + ")", Srgb, {0.25, 0.33333333, 0.75});
    ExpectColour("color-mix(in hsl decreasing hue, " + b + ", " + a + ")", Srgb, {0.75, 0.66666667, 0.25});
    ExpectColour("color-mix(in hsl shorter hue, hsl(50deg 50% 50%), hsl(330deg 50% 50%))", Srgb, {0.75, 0.33333333, 0.25});
    ExpectColour("color-mix(in hsl, hsl(none none none), hsl(30deg 40% 80%))", Srgb, {0.88, 0.8, 0.72});
    ExpectColour("color-mix(in hsl, hsl(120deg 20% none), hsl(30deg 40% 60%))", Srgb, {0.66, 0.72, 0.48});
    ExpectColour("color-mix(in hsl, transparent, hsl(30deg 30% 40%))", Srgb, {0.52, 0.4, 0.28}, 0.5);
    ExpectColour("color-mix(in hsl, hsl(120deg 10% 20% / 0), hsl(30deg 30% 40%))", Srgb, {0.46, 0.52, 0.28}, 0.5);
    ExpectColour("color-mix(in hsl, white 10%, blue)", Srgb, {0.145, 0.145, 0.955});
    ExpectColour("color-mix(in hwb, hwb(120deg 10% 20%) 25%, hwb(30deg 30% 40%))", Srgb, {0.65, 0.6, 0.25});
    ExpectColour("color-mix(in xyz, red, blue)", TColourSpace::XyzD65, {0.29645, 0.1424, 0.4849}, 1, 1e-3);
    const auto bothMissing = Try("color-mix(in hsl, hsl(120deg 40% 40% / none), hsl(0deg 40% 40% / none))");
    ASSERT_TRUE(bothMissing);
    EXPECT_TRUE(bothMissing->Missing[3]);
    EXPECT_NEAR(bothMissing->Coords[0], 60, 1e-9);

    // One colour, three or more, and percentages summing to 0% (the mix, with alpha 0): each
    // colour is mixed into the mix of those before it.
    ExpectColour("color-mix(in srgb, red)", Srgb, {1, 0, 0});
    ExpectColour("color-mix(in srgb, red 40%)", Srgb, {1, 0, 0}, 0.4);
    ExpectColour("color-mix(in srgb, red, green, blue, white)", Srgb, {0.5, 0.3754902, 0.5});
    ExpectColour("color-mix(in srgb, red 30%, green 60%, blue 90%)", Srgb, {0.16666667, 0.16732026, 0.5});
    ExpectColour("color-mix(in srgb, red 0%, green 0%, blue 0%)", Srgb, {0.25, 0.1254902, 0.5}, 0);
    ExpectColour("color-mix(in srgb, red 0%, blue 0%)", Srgb, {0.5, 0, 0.5}, 0);
    ExpectColour("color-mix(in srgb, red 80%, green, blue 40%)", Srgb, {0.6666667, 0, 0.3333333});

    for (const char *bad : {"color-mix(in srgb, red -10%, blue)", "color-mix(in srgb,)", "color-mix(in srgb, red,)",
                            "color-mix(in srgb, red 110%, blue)", "color-mix(in srgb longer hue, red, blue)",
                            "color-mix(in lch hue, red, blue)", "color-mix(in srgb red, blue)",
                            "color-mix(in srgb)", "color-mix(in srgb, red, , blue)", "color-mix(in cmyk, red, blue)",
                            "color-mix(in srgb, red 10% 20%, blue)", "color-mix(in srgb, currentcolor, blue)"})
        EXPECT_FALSE(Try(bad)) << bad;
}

// 'none' in a relative colour: a channel keyword naming a missing channel of the origin (its own
// "none", or a hue made powerless by the conversion) is "none" alone and 0 in a calculation.
TEST(RelativeColour, MissingChannelsStayMissing)
{
    const auto kept = Try("hsl(from hsl(none 20% 50% / none) h s l)");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Missing, (std::array<bool, 4>{true, false, false, true}));
    const auto grey = Try("lch(from rgb(0 0 0) l c h)");
    ASSERT_TRUE(grey);
    EXPECT_TRUE(grey->Missing[2]);
    EXPECT_FALSE(grey->Missing[1]);
    const auto computed = Try("hsl(from hsl(none 20% 50%) calc(h + 30) s l)");
    ASSERT_TRUE(computed);
    EXPECT_FALSE(computed->Missing[0]);
    EXPECT_DOUBLE_EQ(computed->Coords[0], 30);
    // Near grey in its own space (HSL saturation 0.001%, HWB summing to 99.999%, LCH chroma
    // 0.0015, OKLCh 0.000004), a colour's hue is powerless in any other; just above, it is kept.
    for (const char *grey : {"hsl(from hwb(180 49.999% 50%) h s l)", "lch(from hsl(180 0.001% 50%) l c h)",
                             "hwb(from oklch(0.8 0.000004 180) h w b)", "oklch(from lch(20 0.0015 180) l c h)"})
        EXPECT_TRUE(Try(grey)->Missing[std::string_view(grey).starts_with("hwb") || std::string_view(grey).starts_with("hsl") ? 0 : 2]) << grey;
    EXPECT_FALSE(Try("hwb(from oklch(0.2 0.0000041 180) h w b)")->Missing[0]);
    EXPECT_DOUBLE_EQ(Try("lch(from hsl(180 0.001% 50%) l c h)")->Coords[1], 0);
    const auto own = Try("lab(from lab(25 20 50) l none b)");
    ASSERT_TRUE(own);
    EXPECT_TRUE(own->Missing[1]);
}

// CSS comments are nothing, before a colour and inside a function; one left open reads nothing.
TEST(CssText, CommentsAreNothing)
{
    ExpectColour("/**/transparent", Srgb, {0, 0, 0}, 0);
    ExpectColour("/* a */ /* b */red", Srgb, {1, 0, 0});
    ExpectColour("rgb(/* r */ 255 0 /* b */ 0)", Srgb, {1, 0, 0});
    EXPECT_FALSE(Try("/* open red"));
    EXPECT_FALSE(Try("/**/"));
}

// The worked examples of relative colours, and their rules: keywords in any position, alpha from
// the origin unless given, values unclamped but alpha clamped.
TEST(RelativeColour, WorkedExamplesAndRules)
{
    ExpectColour("rgb(from indianred 255 g b)", Srgb, {1, 92 / 255.0, 92 / 255.0});
    ExpectColour("rgb(from darkblue 16 32 b / 0.5)", Srgb, {16 / 255.0, 32 / 255.0, 139 / 255.0}, 0.5);
    ExpectColour("hsl(from lightseagreen calc(h + 180) s l)", TColourSpace::Hsl, {356.7, 69.5, 41.2}, 1, 0.1);
    ExpectColour("lch(from peru calc(l * 0.8) c h)", Lch, {49.80256, 54.0114, 63.6769}, 1, 0.01);
    ExpectColour("lab(from orchid l 0 0)", TColourSpace::Lab, {62.753, 0, 0}, 1, 0.001);
    ExpectColour("lch(from lch(60% 90 320) l c calc(h - 120))", Lch, {60, 90, 200});
    ExpectColour("oklch(from oklch(0.5 0.1 250) calc(l + 0.1) c h)", TColourSpace::Oklch, {0.6, 0.1, 250}, 1, 1e-9);
    const std::string grey = "calc(r * .3 + g * .59 + b * .11)";
    ExpectColour("rgb(from red " + grey + " " + grey + " " + grey + ")", Srgb, {0.3, 0.3, 0.3});
    ExpectColour("rgb(from lime " + grey + " " + grey + " " + grey + ")", Srgb, {0.59, 0.59, 0.59});
    ExpectColour("rgb(from rgb(10 20 30 / 0.4) r g b)", Srgb, {10 / 255.0, 20 / 255.0, 30 / 255.0}, 0.4);
    ExpectColour("lab(from lab(50 10 10 / 0.7) l a b / calc(alpha * 2))", TColourSpace::Lab, {50, 10, 10}, 1);
    ExpectColour("color(from color(display-p3 1 1 0) srgb r g calc(b + 0.5))", Srgb, {1, 1, 0.5 - 0.3463}, 1, 1e-3);
    ExpectColour("color(from red xyz-d50 x y z / alpha)", TColourSpace::XyzD50, {0.436066, 0.222493, 0.0139239}, 1, 1e-6);
    ExpectColour("hwb(from hwb(200 20% 30%) h b w)", TColourSpace::Hwb, {200, 30, 20});
    ExpectColour("rgb(from red r g b / none)", Srgb, {1, 0, 0}, 0);
    ExpectColour("OKLCH(FROM RED L C H)", TColourSpace::Oklch, {0.6279553639, 0.2576833038, 29.23388028}, 1, 1e-8);
    // Nested: a relative colour from a mix from a relative colour.
    ExpectColour("rgb(from color-mix(in srgb, rgb(from white 0 g b), black) r g b)", Srgb, {0, 0.5, 0.5});
    // Unclamped, as CSS keeps relative values.
    const auto wide = Try("rgb(from red calc(r * 2) g b)");
    ASSERT_TRUE(wide);
    EXPECT_DOUBLE_EQ(wide->Coords[0], 2);
    EXPECT_FALSE(wide->InSrgb());
    EXPECT_EQ(ExactColourText(*wide), QStringLiteral("color(srgb 2 0 0)"));

    for (const char *bad : {"rgba(from darkblue, 16, 32, b)", "rgb(from red r, g, b)", "rgb(from red x g b)",
                            "rgb(from 16 32 b)", "rgb(from red r g)", "hsl(from red h s l b)", "lab(from red l c h)",
                            "color(from red r g b)", "rgb(from currentcolor r g b)", "rgb(r g b)"})
        EXPECT_FALSE(Try(bad)) << bad;
}

// Math functions in any value, absolute colours included.
TEST(CssCalc, EveryFunctionAndConstant)
{
    const struct {
        const char *Expression;
        double Value;
    } cases[] = {
        {"calc(1 + 2 * 3)", 7}, {"calc((1 + 2) * 3)", 9}, {"calc(1 - 2 / 4)", 0.5}, {"calc(2*3)", 6},
        {"min(0.1, 0.2, 0.05)", 0.05}, {"max(0.1, calc(0.2 + 0.1))", 0.3}, {"clamp(0, 1.5, 1)", 1},
        {"round(2.5)", 3}, {"round(-2.5)", -2}, {"round(up, 0.41, 0.1)", 0.5}, {"round(down, -0.41, 0.1)", -0.5},
        {"round(to-zero, -0.49, 0.1)", -0.4}, {"round(nearest, 0.45, 0.1)", 0.5}, {"mod(-7, 3)", 2}, {"rem(-7, 3)", -1},
        {"abs(-0.5)", 0.5}, {"sign(-3)", -1}, {"sin(calc(pi / 2))", 1}, {"cos(0)", 1}, {"tan(45deg)", 1},
        {"sin(0.25turn)", 1}, {"pow(2, 3)", 8}, {"sqrt(16)", 4}, {"hypot(3, 4)", 5}, {"log(e)", 1}, {"log(8, 2)", 3},
        {"exp(0)", 1}, {"calc(e)", 2.718281828459045}, {"calc(NaN)", 0}, {"calc(50% + 0.25)", 0.75},
        {"calc(1 / 0 * 0)", 0}, {"calc(-1 * (2 + 3))", -5},
    };
    for (const auto &c : cases) {
        const std::string text = std::string("color(srgb ") + c.Expression + " 0 0)";
        const auto colour = Try(text);
        ASSERT_TRUE(colour) << text;
        EXPECT_NEAR(colour->Coords[0], c.Value, 1e-9) << text;
    }
    // Angles where a hue stands; a number there is degrees.
    ExpectColour("hsl(calc(0.5turn + 10deg) 50% 50%)", TColourSpace::Hsl, {190, 50, 50});
    ExpectColour("oklch(0.5 0.1 calc(asin(1)))", TColourSpace::Oklch, {0.5, 0.1, 90});
    ExpectColour("oklch(0.5 0.1 atan2(1, 1))", TColourSpace::Oklch, {0.5, 0.1, 45});
    ExpectColour("hsl(calc(1rad * 2) 50% 50%)", TColourSpace::Hsl, {114.59156, 50, 50});
    // Infinities are clamped where CSS clamps the value; infinity with no clamp is refused.
    ExpectColour("rgb(calc(infinity) calc(-infinity) calc(1 / 0))", Srgb, {1, 0, 1});
    ExpectColour("rgb(calc(255 / 2) 0 0)", Srgb, {0.5, 0, 0});
    EXPECT_EQ(Try("rgb(calc(255 / 2) 0 0)")->Rgb8(), (TRgb8{128, 0, 0}));
    EXPECT_FALSE(Try("lab(50 calc(infinity) 0)"));
    EXPECT_FALSE(Try("rgb(from red calc(r / 0) g b)"));

    for (const char *bad : {"color(srgb calc(1 -2) 0 0)", "color(srgb calc(1+2) 0 0)", "color(srgb calc() 0 0)",
                            "color(srgb calc(1 + ) 0 0)", "color(srgb calc(10% * 10%) 0 0)", "color(srgb calc(1px) 0 0)",
                            "color(srgb calc((1) 0 0)", "color(srgb calc(none) 0 0)", "color(srgb min() 0 0)",
                            "color(srgb calc(asin(1)) 0 0)", "color(srgb pow(2deg, 2) 0 0)", "color(srgb round(1deg) 0 0)",
                            "color(srgb foo(1) 0 0)", "rgb(calc(1deg) 0 0)", "oklch(0.5 0.1 calc(10%))",
                            "color(srgb 1e400 0 0)", "color(srgb calc(1 / 0 * 0) 0 0 0)"})
        EXPECT_FALSE(Try(bad)) << bad;
}

TEST(CssCalc, DeepNestingAndLongTextsAreRefusedQuickly)
{
    const auto nested = [](int depth) {
        std::string s = "color(srgb ";
        for (int i = 0; i < depth; ++i)
            s += "calc(";
        s += "0.5";
        for (int i = 0; i < depth; ++i)
            s += ")";
        return s + " 0 0)";
    };
    EXPECT_TRUE(Try(nested(150)));
    EXPECT_FALSE(Try(nested(5000)));
    std::string parens = "color(srgb calc(";
    for (int i = 0; i < 20000; ++i)
        parens += "(";
    EXPECT_FALSE(Try(parens));
    std::string origins = "rgb(from ";
    for (int i = 0; i < 3000; ++i)
        origins += "rgb(from ";
    EXPECT_FALSE(Try(origins + "red"));

    // A long relative colour under the CSS function limit reads; one over it, or a megabyte, is
    // refused without being read.
    std::string sum = "rgb(from red calc(r";
    while (sum.size() < 60000)
        sum += " + 0";
    sum += ") g b)";
    EXPECT_TRUE(Try(sum));
    std::string huge = "rgb(from red calc(r";
    while (huge.size() < (1 << 20))
        huge += " + 0";
    huge += ") g b)";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Try(huge));
    EXPECT_FALSE(Try(huge.substr(0, 70000) + ") g b)"));
    // Generous: the refusal reads nothing; this only catches a reader that scans the text.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    // A notation that is no CSS function keeps the old limit.
    EXPECT_FALSE(Try(std::string(400, ' ') + "#abc" + std::string(400, 'x')));
    EXPECT_FALSE(Try("#abc" + std::string(400, ' ') + "x"));
}

} // namespace
