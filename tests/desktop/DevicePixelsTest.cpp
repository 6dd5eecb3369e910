// The eyedropper in device pixels: the pixel under a mouse position at every scale, the
// magnifier's squares, the keys' steps, and the colour as the monitor shows it.
#include "desktop/DisplayProfile.h"
#include "desktop/PickOverlay.h"

#include "../TestProfiles.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPointer>
#include <QTest>

#include <optional>
#include <vector>

namespace {

// ---- Mouse positions and device pixels ---------------------------------------------------------

struct ScaleCase {
    qreal ratio;
    QPoint origin; // the screen's top-left corner: a second monitor right of a 1280-pixel one
};

class DevicePixelAtScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(DevicePixelAtScale, MousePositionGivesBackItsDevicePixel)
{
    const auto [ratio, origin] = GetParam();
    for (int dy : {502, 503, 0, 1, 777})
        for (int dx : {1102, 1103, 0, 1, 639}) {
            const QPoint device = origin + QPoint(dx, dy);
            // A mouse event's position, as the windowing system's device position divided by the ratio.
            const QPointF seen = QPointF(origin) + QPointF(device - origin) / ratio;
            EXPECT_EQ(DeviceFromLogical(seen, origin, ratio), device) << dx << "," << dy << " at " << ratio;
            EXPECT_EQ(DeviceFromLogical(LogicalFromDevice(device, origin, ratio), origin, ratio), device);
            // Anywhere inside the device pixel is that pixel too.
            const QPointF inside = seen + QPointF(0.9, 0.9) / ratio;
            EXPECT_EQ(DeviceFromLogical(inside, origin, ratio), device) << dx << "," << dy << " at " << ratio;
        }
}

INSTANTIATE_TEST_SUITE_P(Scales, DevicePixelAtScale,
                         testing::Values(ScaleCase{1.0, {0, 0}}, ScaleCase{1.25, {0, 0}}, ScaleCase{1.5, {0, 0}},
                                         ScaleCase{2.0, {0, 0}}, ScaleCase{1.5, {1280, 0}}, ScaleCase{2.0, {1280, 0}},
                                         ScaleCase{1.25, {-1920, 120}}));

// ---- The magnifier's squares ---------------------------------------------------------------------

QImage Distinct(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, qRgb(x * 16, y * 16, 100));
    return image;
}

TEST(MagnifiedPixels, EachDevicePixelIsAWholeSquareAndTheCentreIsFramed)
{
    const QImage pixels = Distinct(TPickOverlay::Side);
    for (const int cell : {8, 10, 12, 16}) {
        const int border = cell / 8;
        const QImage view = MagnifiedPixels(pixels, cell, border);
        ASSERT_EQ(view.width(), TPickOverlay::Side * cell + 2 * border);
        for (int py = 0; py < TPickOverlay::Side; ++py)
            for (int px = 0; px < TPickOverlay::Side; ++px) {
                if (px == TPickOverlay::Radius && py == TPickOverlay::Radius)
                    continue;
                const QRect square(border + px * cell, border + py * cell, cell, cell);
                for (const QPoint p : {square.topLeft(), square.bottomRight(), square.topRight(), square.center()})
                    ASSERT_EQ(view.pixel(p), pixels.pixel(px, py)) << "cell " << cell << " pixel " << px << "," << py;
            }
        const int at = border + TPickOverlay::Radius * cell;
        EXPECT_EQ(view.pixel(at, at + cell / 2), qRgb(0, 0, 0));
        EXPECT_EQ(view.pixel(at + 1, at + cell / 2), qRgb(255, 255, 255));
        EXPECT_EQ(view.pixel(at + cell / 2, at + cell / 2), pixels.pixel(TPickOverlay::Radius, TPickOverlay::Radius));
        EXPECT_EQ(view.pixel(0, 0), qRgb(255, 255, 255));
    }
}

