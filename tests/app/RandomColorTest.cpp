#include "app/RandomColor.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t PinnedTime = TimeOfDayMs(12, 34, 56, 789);
}

TEST(RandomColor, AnyColourForPinnedTime)
{
    TRandom random;
    random.Randomize(TFixedClock(PinnedTime));
    EXPECT_EQ(AnyRandomColor(random), 0x7D24B2);
}

TEST(RandomColor, QuietColourForPinnedTime)
{
    TRandom random;
    random.Randomize(TFixedClock(PinnedTime));
    // Base 124, green 114, red 118.
    EXPECT_EQ(QuietRandomColor(random), 0x7C7276);
}

TEST(RandomColor, QuietColourStaysMidToneOverTheWholeDay)
{
    TRandom random;
    // Every 37th millisecond of the day, so every base value and both offsets come up.
    for (std::uint32_t ms = 0; ms < 24u * 60 * 60 * 1000; ms += 37) {
        random.SetSeed(ms);
        const TColor c = QuietRandomColor(random);
        ASSERT_EQ(c & 0xFF000000, 0) << ms;
        ASSERT_GE(GetRValue(c), 40) << ms;
        ASSERT_LE(GetRValue(c), 186) << ms;
        ASSERT_GE(GetGValue(c), 40) << ms;
        ASSERT_LE(GetGValue(c), 186) << ms;
        ASSERT_GE(GetBValue(c), 60) << ms;
        ASSERT_LE(GetBValue(c), 167) << ms;
    }
}

TEST(RandomColor, AnyColourIsPlain)
{
    TRandom random;
    for (std::uint32_t ms = 0; ms < 100000; ms += 13) {
        random.SetSeed(ms);
        ASSERT_EQ(AnyRandomColor(random) & 0xFF000000, 0);
    }
}
