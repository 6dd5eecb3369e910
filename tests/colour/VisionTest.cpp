#include "colour/Vision.h"

#include "colour/Contrast.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using TRows = std::array<TVec3, 3>;

// The simulation's matrix on linear sRGB, read back from the images of the unit vectors.
TRows MatrixOf(TVision vision, double severity)
{
    TRows m{};
    for (int j = 0; j < 3; ++j) {
        TVec3 unit{};
        unit[j] = 1;
        const TVec3 column = SimulateLinearSrgb(unit, vision, severity);
        for (int i = 0; i < 3; ++i)
            m[i][j] = column[i];
    }
    return m;
}

void ExpectMatrix(const TRows &actual, const TRows &expected, double tolerance, const char *what)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << what << " row " << i << " column " << j;
}

void ExpectNear(const TVec3 &actual, const TVec3 &expected, double tolerance, const std::string &what)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " channel " << i;
}

// Machado, Oliveira and Fernandes 2009, their table of matrices (typed from the published table).
TEST(Vision, AnomalousTrichromaciesUseThePublishedMatrices)
{
    ExpectMatrix(MatrixOf(TVision::Protanomaly, 0.1),
                 {{{0.856167, 0.182038, -0.038205}, {0.029342, 0.955115, 0.015544}, {-0.002880, -0.001563, 1.004443}}}, 1e-9,
                 "protanomaly 0.1");
    ExpectMatrix(MatrixOf(TVision::Protanomaly, 0.5),
                 {{{0.458064, 0.679578, -0.137642}, {0.092785, 0.846313, 0.060902}, {-0.007494, -0.016807, 1.024301}}}, 1e-9,
                 "protanomaly 0.5");
    ExpectMatrix(MatrixOf(TVision::Protanomaly, 1.0),
                 {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}, 1e-9,
                 "protanomaly 1");
    ExpectMatrix(MatrixOf(TVision::Deuteranomaly, 0.1),
                 {{{0.866435, 0.177704, -0.044139}, {0.049567, 0.939063, 0.011370}, {-0.003453, 0.007233, 0.996220}}}, 1e-9,
                 "deuteranomaly 0.1");
    ExpectMatrix(MatrixOf(TVision::Deuteranomaly, 0.5),
                 {{{0.547494, 0.607765, -0.155259}, {0.181692, 0.781742, 0.036566}, {-0.010410, 0.027275, 0.983136}}}, 1e-9,
                 "deuteranomaly 0.5");
    ExpectMatrix(MatrixOf(TVision::Deuteranomaly, 1.0),
                 {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}, 1e-9,
                 "deuteranomaly 1");
    ExpectMatrix(MatrixOf(TVision::Tritanomaly, 0.1),
                 {{{0.926670, 0.092514, -0.019184}, {0.021191, 0.964503, 0.014306}, {0.008437, 0.054813, 0.936750}}}, 1e-9,
                 "tritanomaly 0.1");
    ExpectMatrix(MatrixOf(TVision::Tritanomaly, 0.5),
                 {{{1.017277, 0.027029, -0.044306}, {-0.006113, 0.958479, 0.047634}, {0.006379, 0.248708, 0.744913}}}, 1e-9,
                 "tritanomaly 0.5");
    ExpectMatrix(MatrixOf(TVision::Tritanomaly, 1.0),
                 {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}, 1e-9,
                 "tritanomaly 1");
}

