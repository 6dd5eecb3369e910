#include "framework/Colors.h"
#include "framework/Dispatch.h"
#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

TEST(RealText, WritesShortestDecimalOrScientificForm)
{
    const std::pair<double, const char *> rows[] = {
        {1, "1"},          {0.5, "0.5"},   {50.2, "50.2"},       {0, "0"},          {1e-7, "1E-7"},
        {1.5e20, "1.5E20"}, {0.596, "0.596"}, {0.71, "0.71"},    {0.00001, "0.00001"}, {-2.5, "-2.5"},
        {1e15, "1E15"},    {999999999999999.0, "999999999999999"}, {0.1 + 0.2, "0.3"}, {100, "100"},
        {-1.25e-9, "-1.25E-9"},
    };
    for (const auto &[value, text] : rows)
        EXPECT_EQ(FloatToStr(value), QString::fromLatin1(text)) << value;
}

TEST(RealText, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(2.4999), 2);
    EXPECT_EQ(RoundHalfAway(-0.4), 0);
}

TEST(NumberReading, AcceptsSignDigitsAndOnePoint)
{
    const std::pair<const char *, double> good[] = {
        {".", 0}, {".5", 0.5}, {"5.", 5}, {" 0.25 ", 0.25}, {"-1", -1}, {"+3.5", 3.5}, {"0.50", 0.5}, {"+.", 0},
    };
    for (const auto &[text, value] : good) {
        double v = -99;
        EXPECT_TRUE(TryReadFloat(QString::fromLatin1(text), v)) << text;
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    for (const char *bad : {"", " ", "1.2.3", "abc", "1e5", "--1", "1 2", "-", "+-1"}) {
        double v = 0;
        EXPECT_FALSE(TryReadFloat(QString::fromLatin1(bad), v)) << bad;
    }
    double fw = 0;
    EXPECT_FALSE(TryReadFloat(QStringLiteral("１"), fw)); // full-width digit
}

TEST(NumberReading, DigitsBeyondTheDoubleRangeGiveInfinityOrZero)
{
    double v = 0;
    ASSERT_TRUE(TryReadFloat(QString(400, QLatin1Char('9')), v));
    EXPECT_EQ(v, std::numeric_limits<double>::infinity());
    ASSERT_TRUE(TryReadFloat(QStringLiteral("-") + QString(400, QLatin1Char('9')) + QStringLiteral(".5"), v));
    EXPECT_EQ(v, -std::numeric_limits<double>::infinity());
    ASSERT_TRUE(TryReadFloat(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1"), v));
    EXPECT_EQ(v, 0.0);
}

// The locale runs (PIGMORA_TEST_LOCALE) only prove something if the C library really reads and
// writes a decimal comma there.
TEST(NumberLocale, LocaleRunIsInACommaLocale)
{
    if (qEnvironmentVariableIsEmpty("PIGMORA_TEST_LOCALE"))
        GTEST_SKIP() << "not a locale run";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 0.5);
    EXPECT_STREQ(buf, "0,5");
}

TEST(NumberReading, FailureCarriesTheJapaneseMessage)
{
    try {
        StrToFloat(QStringLiteral("1.2.3"));
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'1.2.3' は浮動小数点数ではありません"));
    }
    try {
        StrToInt(QStringLiteral("99999999999999999999"));
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'99999999999999999999' は整数ではありません"));
    }
}

TEST(IntegerRule, ReadsDecimalAndHexForms)
{
    const std::pair<const char *, std::int32_t> good[] = {
        {"-5", -5},          {" $1F", 31},      {"0x10", 16},         {"X10", 16},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"$FFFFFFFF", -1}, {"$00D1B598", 13743512},
        {"+7", 7},           {"$000000001", 1},
    };
    for (const auto &[text, value] : good) {
        std::int32_t v = 0;
        EXPECT_TRUE(TryReadInteger(QString::fromLatin1(text), v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char *bad : {"", "12abc", "2147483648", "$123456789", "1 ", "$", "0x", "- 1", "1.0", "$G"}) {
        std::int32_t v = 0;
        EXPECT_FALSE(TryReadInteger(QString::fromLatin1(bad), v)) << bad;
    }
    EXPECT_EQ(StrToIntDef(QStringLiteral("12abc"), 0), 0);
}

TEST(ColourText, NamesStandardThemeAndNoColour)
{
    EXPECT_EQ(ColorToString(clAqua), QStringLiteral("clAqua"));
    EXPECT_EQ(ColorToString(13743512), QStringLiteral("$00D1B598"));
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToString(clNone), QStringLiteral("clNone"));
    EXPECT_EQ(ColorToString(static_cast<TColor>(0x80000019)), QStringLiteral("$80000019"));
    EXPECT_EQ(StringToColor(QStringLiteral("CLAQUA")), clAqua);
    EXPECT_EQ(StringToColor(QStringLiteral("clinfobk")), clInfoBk);
    EXPECT_EQ(StringToColor(QStringLiteral("$00D1B598")), 13743512);
    TColor c = 0;
    EXPECT_FALSE(TryStringToColor(QStringLiteral("clPink"), c));
    EXPECT_EQ(ColorToRGB(0x02D1B598), 0xD1B598);
}

TEST(ErrorBox, AddsAFullStopOnlyAfterCharactersSortingAfterThePoint)
{
    EXPECT_EQ(WithFullStop(QStringLiteral("not change")), QStringLiteral("not change."));
    EXPECT_EQ(WithFullStop(QStringLiteral("done.")), QStringLiteral("done."));
    EXPECT_EQ(WithFullStop(QStringLiteral("what!")), QStringLiteral("what!"));
    EXPECT_EQ(WithFullStop(QString()), QString());

    TRecordingMessageSink sink;
    bool after = false;
    RunCommand(sink, [&] {
        throw EConvertError(QStringLiteral("'x' は整数ではありません"));
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(sink.Messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(sink.Messages[0].caption, QStringLiteral("Pigmora"));
    EXPECT_EQ(sink.Messages[0].text, QStringLiteral("'x' は整数ではありません."));
}

TEST(NumberReading, ReadsAndWritesThePointUnderADecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(StrToFloat(QStringLiteral("0.5")), 0.5);
    EXPECT_EQ(StrToFloat(QStringLiteral(" -12.25 ")), -12.25);
    EXPECT_EQ(StrToFloat(QStringLiteral("+.5")), 0.5);
    double v = 1;
    EXPECT_FALSE(TryReadFloat(QStringLiteral("0,5"), v));
    EXPECT_EQ(FloatToStr(50.2), QStringLiteral("50.2"));
    EXPECT_EQ(FloatToStr(1.5e-7), QStringLiteral("1.5E-7"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberReading, MoreDigitsThanADoubleHoldsReadAsHugeOrTiny)
{
    EXPECT_TRUE(std::isinf(StrToFloat(QString(400, QLatin1Char('9')))));
    EXPECT_EQ(StrToFloat(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1")), 0.0);
}
