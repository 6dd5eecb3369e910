#include "app/Restore.h"

#include "framework/Failure.h"

#include <gtest/gtest.h>

// ---- text tests and transformations ----------------------------------------------------------

struct TextTestRow {
    const char16_t *text;
    bool digit, digitHx, digitFL, dot, com;
};

class TextTests : public testing::TestWithParam<TextTestRow> {};

TEST_P(TextTests, ClassifyText)
{
    const TextTestRow &row = GetParam();
    const QString text = QString::fromUtf16(row.text);
    EXPECT_EQ(IsDigit(text), row.digit);
    EXPECT_EQ(IsDigitHx(text), row.digitHx);
    EXPECT_EQ(IsDigitFL(text), row.digitFL);
    EXPECT_EQ(IsDot(text), row.dot);
    EXPECT_EQ(IsCom(text), row.com);
}

INSTANTIATE_TEST_SUITE_P(Restore, TextTests,
                         testing::Values(TextTestRow{u"", true, true, true, true, true},
                                         TextTestRow{u"0123456789", true, true, true, true, true},
                                         TextTestRow{u"D1B598", false, true, false, true, true},
                                         TextTestRow{u"d1b598", false, false, false, true, true},
                                         TextTestRow{u"0.5, 0.5", false, false, true, false, false},
                                         TextTestRow{u"1.2.3", false, false, true, false, true},
                                         TextTestRow{u"-1", false, false, false, true, true},
                                         // Full-width and Arabic-Indic digits are no digits.
                                         TextTestRow{u"１２３", false, false, false, true, true},
                                         TextTestRow{u"\u0661\u0662", false, false, false, true, true},
                                         TextTestRow{u"\t5", false, false, false, true, true}));

TEST(Restore, TransformationsRemoveSpacesAddZerosAndSwapChannels)
{
    EXPECT_EQ(IsEmp(QStringLiteral(" 0.5 , 1 ")), QStringLiteral("0.5,1"));
    EXPECT_EQ(IsRe(QStringLiteral("<.5,.5,.5>")), QStringLiteral("<0.5,0.5,0.5>"));
    EXPECT_EQ(IsRe(QStringLiteral(".5,1.5")), QStringLiteral(".5,1.5"));
    EXPECT_EQ(ChangeColorD(QStringLiteral("98B5D1")), QStringLiteral("$00D1B598"));
    EXPECT_EQ(TrimLow(QString::fromUtf16(u"\t\n 5 0\u0001 ")), QStringLiteral("5 0"));
    EXPECT_EQ(TrimLow(QString::fromUtf16(u"\u3000" "5")), QString::fromUtf16(u"\u3000" "5"));
}

// ---- POV-Ray field ---------------------------------------------------------------------------

struct PovRow {
    const char *text;
    TColor color;
    const char *percent[3];
    const char *bytes[3];
};

class PovRestore : public testing::TestWithParam<PovRow> {};

TEST_P(PovRestore, RestoresColourAndWritesItsFields)
{
    const PovRow &row = GetParam();
    const auto w = RestorePov(QString::fromUtf8(row.text));
    ASSERT_TRUE(w.has_value());
    EXPECT_EQ(w->MyColor, row.color);
    EXPECT_EQ(*w->Edit1, row.percent[0]);
    EXPECT_EQ(*w->Edit2, row.percent[1]);
    EXPECT_EQ(*w->Edit3, row.percent[2]);
    EXPECT_EQ(*w->Edit6, row.bytes[0]);
    EXPECT_EQ(*w->Edit7, row.bytes[1]);
    EXPECT_EQ(*w->Edit8, row.bytes[2]);
    EXPECT_EQ(*w->Label7, QString::number(row.color));
    const QString hex = QStringLiteral("%1").arg(row.color, 6, 16, QLatin1Char('0')).toUpper();
    EXPECT_EQ(*w->Edit4, QStringLiteral("$00") + hex);
    EXPECT_EQ(*w->Edit5, QLatin1Char('#') + hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2));
    // The typed text, the colour text and the stored notations are left alone.
    EXPECT_FALSE(w->PovEdit);
    EXPECT_FALSE(w->ColorText);
    EXPECT_FALSE(w->RgbfText);
}

