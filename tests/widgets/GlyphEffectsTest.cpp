#include "widgets/GlyphEffects.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint32_t Key = 0x808000; // the glyph's background (bottom-left pixel)
constexpr std::uint32_t Yellow = 0xFFFF00;

std::uint32_t Px(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

QImage Filled(int w, int h, std::uint32_t color)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(0xFF000000u | color);
    return img;
}

void Put(QImage &img, int x, int y, std::uint32_t color)
{
    reinterpret_cast<std::uint32_t *>(img.scanLine(y))[x] = 0xFF000000u | color;
}

std::uint32_t At(const QImage &img, int x, int y)
{
    return reinterpret_cast<const std::uint32_t *>(img.constScanLine(y))[x] & 0xFFFFFF;
}

int Count(const QImage &img, std::uint32_t color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += At(img, x, y) == color;
    return n;
}

// A 2 x 2 glyph: the probed pixel at (0, 0), a key-coloured pixel at (1, 0), the key below.
QImage Probe(std::uint32_t pixel)
{
    QImage img = Filled(2, 2, Key);
    Put(img, 0, 0, pixel);
    return img;
}

struct PixelCase {
    const char *name;
    bool light; // LightGlyph with the shine, else DecorateGlyph with the face
    int effect;
    std::uint32_t with;
    std::uint32_t in;
    std::uint32_t out;
};

class PixelEffects : public testing::TestWithParam<PixelCase> {};

} // namespace

TEST_P(PixelEffects, ChangeGlyphPixelsAndLeaveTheKeyAlone)
{
    const PixelCase &c = GetParam();
    const QImage out = c.light ? LightGlyph(Probe(c.in), static_cast<TActiveImageType>(c.effect), c.with)
                               : DecorateGlyph(Probe(c.in), static_cast<TDecorationImageType>(c.effect), c.with);
    EXPECT_EQ(At(out, 0, 0), c.out) << std::hex << At(out, 0, 0);
    EXPECT_EQ(At(out, 1, 0), Key);
    EXPECT_EQ(At(out, 0, 1), Key);
    EXPECT_EQ(TransparentKey(out), Key);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PixelEffects,
    testing::Values(PixelCase{"AddClamps", true, aiAddLight, Yellow, Px(200, 10, 30), Px(255, 255, 30)},
                    PixelCase{"QuarterLight", true, aiQuaterLight, Yellow, Px(0, 0, 100), Px(191, 191, 25)},
                    PixelCase{"HalfLight", true, aiHalfLight, Yellow, Px(0, 1, 100), Px(127, 128, 50)},
                    PixelCase{"XorLight", true, aiXorLight, Yellow, Px(0x0F, 0xF0, 0x33), Px(0xF0, 0x0F, 0x33)},
                    PixelCase{"NoLight", true, aiNoLight, Yellow, Px(1, 2, 3), Px(1, 2, 3)},
                    PixelCase{"GrayEqualWeights", false, diGrayscale, 0, Px(10, 20, 31), Px(20, 20, 20)},
                    PixelCase{"HalfTrans", false, diAlphaHalfTrans, Px(255, 0, 100), Px(1, 100, 0), Px(128, 50, 50)},
                    PixelCase{"QuarterTrans", false, diAlphaQuaterTrans, Px(255, 0, 100), Px(0, 100, 0), Px(191, 25, 75)},
                    PixelCase{"DefaultKeepsPixels", false, diDefault, Px(255, 0, 0), Px(9, 8, 7), Px(9, 8, 7)}),
    [](const testing::TestParamInfo<PixelCase> &i) { return std::string(i.param.name); });

TEST(GlyphEffects, FrameLightOutlinesOneOrTwoPixelsOut)
{
    QImage img = Filled(5, 5, Key);
    Put(img, 2, 2, Px(1, 1, 1));
    const QImage one = LightGlyph(img, aiFrameLight, Yellow);
    const QImage two = LightGlyph(img, aiFrameLight2, Yellow);
    EXPECT_EQ(Count(one, Yellow), 4);
    EXPECT_EQ(Count(two, Yellow), 12);
    EXPECT_EQ(At(one, 2, 1), Yellow);
    EXPECT_EQ(At(one, 1, 1), Key); // diagonal neighbours are not direct ones
    EXPECT_EQ(At(two, 1, 1), Yellow);
    EXPECT_EQ(At(two, 2, 0), Yellow);
    EXPECT_EQ(At(two, 0, 0), Key);
    EXPECT_EQ(At(two, 2, 2), Px(1, 1, 1));
}

TEST(GlyphEffects, FrameLightOnTheBottomLeftMakesShineTheNewKey)
{
    QImage img = Filled(3, 3, Key);
    Put(img, 1, 2, Px(1, 1, 1));
    const QImage out = LightGlyph(img, aiFrameLight, Yellow);
    EXPECT_EQ(TransparentKey(out), Yellow);
}

TEST(GlyphEffects, MaskEffectsMakeTheSameCheckerboardWhateverTheSize)
{
    for (QSize size : {QSize(16, 16), QSize(16, 15), QSize(15, 16)}) {
        QImage img = Filled(size.width(), size.height(), Px(1, 2, 3));
        Put(img, 0, size.height() - 1, Key);
        const QImage light = LightGlyph(img, aiMaskLight, Yellow);
        const QImage trans = DecorateGlyph(img, diMaskTrans, 0);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                if (x == 0 && y == size.height() - 1)
                    continue;
                const bool odd = (x + y) % 2 == 1;
                ASSERT_EQ(At(light, x, y), odd ? Yellow : Px(1, 2, 3)) << x << "," << y;
                ASSERT_EQ(At(trans, x, y), odd ? Key : Px(1, 2, 3)) << x << "," << y;
            }
    }
}

TEST(GlyphEffects, EdgeMaskMarksDiagonalChangesButNotTheLastRowOrColumn)
{
    QImage img = Filled(4, 3, Px(0, 0, 0));
    for (int y = 0; y < 3; ++y)
        Put(img, 2, y, Px(255, 255, 255)); // a vertical stripe in column 2
    const QImage mask = EdgeMask(img);
    ASSERT_EQ(mask.format(), QImage::Format_Mono);
    auto bit = [&](int x, int y) { return (mask.constScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1; };
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(bit(0, y), 0);
        EXPECT_EQ(bit(1, y), 1);
        EXPECT_EQ(bit(2, y), 1);
        EXPECT_EQ(bit(3, y), 0);
    }
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(bit(x, 2), 0);
    const QImage thin = EdgeMask(Filled(1, 5, Px(1, 1, 1)));
    EXPECT_EQ(thin.size(), QSize(1, 5));
}

TEST(GlyphEffects, MonoGlyphBitsReadMostSignificantFirst)
{
    QImage mono(10, 1, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.scanLine(0)[0] = 0x81; // columns 0 and 7
    mono.scanLine(0)[1] = 0x40; // column 9
    const QImage out = MonoGlyphToColor(mono, RGB(255, 0, 0), RGB(0, 0, 255));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(At(out, x, 0), (x == 0 || x == 7 || x == 9) ? Px(255, 0, 0) : Px(0, 0, 255)) << x;
}

