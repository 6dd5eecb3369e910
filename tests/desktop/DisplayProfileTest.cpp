#include "desktop/DisplayProfile.h"

#include "../TestProfiles.h"

#include <gtest/gtest.h>

#include <lcms2.h>

#include <QRandomGenerator>

#include <cstdlib>

namespace {

TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

void ExpectNear(TColor got, TColor want, const char *what)
{
    for (int shift : {0, 8, 16})
        EXPECT_LE(std::abs(((got >> shift) & 0xFF) - ((want >> shift) & 0xFF)), 1)
            << what << ": got " << std::hex << got << ", want " << want;
}

TEST(DisplayProfile, WideGamutMonitorConvertsAsItsPrimariesSay)
{
    const TDisplayProfile profile = TDisplayProfile::FromBytes(WideGamutMonitor());
    ASSERT_TRUE(profile.Usable());
    EXPECT_EQ(profile.Name(), QStringLiteral("Wide Test Monitor"));
    EXPECT_EQ(profile.Caption(), QStringLiteral("as shown: display profile Wide Test Monitor"));
    // Worked out apart from Little CMS: linear RGB through the primaries' matrix to XYZ, back
    // through sRGB's, sRGB's curve, rounded. Greens beyond sRGB lose their red to 0.
    ExpectNear(profile.AsShown(Rgb(200, 50, 30)), Rgb(232, 46, 22), "red");
    ExpectNear(profile.AsShown(Rgb(30, 200, 60)), Rgb(0, 201, 37), "green beyond sRGB");
    ExpectNear(profile.AsShown(Rgb(10, 20, 240)), Rgb(0, 12, 245), "blue");
    ExpectNear(profile.AsShown(Rgb(64, 160, 96)), Rgb(0, 161, 92), "mid green");
    // Greys stay grey; white and black stay white and black (relative colorimetric, no black
    // point compensation).
    ExpectNear(profile.AsShown(Rgb(128, 128, 128)), Rgb(129, 129, 129), "grey");
    EXPECT_EQ(profile.AsShown(Rgb(255, 255, 255)), Rgb(255, 255, 255));
    EXPECT_EQ(profile.AsShown(Rgb(0, 0, 0)), Rgb(0, 0, 0));
}

TEST(DisplayProfile, SrgbMonitorShowsTheDeviceValues)
{
    const TDisplayProfile profile = TDisplayProfile::FromBytes(SavedProfile(cmsCreate_sRGBProfile()));
    ASSERT_TRUE(profile.Usable());
    for (int r = 0; r < 256; r += 51)
        for (int g = 3; g < 256; g += 63)
            for (int b = 7; b < 256; b += 83)
                ExpectNear(profile.AsShown(Rgb(r, g, b)), Rgb(r, g, b), "sRGB");
}

TEST(DisplayProfile, NoProfileGivesTheDeviceValue)
{
    const TDisplayProfile none;
    EXPECT_FALSE(none.Usable());
    EXPECT_EQ(none.AsShown(0x123456), 0x123456);
    EXPECT_EQ(none.Caption(), QStringLiteral("no display profile"));
}

// ---- Hostile profiles ---------------------------------------------------------------------------

QByteArray RandomBytes(qsizetype n, quint32 seed)
{
    QByteArray bytes(n, '\0');
    QRandomGenerator random(seed);
    for (char &c : bytes)
        c = static_cast<char>(random.bounded(256));
    return bytes;
}

// A real profile's first bytes: a header that promises more than there is.
QByteArray Truncated()
{
    return WideGamutMonitor().left(200);
}

// A header that claims a size and tag count far beyond the bytes.
QByteArray LyingHeader()
{
    QByteArray bytes = WideGamutMonitor();
    bytes[128] = '\x7F';
    bytes[129] = '\xFF';
    return bytes;
}

struct BadCase {
    const char *name;
    QByteArray (*bytes)();
    const char *why;
};

void PrintTo(const BadCase &c, std::ostream *os) { *os << c.name; }

class HostileProfile : public testing::TestWithParam<BadCase> {};

TEST_P(HostileProfile, GivesTheDeviceValueAndSaysWhy)
{
    const TDisplayProfile profile = TDisplayProfile::FromBytes(GetParam().bytes());
    EXPECT_FALSE(profile.Usable());
    EXPECT_EQ(profile.AsShown(0x123456), 0x123456);
    EXPECT_EQ(profile.Caption(), QStringLiteral("no display profile (%1)").arg(QLatin1String(GetParam().why)));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, HostileProfile,
    testing::Values(
        BadCase{"empty", [] { return QByteArray(); }, "empty"},
        BadCase{"one_byte", [] { return QByteArray(1, 'a'); }, "not an ICC profile"},
        BadCase{"random", [] { return RandomBytes(4096, 7); }, "not an ICC profile"},
        BadCase{"ten_megabytes", [] { return RandomBytes(10 * 1024 * 1024, 11); }, "too large"},
        BadCase{"truncated", Truncated, "not an ICC profile"},
        BadCase{"lying_tag_count", LyingHeader, "not an ICC profile"},
        BadCase{"grey_monitor", [] {
                    cmsToneCurve *gamma = cmsBuildGamma(nullptr, 2.2);
                    const QByteArray bytes = SavedProfile(cmsCreateGrayProfile(cmsD50_xyY(), gamma));
                    cmsFreeToneCurve(gamma);
                    return bytes;
                }, "not an RGB display profile"},
        BadCase{"printer_class", [] { return WideGamutMonitor(cmsSigOutputClass); }, "not an RGB display profile"},
        BadCase{"lab_space", [] { return SavedProfile(cmsCreateLab4Profile(nullptr)); }, "not an RGB display profile"}),
    [](const testing::TestParamInfo<BadCase> &info) { return std::string(info.param.name); });

TEST(DisplayProfile, PropertyNamesFollowTheMonitorNumber)
{
    EXPECT_EQ(DisplayProfileProperty(0), QByteArrayLiteral("_ICC_PROFILE"));
    EXPECT_EQ(DisplayProfileProperty(1), QByteArrayLiteral("_ICC_PROFILE_1"));
    EXPECT_EQ(DisplayProfileProperty(12), QByteArrayLiteral("_ICC_PROFILE_12"));
}

TEST(DisplayProfiles, EachMonitorIsReadOnce)
{
    int reads = 0;
    TDisplayProfiles profiles([&](int screen, int monitor) {
        ++reads;
        return screen == 0 && monitor == 1 ? TDisplayProfile::FromBytes(WideGamutMonitor()) : TDisplayProfile();
    });
    EXPECT_FALSE(profiles.For(0, 0).Usable());
    EXPECT_TRUE(profiles.For(0, 1).Usable());
    EXPECT_TRUE(profiles.For(0, 1).Usable());
    EXPECT_FALSE(profiles.For(1, 1).Usable());
    EXPECT_EQ(reads, 3);
}

} // namespace