TEST(Vision, SeverityBetweenTenthsInterpolatesAndOutOfRangeIsClamped)
{
    // Halfway between the 0.5 and 0.6 rows of the protanomaly table.
    const TRows m = MatrixOf(TVision::Protanomaly, 0.55);
    EXPECT_NEAR(m[0][0], (0.458064 + 0.385450) / 2, 1e-9);
    EXPECT_NEAR(m[2][1], (-0.016807 + -0.022190) / 2, 1e-9);
    ExpectMatrix(MatrixOf(TVision::Deuteranomaly, 0), {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1e-12, "severity 0");
    ExpectMatrix(MatrixOf(TVision::Tritanomaly, -3), MatrixOf(TVision::Tritanomaly, 0), 0, "below 0");
    ExpectMatrix(MatrixOf(TVision::Tritanomaly, 7), MatrixOf(TVision::Tritanomaly, 1), 0, "above 1");
    ExpectMatrix(MatrixOf(TVision::Protanomaly, NAN), MatrixOf(TVision::Protanomaly, 1), 0, "NaN");
}

// Viénot, Brettel and Mollon 1999 on sRGB with Smith and Pokorny's cone fundamentals: the
// matrices DaltonLens publishes for the same model (5 decimals).
TEST(Vision, ProtanopiaAndDeuteranopiaFollowViénot1999)
{
    ExpectMatrix(MatrixOf(TVision::Protanopia, 1), {{{0.10889, 0.89111, 0}, {0.10889, 0.89111, 0}, {0.00447, -0.00447, 1}}},
                 2e-4, "protanopia");
    ExpectMatrix(MatrixOf(TVision::Deuteranopia, 1), {{{0.29031, 0.70969, 0}, {0.29031, 0.70969, 0}, {-0.02197, 0.02197, 1}}},
                 2e-4, "deuteranopia");
    // The plane holds black, white, blue and yellow: a dichromat sees them as everyone does.
    for (const TVision vision : {TVision::Protanopia, TVision::Deuteranopia})
        for (const TVec3 &rgb : {TVec3{0, 0, 0}, TVec3{1, 1, 1}, TVec3{0, 0, 1}, TVec3{1, 1, 0}, TVec3{0.2, 0.2, 0.7}})
            ExpectNear(SimulateLinearSrgb(rgb, vision), rgb, 1e-12, VisionName(vision).toStdString());
}

// Brettel, Viénot and Mollon 1997 for tritanopia, the two half-planes through white and the
// 485 nm and 660 nm anchors; DaltonLens's published parameters for this model worked through
// by hand for each colour (5-decimal parameters, so to 2e-3).
TEST(Vision, TritanopiaFollowsBrettel1997OnBothHalfPlanes)
{
    const struct {
        TVec3 In, Out;
    } worked[] = {
        {{1, 0, 0}, {1.01360, -0.01183, 0.07708}},     {{0, 1, 0}, {0.20004, 0.82562, 1.13842}},
        {{0, 0, 1}, {-0.13337, 0.11627, 0.24102}},     {{1, 1, 0}, {1.15631, 0.86376, 0.88922}},
        {{0.2, 0.5, 0.8}, {0.18001, 0.51744, 0.68618}}, {{0.9, 0.1, 0.4}, {0.86402, 0.13140, 0.19493}},
    };
    for (const auto &w : worked)
        ExpectNear(SimulateLinearSrgb(w.In, TVision::Tritanopia), w.Out, 2e-3, "tritanopia");
    ExpectNear(SimulateLinearSrgb({1, 1, 1}, TVision::Tritanopia), {1, 1, 1}, 1e-12, "white");
    ExpectNear(SimulateLinearSrgb({0.3, 0.3, 0.3}, TVision::Tritanopia), {0.3, 0.3, 0.3}, 1e-12, "grey");
}

TEST(Vision, EveryDichromacyIsAProjectionAndAchromatopsiaKeepsTheLuminance)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 200; ++i) {
        const TVec3 rgb{unit(random), unit(random), unit(random)};
        for (const TVision vision : {TVision::Protanopia, TVision::Deuteranopia, TVision::Tritanopia, TVision::Achromatopsia}) {
            const TVec3 once = SimulateLinearSrgb(rgb, vision);
            ExpectNear(SimulateLinearSrgb(once, vision), once, 1e-9, "twice " + VisionName(vision).toStdString());
        }
        const TVec3 grey = SimulateLinearSrgb(rgb, TVision::Achromatopsia);
        EXPECT_NEAR(grey[0], 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2], 1e-15);
        EXPECT_EQ(grey[0], grey[1]);
        EXPECT_EQ(grey[1], grey[2]);
    }
    // A grey with the luminance of the colour: the WCAG figures against white stay.
    const TExactColour orange = TExactColour::FromRgb8({230, 120, 20});
    const TExactColour white = TExactColour::FromRgb8({255, 255, 255});
    EXPECT_NEAR(ContrastRatio(SimulateVision(orange, TVision::Achromatopsia), white), ContrastRatio(orange, white), 1e-12);
}

