// The eyedropper's averaged square: the mean in linear light, what lies off the screen left out,
// the sizes the keys and the wheel step through, and the colour a wide-gamut monitor shows.
#include "desktop/DisplayProfile.h"
#include "desktop/PickAverage.h"
#include "desktop/PickOverlay.h"

#include "../TestProfiles.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <QWheelEvent>

#include <optional>

namespace {

// A screen of black and white device pixels, white where x + y is even.
QImage CheckerGrab(int, const QRect &area)
{
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            image.setPixel(x, y, (area.x() + x + area.y() + y) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

std::vector<QRgb> Pixels(std::initializer_list<QRgb> list) { return list; }

TEST(PickAverage, MeanIsTakenInLinearLightAndRoundedOnce)
{
    // A 3×3 checkerboard: five white and four black pixels are 5/9 of white's light, which sRGB
    // writes as 196.56, not the 142 of the bytes' mean.
    const QImage board = CheckerGrab(0, QRect(0, 0, 3, 3));
    EXPECT_EQ(LinearMean(PixelsShown(board, {0, 0}, QRect(0, 0, 3, 3), {QRect(0, 0, 100, 100)})), (TRgb8{197, 197, 197}));
    EXPECT_EQ(LinearMean(PixelsShown(CheckerGrab(0, QRect(1, 0, 3, 3)), {1, 0}, QRect(1, 0, 3, 3), {QRect(0, 0, 100, 100)})),
              (TRgb8{178, 178, 178}));
    // Half black, half white: 187.516, above the half.
    EXPECT_EQ(LinearMean(Pixels({qRgb(0, 0, 0), qRgb(255, 255, 255)})), (TRgb8{188, 188, 188}));
    // Each channel on its own.
    EXPECT_EQ(LinearMean(Pixels({qRgb(255, 0, 0), qRgb(0, 0, 0)})), (TRgb8{188, 0, 0}));
    // A square of one colour is that colour, for every byte.
    for (int v = 0; v < 256; ++v) {
        const std::vector<QRgb> same(9, qRgb(v, 255 - v, v / 2));
        ASSERT_EQ(LinearMean(same), (TRgb8{v, 255 - v, v / 2})) << v;
    }
    EXPECT_EQ(LinearMean({}), TRgb8{});
}

TEST(PickAverage, OnlyThePixelsOnTheScreenCount)
{
    const QList<QRect> one{QRect(0, 0, 100, 80)};
    // A 3×3 square at the top-left corner has 4 pixels on the screen; one at the bottom-right corner too.
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    EXPECT_EQ(PixelsShown(image, {-2, -2}, PickSquare({0, 0}, 3), one).size(), 4u);
    EXPECT_EQ(PixelsShown(image, {97, 77}, PickSquare({99, 79}, 3), one).size(), 4u);
    // A 5×5 square on the left edge: 3 of its 5 columns.
    EXPECT_EQ(PixelsShown(image, {-2, 30}, PickSquare({0, 32}, 5), one).size(), 15u);
    // Between two monitors side by side all of it counts; a pixel both claim (mirrored) counts once.
    EXPECT_EQ(PixelsShown(image, {98, 10}, PickSquare({100, 12}, 5), {QRect(0, 0, 100, 80), QRect(100, 0, 100, 80)}).size(), 25u);
    EXPECT_EQ(PixelsShown(image, {0, 0}, PickSquare({2, 2}, 5), {QRect(0, 0, 100, 80), QRect(0, 0, 100, 80)}).size(), 25u);
    // Below the shorter of two monitors of different heights lies no pixel: 4 on it, 15 on the other.
    EXPECT_EQ(PixelsShown(image, {98, 58}, PickSquare({100, 60}, 5), {QRect(0, 0, 100, 60), QRect(100, 0, 100, 80)}).size(),
              19u);
    // Nowhere on a screen, or read from an image that holds nothing.
    EXPECT_TRUE(PixelsShown(image, {200, 200}, PickSquare({202, 202}, 5), one).empty());
    EXPECT_TRUE(PixelsShown(QImage(), {0, 0}, PickSquare({2, 2}, 5), one).empty());
}

TEST(PickAverage, SizesStepThroughTheListAndStopAtItsEnds)
{
    EXPECT_EQ(StepPickSize(1, 1), 3);
    EXPECT_EQ(StepPickSize(9, 1), 15);
    EXPECT_EQ(StepPickSize(31, 1), 31);
    EXPECT_EQ(StepPickSize(1, -1), 1);
    EXPECT_EQ(StepPickSize(15, -2), 5);
    EXPECT_EQ(StepPickSize(1, 100), 31);
    // A side that is no listed size is held to one that is.
    EXPECT_EQ(StepPickSize(7, 0), 5);
    EXPECT_EQ(StepPickSize(-4, 0), 1);
    EXPECT_EQ(StepPickSize(1000, 0), 31);
    EXPECT_EQ(PickSquare({10, 10}, 5), QRect(8, 8, 5, 5));
}

// ---- In the magnifier ---------------------------------------------------------------------------

struct AverageRun {
    TPickOverlay *overlay;
    QPointer<TPickOverlay> alive;
    std::optional<TColor> taken;
    std::vector<int> sizes;
    explicit AverageRun(TScreenGrab grab = CheckerGrab)
        : overlay(new TPickOverlay(TScreenAccess{grab, {}, {}, [](int) { return QList<QRect>{QRect(0, 0, 640, 480)}; }})),
          alive(overlay)
    {
        QObject::connect(overlay, &TPickOverlay::Taken, [this](TColor c) { taken = c; });
        QObject::connect(overlay, &TPickOverlay::AverageSizeChanged, [this](int side) { sizes.push_back(side); });
        overlay->Begin();
    }
    ~AverageRun() { delete alive.data(); }
    void Wheel(int delta, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent event(QPointF(5, 5), overlay->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(overlay, &event);
    }
};

TEST(PickOverlayAverage, KeysAndTheWheelWithCtrlGrowAndShrinkTheSquare)
{
    AverageRun run;
    QTest::keyClick(run.overlay, Qt::Key_Plus);
    QTest::keyClick(run.overlay, Qt::Key_Equal);
    QTest::keyClick(run.overlay, Qt::Key_Minus);
    EXPECT_EQ(run.sizes, (std::vector<int>{3, 5, 3}));
    // The wheel without Ctrl changes nothing; a notch with it steps once, half notches add up.
    run.Wheel(120, Qt::NoModifier);
    EXPECT_EQ(run.overlay->AverageSize(), 3);
    run.Wheel(120, Qt::ControlModifier);
    run.Wheel(60, Qt::ControlModifier);
    EXPECT_EQ(run.overlay->AverageSize(), 5);
    run.Wheel(60, Qt::ControlModifier);
    EXPECT_EQ(run.overlay->AverageSize(), 9);
    for (int i = 0; i < 5; ++i)
        run.Wheel(120, Qt::ControlModifier);
    EXPECT_EQ(run.overlay->AverageSize(), 31);
    EXPECT_EQ(run.sizes.back(), 31);
    const size_t changes = run.sizes.size();
    QTest::keyClick(run.overlay, Qt::Key_Plus);
    EXPECT_EQ(run.sizes.size(), changes) << "no change past the largest size";
    run.Wheel(-240, Qt::ControlModifier);
    EXPECT_EQ(run.overlay->AverageSize(), 9);
}

TEST(PickOverlayAverage, TheSquareIsFramedAndSaidAndTakenAsItsMean)
{
    AverageRun run;
    run.overlay->UpdateAt({0, QPoint(40, 60)});
    EXPECT_EQ(run.overlay->accessibleDescription(), QStringLiteral("#FFFFFF"));
    QTest::keyClick(run.overlay, Qt::Key_Plus);
    const QImage &view = run.overlay->View();
    const int z = run.overlay->Cell(), r = TPickOverlay::Radius, b = 1;
    // The frame runs along the 3×3 square's edge, one pixel to the left of the centre's.
    EXPECT_EQ(view.pixel(b + (r - 1) * z, b + r * z + z / 2), qRgb(0, 0, 0));
    EXPECT_EQ(view.pixel(b + (r - 1) * z + 1, b + r * z + z / 2), qRgb(255, 255, 255));
    EXPECT_EQ(view.pixel(b + (r + 2) * z - 1, b + r * z + z / 2), qRgb(0, 0, 0));
    // The centre pixel is no longer framed: the cell left of it shows its black pixel.
    EXPECT_EQ(view.pixel(b + r * z - 2, b + r * z + z / 2), qRgb(0, 0, 0));
    EXPECT_EQ(view.pixel(b + r * z + 2, b + r * z + z / 2), qRgb(255, 255, 255));
    EXPECT_EQ(run.overlay->accessibleDescription(), QStringLiteral("#C5C5C5, average of 3 × 3 pixels"));
    QTest::keyClick(run.overlay, Qt::Key_Return);
    ASSERT_TRUE(run.taken);
    EXPECT_EQ(*run.taken, 0xC5C5C5u);
}

TEST(PickOverlayAverage, LargeSquaresWidenTheViewAndKeepTheWindowsSize)
{
    AverageRun run;
    run.overlay->UpdateAt({0, QPoint(100, 100)});
    const QSize single = run.overlay->View().size();
    run.overlay->SetAverageSize(31);
    run.overlay->UpdateAt({0, QPoint(100, 100)});
    EXPECT_EQ(run.overlay->ViewCount(), 33);
    EXPECT_LE(run.overlay->View().width(), single.width());
    EXPECT_GE(run.overlay->View().width(), single.width() * 3 / 4);
    // 31×31 pixels of a checkerboard: 481 white, 480 black.
    QTest::keyClick(run.overlay, Qt::Key_Space);
    ASSERT_TRUE(run.taken);
    EXPECT_EQ(*run.taken, 0xBCBCBCu);
}

TEST(PickOverlayAverage, AtTheScreensCornerOnlyItsPixelsCount)
{
    // The screen is black; what a grab gives beyond its edge is white and must not count.
    AverageRun run([](int, const QRect &area) {
        QImage image(area.size(), QImage::Format_RGB32);
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                image.setPixel(x, y, QRect(0, 0, 640, 480).contains(area.topLeft() + QPoint(x, y)) ? qRgb(0, 0, 0)
                                                                                                    : qRgb(255, 255, 255));
        return image;
    });
    run.overlay->SetAverageSize(15);
    run.overlay->UpdateAt({0, QPoint(639, 0)});
    QTest::keyClick(run.overlay, Qt::Key_Return);
    ASSERT_TRUE(run.taken);
    EXPECT_EQ(*run.taken, 0u);
}

// ---- As a wide-gamut monitor shows it ----------------------------------------------------------

TEST(WideGamutPick, ADisplayP3MonitorsColourIsKeptExactly)
{
    const TDisplayProfile p3 = TDisplayProfile::FromBytes(DisplayP3Monitor());
    ASSERT_TRUE(p3.Usable());
    EXPECT_TRUE(p3.Wide());
    // The monitor is display-p3: what it shows for a device value is that value in display-p3.
    for (const QRgb device : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(100, 150, 200), qRgb(255, 255, 255), qRgb(0, 0, 0)}) {
        const TExactColour c = p3.Taken({device});
        ASSERT_EQ(c.Space, TColourSpace::DisplayP3) << std::hex << device;
        // A profile holds its matrix to 16 bits after the point: a few ten-thousandths off.
        EXPECT_NEAR(c.Coords[0], qRed(device) / 255.0, 1e-3) << std::hex << device;
        EXPECT_NEAR(c.Coords[1], qGreen(device) / 255.0, 1e-3) << std::hex << device;
        EXPECT_NEAR(c.Coords[2], qBlue(device) / 255.0, 1e-3) << std::hex << device;
        EXPECT_FALSE(c.FromBytes);
    }
    // White and black exactly, so they read as white and black.
    EXPECT_EQ(ExactColourText(p3.Taken({qRgb(255, 255, 255)})), QStringLiteral("color(display-p3 1 1 1)"));
    EXPECT_EQ(ExactColourText(p3.Taken({qRgb(0, 0, 0)})), QStringLiteral("color(display-p3 0 0 0)"));
    // Its red lies outside sRGB: the 8 bits are the mapped fallback, the exact colour stays outside.
    const TExactColour red = p3.Taken({qRgb(255, 0, 0)});
    EXPECT_FALSE(red.InSrgb());
    EXPECT_EQ(red.Rgb8(), ReadExactColour(u"color(display-p3 1 0 0)")->Colour.Rgb8());
    // An average on it is the mean of the light it shows: half red, half black.
    const TExactColour half = p3.Taken({qRgb(255, 0, 0), qRgb(0, 0, 0)});
    EXPECT_NEAR(half.Coords[0], 0.735357, 1e-3);
    EXPECT_NEAR(half.Coords[1], 0, 1e-3);
}

TEST(WideGamutPick, WiderThanDisplayP3IsKeptInXyz)
{
    const TDisplayProfile wide = TDisplayProfile::FromBytes(
        MonitorProfile({{0.708, 0.292, 1.0}, {0.170, 0.797, 1.0}, {0.131, 0.046, 1.0}}, cmsBuildGamma(nullptr, 2.4),
                       "Rec2020 Test Monitor"));
    ASSERT_TRUE(wide.Wide());
    const TExactColour green = wide.Taken({qRgb(0, 255, 0)});
    EXPECT_EQ(green.Space, TColourSpace::XyzD65);
    // Its green is rec2020's, in linear light (the curve's steep start would magnify the profile's
    // rounding).
    const TVec3 linear = colour::XyzToLin2020(green.Coords);
    EXPECT_NEAR(linear[0], 0, 3e-3);
    EXPECT_NEAR(linear[1], 1, 3e-3);
    EXPECT_NEAR(linear[2], 0, 3e-3);
}

TEST(WideGamutPick, NarrowOrUnusableProfilesGiveEightBits)
{
    // A monitor within sRGB: one pixel exactly as before, a mean of what it shows rounded once.
    const TDisplayProfile swapped = TDisplayProfile::FromBytes(SwappedMonitor());
    ASSERT_TRUE(swapped.Usable());
    EXPECT_FALSE(swapped.Wide());
    const TExactColour one = swapped.Taken({qRgb(255, 0, 0)});
    EXPECT_TRUE(one.FromBytes);
    EXPECT_EQ(one.Rgb8(), (TRgb8{static_cast<int>(swapped.AsShown(0xFF) & 0xFF), static_cast<int>((swapped.AsShown(0xFF) >> 8) & 0xFF),
                                 static_cast<int>(swapped.AsShown(0xFF) >> 16)}));
    const TExactColour mean = swapped.Taken({qRgb(255, 0, 0), qRgb(0, 0, 0)});
    EXPECT_TRUE(mean.FromBytes);
    EXPECT_EQ(mean.Rgb8(), (TRgb8{0, 0, 188}));
    // Garbage is no profile: the device values, averaged as sRGB.
    const TDisplayProfile garbage = TDisplayProfile::FromBytes(QByteArray(300, '\x7f'));
    EXPECT_FALSE(garbage.Usable());
    EXPECT_FALSE(garbage.Wide());
    EXPECT_EQ(garbage.Taken({qRgb(1, 2, 3)}), TExactColour::FromRgb8({1, 2, 3}));
    EXPECT_EQ(garbage.Taken({qRgb(255, 255, 255), qRgb(0, 0, 0)}).Rgb8(), (TRgb8{188, 188, 188}));
}

} // namespace
