#include "framework/Colors.h"
#include "framework/Painting.h"

#include "../HighDpi.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include <cmath>
#include <set>
#include <utility>

namespace {

const QRgb Paper = qRgb(255, 255, 255);
const QRgb Ink = qRgb(0, 0, 0);

QImage Canvas(int w, int h, qreal ratio)
{
    QImage img(static_cast<int>(std::ceil(w * ratio)), static_cast<int>(std::ceil(h * ratio)), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Paper);
    return img;
}

template <class Draw>
QImage Drawn(int w, int h, qreal ratio, Draw draw)
{
    QImage img = Canvas(w, h, ratio);
    QPainter p(&img);
    p.setPen(QColor(Ink));
    draw(p);
    return img;
}

std::set<std::pair<int, int>> Lit(const QImage &img)
{
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != Paper)
                out.insert({x, y});
    return out;
}

} // namespace

TEST(PaintRatio, IsTheDevicePixelsPerPixelOfTheTarget)
{
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
        QImage img = Canvas(10, 10, ratio);
        QPainter p(&img);
        p.translate(3, 4);
        EXPECT_DOUBLE_EQ(PaintRatio(p), ratio);
    }
}

struct TLineCase {
    QPoint from, to;
};

class StraightLines : public testing::TestWithParam<TLineCase> {};

// At ratio 2 a straight line covers exactly the doubled pixels of the ratio-1 line, its end
// excluded either way round.
TEST_P(StraightLines, CoverTheDoubledPixelsOfTheirRatioOneLine)
{
    const TLineCase c = GetParam();
    const QImage one = Drawn(12, 12, 1, [&](QPainter &p) { DrawLine(p, c.from, c.to); });
    const QImage two = Drawn(12, 12, 2, [&](QPainter &p) { DrawLine(p, c.from, c.to); });
    EXPECT_FALSE(Lit(one).count({c.to.x(), c.to.y()}));
    EXPECT_TRUE(IsDoubled(two, one, QRect(0, 0, 12, 12)));
}

INSTANTIATE_TEST_SUITE_P(Directions, StraightLines,
                         testing::Values(TLineCase{{2, 3}, {9, 3}}, TLineCase{{9, 3}, {2, 3}}, TLineCase{{4, 1}, {4, 10}},
                                         TLineCase{{4, 10}, {4, 1}}));

TEST(SlantedLine, HasDevicePixelStepsAlongItsRatioOnePixels)
{
    const QPoint from(1, 1), to(9, 5);
    const auto one = Lit(Drawn(12, 12, 1, [&](QPainter &p) { DrawLine(p, from, to); }));
    const QImage two = Drawn(12, 12, 2, [&](QPainter &p) { DrawLine(p, from, to); });
    EXPECT_TRUE(HasHalfPixelDetail(two, QRect(0, 0, 12, 12)));
    // Every pixel of the ratio-1 line keeps ink, and no ink strays beyond its neighbours.
    for (const auto &[x, y] : one) {
        bool inked = false;
        for (int d = 0; d < 4; ++d)
            inked |= two.pixel(2 * x + (d & 1), 2 * y + (d >> 1)) != Paper;
        EXPECT_TRUE(inked) << x << "," << y;
    }
    for (const auto &[dx, dy] : Lit(two)) {
        bool near = false;
        for (const auto &[x, y] : one)
            near |= std::abs(dx / 2 - x) <= 1 && std::abs(dy / 2 - y) <= 1;
        EXPECT_TRUE(near) << dx << "," << dy;
    }
}

TEST(FocusRect, DotsStayInAOnePixelBandAtEveryRatio)
{
    for (qreal ratio : {1.0, 1.5, 2.0}) {
        const QImage img = Drawn(20, 12, ratio, [](QPainter &p) { DrawFocusRect(p, 2, 3, 15, 10); });
        if (ratio == 2.0) {
            EXPECT_TRUE(HasHalfPixelDetail(img, QRect(0, 0, 20, 12)));
        }
        const auto lit = Lit(img);
        ASSERT_FALSE(lit.empty());
        int band = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                // A device pixel belongs to [a, b) when it lies from a's rounded position on.
                auto in = [ratio](int v, int a, int b) { return v >= qRound(a * ratio) && v < qRound(b * ratio); };
                const bool inside = in(x, 2, 15) && in(y, 3, 10);
                const bool inner = in(x, 3, 14) && in(y, 4, 9);
                if (lit.count({x, y})) {
                    EXPECT_TRUE(inside && !inner) << ratio << ": " << x << "," << y;
                }
                band += inside && !inner;
            }
        // Every other pixel of the band is a dot.
        EXPECT_NEAR(static_cast<double>(lit.size()) / band, 0.5, 0.05) << ratio;
    }
}

// A control at a place that falls between device pixels composes off screen and copies the image
// back without seams: every device pixel the area covers shows what the control painted.
TEST(Offscreen, LinesUpWithTheCanvasAtFractionalRatios)
{
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
        QImage canvas = Canvas(60, 40, ratio);
        QImage direct = Canvas(60, 40, ratio);
        {
            QPainter p(&canvas);
            p.translate(17, 13);
            TOffscreen off(p, QSize(30, 20), QImage::Format_RGB32);
            off.Image().fill(Qt::red);
            QPainter q;
            off.Begin(q);
            q.fillRect(QRect(0, 0, 30, 20), Qt::blue);
            q.fillRect(QRect(5, 5, 1, 10), Qt::black);
            q.end();
            off.DrawOn(p);
            QPainter d(&direct);
            d.translate(17, 13);
            d.fillRect(QRect(0, 0, 30, 20), Qt::blue);
            d.fillRect(QRect(5, 5, 1, 10), Qt::black);
        }
        EXPECT_EQ(canvas, direct) << ratio;
    }
}

TEST(ThemeColours, ResolveThroughTheGivenPaletteAndItsActiveGroup)
{
    QPalette dark(QColor(40, 40, 40));
    dark.setColor(QPalette::Text, QColor(250, 250, 250));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(90, 90, 90));
    dark.setCurrentColorGroup(QPalette::Disabled);
    EXPECT_EQ(ToQColor(clWindowText, dark), QColor(250, 250, 250));
    EXPECT_EQ(ToQColor(clGrayText, dark), QColor(90, 90, 90));
    EXPECT_EQ(ColorToRGB(0x01123456, dark), 0x123456);
    EXPECT_EQ(ColorToRGB(clNone, dark), clBlack);
    // The light palette is the same whatever the application's is.
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(dark);
    EXPECT_EQ(ToQColor(clWindowText, LightPalette()), QColor(Qt::black));
    EXPECT_EQ(ToQColor(clWindow, LightPalette()), QColor(Qt::white));
    EXPECT_EQ(ToQColor(clWindowText), QColor(250, 250, 250));
    QApplication::setPalette(saved);
}