TEST(MagnifiedPixels, NothingReadShowsBlack)
{
    const QImage view = MagnifiedPixels(QImage(), 8, 1);
    EXPECT_EQ(view.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(view.pixel(0, 0), qRgb(255, 255, 255));
}

// ---- The overlay on a screen of the test's own ---------------------------------------------------

// A screen whose pixel at (x, y) has red x, green y and blue 7; the pointer is where the test
// says, and the overlay's moves are recorded.
struct FakeScreen {
    TDevicePos pointer{0, QPoint(100, 50)};
    std::vector<TDevicePos> moves;
    TScreenAccess Access()
    {
        return {[](int, const QRect &area) {
                    QImage image(area.size(), QImage::Format_RGB32);
                    for (int y = 0; y < area.height(); ++y)
                        for (int x = 0; x < area.width(); ++x)
                            image.setPixel(x, y, qRgb((area.x() + x) & 255, (area.y() + y) & 255, 7));
                    return image;
                },
                [this](QPointF) { return pointer; },
                [this](const TDevicePos &to) {
                    moves.push_back(to);
                    pointer = to;
                },
                {}};
    }
};

struct OverlayOnFake {
    FakeScreen screen;
    QPointer<TPickOverlay> overlay;
    std::optional<TColor> taken;
    explicit OverlayOnFake(std::shared_ptr<TDisplayProfiles> profiles = {})
    {
        overlay = new TPickOverlay(screen.Access());
        if (profiles)
            overlay->ShowAsShown(std::move(profiles));
        QObject::connect(overlay, &TPickOverlay::Taken, [this](TColor c) { taken = c; });
        overlay->Begin();
    }
    ~OverlayOnFake() { delete overlay.data(); }
    // The pointer moves to a device pixel and the overlay hears of it.
    void MoveTo(QPoint device)
    {
        screen.pointer = {0, device};
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), overlay->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(overlay, &move);
    }
};

TEST(PickOverlayKeys, ArrowsMoveOneDevicePixelAndTenWithShift)
{
    OverlayOnFake run;
    EXPECT_EQ(run.overlay->Centre().Pos, QPoint(100, 50));
    QTest::keyClick(run.overlay, Qt::Key_Right);
    QTest::keyClick(run.overlay, Qt::Key_Down);
    EXPECT_EQ(run.overlay->Centre().Pos, QPoint(101, 51));
    QTest::keyClick(run.overlay, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(run.overlay, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(run.overlay->Centre().Pos, QPoint(91, 41));
    ASSERT_EQ(run.screen.moves.size(), 4u);
    EXPECT_EQ(run.screen.moves.back().Pos, QPoint(91, 41));
    QTest::keyClick(run.overlay, Qt::Key_Return);
    EXPECT_EQ(run.taken, 91 | (41 << 8) | (7 << 16));
}

TEST(PickOverlayKeys, ClickTakesThePixelTheScreenSaysThePointerIsOn)
{
    OverlayOnFake run;
    run.screen.pointer = {0, QPoint(201, 33)};
    QTest::mouseClick(run.overlay, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(run.taken, 201 | (33 << 8) | (7 << 16));
}

// ---- As the monitor shows it ---------------------------------------------------------------------

TEST(PickOverlayAsShown, TakesTheConvertedColourAndSaysWhichProfile)
{
    OverlayOnFake run(std::make_shared<TDisplayProfiles>([](int, int) { return TDisplayProfile::FromBytes(SwappedMonitor()); }));
    run.MoveTo(QPoint(200, 0));
    EXPECT_TRUE(run.overlay->toolTip().startsWith(QStringLiteral("as shown: display profile ")));
    EXPECT_EQ(run.overlay->Centre().Pos, QPoint(200, 0));
    QTest::keyClick(run.overlay, Qt::Key_Return);
    ASSERT_TRUE(run.taken);
    // Device (200, 0, 7): sent as red, shown as blue.
    EXPECT_LE(*run.taken & 0xFF, 8);
    EXPECT_GE((*run.taken >> 16) & 0xFF, 195);
}

TEST(PickOverlayAsShown, WithoutAProfileTakesTheDeviceValueAndSaysSo)
{
    OverlayOnFake run(std::make_shared<TDisplayProfiles>([](int, int) { return TDisplayProfile(); }));
    run.MoveTo(QPoint(200, 10));
    EXPECT_EQ(run.overlay->toolTip(), QStringLiteral("no display profile"));
    QTest::keyClick(run.overlay, Qt::Key_Return);
    EXPECT_EQ(run.taken, 200 | (10 << 8) | (7 << 16));
}

TEST(PickOverlayAsShown, OffShowsOneCaptionLine)
{
    OverlayOnFake plain;
    OverlayOnFake shown(std::make_shared<TDisplayProfiles>([](int, int) { return TDisplayProfile(); }));
    EXPECT_EQ(shown.overlay->View().height() - plain.overlay->View().height(), TPickOverlay::TextHeight);
    EXPECT_TRUE(plain.overlay->toolTip().isEmpty());
}

} // namespace
