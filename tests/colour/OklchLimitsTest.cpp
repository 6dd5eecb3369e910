#include "colour/OklchLimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct TCusp {
    const char *Name;
    TVec3 Oklch; // the published OKLCH of the gamut's corner
};

// sRGB corners in OKLCH, as CSS Color 4's and colour.js's conversions give them: each is the cusp
// of its hue, so the limit at its lightness and hue is its chroma. (Blue and cyan are left out:
// at their published 6-digit figures the line of constant lightness and hue leaves the cube a
// hair before the corner and comes back to it, and the limit is where it first leaves.)
const TCusp SrgbCusps[] = {
    {"red", {0.627955, 0.257683, 29.2339}},
    {"green", {0.866440, 0.294827, 142.4953}},
    {"yellow", {0.967983, 0.211006, 109.7692}},
    {"magenta", {0.701674, 0.322491, 328.3634}},
};

TEST(OklchLimits, SrgbCornersAreTheLimitOfTheirHue)
{
    for (const TCusp &c : SrgbCusps) {
        // The published figures carry 6 digits; the limit moves about as much with them.
        EXPECT_NEAR(MaxChroma(TGamut::Srgb, c.Oklch[0], c.Oklch[2]), c.Oklch[1], 2e-4) << c.Name;
        // Display P3 holds every sRGB colour.
        EXPECT_GE(MaxChroma(TGamut::DisplayP3, c.Oklch[0], c.Oklch[2]), c.Oklch[1] - 2e-4) << c.Name;
    }
    // color(display-p3 1 0 0), oklch(0.64857 0.29948 28.9559): the P3 red corner.
    EXPECT_NEAR(MaxChroma(TGamut::DisplayP3, 0.64857, 28.9559), 0.29948, 3e-4);
}

TEST(OklchLimits, TheLimitSeparatesInsideFromOutside)
{
    std::mt19937 random(27);
    std::uniform_real_distribution<double> lightness(0.01, 0.99), hue(0, 360);
    for (int i = 0; i < 2000; ++i) {
        const double l = lightness(random), h = hue(random);
        for (TGamut g : {TGamut::Srgb, TGamut::DisplayP3}) {
            const double c = MaxChroma(g, l, h);
            ASSERT_TRUE(InGamut(g, {l, c, h})) << l << " " << h;
            ASSERT_FALSE(InGamut(g, {l, c + 1e-5, h})) << l << " " << h;
        }
        ASSERT_GE(MaxChroma(TGamut::DisplayP3, l, h), MaxChroma(TGamut::Srgb, l, h) - 1e-6);
    }
}

TEST(OklchLimits, EndsAndBadNumbersHaveNoChroma)
{
    for (double l : std::initializer_list<double>{0.0, 1.0, -0.2, 1.5, NAN, INFINITY})
        EXPECT_EQ(MaxChroma(TGamut::Srgb, l, 30), 0) << l;
    EXPECT_EQ(MaxChroma(TGamut::DisplayP3, 0.5, NAN), 0);
}

TEST(OklchLimits, TrackColoursOutsideSrgbKeepLightnessAndHue)
{
    const TTrackColour inside = TrackColour({0.627955, 0.2, 29.2339});
    EXPECT_FALSE(inside.Outside);
    const TTrackColour outside = TrackColour({0.627955, 0.37, 29.2339});
    EXPECT_TRUE(outside.Outside);
    // Reduced to the sRGB limit of red's lightness and hue: red itself.
    EXPECT_NEAR(outside.Srgb[0], 1, 2e-3);
    EXPECT_NEAR(outside.Srgb[1], 0, 2e-3);
    EXPECT_NEAR(outside.Srgb[2], 0, 2e-3);
    // A missing hue reads as 0; lightness beyond 0-1 is clamped.
    EXPECT_FALSE(TrackColour({0.5, 0, NAN}).Outside);
    const TTrackColour white = TrackColour({1.2, 0, 0});
    EXPECT_NEAR(white.Srgb[0] + white.Srgb[1] + white.Srgb[2], 3, 1e-9);
}

} // namespace
