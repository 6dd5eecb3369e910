#include "colour/ColourHistory.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

TExactColour Read(const char *text)
{
    const auto reading = ReadExactColour(QString::fromLatin1(text));
    EXPECT_TRUE(reading) << text;
    return reading ? reading->Colour : TExactColour{};
}

const TRgb8 Bluish{0x98, 0xB5, 0xD1};

TExactColour Bytes(int r, int g, int b) { return TExactColour::FromRgb8({r, g, b}); }

TEST(StoredColourText, BytesStayHexAndAnyOtherColourIsItsCssTextAndReadsBack)
{
    EXPECT_EQ(StoredColourText(TExactColour::FromRgb8(Bluish)), QStringLiteral("#98B5D1"));
    EXPECT_EQ(ReadStoredColour(u"#98B5D1"), TExactColour::FromRgb8(Bluish));
    EXPECT_EQ(ReadStoredColour(u" #98b5d1 "), TExactColour::FromRgb8(Bluish));
    for (const char *text : {"oklch(0.7 0.25 30)", "color(display-p3 1 0 0)", "lab(50 20 -30)", "rgb(10 20 30 / 0.5)"}) {
        const TExactColour c = Read(text);
        const QString stored = StoredColourText(c);
        EXPECT_FALSE(stored.startsWith(QLatin1Char('#'))) << text;
        EXPECT_EQ(ReadStoredColour(stored), c) << text << " stored as " << stored.toStdString();
    }
    for (const char16_t *garbage : {u"", u"   ", u"#98B5D", u"#98B5DG", u"oklch(", u"no colour", u"#98B5D1,#000000"})
        EXPECT_EQ(ReadStoredColour(garbage), std::nullopt) << QString::fromUtf16(garbage).toStdString();
    EXPECT_EQ(ReadStoredColour(QString(100'000, QLatin1Char('('))), std::nullopt);
}

TEST(ColourHistory, EightBitColoursKeepTheOldTextAndExactOnesComeBackAsThemselves)
{
    TColourHistory h;
    h.Add(TExactColour::FromRgb8({255, 0, 0}));
    h.Add(TExactColour::FromRgb8({0, 255, 0}));
    EXPECT_EQ(h.Text(), QStringLiteral("#00FF00,#FF0000"));
    const TExactColour p3 = Read("color(display-p3 1 0 0)");
    const TExactColour half = Read("rgb(10 20 30 / 50%)");
    h.Add(p3);
    h.Add(half);
    const TColourHistory back = TColourHistory::FromText(h.Text());
    EXPECT_EQ(back.Colours(), h.Colours());
    EXPECT_FALSE(h.Add(half)) << "in front already";
    h.Add(p3);
    EXPECT_EQ(h.Colours().front(), p3);
    EXPECT_EQ(h.Colours().size(), 4u) << "a colour held moves to the front, once";

    // A colour and its own 8-bit fallback are two colours.
    const TExactColour outside = Read("oklch(0.7 0.25 30)");
    h.Add(outside);
    h.Add(TExactColour::FromRgb8(outside.Rgb8()));
    EXPECT_EQ(h.Colours().size(), 6u);
}

TEST(ColourHistory, GarbageIsSkippedAndNoMoreThanTheLimitIsRead)
{
    const TColourHistory h = TColourHistory::FromText(
        QStringLiteral("#00FF00, junk ,oklch(0.5 0.1 250),,color(display-p3 1 0,#ZZZZZZ,#FF0000"));
    ASSERT_EQ(h.Colours().size(), 3u);
    EXPECT_EQ(h.Colours()[0], TExactColour::FromRgb8({0, 255, 0}));
    EXPECT_EQ(h.Colours()[1], Read("oklch(0.5 0.1 250)"));
    QStringList many;
    for (int i = 0; i < 100; ++i)
        many << QStringLiteral("#%1").arg(i, 6, 16, QLatin1Char('0'));
    EXPECT_EQ(TColourHistory::FromText(many.join(QLatin1Char(','))).Colours().size(), size_t(TColourHistory::Limit));
    EXPECT_TRUE(TColourHistory::FromText(QString(5'000'000, QLatin1Char(','))).Colours().empty());
}

TEST(ColourHistory, NewestFirstEachOnceAtMostThirtyTwo)
{
    TColourHistory h;
    EXPECT_TRUE(h.Add(Bytes(1, 2, 3)));
    EXPECT_TRUE(h.Add(Bytes(4, 5, 6)));
    EXPECT_FALSE(h.Add(Bytes(4, 5, 6)));
    EXPECT_TRUE(h.Add(Bytes(1, 2, 3)));
    EXPECT_EQ(h.Colours(), (std::vector<TExactColour>{Bytes(1, 2, 3), Bytes(4, 5, 6)}));
    for (int i = 0; i < 40; ++i)
        h.Add(Bytes(i, i, 100));
    ASSERT_EQ(h.Colours().size(), 32u);
    EXPECT_EQ(h.Colours().front(), Bytes(39, 39, 100));
    EXPECT_EQ(h.Colours().back(), Bytes(8, 8, 100));
    EXPECT_EQ(TColourHistory::FromText(h.Text()).Colours(), h.Colours());
}

TEST(ColourHistory, StoredTextIsReadForgivingly)
{
    EXPECT_EQ(TColourHistory::FromText(QStringLiteral("#98B5D1,#000000")).Text(), QStringLiteral("#98B5D1,#000000"));
    EXPECT_EQ(TColourHistory::FromText(QStringLiteral("#98b5d1, junk,#12345,#+12345,#98B5D1,#FFFFFF")).Text(),
              QStringLiteral("#98B5D1,#FFFFFF"));
    EXPECT_TRUE(TColourHistory::FromText(QString(2'000'000, QLatin1Char('#'))).Colours().empty());
    QString many;
    for (int i = 0; i < 100; ++i)
        many += QStringLiteral("#0000%1,").arg(i, 2, 16, QLatin1Char('0'));
    EXPECT_EQ(TColourHistory::FromText(many).Colours().size(), 32u);
}

} // namespace