INSTANTIATE_TEST_SUITE_P(
    Restore, PovRestore,
    testing::Values(PovRow{"rgb <0, 0, 1>", 0xFF0000, {"0", "0", "100"}, {"0", "0", "255"}},
                    PovRow{"pigment{ rgbf <0.596, 0.71, 0.82, 0> }", 0xD1B598, {"59.6", "71", "82"}, {"152", "181", "209"}},
                    PovRow{"<0.5,0.5,0.5>", 0x808080, {"50", "50", "50"}, {"128", "128", "128"}},
                    PovRow{"<.5,.5,.5>", 0x808080, {"50", "50", "50"}, {"128", "128", "128"}},
                    PovRow{"<2,0,0>", 0x0000FF, {"100", "0", "0"}, {"255", "0", "0"}},
                    PovRow{"<0.1,0.2,>", 0x33331A, {"10", "20", "20"}, {"26", "51", "51"}},
                    PovRow{"rgbt <0.001, 0.0001,1.5>", 0xFF0000, {"0.1", "0.01", "100"}, {"0", "0", "255"}},
                    PovRow{"<99999999999999999999,0,0>", 0x0000FF, {"100", "0", "0"}, {"255", "0", "0"}},
                    // Tiny values keep their real text, scientific form included; only values
                    // above 100 % are capped.
                    PovRow{"<0.00000001,0.5,0.5>", 0x808000, {"1E-6", "50", "50"}, {"0", "128", "128"}},
                    PovRow{"<0.000000099,0.000001,0>", 0x000000, {"9.9E-6", "0.0001", "0"}, {"0", "0", "0"}},
                    PovRow{"<1.000000000000001,0,0>", 0x0000FF, {"100", "0", "0"}, {"255", "0", "0"}}));

TEST(Restore, PovFieldRejectsWithoutChange)
{
    for (const char *text : {"", "rgb 0.5, 0.5, 0.5", "<a,b,c>", "<1.2.3,0,0>", "<>", "> <1,0,0>", "<1,0,0",
                             "<-1,0,0>", "<1e3,0,0>", "<１,0,0>"})
        EXPECT_FALSE(RestorePov(QString::fromUtf8(text))) << text;
}

TEST(Restore, PovFieldWithFewerThanThreeValuesFailsOnEmptyText)
{
    for (const char *text : {"<0.5>", "<0.5,0.5>", "<,,>"}) {
        try {
            RestorePov(QString::fromUtf8(text));
            ADD_FAILURE() << text;
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("'' は浮動小数点数ではありません")) << text;
        }
    }
}

// ---- constant, HTML and 0-255 fields ---------------------------------------------------------

TEST(Restore, ConstantFieldAcceptsHighByteZeroToTwo)
{
    EXPECT_EQ(RestoreConstant(QStringLiteral("$00D1B598")), 0x00D1B598);
    EXPECT_EQ(RestoreConstant(QStringLiteral("$01D1B598")), 0x01D1B598);
    EXPECT_EQ(RestoreConstant(QStringLiteral("$02D1B598")), 0x02D1B598);
    for (const char *text : {"$00d1b598", "$03D1B598", "$0D1B598", "clAqua", "$10D1B598", " $00D1B598",
                             "$00D1B5980", "#00D1B598", ""})
        EXPECT_FALSE(RestoreConstant(QString::fromUtf8(text))) << text;
}

TEST(Restore, HtmlFieldSwapsRedAndBlue)
{
    EXPECT_EQ(RestoreHtml(QStringLiteral("#98B5D1")), 0xD1B598);
    EXPECT_EQ(RestoreHtml(QStringLiteral("#FFFFFF")), 0xFFFFFF);
    for (const char *text : {"#98b5d1", "98B5D1", "Aqua", "#98B5D", "#98B5D1 ", "#98B5DG"})
        EXPECT_FALSE(RestoreHtml(QString::fromUtf8(text))) << text;
}

TEST(Restore, ByteFieldsTakeEmptyAsZero)
{
    EXPECT_EQ(RestoreBytes(QStringLiteral("255"), QStringLiteral("0"), QString()), 0x0000FF);
    EXPECT_EQ(RestoreBytes(QStringLiteral("152"), QStringLiteral("181"), QStringLiteral("209")), 0xD1B598);
    EXPECT_EQ(RestoreBytes(QStringLiteral("000255"), QString(), QString()), 0x0000FF);
}

