#include "colour/AnyColor.h"
#include "app/Notations.h"
#include "app/PovGamma.h"
#include "app/Restore.h"
#include "framework/NumberText.h"
#include "AdversarialTexts.h"

#include <gtest/gtest.h>

#include <QColor>

#include <clocale>
#include <random>

namespace {

struct TParseCase {
    const char *text;
    std::optional<TColor> color; // nullopt: refused
};

void PrintTo(const TParseCase &c, std::ostream *os) { *os << '"' << c.text << '"'; }

constexpr TColor Default = 0x00D1B598; // red 152, green 181, blue 209

class ParseAnyColorTable : public testing::TestWithParam<TParseCase> {};

TEST_P(ParseAnyColorTable, ReadsOrRefuses)
{
    const auto got = ParseAnyColor(QString::fromUtf8(GetParam().text));
    if (GetParam().color) {
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, *GetParam().color) << QStringLiteral("$%1").arg(*got, 8, 16, QLatin1Char('0')).toStdString();
    } else {
        EXPECT_FALSE(got.has_value()) << QStringLiteral("$%1").arg(got.value_or(0), 8, 16, QLatin1Char('0')).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Hash, ParseAnyColorTable, testing::Values(
    TParseCase{"#98B5D1", Default}, TParseCase{"#98b5d1", Default}, TParseCase{"  #98B5D1\n", Default},
    TParseCase{"#98B5D180", Default}, TParseCase{"#fff", RGB(255, 255, 255)}, TParseCase{"#1a2", RGB(0x11, 0xAA, 0x22)},
    TParseCase{"#1a2f", RGB(0x11, 0xAA, 0x22)},
    TParseCase{"#12345", std::nullopt}, TParseCase{"#1234567", std::nullopt}, TParseCase{"#", std::nullopt},
    TParseCase{"#12", std::nullopt}, TParseCase{"#GGGGGG", std::nullopt}, TParseCase{"# 98B5D1", std::nullopt},
    TParseCase{"#98B5D1 #000000", std::nullopt}, TParseCase{"#98B5D1,", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(CssFunctions, ParseAnyColorTable, testing::Values(
    TParseCase{"rgb(152, 181, 209)", Default}, TParseCase{"rgb(152,181,209)", Default},
    TParseCase{"rgb(152 181 209)", Default}, TParseCase{"RGB( 152 , 181 , 209 )", Default},
    TParseCase{"rgba(152, 181, 209, 0.5)", Default}, TParseCase{"rgba(152, 181, 209)", Default},
    TParseCase{"rgb(152 181 209 / 50%)", Default}, TParseCase{"rgb(152 181 209/.5)", Default},
    TParseCase{"rgb(59.6%, 71%, 82%)", Default}, TParseCase{"rgb(100% 0% 50%)", RGB(255, 0, 128)},
    TParseCase{"rgb(0,0,0)", 0},
    TParseCase{"rgb(256, 0, 0)", clRed}, TParseCase{"rgb(-1, 0, 0)", 0},
    TParseCase{"rgb(101%, 0%, 0%)", clRed}, TParseCase{"rgb(1, 2)", std::nullopt},
    TParseCase{"rgb(1, 2, 3, 4, 5)", std::nullopt}, TParseCase{"rgb(1 2 3 4)", std::nullopt},
    TParseCase{"rgb(1, 2 3)", std::nullopt}, TParseCase{"rgb(50%, 0, 0)", std::nullopt},
    TParseCase{"rgb(1, 2, 3, 1.5)", RGB(1, 2, 3)}, TParseCase{"rgb(1, 2, 3 / 0.5)", std::nullopt},
    TParseCase{"rgb(1 2 3 / )", std::nullopt}, TParseCase{"rgb(1,,2,3)", std::nullopt},
    TParseCase{"rgb(1.5, 2, 3)", RGB(2, 2, 3)}, TParseCase{"rgb (1, 2, 3)", std::nullopt},
    TParseCase{"rgb(1, 2, 3", std::nullopt}, TParseCase{"rgb(1, 2, 3))", std::nullopt},
    TParseCase{"rgb(1e2, 0, 0)", RGB(100, 0, 0)}, TParseCase{"cmyk(1, 2, 3)", std::nullopt},
    TParseCase{"hsl(210, 40%, 70%)", RGB(148, 179, 209)}, TParseCase{"hsl(210deg 40% 70%)", RGB(148, 179, 209)},
    TParseCase{"HSLA(210, 40%, 70%, 1)", RGB(148, 179, 209)}, TParseCase{"hsl(0, 100%, 50%)", RGB(255, 0, 0)},
    TParseCase{"hsl(120, 100%, 25%)", RGB(0, 128, 0)}, TParseCase{"hsl(360, 100%, 50%)", RGB(255, 0, 0)},
    TParseCase{"hsl(240 100% 50% / 20%)", RGB(0, 0, 255)}, TParseCase{"hsl(0, 0%, 100%)", RGB(255, 255, 255)},
    TParseCase{"hsl(361, 40%, 70%)", RGB(209, 149, 148)}, TParseCase{"hsl(-1, 40%, 70%)", RGB(209, 148, 149)},
    TParseCase{"hsl(210, 40, 70)", std::nullopt}, TParseCase{"hsl(210, 140%, 70%)", RGB(102, 179, 255)},
    TParseCase{"hsl(210%, 40%, 70%)", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(Names, ParseAnyColorTable, testing::Values(
    TParseCase{"aliceblue", RGB(0xF0, 0xF8, 0xFF)}, TParseCase{"RebeccaPurple", RGB(0x66, 0x33, 0x99)},
    TParseCase{"YELLOWGREEN", RGB(0x9A, 0xCD, 0x32)}, TParseCase{" Aqua ", clAqua}, TParseCase{"Gray", clGray},
    TParseCase{"grey", clGray}, TParseCase{"clAqua", clAqua}, TParseCase{"clRed", clRed},
    TParseCase{"CLWHITE", clWhite}, TParseCase{"clBlack", clBlack},
    TParseCase{"transparent", std::nullopt}, TParseCase{"clBtnFace", std::nullopt}, TParseCase{"clNone", std::nullopt},
    TParseCase{"reddish", std::nullopt}, TParseCase{"red blue", std::nullopt}, TParseCase{"red,", std::nullopt},
    TParseCase{"light blue", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(Constants, ParseAnyColorTable, testing::Values(
    TParseCase{"$00D1B598", Default}, TParseCase{"$00d1b598", Default}, TParseCase{"$D1B598", Default},
    TParseCase{"$01D1B598", 0x01D1B598}, TParseCase{"$02D1B598", 0x02D1B598},
    TParseCase{"$03D1B598", std::nullopt}, TParseCase{"$80000005", std::nullopt},
    TParseCase{"$0D1B598", std::nullopt}, TParseCase{"$D1B59", std::nullopt}, TParseCase{"$", std::nullopt},
    TParseCase{"$00D1B598$00D1B598", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(PovRay, ParseAnyColorTable, testing::Values(
    TParseCase{"rgb <0.596, 0.71, 0.82>", Default}, TParseCase{"srgb <0.596, 0.71, 0.82>", Default},
    TParseCase{"rgbf <0.596, 0.71, 0.82, 0>", Default}, TParseCase{"rgbt <0.596, 0.71, 0.82, 1>", Default},
    TParseCase{"srgbf <0.596, 0.71, 0.82, 0.5>", Default}, TParseCase{"srgbt <0.596, 0.71, 0.82, .>", Default},
    TParseCase{"pigment{ rgb <0.596, 0.71, 0.82> }", Default},
    TParseCase{"pigment { color srgbt <0.596,0.71,0.82,0> }", Default},
    TParseCase{"color rgb<0.596,0.71,0.82>", Default}, TParseCase{"colour srgb <0.596, 0.71, 0.82>", Default},
    TParseCase{"rgb <.5, .5, .5>", RGB(128, 128, 128)}, TParseCase{"rgb <1, 0, 0>", clRed},
    TParseCase{"rgb <1E-6, 0, 0>", 0}, TParseCase{"rgb <0.333333, 0, 0>", RGB(85, 0, 0)},
    TParseCase{"rgb <0.596, 0.71, 0.82, 0>", std::nullopt}, TParseCase{"rgbf <0.596, 0.71, 0.82>", std::nullopt},
    TParseCase{"rgb <2, 0, 0>", std::nullopt}, TParseCase{"rgb <-0.1, 0, 0>", std::nullopt},
    TParseCase{"rgb <0.5, 0.5>", std::nullopt}, TParseCase{"rgb <a, b, c>", std::nullopt},
    TParseCase{"rgb <1.2.3, 0, 0>", std::nullopt}, TParseCase{"rgb 0.5, 0.5, 0.5", std::nullopt},
    TParseCase{"<0.5, 0.5, 0.5>", std::nullopt}, TParseCase{"rgb <inf, 0, 0>", std::nullopt},
    TParseCase{"rgb <nan, 0, 0>", std::nullopt}, TParseCase{"rgbft <0, 0, 0, 0, 0>", std::nullopt},
    TParseCase{"RGB <1, 0, 0>", std::nullopt}, TParseCase{"pigment{ rgb <1, 0, 0>", std::nullopt},
    TParseCase{"pigment{ rgb <1, 0, 0> } pigment{ rgb <1, 0, 0> }", std::nullopt},
    TParseCase{"rgb <1, 0, 0> rgb <1, 0, 0>", std::nullopt}, TParseCase{"color color rgb <1, 0, 0>", std::nullopt},
    TParseCase{"pigmentrgb <1, 0, 0>", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(ThreeNumbers, ParseAnyColorTable, testing::Values(
    TParseCase{"152, 181, 209", Default}, TParseCase{"152,181,209", Default}, TParseCase{"152 181 209", Default},
    TParseCase{"152\t181\t209\n", Default}, TParseCase{"0.596, 0.71, 0.82", Default},
    TParseCase{"0.596 0.71 0.82", Default}, TParseCase{"1.0, 0, 0", clRed}, TParseCase{"0, 0, 0", 0},
    TParseCase{"255, 255, 255", clWhite}, TParseCase{"2, 1, 0", RGB(2, 1, 0)},
    TParseCase{"0, 0, 1", std::nullopt}, TParseCase{"1 1 1", std::nullopt},
    TParseCase{"152, 181, 209, 0", std::nullopt}, TParseCase{"256, 0, 0", std::nullopt},
    TParseCase{"-1, 0, 0", std::nullopt}, TParseCase{"0.5, 128, 0", std::nullopt},
    TParseCase{"1.5, 0, 0", std::nullopt}, TParseCase{"152, 181", std::nullopt},
    TParseCase{"152,,181,209", std::nullopt}, TParseCase{"152, 181 209", std::nullopt},
    TParseCase{"152;181;209", std::nullopt}, TParseCase{"152\n181\n209", std::nullopt},
    TParseCase{"1e2, 0, 0", std::nullopt}, TParseCase{"+1, 2, 3", std::nullopt},
    TParseCase{"0x10, 0, 0", std::nullopt}, TParseCase{"", std::nullopt}, TParseCase{" \t\n", std::nullopt}));

TEST(ParseAnyColor, ThereAre148CssNamesAndQtAgreesWithEveryOneItKnows)
{
    const auto names = CssColorNames();
    EXPECT_EQ(names.size(), 148u);
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LT(std::string_view(names[i - 1].name), std::string_view(names[i].name));
    for (const TCssName &n : names) {
        const QColor qt = QColor::fromString(QLatin1String(n.name));
        if (qt.isValid()) {
            EXPECT_EQ(qt.rgb() & 0xFFFFFF, n.rgb) << n.name;
        }
        const auto parsed = ParseAnyColor(QString::fromLatin1(n.name).toUpper());
        ASSERT_TRUE(parsed) << n.name;
        EXPECT_EQ(*parsed, RGB(n.rgb >> 16, (n.rgb >> 8) & 0xFF, n.rgb & 0xFF));
    }
}

// Every text a copy command can put on the clipboard, for one colour: the POV-Ray forms of a full
// rendering (with and without the wrapper and srgb, several filter values), the constant and the
// HTML fields, and the percent restore's forms of the percentages a rendering shows.
QStringList CopiedTexts(TColor c)
{
    QStringList texts;
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const TPovValues pov{FloatToStr(ChannelTenths(r) / 1000.0), FloatToStr(ChannelTenths(g) / 1000.0),
                         FloatToStr(ChannelTenths(b) / 1000.0)};
    const QString colorText = ColorToString(c);
    texts << colorText << ChangeColorF(colorText);
    if (colorText.startsWith(QLatin1String("cl")))
        texts << StandardColorHexText(colorText) << ChangeColorF(StandardColorHexText(colorText));
    for (bool pigment : {false, true})
        for (bool srgb : {false, true}) {
            texts << WithSrgb(PovNotation(QStringLiteral("rgb"), pov, {}, pigment), srgb);
            for (const char *filter : {"0", "1", "0.50", ".", "5.", ".5"}) {
                const QString f = FilterValueText(QString::fromLatin1(filter));
                texts << WithSrgb(PovNotation(QStringLiteral("rgbf"), pov, f, pigment), srgb)
                      << WithSrgb(PovNotation(QStringLiteral("rgbt"), pov, f, pigment), srgb);
            }
            const auto w = RestorePercent(FloatToStr(ChannelTenths(r) / 10.0), FloatToStr(ChannelTenths(g) / 10.0),
                                          FloatToStr(ChannelTenths(b) / 10.0), pigment);
            texts << WithSrgb(*w->PovEdit, srgb) << WithSrgb(*w->RgbfText, srgb);
        }
    return texts;
}

TEST(ParseAnyColor, EveryCopiedTextReadsBackAsItsColour)
{
    std::vector<TColor> colours = {0, Default, clWhite, RGB(128, 128, 128), RGB(7, 32, 45), RGB(1, 254, 127)};
    for (const auto &n : StandardColors)
        colours.push_back(n.value);
    for (int c = 0; c < 256; ++c)
        colours.push_back(RGB(c, 255 - c, (c * 7) % 256));
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int i = 0; i < 500; ++i)
        colours.push_back(RGB(channel(gen), channel(gen), channel(gen)));
    for (TColor c : colours)
        for (const QString &text : CopiedTexts(c)) {
            const auto parsed = ParseAnyColor(text);
            ASSERT_TRUE(parsed) << text.toStdString();
            EXPECT_EQ(*parsed, c) << text.toStdString();
        }
}

TEST(ParseAnyColor, NumbersReadTheSameUnderACommaLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(ParseAnyColor(u"rgb <0.596, 0.71, 0.82>"), Default);
    EXPECT_EQ(ParseAnyColor(u"0.596 0.71 0.82"), Default);
    EXPECT_EQ(ParseAnyColor(u"rgb(59.6%, 71%, 82%)"), Default);
    EXPECT_EQ(ParseAnyColor(u"0,596 0,71 0,82"), std::nullopt);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ParseAnyColor, HostileTextsNeverCrashAndHugeOnesAreRefused)
{
    for (const QString &text : AdversarialTexts(3000))
        (void)ParseAnyColor(text);
    const QString pad(400'000, QLatin1Char(' '));
    EXPECT_EQ(ParseAnyColor(pad + QStringLiteral("#98B5D1") + pad), Default); // blanks around do not count
    const QString hugePad(5'000'000, QLatin1Char(' '));
    EXPECT_EQ(ParseAnyColor(hugePad + QStringLiteral("#98B5D1") + hugePad), std::nullopt);
    EXPECT_EQ(ParseAnyColor(QString(10'000'000, QLatin1Char('1'))), std::nullopt);
    EXPECT_EQ(ParseAnyColor(QStringLiteral("#98B5D1") + QString(1000, QLatin1Char('0'))), std::nullopt);
    EXPECT_EQ(ParseAnyColor(QString::fromUtf16(u"＃98B5D1")), std::nullopt);
    EXPECT_EQ(ParseAnyColor(QString::fromUtf16(u"#98B5D1\u00A0")), Default);
    EXPECT_EQ(ParseAnyColor(QString(QChar(0)) + QStringLiteral("#98B5D1")), Default);
    EXPECT_EQ(ParseAnyColor(QStringLiteral("#98B5D1") + QChar(0) + QStringLiteral("1")), std::nullopt);
}

TEST(PovGamma, SrgbKeywordGoesBeforeTheKeywordInsideTheWrapper)
{
    EXPECT_EQ(WithSrgb(QStringLiteral("rgb <1, 0, 0>"), true), QStringLiteral("srgb <1, 0, 0>"));
    EXPECT_EQ(WithSrgb(QStringLiteral("pigment{ rgbf <1, 0, 0, 0> }"), true), QStringLiteral("pigment{ srgbf <1, 0, 0, 0> }"));
    EXPECT_EQ(WithSrgb(QStringLiteral("pigment{ rgbt <1, 0, 0, 0> }"), false), QStringLiteral("pigment{ rgbt <1, 0, 0, 0> }"));
}

} // namespace
