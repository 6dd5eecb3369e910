#include "picker/PickerField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

const TColorSwitch AllModes[] = {csHue, csSaturation, csBrightness, csBlue, csGreen, csRed};
const TPixelFormat Rgb32{32, 16, 8, 0, QImage::Format_RGB32};

#if defined(__SANITIZE_ADDRESS__)
constexpr int InputStride = 9; // sanitised builds take every ninth input
#else
constexpr int InputStride = 1;
#endif

// A field depends on one raw value per mode; the others are set at random to show they do
// not matter.
TPickerValues ValuesFor(TColorSwitch mode, int raw, std::mt19937 &rnd)
{
    std::uniform_int_distribution<int> level(0, 255), hue(0, 768);
    TPickerValues v{hue(rnd), level(rnd), level(rnd), level(rnd), level(rnd), level(rnd), 0};
    switch (mode) {
    case csHue: v.Hue = raw; break;
    case csSaturation: v.Saturation = raw; break;
    case csBrightness: v.Brightness = raw; break;
    case csBlue: v.Blue = raw; break;
    case csGreen: v.Green = raw; break;
    case csRed: v.Red = raw; break;
    }
    v.Color = RGB(v.Red, v.Green, v.Blue);
    return v;
}

// Every field the window can show (hue 0..1023, every level in the other modes), pixel for
// pixel against FieldColor.
TEST(FieldRender, FastRendererMatchesPerPixelFieldColorEverywhere)
{
    std::mt19937 rnd(5);
    std::vector<std::uint32_t> fast(FieldWidth * FieldHeight), plain(FieldWidth * FieldHeight);
    int renders = 0;
    for (TColorSwitch mode : AllModes) {
        const int last = mode == csHue ? 1023 : 255;
        for (int raw = 0; raw <= last; raw += InputStride) {
            const TPickerValues v = ValuesFor(mode, raw, rnd);
            RenderField32(fast.data(), mode, v, Rgb32);
            RenderField32Reference(plain.data(), mode, v, Rgb32);
            ASSERT_EQ(fast, plain) << "mode " << mode << " raw " << raw;
            ++renders;
        }
    }
    EXPECT_GE(renders, 2304 / InputStride);
}

TEST(FieldRender, TwentyFourBitBufferPacksThreeBytesAndSpillsOneByte)
{
    const TPixelFormat bgr{24, 16, 8, 0, QImage::Format_BGR888};
    const TPickerValues v{300, 200, 180, 0, 0, 0, 0};
    std::vector<std::uint8_t> buffer(FieldWidth * FieldHeight * 3 + 2, 0xAB);
    RenderField24(buffer.data(), csSaturation, v, bgr);
    for (int y = 0; y < FieldHeight; y += 17)
        for (int x = 0; x < FieldWidth; x += 13) {
            const TColor c = FieldColor(csSaturation, v, x, y);
            const std::uint8_t *p = &buffer[3 * (y * FieldWidth + x)];
            ASSERT_EQ(p[0], GetBValue(c));
            ASSERT_EQ(p[1], GetGValue(c));
            ASSERT_EQ(p[2], GetRValue(c));
        }
    EXPECT_EQ(buffer[buffer.size() - 2], 0); // the spill byte of the last pixel
    EXPECT_EQ(buffer.back(), 0xAB);          // nothing beyond it
}

class FieldRoundTrip : public testing::TestWithParam<TColorSwitch> {};