TEST(Restore, ByteFieldsRejectOutOfRangeSignsAndSpaces)
{
    for (const char *bad : {"256", "-1", " 1", "1 ", "+1", "1.0", "１"}) {
        const QString b = QString::fromUtf8(bad);
        EXPECT_FALSE(RestoreBytes(b, QStringLiteral("0"), QStringLiteral("0"))) << bad;
        EXPECT_FALSE(RestoreBytes(QStringLiteral("0"), b, QStringLiteral("0"))) << bad;
        EXPECT_FALSE(RestoreBytes(QStringLiteral("0"), QStringLiteral("0"), b)) << bad;
    }
}

TEST(Restore, ByteFieldTooLongForAnIntegerFails)
{
    try {
        RestoreBytes(QStringLiteral("99999999999999999999"), QString(), QString());
        ADD_FAILURE();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'99999999999999999999' は整数ではありません"));
    }
    // A field that fails first stops the command before the long one is read.
    EXPECT_FALSE(RestoreBytes(QStringLiteral("256"), QStringLiteral("99999999999999999999"), QString()));
}

// ---- percent fields --------------------------------------------------------------------------

TEST(Restore, PercentFieldsRenderPovAndRgbfWithZeroFilter)
{
    const auto w = RestorePercent(QStringLiteral("100.0"), QStringLiteral("50"), QStringLiteral("0"), false);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->MyColor, 0x0080FF);
    EXPECT_EQ(*w->PovEdit, QStringLiteral("rgb <1, 0.5, 0>"));
    EXPECT_EQ(*w->RgbfText, QStringLiteral("rgbf <1, 0.5, 0, 0>"));
    EXPECT_EQ(*w->Edit6, QStringLiteral("255"));
    EXPECT_EQ(*w->Edit7, QStringLiteral("128"));
    EXPECT_EQ(*w->Edit8, QStringLiteral("0"));
    EXPECT_EQ(*w->Edit4, QStringLiteral("$000080FF"));
    EXPECT_EQ(*w->ColorText, QStringLiteral("$000080FF"));
    EXPECT_EQ(*w->Edit5, QStringLiteral("#FF8000"));
    EXPECT_EQ(*w->Label7, QStringLiteral("33023"));
    // The percent fields keep what was typed.
    EXPECT_FALSE(w->Edit1);
    EXPECT_FALSE(w->Edit2);
    EXPECT_FALSE(w->Edit3);
}

TEST(Restore, PercentFieldsWithPigmentAndUnroundedFractions)
{
    const auto w = RestorePercent(QStringLiteral("33.3333"), QString(), QStringLiteral(" 100 "), true);
    ASSERT_TRUE(w);
    EXPECT_EQ(*w->PovEdit, QStringLiteral("pigment{ rgb <0.333333, 0, 1> }"));
    EXPECT_EQ(*w->RgbfText, QStringLiteral("pigment{ rgbf <0.333333, 0, 1, 0> }"));
    EXPECT_EQ(w->MyColor, 0xFF0055);
}

TEST(Restore, PercentFieldsRejectAboveHundredAndBadCharacters)
{
    for (const char *bad : {"100.1", "1.2.3", "-5", "abc", "50%", "１０"}) {
        const QString b = QString::fromUtf8(bad);
        EXPECT_FALSE(RestorePercent(b, QStringLiteral("0"), QStringLiteral("0"), false)) << bad;
        EXPECT_FALSE(RestorePercent(QStringLiteral("0"), b, QStringLiteral("0"), false)) << bad;
        EXPECT_FALSE(RestorePercent(QStringLiteral("0"), QStringLiteral("0"), b, false)) << bad;
    }
    EXPECT_EQ(PercentFieldText(QString()), QStringLiteral("0"));
    EXPECT_EQ(PercentFieldText(QStringLiteral(" ")), QStringLiteral(" "));
}

TEST(Restore, PercentFieldWithInnerCommaOrSpaceFailsToRead)
{
    for (const char *text : {"5,0", "1 2"}) {
        try {
            RestorePercent(QStringLiteral("0"), QString::fromUtf8(text), QStringLiteral("0"), false);
            ADD_FAILURE() << text;
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("'%1' は浮動小数点数ではありません").arg(QString::fromUtf8(text)));
        }
    }
}
