#include "colour/AnyColor.h"
#include "colour/ExactColour.h"
#include "colour/Notations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TExactColour Read(const char *text)
{
    const auto r = ReadExactColour(QString::fromUtf8(text));
    EXPECT_TRUE(r) << text;
    return r ? r->Colour : TExactColour{};
}

std::string Row(TNotationKind kind, const TExactColour &c) { return WriteNotation(kind, c).Text.toStdString(); }

// A colour typed with up to six significant digits comes back as typed, from its text and from
// the Notations row of its own notation.
TEST(ExactColour, EveryOwnNotationWritesBackDigitForDigit)
{
    const struct {
        const char *Text;
        TNotationKind Kind;
    } cases[] = {
        {"color(display-p3 1 0 0)", TNotationKind::DisplayP3},
        {"oklch(0.5 0.1 250)", TNotationKind::Oklch},
        {"oklch(0.7 0.25 30)", TNotationKind::Oklch},
        {"lab(50 20 -30)", TNotationKind::Lab},
        {"lch(52.2 40.1 130.5)", TNotationKind::Lch},
        {"oklab(0.62 -0.1 0.05)", TNotationKind::Oklab},
        {"color(srgb 0.1 0.2 0.3)", TNotationKind::Srgb},
        {"color(srgb 1.2 -0.05 0.5)", TNotationKind::Srgb},
        {"color(srgb-linear 0.5 -0.1 1.2)", TNotationKind::SrgbLinear},
        {"color(a98-rgb 0.2 0.4 0.6)", TNotationKind::A98Rgb},
        {"color(prophoto-rgb 0.3 0.5 0.7)", TNotationKind::ProPhotoRgb},
        {"color(rec2020 0.9 0.1 0.05)", TNotationKind::Rec2020},
        {"color(xyz-d65 0.2 0.3 0.4)", TNotationKind::XyzD65},
        {"color(xyz-d50 0.25 0.1 0.05)", TNotationKind::XyzD50},
        {"hsl(210 40% 60.5%)", TNotationKind::Hsl},
        {"hwb(30 12.5% 20%)", TNotationKind::Hwb},
        {"rgb(10.5 20 30)", TNotationKind::CssRgb},
        {"oklch(0.5 0.1 250 / 0.25)", TNotationKind::Oklch},
        {"lab(50 none -30 / 0.123457)", TNotationKind::Lab},
        {"oklch(0.123456 0.0123456 123.456)", TNotationKind::Oklch},
    };
    for (const auto &c : cases) {
        const TExactColour colour = Read(c.Text);
        EXPECT_EQ(ExactColourText(colour).toStdString(), c.Text);
        EXPECT_EQ(Row(c.Kind, colour), c.Text);
        const auto back = ReadExactColour(ExactColourText(colour));
        ASSERT_TRUE(back) << c.Text;
        EXPECT_EQ(back->Colour, colour) << c.Text;
    }
    // Full precision is kept: through another space and back the colour is the same.
    const TExactColour p3 = Read("color(display-p3 0.123456 0.654321 0.5)");
    for (TColourSpace s : {TColourSpace::Oklch, TColourSpace::Lab, TColourSpace::XyzD50, TColourSpace::Rec2020}) {
        const TExactColour back = p3.To(s).To(TColourSpace::DisplayP3);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(back.Coords[i], p3.Coords[i], 1e-12);
    }
}

TEST(ExactColour, BytesAreWrittenAsBeforeAndNumbersTypedAreNot)
{
    const TExactColour hex = Read("#336699");
    EXPECT_TRUE(hex.FromBytes);
    EXPECT_EQ(Row(TNotationKind::Oklch, hex), "oklch(0.5 0.099 250.4)");
    EXPECT_EQ(ExactColourText(hex), QStringLiteral("#336699"));
    const TExactColour typed = Read("rgb(51 102 153)");
    EXPECT_FALSE(typed.FromBytes);
    EXPECT_EQ(typed.Rgb8(), (TRgb8{51, 102, 153}));
    EXPECT_EQ(Row(TNotationKind::Oklch, typed), "oklch(0.499314 0.0986644 250.433)");
    // An in-sRGB colour that is not from bytes: the sRGB rows are exact, with six digits.
    const TExactColour oklch = Read("oklch(0.5 0.1 250)");
    EXPECT_EQ(Row(TNotationKind::CssRgb, oklch), "rgb(49.625 102.338 153.8)");
    EXPECT_EQ(Row(TNotationKind::CssHex, oklch), "#32669a");
    EXPECT_FALSE(WriteNotation(TNotationKind::CssHex, oklch).Fallback);
}

