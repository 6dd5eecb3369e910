// The painted controls at the device pixel ratios of high-density screens: what they show at
// ratio 2 that a picture at ratio 1, enlarged, could not, and that they keep their places.
#include "framework/Fonts.h"
#include "widgets/LCBox.h"
#include "widgets/NewHintN.h"
#include "widgets/ShineSpdBtn.h"

#include "../HighDpi.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

constexpr TColor Face = RGB(200, 210, 220);
const QRgb FaceRgb = qRgb(200, 210, 220);

struct Button : TShineSpeedButton {
    using TShineSpeedButton::SetState;
};

// A main-window-like button: flat face, normal frame while hot, caption "rgb".
void Configure(Button &b)
{
    b.resize(75, 23);
    b.Colors().SetColor(Face);
    b.Colors().SetHighlight(RGB(255, 255, 255));
    b.Colors().SetShadow(RGB(120, 120, 120));
    b.Colors().SetDarkShadow(RGB(40, 40, 40));
    b.Font().Set(MakeFont(QStringLiteral("Times New Roman"), 15, true), RGB(20, 20, 90));
    b.SetCaption(QStringLiteral("rgb"));
}

// Bounding box of what is not `background`, in device pixels.
QRect InkBox(const QImage &img, QRgb background, QRect within)
{
    QRect box;
    within &= img.rect();
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (img.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect Scaled(QRect r, int k) { return QRect(r.topLeft() * k, r.size() * k); }

} // namespace

TEST(HighDpi, ButtonCaptionAndFrameAreDrawnAtTheDisplaysResolution)
{
    Button b;
    Configure(b);
    b.SetState(sbHot);
    const QImage one = RenderAt(b, 1);
    const QImage two = RenderAt(b, 2);
    const QRect inner(3, 3, 69, 17);
    const QRect caption = InkBox(one, FaceRgb, inner);
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_TRUE(HasHalfPixelDetail(two, caption));
    // The caption keeps its place, within a device pixel or two of its doubled ratio-1 box.
    const QRect caption2 = InkBox(two, FaceRgb, Scaled(inner, 2));
    const QRect expected = Scaled(caption, 2);
    EXPECT_LE(std::abs(caption2.left() - expected.left()), 2);
    EXPECT_LE(std::abs(caption2.right() - expected.right()), 2);
    EXPECT_LE(std::abs(caption2.top() - expected.top()), 3);
    EXPECT_LE(std::abs(caption2.bottom() - expected.bottom()), 3);
    // The frame's lines are the ratio-1 lines, two device pixels thick, on their own pixels.
    EXPECT_TRUE(IsDoubled(two, one, QRect(0, 0, 75, 2)));
    EXPECT_TRUE(IsDoubled(two, one, QRect(0, 21, 75, 2)));
    EXPECT_TRUE(IsDoubled(two, one, QRect(0, 0, 2, 23)));
    EXPECT_TRUE(IsDoubled(two, one, QRect(73, 0, 2, 23)));
}

TEST(HighDpi, ButtonGradientStepsEveryDevicePixel)
{
    Button b;
    Configure(b);
    b.SetCaption(QString());
    b.SetUpFrame(false);
    b.Colors().SetGradation(true);
    b.Colors().SetGradColor(RGB(0, 0, 0));
    const QImage one = RenderAt(b, 1);
    const QImage two = RenderAt(b, 2);
    EXPECT_EQ(two.pixel(0, 0), one.pixel(0, 0));
    EXPECT_NE(two.pixel(1, 0), two.pixel(0, 0)); // half a pixel further along the gradient
}

// A glyph made at a higher resolution (an image with its own device pixel ratio) keeps its detail
// and takes the place of its size in window pixels.
TEST(HighDpi, ButtonGlyphOfTwiceTheResolutionKeepsItsDetail)
{
    QImage glyph(32, 32, QImage::Format_ARGB32); // kept as glyph pixels at its own ratio
    glyph.fill(qRgb(255, 0, 255)); // the key: bottom-left pixel
    for (int y = 0; y < 30; ++y)
        for (int x = 2; x < 32; ++x)
            glyph.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 0));
    glyph.setDevicePixelRatio(2);
    Button b;
    Configure(b);
    b.resize(25, 25);
    b.SetCaption(QString());
    b.SetUpFrame(false);
    b.SetGlyph(glyph);
    const QImage one = RenderAt(b, 1);
    const QImage two = RenderAt(b, 2);
    const QRect placed = InkBox(one, FaceRgb, one.rect());
    EXPECT_EQ(placed.size(), QSize(15, 15)); // 16 x 16 window pixels less the keyed border
    EXPECT_EQ(placed.topLeft(), QPoint(5, 4));
    EXPECT_TRUE(HasHalfPixelDetail(two, placed));
    EXPECT_NE(two.pixel(2 * 6, 2 * 6), two.pixel(2 * 6 + 1, 2 * 6));
}

