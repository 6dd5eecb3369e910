#include "app/ColourState.h"
#include "app/NotationsWindow.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

TExactColour Read(const char *text)
{
    const auto reading = ReadExactColour(QString::fromLatin1(text));
    EXPECT_TRUE(reading) << text;
    return reading ? reading->Colour : TExactColour{};
}

const TRgb8 Bluish{0x98, 0xB5, 0xD1};

class ColourStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        state.Start(TExactColour::FromRgb8(Bluish));
        state.Render = [this](TColor c) {
            rendered.push_back(c);
            // As the main window does: its rendering comes back.
            state.Follow({GetRValue(c), GetGValue(c), GetBValue(c)});
        };
    }
    TColourState state;
    std::vector<TColor> rendered;
};

TEST_F(ColourStateTest, ATextSetsTheExactColourAndRendersItsFallbackSignallingOnce)
{
    QSignalSpy colour(&state, &TColourState::ColourChanged), history(&state, &TColourState::HistoryChanged);
    const TExactColour outside = Read("oklch(0.7 0.25 30)");
    state.Take(outside);
    EXPECT_EQ(state.Exact(), outside) << "the rendering of its own fallback keeps it";
    EXPECT_EQ(state.Rgb8(), (TRgb8{0xFF, 0x58, 0x43}));
    EXPECT_TRUE(state.OutsideSrgb());
    EXPECT_EQ(rendered, std::vector<TColor>{RGB(0xFF, 0x58, 0x43)});
    EXPECT_EQ(colour.count(), 1);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(state.History().Colours(), (std::vector<TExactColour>{outside, TExactColour::FromRgb8(Bluish)}));

    // The switches and "repre" render the same 8 bits again: nothing changes.
    state.Follow({0xFF, 0x58, 0x43});
    EXPECT_EQ(state.Exact(), outside);
    EXPECT_EQ(colour.count(), 1);

    // 8 bits from the main window's own commands make the exact colour those bytes.
    state.Follow({1, 2, 3});
    EXPECT_EQ(state.Exact(), TExactColour::FromRgb8({1, 2, 3}));
    EXPECT_FALSE(state.OutsideSrgb());
    EXPECT_EQ(colour.count(), 2);
}

TEST_F(ColourStateTest, TheExactColourIsStoredOnlyWhenItSaysMoreThanItsBytes)
{
    EXPECT_EQ(state.ExactToStore(), std::nullopt);
    state.Take(Read("oklch(0.5 0.1 250)"));
    ASSERT_TRUE(state.ExactToStore());
    const QString text = *state.ExactToStore();

    TColourState next;
    next.Start(TExactColour::FromRgb8(state.Rgb8()));
    const TRgb8 rgb = state.Rgb8();
    EXPECT_FALSE(next.RestoreExact(text, RGB(rgb.R, rgb.G, rgb.B ^ 1))) << "8 bits changed by hand win";
    EXPECT_EQ(next.Exact(), TExactColour::FromRgb8(rgb));
    for (const char *garbage : {"", "garbage", "oklch(0.5 0.1", "#98B5D1#"})
        EXPECT_FALSE(next.RestoreExact(QString::fromLatin1(garbage), RGB(rgb.R, rgb.G, rgb.B))) << garbage;
    EXPECT_TRUE(next.RestoreExact(text, RGB(rgb.R, rgb.G, rgb.B)));
    EXPECT_EQ(next.Exact(), state.Exact());
    EXPECT_TRUE(next.History().Colours().empty()) << "the start colour enters the history only when replaced";
}

