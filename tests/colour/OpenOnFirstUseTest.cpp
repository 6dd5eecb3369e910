#include "colour/OpenOnFirstUse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Tables of the C library's maths, one whole and one asking for a function it lacks; and one for a
// library that is not there. Each table type is opened once per run, as the program's are.
struct TMaths {
    double (*Sqrt)(double) = nullptr;
    template <typename L>
    void LookUp(L &look)
    {
        look(Sqrt, "sqrt");
    }
};

struct TMathsAndMore {
    double (*Sqrt)(double) = nullptr;
    double (*Missing)(double) = nullptr;
    template <typename L>
    void LookUp(L &look)
    {
        look(Sqrt, "sqrt");
        look(Missing, "pigmora_no_such_function");
    }
};

struct TAbsent {
    int (*Anything)() = nullptr;
    template <typename L>
    void LookUp(L &look)
    {
        look(Anything, "anything");
    }
};

TEST(OpenOnFirstUse, GivesTheFunctionsOrSaysWhyNot)
{
    QString why;
    const TMaths *maths = OpenOnFirstUse<TMaths>("libm.so.6", why);
    ASSERT_NE(maths, nullptr);
    EXPECT_EQ(maths->Sqrt(6.25), 2.5);
    EXPECT_TRUE(why.isEmpty());
    EXPECT_EQ(OpenOnFirstUse<TMaths>("libm.so.6", why), maths); // opened once

    EXPECT_EQ(OpenOnFirstUse<TMathsAndMore>("libm.so.6", why), nullptr);
    EXPECT_EQ(why, QStringLiteral("the library libm.so.6 lacks a function it needs"));

    EXPECT_EQ(OpenOnFirstUse<TAbsent>("libpigmora-absent.so.1", why), nullptr);
    EXPECT_EQ(why, QStringLiteral("the library libpigmora-absent.so.1 cannot be loaded"));
    why.clear();
    EXPECT_EQ(OpenOnFirstUse<TAbsent>("libpigmora-absent.so.1", why), nullptr); // and says so again
    EXPECT_FALSE(why.isEmpty());
}

} // namespace