// Values worked once with colorjs.io 0.7.1 (Color(...).to(space).coords), which follows the
// current sample code, rec2020's pure 2.4 power included.
TEST(ExactColour, ConversionsAgreeWithColourJs)
{
    const auto expectNear = [](const TExactColour &c, TColourSpace s, TVec3 want) {
        const TExactColour got = c.To(s);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(got.Coords[i], want[i], 1e-9) << i;
    };
    expectNear(Read("color(rec2020 0.5 0.5 0.5)"), TColourSpace::Srgb, {0.4725, 0.4725, 0.4725});
    expectNear(Read("color(rec2020 0.25 0.6 0.9)"), TColourSpace::Srgb, {-0.4484883942, 0.6025376024, 0.9253963417});
    expectNear(Read("#336699"), TColourSpace::Rec2020, {0.3460272802, 0.4247406336, 0.6034416216});
    expectNear(Read("color(display-p3 1 0 0)"), TColourSpace::Oklch, {0.6485740751, 0.2994852863, 28.95813273});
    expectNear(Read("oklch(0.5 0.1 250)"), TColourSpace::Srgb, {0.1946078516, 0.4013273238, 0.6031354705});
    expectNear(Read("lab(50 20 -30)"), TColourSpace::Srgb, {0.5211546420, 0.4236569531, 0.6685103407});
    // colorjs.io's CSS gamut mapping of oklch(0.7 0.25 30) into sRGB: 255 88.0094 67.4667.
    EXPECT_EQ(Read("oklch(0.7 0.25 30)").Rgb8(), (TRgb8{255, 88, 67}));
    EXPECT_EQ(Read("color(display-p3 1 0 0)").Rgb8(), (TRgb8{255, 11, 12}));
}

TEST(ExactColour, ExactHalvesRoundUpDespiteFloatingPointError)
{
    EXPECT_EQ(ByteOfUnit(127.5 / 255), 128);
    EXPECT_EQ(ByteOfUnit(0.49999999999999994), 128); // 127.49999999999999
    EXPECT_EQ(ByteOfUnit(127.49 / 255), 127);
    EXPECT_EQ(ByteOfUnit(-0.2), 0);
    EXPECT_EQ(ByteOfUnit(1.5), 255);
    EXPECT_EQ(ByteOfUnit(NAN), 0);
    EXPECT_EQ(Read("hwb(120 30% 50%)").Rgb8(), (TRgb8{77, 128, 77}));
    EXPECT_EQ(Read("hsl(200 40% 50%)").Rgb8(), (TRgb8{77, 145, 179}));
    EXPECT_EQ(Read("rgb(50% 50% 50%)").Rgb8(), (TRgb8{128, 128, 128}));
    EXPECT_EQ(Read("color(display-p3 0.5 0.5 0.5)").Rgb8(), (TRgb8{128, 128, 128}));
}

TEST(ExactColour, FullLightnessIsWhiteAndNoneIsBlack)
{
    for (const char *white : {"oklab(1 0 0.1)", "oklch(1 0.3 30)", "oklch(1.2 0.1 200)"})
        EXPECT_EQ(Read(white).Rgb8(), (TRgb8{255, 255, 255})) << white;
    for (const char *black : {"oklch(0 0.3 30)", "oklab(0 0.2 -0.2)", "lab(0 60 60)"})
        EXPECT_EQ(Read(black).Rgb8(), (TRgb8{0, 0, 0})) << black;
}

TEST(ExactColour, FallbackRowsAreMarkedOnlyOutsideSrgb)
{
    const TExactColour outside = Read("oklch(0.7 0.25 30)");
    EXPECT_FALSE(outside.InSrgb());
    for (const TNotationRow &row : WriteNotations(outside))
        EXPECT_EQ(row.Fallback, HoldsOnlySrgb(row.Kind)) << row.Caption.toStdString();
    EXPECT_EQ(Row(TNotationKind::CssHex, outside), "#ff5843");
    EXPECT_EQ(Row(TNotationKind::Srgb, outside), "color(srgb 1.09511 0.255575 0.175436)");
    const TExactColour inside = Read("oklch(0.7 0.1 30)");
    EXPECT_TRUE(inside.InSrgb());
    for (const TNotationRow &row : WriteNotations(inside))
        EXPECT_FALSE(row.Fallback) << row.Caption.toStdString();
}

