#include "app/Notations.h"
#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <set>

TEST(Notations, TwoStepRoundingDiffersFromDirectRoundingOnFifteenChannels)
{
    const std::set<int> expected = {7, 32, 45, 58, 83, 96, 109, 134, 147, 160, 185, 198, 211, 236, 249};
    std::set<int> differing;
    for (int c = 0; c < 256; ++c) {
        const int direct = static_cast<int>(RoundHalfAway(c * 1000.0 / 255.0));
        const int twoStep = ChannelTenths(c);
        if (twoStep != direct) {
            EXPECT_EQ(twoStep, direct + 1) << c;
            differing.insert(c);
        }
        EXPECT_GE(twoStep, 0);
        EXPECT_LE(twoStep, 1000);
    }
    EXPECT_EQ(differing, expected);
    EXPECT_EQ(FloatToStr(ChannelTenths(7) / 1000.0), QStringLiteral("0.028"));
    EXPECT_EQ(FloatToStr(ChannelTenths(128) / 10.0), QStringLiteral("50.2"));
    EXPECT_EQ(ChannelTenths(255), 1000);
}

TEST(Notations, HtmlTextOfColourTexts)
{
    EXPECT_EQ(ChangeColorF(QStringLiteral("$00D1B598")), QStringLiteral("#98B5D1"));
    EXPECT_EQ(ChangeColorF(QStringLiteral("clAqua")), QStringLiteral("Aqua"));
    EXPECT_EQ(ChangeColorF(QStringLiteral("clBlack")), QStringLiteral("Black"));
    EXPECT_EQ(ChangeColorF(QStringLiteral("clBtnFace")), QStringLiteral("windows system"));
    EXPECT_EQ(ChangeColorF(QStringLiteral("clNone")), QStringLiteral("windows system"));
    EXPECT_EQ(ChangeColorF(QStringLiteral("$02D1B598")), QStringLiteral("#98B5D1"));
    EXPECT_EQ(StandardColorHexText(QStringLiteral("clSilver")), QStringLiteral("$00C0C0C0"));
    EXPECT_EQ(StandardColorHexText(QStringLiteral("clMenu")), QString());
}

TEST(Notations, HexToIntReadsEitherCaseAndRejectsTheRest)
{
    EXPECT_EQ(HexToInt(QStringLiteral("98")), 0x98);
    EXPECT_EQ(HexToInt(QStringLiteral("ff")), 255);
    for (const char *bad : {"", "G1", " 1", "-1"}) {
        try {
            HexToInt(QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("not change"));
        }
    }
}

struct FilterRow {
    const char *typed;
    const char *value; // nullptr: the reading fails
};

class FilterValue : public testing::TestWithParam<FilterRow> {};

TEST_P(FilterValue, FollowsTheFilterRules)
{
    const FilterRow row = GetParam();
    if (!row.value) {
        EXPECT_THROW(FilterValueText(QString::fromLatin1(row.typed)), EConvertError);
        return;
    }
    EXPECT_EQ(FilterValueText(QString::fromUtf8(row.typed)), QString::fromUtf8(row.value));
}

INSTANTIATE_TEST_SUITE_P(Texts, FilterValue,
                         testing::Values(FilterRow{"2", "1"}, FilterRow{"0", "0"}, FilterRow{"abc", "0"},
                                         FilterRow{"0.50", "0.50"}, FilterRow{"1.0", "1.0"}, FilterRow{".5", ".5"},
                                         FilterRow{".", "."}, FilterRow{"1.2.3", nullptr}, FilterRow{"..", nullptr},
                                         FilterRow{"-0.5", "0"}, FilterRow{" 0.5", "0"}, FilterRow{"１", "0"},
                                         FilterRow{"1.0000001", "1"}),
                         [](const auto &info) { return "Row" + std::to_string(info.index); });

TEST(Notations, PovNotationWithAndWithoutWrapper)
{
    const TPovValues v{QStringLiteral("0.596"), QStringLiteral("0.71"), QStringLiteral("0.82")};
    EXPECT_EQ(PovNotation(QStringLiteral("rgb"), v, {}, false), QStringLiteral("rgb <0.596, 0.71, 0.82>"));
    EXPECT_EQ(PovNotation(QStringLiteral("rgbf"), v, QStringLiteral("0"), true),
              QStringLiteral("pigment{ rgbf <0.596, 0.71, 0.82, 0> }"));
}

TEST(Notations, ThousandsOfGeneratedFilterTextsNeverCrash)
{
    const QString alphabet = QStringLiteral("0123456789..-+ eE１a\u3042");
    quint32 seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < 4000; ++i) {
        QString text;
        const int len = static_cast<int>(next() % 24);
        for (int k = 0; k < len; ++k)
            text += alphabet[static_cast<int>(next() % alphabet.size())];
        try {
            const QString out = FilterValueText(text);
            EXPECT_TRUE(out == QStringLiteral("0") || out == QStringLiteral("1") || out == text) << text.toStdString();
        } catch (const EConvertError &) {
        }
    }
    EXPECT_EQ(FilterValueText(QString(10000, QLatin1Char('9'))), QStringLiteral("1"));
    EXPECT_EQ(FilterValueText(QStringLiteral("0.") + QString(10000, QLatin1Char('0'))), QStringLiteral("0.") + QString(10000, QLatin1Char('0')));
}
