#include "framework/Clock.h"
#include "framework/Random.h"

#include <gtest/gtest.h>

TEST(Random, DrawsFollowTheLinearCongruentialSequence)
{
    TRandom zero(0);
    const std::uint32_t fromZero[] = {0, 3, 86, 20, 27};
    for (std::uint32_t expected : fromZero)
        EXPECT_EQ(zero.Random(100), expected);

    // The seed wraps modulo 2^32 and the product with n is taken in 64 bits.
    TRandom top(0xFFFFFFFFu);
    EXPECT_EQ(top.Random(1000), 968u);
    EXPECT_EQ(top.Random(1000), 201u);
    EXPECT_EQ(top.Random(1000), 519u);
}

TEST(Random, ResultStaysBelowN)
{
    TRandom random(12345);
    for (int i = 0; i < 10000; ++i) {
        EXPECT_LT(random.Random(40), 40u);
        EXPECT_LT(random.Random(0x1000000), 0x1000000u);
    }
    EXPECT_EQ(random.Random(0), 0u);
}

TEST(Random, ReseedFromClockRepeatsTheSequence)
{
    const TFixedClock clock(TimeOfDayMs(12, 34, 56, 789));
    EXPECT_EQ(clock.TimeOfDayMs(), 45296789u);
    TRandom a, b;
    a.Randomize(clock);
    b.Randomize(clock);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a.Random(1000000), b.Random(1000000));
}

TEST(Clock, SystemClockTellsTimeOfDay)
{
    EXPECT_LT(TSystemClock().TimeOfDayMs(), 24u * 60 * 60 * 1000);
}
