#include "colour/ColourSpaces.h"
#include "colour/GamutMap.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourSpaces, Placeholder)
{
    const TVec3 lab = FromSrgb(TColourSpace::Oklab, {1, 0, 0});
    EXPECT_NEAR(lab[0], 0.627955, 1e-6);
}

} // namespace
