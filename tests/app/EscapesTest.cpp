#include "app/Escapes.h"

#include <gtest/gtest.h>

#include <random>

namespace {
// As written, a leading U+FEFF included (QString::fromUtf16 would take it for a byte-order mark).
QString U(const char16_t *text) { return QStringView(text).toString(); }
} // namespace

struct EscapeRow {
    const char16_t *text;
    const char16_t *escapes;
};

class Escapes : public testing::TestWithParam<EscapeRow> {};

TEST_P(Escapes, TextToEscapesAndBack)
{
    const EscapeRow &row = GetParam();
    EXPECT_EQ(TextToPovEscapes(U(row.text)), U(row.escapes));
    EXPECT_EQ(ChangeDelHex(U(row.escapes)), U(row.text));
}

INSTANTIATE_TEST_SUITE_P(Escapes, Escapes,
                         testing::Values(EscapeRow{u"", u""}, EscapeRow{u"あ", u"\\u3042"},
                                         EscapeRow{u"漢字", u"\\u6F22\\u5B57"}, EscapeRow{u"A", u"\\u0041"},
                                         EscapeRow{u"ｱ", u"\\uFF71"},
                                         // Outside the Basic Multilingual Plane: one escape per surrogate.
                                         EscapeRow{u"😀", u"\\uD83D\\uDE00"},
                                         EscapeRow{u"a😀b𠮷", u"\\u0061\\uD83D\\uDE00\\u0062\\uD842\\uDFB7"},
                                         // A leading byte-order mark is a character like any other.
                                         EscapeRow{u"\uFEFFあ", u"\\uFEFF\\u3042"},
                                         EscapeRow{u"\uFEFF\uFEFF", u"\\uFEFF\\uFEFF"},
                                         EscapeRow{u"\uFFFE\uFFFF\u0001", u"\\uFFFE\\uFFFF\\u0001"}));

TEST(Escapes, CharacterSetOfEscapeText)
{
    EXPECT_TRUE(IsPovHx(QString()));
    EXPECT_TRUE(IsPovHx(QStringLiteral("\\u6F22\\u5B57")));
    EXPECT_TRUE(IsPovHx(QStringLiteral("uuu\\\\0189ABCDEF")));
    for (const char16_t *bad : {u"\\u6f22", u"\\U6F22", u"\\u6F22 ", u"\\u6F22\n", u"\\u６F22", u"G"})
        EXPECT_FALSE(IsPovHx(U(bad)));
}

TEST(Escapes, LengthNotMultipleOfSixGivesEmptyText)
{
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\u6F22\\u5B5")), QString());
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\u6F22\\u5B577")), QString());
}

TEST(Escapes, GroupThatIsNoNumberGivesCodeUnit3E8)
{
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\u\\u41")), QString(QChar(0x3E8)) + QChar(0x41));
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uuuuu")), QString(QChar(0x3E8)));
    // A "\u" at the very end has no digits after it.
    EXPECT_EQ(ChangeDelHex(QStringLiteral("0041\\u")), QString(QChar(0x3E8)));
    // Text between escapes is skipped; a short group at the end reads what is there.
    EXPECT_EQ(ChangeDelHex(QStringLiteral("AAA\\uA")), QString(QChar(0xA)));
    EXPECT_EQ(ChangeDelHex(QStringLiteral("ABCDEF")), QString());
}

TEST(Escapes, SurrogateWithoutPartnerGivesQuestionMark)
{
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uD83D")), QStringLiteral("?"));
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uDE00")), QStringLiteral("?"));
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uDE00\\uD83D")), QStringLiteral("??"));
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uD83D\\u0041")), QStringLiteral("?A"));
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uD83D\\uD83D\\uDE00")), U(u"?😀"));
    // Not directly followed: something stands between the halves.
    EXPECT_EQ(ChangeDelHex(QStringLiteral("\\uD83DAAAAAA\\uDE00")), QStringLiteral("??"));
}

TEST(Escapes, PlatformRoundTripKeepsValidTextAndReplacesLoneSurrogates)
{
    EXPECT_EQ(PlatformRoundTrip(U(u"漢字😀")), U(u"漢字😀"));
    EXPECT_EQ(PlatformRoundTrip(U(u"\uFEFF漢字")), U(u"\uFEFF漢字"));
    EXPECT_NE(PlatformRoundTrip(QString(QChar(0xD800))), QString(QChar(0xD800)));
}

TEST(Escapes, EveryCodeUnitOutsideTheSurrogatesRoundTripsAlone)
{
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        if (QChar::isSurrogate(u))
            continue;
        const QString text(QChar(static_cast<char16_t>(u)));
        ASSERT_EQ(ChangeDelHex(TextToPovEscapes(text)), text) << std::hex << static_cast<unsigned>(u);
        ASSERT_EQ(PlatformRoundTrip(text), text) << std::hex << static_cast<unsigned>(u);
    }
}

TEST(Escapes, GeneratedTextsRoundTrip)
{
    std::mt19937 gen(20240611);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    std::uniform_int_distribution<int> astral(0x10000, 0x10FFFF);
    std::bernoulli_distribution wantAstral(0.05);
    for (int n = 0; n < 3000; ++n) {
        QString text;
        const int len = length(gen);
        for (int i = 0; i < len; ++i) {
            if (wantAstral(gen)) {
                const char32_t c = static_cast<char32_t>(astral(gen));
                text += QString::fromUcs4(&c, 1);
                continue;
            }
            int u = unit(gen);
            while (QChar::isSurrogate(static_cast<char32_t>(u)))
                u = unit(gen);
            text += QChar(static_cast<char16_t>(u));
        }
        const QString escapes = TextToPovEscapes(text);
        ASSERT_EQ(escapes.size(), text.size() * 6);
        ASSERT_TRUE(IsPovHx(escapes));
        ASSERT_EQ(ChangeDelHex(escapes), text) << escapes.toStdString();
    }
}