TEST(ExactColour, AlphaIsReadAndWrittenInEveryNotationThatCarriesIt)
{
    const TExactColour c = Read("rgb(10 20 30 / 50%)");
    EXPECT_EQ(c.Alpha, 0.5);
    const auto bytes = TExactColour::FromRgb8({10, 20, 30}, 0.5);
    EXPECT_EQ(Row(TNotationKind::CssHex, bytes), "#0a141e80");
    EXPECT_EQ(Row(TNotationKind::CssRgb, bytes), "rgb(10 20 30 / 0.5)");
    EXPECT_EQ(Row(TNotationKind::Oklch, bytes), "oklch(0.187 0.025 249 / 0.5)");
    EXPECT_EQ(Row(TNotationKind::Qt, bytes), "QColor(10, 20, 30, 128)");
    EXPECT_EQ(Row(TNotationKind::Qml, bytes), "Qt.rgba(0.04, 0.08, 0.118, 0.5)");
    EXPECT_EQ(Row(TNotationKind::Argb, bytes), "0x800A141E");
    EXPECT_EQ(Row(TNotationKind::Glsl, bytes), "vec4(0.04, 0.08, 0.118, 0.5)");
    EXPECT_EQ(Row(TNotationKind::Latex, bytes), "\\definecolor{pigmora}{HTML}{0A141E}");
    for (const TNotationRow &row : WriteNotations(bytes)) {
        if (row.Kind == TNotationKind::Linear || row.Kind == TNotationKind::Name)
            continue;
        const auto back = ReadExactColour(row.Text);
        ASSERT_TRUE(back) << row.Text.toStdString();
        EXPECT_EQ(back->Colour.Rgb8(), (TRgb8{10, 20, 30})) << row.Text.toStdString();
        const bool carriesAlpha = row.Kind != TNotationKind::Floats && row.Kind != TNotationKind::Latex;
        EXPECT_NEAR(back->Colour.Alpha, carriesAlpha ? 0.5 : 1, 0.5 / 255) << row.Text.toStdString();
    }
    const struct {
        const char *Text;
        double Alpha;
    } reads[] = {
        {"#0a141e80", 128 / 255.0}, {"#abc8", 136 / 255.0}, {"QColor(10, 20, 30, 64)", 64 / 255.0},
        {"Qt.rgba(0.1, 0.2, 0.3, 0.25)", 0.25}, {"0x400A141E", 64 / 255.0}, {"vec4(1.0, 0.0, 0.0, 0.75)", 0.75},
        {"hsl(120 50% 50% / 25%)", 0.25}, {"hsla(120, 50%, 50%, 0.3)", 0.3}, {"lab(50 0 0 / 2)", 1},
        {"oklch(0.5 0.1 20 / -1)", 0}, {"transparent", 0},
    };
    for (const auto &r : reads)
        EXPECT_DOUBLE_EQ(Read(r.Text).Alpha, r.Alpha) << r.Text;
    EXPECT_EQ(Read("transparent").Rgb8(), (TRgb8{0, 0, 0}));
    EXPECT_TRUE(Read("rgb(1 2 3 / none)").Missing[3]);
    EXPECT_EQ(ExactColourText(Read("rgb(1 2 3 / none)")), QStringLiteral("rgb(1 2 3 / none)"));
    // The 8-bit readings have no alpha: transparent stays refused there.
    EXPECT_FALSE(ReadAnyColor(u"transparent"));
    EXPECT_EQ(ParseAnyColor(u"#0a141e80"), RGB(10, 20, 30));
}

TEST(ExactColour, PowerlessHuesComeOutMissingAndAnaloguesCarryOver)
{
    const TExactColour grey = Read("color(srgb 0.5 0.5 0.5)");
    EXPECT_TRUE(grey.To(TColourSpace::Oklch).Missing[2]);
    EXPECT_TRUE(grey.To(TColourSpace::Hsl).Missing[0]);
    const TExactColour noHue = Read("oklch(0.5 0.1 none)");
    EXPECT_TRUE(noHue.To(TColourSpace::Lch).Missing[2]);
    EXPECT_TRUE(noHue.To(TColourSpace::Hsl).Missing[0]);
    EXPECT_FALSE(noHue.To(TColourSpace::Lab).Missing[1]);
    EXPECT_TRUE(Read("rgb(none 20 30)").To(TColourSpace::XyzD65).Missing[0]);
    EXPECT_EQ(Row(TNotationKind::Oklch, Read("lab(50 0 0)")), "oklch(0.568966 0 none)");
}

} // namespace
