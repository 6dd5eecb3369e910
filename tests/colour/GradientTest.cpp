#include "colour/CssColor.h"
#include "colour/Gradient.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <cstdio>

inline void PrintTo(const TExactColour &c, std::ostream *os)
{
    *os << ExactColourText(c).toStdString();
}

namespace {

TExactColour Read(const std::string &text)
{
    const auto r = ParseCssColour(text);
    EXPECT_TRUE(r) << text;
    return r.value_or(TExactColour{});
}

std::string Exact(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

void ExpectSame(const TExactColour &got, const TExactColour &want, const std::string &what)
{
    EXPECT_EQ(got.Space, want.Space) << what;
    EXPECT_EQ(got.Missing, want.Missing) << what;
    for (size_t i = 0; i < 3; ++i)
        if (!want.Missing[i]) {
            EXPECT_NEAR(got.Coords[i], want.Coords[i], 1e-9) << what << " [" << i << "]";
        }
    EXPECT_NEAR(got.Alpha, want.Alpha, 1e-12) << what;
}

// Every step is the colour color-mix() reads at its place, in every space and hue method, with
// missing components and alphas among the colours.
TEST(Gradient, EachStepIsWhatColorMixGives)
{
    const std::vector<std::pair<std::string, std::string>> pairs{
        {"red", "blue"},
        {"oklch(0.7 0.1 350)", "oklch(0.5 0.2 20 / 0.5)"},
        {"color(display-p3 1 0 0)", "lab(40 -30 50)"},
        {"oklch(0.7 none 200)", "hsl(30 80% 40%)"},
        {"rgb(10 20 30 / 25%)", "#ffcc0080"},
    };
    const std::vector<std::string> spaces{"srgb", "srgb-linear", "display-p3", "a98-rgb", "prophoto-rgb", "rec2020",
                                          "lab", "oklab", "xyz-d50", "xyz", "hsl", "hwb", "lch", "oklch"};
    for (const auto &[a, b] : pairs)
        for (const std::string &space : spaces)
            for (const char *method : {"", " shorter hue", " longer hue", " increasing hue", " decreasing hue"}) {
                const std::string in = space + method;
                const auto plan = ReadInterpolation(QString::fromStdString(in), TGradientPlan{{}, {}, 7});
                const bool hasHue = space == "hsl" || space == "hwb" || space == "lch" || space == "oklch";
                if (*method && !hasHue) {
                    EXPECT_FALSE(plan) << in;
                    continue;
                }
                ASSERT_TRUE(plan) << in;
                const auto steps = MakeGradient(Read(a), Read(b), *plan);
                ASSERT_TRUE(steps);
                ASSERT_EQ(steps->Entries.size(), 7u);
                for (int i = 0; i < 7; ++i) {
                    const std::string mix = "color-mix(in " + in + ", " + a + ", " + b + " " + Exact(i * 100.0 / 6) + "%)";
                    ExpectSame(steps->Entries[static_cast<size_t>(i)].Colour, Read(mix), mix);
                }
            }
}

TEST(Gradient, StepCountsAndInterpolationTexts)
{
    const TExactColour red = Read("red"), blue = Read("blue");
    EXPECT_FALSE(MakeGradient(red, blue, {TColourSpace::Oklab, THueMethod::Shorter, 1}));
    EXPECT_FALSE(MakeGradient(red, blue, {TColourSpace::Oklab, THueMethod::Shorter, 257}));
    EXPECT_FALSE(MakeGradient(red, blue, {TColourSpace::Oklab, THueMethod::Shorter, -5}));
    const auto big = MakeGradient(red, blue, {TColourSpace::Oklab, THueMethod::Shorter, 256});
    ASSERT_TRUE(big);
    EXPECT_EQ(big->Entries.back().Name, QStringLiteral("256"));
    for (const char *bad : {"", "  ", "okla", "oklab longer hue", "oklch sideways hue", "oklch longer colour",
                            "oklch longer hue extra", "lab,", "\x1b"})
        EXPECT_FALSE(ReadInterpolation(QString::fromLatin1(bad))) << bad;
    const auto upper = ReadInterpolation(QStringLiteral("  OKLCH   Longer  "));
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->Space, TColourSpace::Oklch);
    EXPECT_EQ(upper->Method, THueMethod::Longer);
}

// Each form read back: CSS as a browser takes the stops, POV-Ray's map with the srgb switch, and a
// GLSL array of the fallbacks.
TEST(Gradient, WrittenAsCssPovRayAndGlsl)
{
    const TGradientPlan plan{TColourSpace::Oklch, THueMethod::Longer, 3};
    const auto steps = MakeGradient(Read("oklch(0.6 0.1 30)"), Read("oklch(0.8 0.1 90)"), plan);
    ASSERT_TRUE(steps);
    // Longer from 30 to 90: through 330, middle hue 240.
    EXPECT_EQ(GradientCss(*steps, plan),
              QStringLiteral("linear-gradient(in oklch longer hue, oklch(0.6 0.1 30), oklch(0.7 0.1 240), oklch(0.8 0.1 90))"));
    EXPECT_EQ(GradientCss(*steps, {TColourSpace::Oklch, THueMethod::Shorter, 3}).left(28), QStringLiteral("linear-gradient(in oklch, ok"));

    const auto rb = MakeGradient(Read("red"), Read("blue"), {TColourSpace::Srgb, THueMethod::Shorter, 3});
    ASSERT_TRUE(rb);
    EXPECT_EQ(GradientPovColorMap(*rb, false),
              QStringLiteral("color_map {\n  [0 color rgb <1, 0, 0>]\n  [0.5 color rgb <0.5, 0, 0.5>]\n  [1 color rgb <0, 0, 1>]\n}"));
    EXPECT_TRUE(GradientPovColorMap(*rb, true).contains(QStringLiteral("[0.5 color srgb <0.5, 0, 0.5>]")));
    EXPECT_EQ(GradientGlsl(*rb), QStringLiteral("vec3[3](vec3(1.0, 0.0, 0.0), vec3(0.5, 0.0, 0.5), vec3(0.0, 0.0, 1.0))"));
    // A colour outside sRGB goes to POV-Ray and GLSL as its fallback; a translucent one opaque.
    const auto p3 = MakeGradient(Read("color(display-p3 0 1 0 / 0.5)"), Read("white"), {TColourSpace::DisplayP3, THueMethod::Shorter, 2});
    ASSERT_TRUE(p3);
    EXPECT_TRUE(GradientGlsl(*p3).startsWith(QStringLiteral("vec3[2](vec3(0.")));
    EXPECT_FALSE(GradientGlsl(*p3).contains(QStringLiteral("vec4")));
    EXPECT_FALSE(GradientPovColorMap(*p3, false).contains(QLatin1Char('-')));
    for (TGradientForm form : {TGradientForm::Css, TGradientForm::PovColorMap, TGradientForm::Glsl})
        EXPECT_FALSE(WriteGradient(form, *rb, plan, false).isEmpty());
    EXPECT_EQ(GradientFormNamed(u"POV"), TGradientForm::PovColorMap);
    EXPECT_FALSE(GradientFormNamed(u"html"));
}

} // namespace