TEST(Vision, ExactColoursKeepTheirAlphaAndStayUnclamped)
{
    const auto reading = ReadExactColour(u"color(display-p3 0 1 0 / 0.4)");
    ASSERT_TRUE(reading);
    const TExactColour p3 = reading->Colour;
    const TExactColour seen = SimulateVision(p3, TVision::Deuteranomaly, 0.3);
    EXPECT_EQ(seen.Space, TColourSpace::Srgb);
    EXPECT_DOUBLE_EQ(seen.Alpha, 0.4);
    EXPECT_FALSE(seen.InSrgb()) << "outside sRGB before, outside after";
    EXPECT_EQ(SimulateVision(p3, TVision::Normal), p3);
    // sRGB in, the gamma-encoded simulation of its linear values out.
    const TExactColour red = TExactColour::FromRgb8({255, 0, 0});
    const TExactColour protan = SimulateVision(red, TVision::Protanopia);
    EXPECT_NEAR(protan.Coords[0], colour::GamSrgb({0.10889, 0, 0})[0], 1e-3);
    EXPECT_NEAR(protan.Coords[0], protan.Coords[1], 1e-12);
}

TEST(Vision, NamesReadAndWrite)
{
    for (const TVision vision : AllVisions()) {
        const auto read = ReadVisionChoice(VisionName(vision));
        ASSERT_TRUE(read) << VisionName(vision).toStdString();
        EXPECT_EQ(read->Vision, vision);
        EXPECT_EQ(read->Severity, 1);
    }
    EXPECT_EQ(AllVisions().size(), 8u);
    EXPECT_EQ(AllVisions().front(), TVision::Normal);
    EXPECT_EQ(ReadVisionChoice(u" Deuteranomaly:0.6 "), (TVisionChoice{TVision::Deuteranomaly, 0.6}));
    EXPECT_EQ(ReadVisionChoice(u"tritanomaly:.25"), (TVisionChoice{TVision::Tritanomaly, 0.25}));
    EXPECT_EQ(ReadVisionChoice(u"protanomaly:0"), (TVisionChoice{TVision::Protanomaly, 0}));
    EXPECT_EQ(ReadVisionChoice(u"protanomaly:1.0"), (TVisionChoice{TVision::Protanomaly, 1}));
    EXPECT_EQ(VisionChoiceText({TVision::Deuteranomaly, 0.6}), QStringLiteral("deuteranomaly:0.6"));
    EXPECT_EQ(VisionChoiceText({TVision::Deuteranomaly, 1}), QStringLiteral("deuteranomaly"));
    EXPECT_EQ(VisionChoiceText({TVision::Protanopia, 0.3}), QStringLiteral("protanopia"));
    for (const char16_t *bad : {u"", u"deutan", u"protanomaly:", u"protanomaly:-0.1", u"protanomaly:1.5", u"protanomaly:nan",
                                u"protanomaly:inf", u"protanomaly:1e-1", u"protanomaly:0,5", u"protanopia:0.5",
                                u"achromatopsia:1", u"protanomaly:0.5:0.5", u"protanomaly:99999999999999999999999"})
        EXPECT_FALSE(ReadVisionChoice(bad)) << QString::fromUtf16(bad).toStdString();
}

} // namespace