// The marker of the colour under a pixel sits on that pixel.
TEST_P(FieldRoundTrip, MarkerPositionInvertsTheMapping)
{
    const TColorSwitch mode = GetParam();
    const TPickerValues v{500, 90, 200, 33, 66, 99, 0};
    for (int y = 0; y < FieldHeight; y += 5)
        for (int x = 0; x < FieldWidth; x += 3) {
            int px = -1, py = -1;
            if (IsHSBMode(mode)) {
                HSBToFieldPos(mode, FieldHSB(mode, v, x, y), px, py);
                RGBToFieldPos(mode, 0, px, py); // leaves HSB modes alone
            } else {
                RGBToFieldPos(mode, FieldColor(mode, v, x, y), px, py);
                HSBToFieldPos(mode, 0, px, py);
            }
            // The hue axis has 768 steps over 256 pixels: any of them maps back to its pixel.
            ASSERT_EQ(px, x) << "at " << x << ", " << y;
            ASSERT_EQ(py, y) << "at " << x << ", " << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Modes, FieldRoundTrip, testing::ValuesIn(AllModes));

TEST(Strip, ScalesPaintAndClick)
{
    EXPECT_EQ(StripValue(0), 254);
    EXPECT_EQ(StripValue(254), 0);
    EXPECT_EQ(StripValue(255), 0);
    EXPECT_EQ(StripHue(0), 764);
    EXPECT_EQ(StripHue(254), 2);
    EXPECT_EQ(StripHue(255), 0);
    EXPECT_EQ(StripClickValue(csHue, 0), 765);
    EXPECT_EQ(StripClickValue(csSaturation, 0), 255);
    EXPECT_EQ(StripClickValue(csRed, 255), 0);
    const TPickerValues v{};
    EXPECT_EQ(StripColor(csHue, v, 0), HSBToRGB(PackHSB(764, 255, 255)));
    EXPECT_EQ(StripColor(csHue, v, 255), clRed);
}

TEST(Strip, MarkerRowForComparedValueZero)
{
    const TPickerValues zero{0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(StripMarkerRow(csHue, zero), 255);
    for (TColorSwitch mode : {csSaturation, csBrightness, csBlue, csGreen, csRed})
        EXPECT_EQ(StripMarkerRow(mode, zero), 254) << mode;
    const TPickerValues top{768, 255, 255, 255, 255, 255, clWhite};
    for (TColorSwitch mode : AllModes)
        EXPECT_EQ(StripMarkerRow(mode, top), 0) << mode;
}

struct TFormatCase {
    int depth;
    QImage::Format format;
    bool found;
    int red, green, blue;
};

class PixelFormatProbe : public testing::TestWithParam<TFormatCase> {};

TEST_P(PixelFormatProbe, FindsTheChannelShifts)
{
    const TFormatCase &c = GetParam();
    TPixelFormat pf{99, 99, 99, 99, QImage::Format_Invalid};
    ASSERT_EQ(DetectPixelFormat({c.depth, c.format}, pf), c.found);
    if (!c.found) {
        EXPECT_EQ(pf.BitsPerPixel, 99); // left as it was
        return;
    }
    EXPECT_EQ(pf.BitsPerPixel, c.depth);
    EXPECT_EQ(pf.RedShift, c.red);
    EXPECT_EQ(pf.GreenShift, c.green);
    EXPECT_EQ(pf.BlueShift, c.blue);
    EXPECT_EQ(pf.Format, c.format);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, PixelFormatProbe,
    testing::Values(TFormatCase{16, QImage::Format_RGB16, true, 11, 6, 0}, TFormatCase{16, QImage::Format_RGB555, true, 10, 5, 0},
                    TFormatCase{24, QImage::Format_BGR888, true, 16, 8, 0}, TFormatCase{24, QImage::Format_RGB888, true, 0, 8, 16},
                    TFormatCase{32, QImage::Format_RGB32, true, 16, 8, 0}, TFormatCase{8, QImage::Format_Indexed8, false, 0, 0, 0},
                    TFormatCase{0, QImage::Format_Invalid, false, 0, 0, 0},
                    // A depth whose image format does not match is not trusted.
                    TFormatCase{32, QImage::Format_RGB16, false, 0, 0, 0},
                    TFormatCase{16, QImage::Format_Grayscale16, false, 0, 0, 0}));

} // namespace

TEST(FieldImage, EachDevicePixelShowsThePixelUnderItsCentre)
{
    QImage logical(23, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 23; ++x)
            logical.setPixel(x, y, qRgb(x * 10, y * 30, 7));
    for (qreal ratio : {1.25, 1.5, 2.0}) {
        QImage device;
        ExpandToDevice(logical, ratio, device);
        ASSERT_EQ(device.size(), QSize(static_cast<int>(std::ceil(23 * ratio)), static_cast<int>(std::ceil(7 * ratio))));
        EXPECT_EQ(device.devicePixelRatio(), ratio);
        for (int y = 0; y < device.height(); ++y)
            for (int x = 0; x < device.width(); ++x) {
                const int lx = std::min(22, static_cast<int>((x + 0.5) / ratio));
                const int ly = std::min(6, static_cast<int>((y + 0.5) / ratio));
                ASSERT_EQ(device.pixel(x, y), logical.pixel(lx, ly)) << ratio << ": " << x << "," << y;
            }
        // The next image of the same size is made in the same buffer.
        const uchar *buffer = device.constBits();
        ExpandToDevice(logical, ratio, device);
        EXPECT_EQ(device.constBits(), buffer);
    }
}