TEST_F(ColourStateTest, HistoryAndComparisonAreStoredOnceTheyHoldSomething)
{
    EXPECT_EQ(state.HistoryToStore(), std::nullopt);
    EXPECT_EQ(state.ComparisonToStore(), std::nullopt);
    state.LoadComparison(QStringLiteral("#FFFFFF"));
    EXPECT_EQ(state.ComparisonToStore(), std::nullopt);
    state.LoadComparison(QStringLiteral("#C08040"));
    EXPECT_EQ(state.Comparison(), TExactColour::FromRgb8({0xC0, 0x80, 0x40}));
    state.LoadComparison(QStringLiteral("garbage"));
    EXPECT_EQ(state.ComparisonToStore(), std::nullopt);
    QSignalSpy comparison(&state, &TColourState::ComparisonChanged);
    state.SetComparison(TExactColour::FromRgb8({1, 2, 3}));
    EXPECT_EQ(comparison.count(), 1);
    EXPECT_EQ(state.ComparisonToStore(), QStringLiteral("#010203"));
    // Any other colour is kept exactly, as its CSS text in the same key.
    const TExactColour p3 = ReadExactColour(u"color(display-p3 1 0 0 / 0.5)")->Colour;
    state.SetComparison(p3);
    EXPECT_EQ(state.ComparisonToStore(), QStringLiteral("color(display-p3 1 0 0 / 0.5)"));
    TColourState restarted;
    restarted.LoadComparison(*state.ComparisonToStore());
    EXPECT_EQ(restarted.Comparison(), p3);

    state.LoadHistory(QString());
    state.Take(TExactColour::FromRgb8({0, 0, 255}));
    EXPECT_EQ(state.HistoryToStore(), QStringLiteral("#0000FF,#98B5D1"));
    state.ClearHistory();
    EXPECT_EQ(state.HistoryToStore(), QString()) << "a cleared history is stored empty";
}

TEST(AlphaText, ReadsZeroToOneOrAPercentageClampedAndWritesBack)
{
    struct TCase {
        const char16_t *Text;
        std::optional<double> Alpha;
    } cases[] = {{u"0.5", 0.5},    {u"50%", 0.5},  {u" 1 ", 1.0},  {u".25", 0.25}, {u"0", 0.0},   {u"2", 1.0},
                 {u"-1", 0.0},     {u"150%", 1.0}, {u"12.5%", 0.125},
                 {u"", {}},        {u"abc", {}},   {u"0,5", {}},   {u"1e2", {}},   {u"inf", {}},  {u"nan", {}},
                 {u"50 %", {}},    {u"%", {}},     {u"0.5%%", {}}};
    for (const TCase &c : cases) {
        const auto got = ReadAlphaText(c.Text);
        ASSERT_EQ(got.has_value(), c.Alpha.has_value()) << QString::fromUtf16(c.Text).toStdString();
        if (got) {
            EXPECT_DOUBLE_EQ(got->Alpha, *c.Alpha) << QString::fromUtf16(c.Text).toStdString();
        }
    }
    EXPECT_TRUE(ReadAlphaText(u"none")->Missing);
    TExactColour c = TExactColour::FromRgb8(Bluish);
    EXPECT_EQ(AlphaText(c), QStringLiteral("1"));
    c.Alpha = 0.123456789;
    EXPECT_EQ(AlphaText(c), QStringLiteral("0.123457"));
    c.Missing[3] = true;
    EXPECT_EQ(AlphaText(c), QStringLiteral("none"));
}

} // namespace

namespace {

TEST_F(ColourStateTest, AMoveShowsEachStepAndEntersTheHistoryOnceWhenItSettles)
{
    QSignalSpy colour(&state, &TColourState::ColourChanged), history(&state, &TColourState::HistoryChanged);
    const TExactColour start = state.Exact();
    const TExactColour step1 = Read("oklch(0.6 0.1 200)"), step2 = Read("oklch(0.61 0.1 200)");
    state.Preview(step1);
    state.Preview(step2);
    EXPECT_EQ(state.Exact(), step2) << "the rendering of its own 8 bits keeps the exact colour";
    EXPECT_EQ(colour.count(), 2);
    EXPECT_EQ(rendered.size(), 2u);
    EXPECT_EQ(history.count(), 0);
    EXPECT_TRUE(state.History().Colours().empty());
    // Another alpha only: the same 8 bits are not rendered again (the main window keeps its texts).
    TExactColour translucent = step2;
    translucent.Alpha = 0.5;
    state.Preview(translucent);
    EXPECT_EQ(rendered.size(), 2u);
    state.Settle(start);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(state.History().Colours(), (std::vector<TExactColour>{translucent, start}));
    EXPECT_EQ(state.HistoryToStore().has_value(), true);
    // A move that came back where it began leaves the history alone.
    state.Settle(translucent);
    EXPECT_EQ(history.count(), 1);
}

} // namespace
