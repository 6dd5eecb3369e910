#include "colour/AnyColor.h"
#include "colour/Notations.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

constexpr TRgb8 Default{152, 181, 209};

std::string Text(TNotationKind kind, const TRgb8 &rgb) { return WriteNotation(kind, rgb).Text.toStdString(); }

TEST(Notations, EveryRowOfTheDefaultColour)
{
    const std::vector<TNotationRow> rows = WriteNotations(Default);
    QStringList texts;
    for (const TNotationRow &row : rows)
        texts << row.Text;
    EXPECT_EQ(texts, (QStringList{
        "#98b5d1", "rgb(152 181 209)", "hsl(209 38% 70.8%)", "hwb(209 59.6% 18%)", "lab(72.2 -5.4 -17.7)",
        "lch(72.2 18.5 253)", "oklab(0.76 -0.0196 -0.0475)", "oklch(0.76 0.0514 248)",
        "color(display-p3 0.618 0.706 0.81)", "color(srgb-linear 0.314 0.46 0.64)",
        "color(srgb 0.596078 0.709804 0.819608)", "color(rec2020 0.665831 0.719519 0.817661)",
        "color(a98-rgb 0.625372 0.703952 0.810728)", "color(prophoto-rgb 0.608021 0.643654 0.760896)",
        "color(xyz-d65 0.409792 0.443259 0.667203)", "color(xyz-d50 0.406116 0.439768 0.504539)", "0.314, 0.46, 0.64",
        "0.596, 0.71, 0.82", "vec3(0.596, 0.71, 0.82)", "QColor(152, 181, 209)", "Qt.rgba(0.596, 0.71, 0.82, 1)",
        "0xFF98B5D1", "\\definecolor{pigmora}{HTML}{98B5D1}", "lightsteelblue"}));
    EXPECT_EQ(rows.back().Caption, QString::fromUtf8("Nearest CSS name (\u0394EOK 0.0537)"));
    EXPECT_EQ(rows.size(), NotationInfos().size());
}

TEST(Notations, GreysHaveNoHueAndWholeFractionsReadAsFractions)
{
    const TRgb8 grey{128, 128, 128};
    EXPECT_EQ(Text(TNotationKind::Hsl, grey), "hsl(none 0% 50%)");
    EXPECT_EQ(Text(TNotationKind::Hwb, grey), "hwb(none 50% 50%)");
    EXPECT_EQ(Text(TNotationKind::Oklch, grey), "oklch(0.6 0 none)");
    EXPECT_EQ(Text(TNotationKind::Lch, {0, 0, 0}), "lch(0 0 none)");
    const TRgb8 red{255, 0, 0};
    EXPECT_EQ(Text(TNotationKind::Floats, red), "1.0, 0.0, 0.0");
    EXPECT_EQ(Text(TNotationKind::Glsl, red), "vec3(1.0, 0.0, 0.0)");
    EXPECT_EQ(Text(TNotationKind::Qml, red), "Qt.rgba(1, 0, 0, 1)");
    EXPECT_EQ(ParseAnyColor(QString::fromStdString(Text(TNotationKind::Floats, red))), clRed);
}

TEST(Notations, NamesAreExactFirstInOrderElseTheNearestByDeltaEOK)
{
    EXPECT_STREQ(NearestCssName({0, 255, 255}).Name, "aqua"); // before "cyan"
    EXPECT_EQ(NearestCssName({0, 255, 255}).Distance, 0);
    EXPECT_EQ(WriteNotation(TNotationKind::Name, {128, 128, 128}).Caption, QStringLiteral("CSS name"));
    const TNearestName near = NearestCssName({254, 0, 0});
    EXPECT_STREQ(near.Name, "red");
    EXPECT_GT(near.Distance, 0);
    EXPECT_LT(near.Distance, 0.01);
}

TEST(Notations, NumbersAreTheSameUnderACommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(Text(TNotationKind::Oklch, Default), "oklch(0.76 0.0514 248)");
    EXPECT_EQ(ParseAnyColor(u"oklch(0.76 0.0514 248)"), RGB(152, 181, 209));
    std::setlocale(LC_ALL, saved.c_str());
}

// The colours of the sweep, split into shards that run side by side: every grey, every colour
// with a channel at 0 or 255 (where rounding is likeliest to leave sRGB), and every 25th colour
// of the rest; 1,045,878 colours in all.
constexpr int Shards = 4;

bool InSample(unsigned index)
{
    const int r = index & 0xFF, g = (index >> 8) & 0xFF, b = index >> 16;
    const auto extreme = [](int c) { return c == 0 || c == 255; };
    return (r == g && g == b) || extreme(r) || extreme(g) || extreme(b) || index % 25 == 0;
}

class NotationSweep : public testing::TestWithParam<int> {};

// Every row of every sampled colour reads back, through the paste's own reading, as the same
// 8-bit colour and not as one mapped into sRGB. The linear row reads as linear values through
// color(srgb-linear ...) (a bare triple of 0-1 numbers is sRGB to the paste); the nearest-name
// row names another colour by design.
TEST_P(NotationSweep, EveryRowReadsBackAsTheSameColour)
{
    int sampled = 0, failures = 0;
    for (unsigned index = static_cast<unsigned>(GetParam()); index < (1u << 24); index += Shards) {
        if (!InSample(index))
            continue;
        ++sampled;
        const TRgb8 rgb{static_cast<int>(index & 0xFF), static_cast<int>((index >> 8) & 0xFF), static_cast<int>(index >> 16)};
        const TColor expected = RGB(rgb.R, rgb.G, rgb.B);
        for (const TNotationRow &row : WriteNotations(rgb)) {
            QString text = row.Text;
            if (row.Kind == TNotationKind::Name && row.Caption != QLatin1String("CSS name"))
                continue;
            if (row.Kind == TNotationKind::Linear)
                text = QStringLiteral("color(srgb-linear %1)").arg(text.remove(QLatin1Char(',')));
            const auto read = ReadAnyColor(text);
            if (!read || read->Mapped || read->Color != expected) {
                ADD_FAILURE() << text.toStdString() << " for " << rgb.R << ',' << rgb.G << ',' << rgb.B;
                if (++failures > 10)
                    return;
            }
        }
    }
    EXPECT_GT(sampled, 230000);
}

INSTANTIATE_TEST_SUITE_P(Shards, NotationSweep, testing::Range(0, Shards));

} // namespace