// At fractional ratios a button's place falls between device pixels: what it shows still covers
// every device pixel it owns, with nothing of its composing image's blank showing.
TEST(HighDpi, ButtonAtAFractionalRatioLeavesNoSeams)
{
    for (qreal ratio : {1.25, 1.5}) {
        QWidget parent;
        parent.resize(120, 60);
        parent.setAutoFillBackground(true);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, Qt::green);
        parent.setPalette(pal);
        auto *b = new Button;
        b->setParent(&parent);
        Configure(*b);
        b->SetCaption(QString());
        b->SetUpFrame(false);
        b->move(17, 13);
        const QImage img = RenderAt(parent, ratio);
        const int x0 = qRound(17 * ratio), x1 = qRound(92 * ratio), y0 = qRound(13 * ratio), y1 = qRound(36 * ratio);
        int wrong = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                wrong += img.pixel(x, y) != FaceRgb;
        EXPECT_EQ(wrong, 0) << ratio;
        EXPECT_EQ(img.pixel(x0 - 1, y0), qRgb(0, 255, 0)) << ratio;
        EXPECT_EQ(img.pixel(x1, y1 - 1), qRgb(0, 255, 0)) << ratio;
    }
}

TEST(HighDpi, LozengeEdgesAndCaptionAreDrawnAtTheDisplaysResolution)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0xE6, 0xEE, 0xEC));
    parent.setPalette(pal);
    auto *box = new TLozengeCheckBox(&parent);
    box->setGeometry(0, 0, 77, 16);
    box->SetCaption(QStringLiteral("pigment"));
    const QImage one = RenderAt(*box, 1);
    const QImage two = RenderAt(*box, 2);
    const int c = LozengeCentre(16);
    // The slanted edges step by device pixels; the caption's glyph edges too.
    EXPECT_TRUE(HasHalfPixelDetail(two, QRect(4, c - 7, 15, 15)));
    EXPECT_TRUE(HasHalfPixelDetail(two, QRect(22, 0, 55, 16)));
    // Vertices on their pixels: the top one light, the left and right ones dark.
    EXPECT_EQ(two.pixel(2 * 11, 2 * (c - 7)), one.pixel(11, c - 7));
    EXPECT_EQ(two.pixel(2 * 11 + 1, 2 * (c - 7) + 1), qRgb(255, 255, 255));
    EXPECT_EQ(two.pixel(2 * 4, 2 * c + 1), qRgb(0, 0, 0));
    EXPECT_EQ(two.pixel(2 * 18 + 1, 2 * c), qRgb(0, 0, 0));
    EXPECT_EQ(two.pixel(2 * 11, 2 * (c + 7) + 1), qRgb(0, 0, 0));
    EXPECT_EQ(two.pixel(2 * 11, 2 * c), pal.color(QPalette::Window).rgb()); // inside
    // Nothing outside the lozenge's pixels of ratio 1.
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < 2 * 20; ++x)
            if (one.pixel(x / 2, y / 2) == pal.color(QPalette::Window).rgb() && two.pixel(x, y) != one.pixel(x / 2, y / 2)) {
                const int lx = x / 2, ly = y / 2;
                bool nearEdge = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        nearEdge |= QRect(0, 0, 20, 16).contains(lx + dx, ly + dy)
                                    && one.pixel(lx + dx, ly + dy) != pal.color(QPalette::Window).rgb();
                EXPECT_TRUE(nearEdge) << x << "," << y;
            }
}

TEST(HighDpi, BalloonTextAndTailAreDrawnAtTheDisplaysResolution)
{
    TApplicationHints app{false};
    TAppHintN manager{nullptr, &app};
    manager.Brush.Color = 14807784;
    manager.Pen.Color = 8742230;
    manager.Font().Assign(MakeFont(QStringLiteral("Times New Roman"), 15), 8742230);
    manager.ShadowVisible = false;
    manager.SetHintStyle(hsFukidashi);
    THintEx w;
    w.ActivateHint(QRect(100, 100, 80, 20), QStringLiteral("POV-ray"));
    const QImage one = w.RenderImage();
    const QImage two = w.RenderImage(2);
    ASSERT_EQ(two.size(), one.size() * 2);
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    EXPECT_TRUE(HasHalfPixelDetail(two, QRect(0, 0, 16, 10)));              // the tail's slanted edges
    EXPECT_TRUE(HasHalfPixelDetail(two, QRect(4, 10, one.width() - 8, 15))); // the caption
    // The straight outline keeps its pixels: the bottom line and the right edge.
    EXPECT_TRUE(IsDoubled(two, one, QRect(0, one.height() - 1, one.width(), 1)));
    EXPECT_TRUE(IsDoubled(two, one, QRect(one.width() - 1, 10, 1, one.height() - 11)));
}
