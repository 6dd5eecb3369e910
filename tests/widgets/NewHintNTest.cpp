#include "widgets/NewHintN.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPointer>

namespace {

constexpr TColor Fill = 0xE1F2E8;
constexpr TColor Ink = 0x856556;
constexpr TColor Shadow = 0x0000FF;
const QString Text = QStringLiteral("Blue x65536 + Green x256 + Red");

// A manager with the main window's look on its own hint machinery, and a control to hover.
struct Balloon {
    TApplicationHints app{false};
    // The screen under a line-style hint, as a platform that cannot read it gives it.
    bool noScreen = (app.GrabScreen = [](QRect) { return QPixmap(); }, true);
    TAppHintN manager{nullptr, &app};
    QWidget form;
    QWidget *control;
    QPoint mouse{200, 150};

    Balloon()
    {
        manager.BGColor = 0xE8C5AA;
        manager.Brush.Color = Fill;
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(15);
        font.setStyleStrategy(QFont::NoAntialias);
        manager.Font().Assign(font, Ink);
        manager.Pen.Color = Ink;
        manager.ShadowVisible = false;
        manager.ShadowColor = Shadow;
        manager.Loaded();
        form.setGeometry(100, 100, 300, 200);
        control = new QWidget(&form);
        control->setGeometry(10, 10, 80, 20);
        control->setToolTip(Text);
        form.show();
        app.CursorPos = [this] { return mouse; };
    }
    THintEx *Window() const { return dynamic_cast<THintEx *>(app.HintWindow()); }
    THintEx &Show()
    {
        app.CancelHint();
        app.HintMouseMessage(control);
        app.HintTimerTick();
        EXPECT_TRUE(Window() && Window()->isVisible());
        return *Window();
    }
    // The text's word-wrapped extent as the application measures it.
    QSize TextExtent() const
    {
        return QFontMetrics(manager.Font().Font())
            .boundingRect(QRect(0, 0, HintDesktopRect().width() - 8, 0), Qt::AlignLeft | Qt::TextWordWrap, Text)
            .size();
    }
    QPoint HintPos() const { return mouse + QPoint(0, PointerDrop(control->cursor())); }
};

int CountColour(const QImage &image, TColor colour, const QRegion &within)
{
    const QRgb want = ToQColor(colour).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == want && within.contains(QPoint(x, y)))
                ++n;
    return n;
}

// Which of the probe points a region holds.
std::vector<bool> Holds(const QRegion &region, std::initializer_list<QPoint> points)
{
    std::vector<bool> held;
    for (const QPoint &p : points)
        held.push_back(region.contains(p));
    return held;
}

TEST(BalloonShape, RegionIsTailAndBodyInsideTheWindow)
{
    const THintShape s = HintShapeFor(hsFukidashi, QRect(10, 20, 60, 17));
    EXPECT_EQ(s.Rect, QRect(10, 20, 60, 26));
    // Body corners rows 9 to 25, just outside them, the tail, left and right of it.
    EXPECT_EQ(Holds(s.Region, {{0, 9}, {59, 25}, {0, 26}, {60, 20}, {13, 2}, {10, 7}, {14, 2}, {5, 7}, {30, 4}}),
              (std::vector<bool>{true, true, false, false, true, true, false, false, false}));
    const std::array<QPoint, 8> outline{QPoint(14, 0),  QPoint(9, 9),  QPoint(0, 9),  QPoint(0, 25),
                                        QPoint(59, 25), QPoint(59, 9), QPoint(13, 9), QPoint(13, 0)};
    EXPECT_EQ(s.Points, outline);
}

TEST(BalloonShape, RoundRectRegionHasCutCornersAndOneExtraRow)
{
    const THintShape s = HintShapeFor(hsRoundRect, QRect(0, 0, 40, 20));
    EXPECT_EQ(s.Region.boundingRect(), QRect(0, 0, 41, 21));
    EXPECT_EQ(Holds(s.Region, {{0, 0}, {40, 20}, {2, 0}, {0, 10}, {20, 20}}),
              (std::vector<bool>{false, false, true, true, true}));
    // The outline's pixels all lie inside the window's region.
    const QRegion edge = RegionEdge(RoundRectRegion(40, 20, 8, 8));
    EXPECT_TRUE((edge - s.Region).isEmpty());
    EXPECT_EQ(Holds(edge, {{20, 0}, {0, 10}, {39, 10}, {20, 10}}), (std::vector<bool>{true, true, true, false}));
    // Degenerate sizes give no region rather than a broken one.
    EXPECT_TRUE(RoundRectRegion(0, 10, 8, 8).isEmpty() && RoundRectRegion(10, -3, 8, 8).isEmpty());
    EXPECT_TRUE(HintShapeFor(hsLineString, QRect(0, 0, -30, -20)).Region.isEmpty());
}

struct StyleCase {
    THintStyle style;
    int extraWidth, extraHeight;
};

class HintWindowSize : public testing::TestWithParam<StyleCase> {};

TEST_P(HintWindowSize, GrowsTheTextExtentByTheStylesMargins)
{
    Balloon b;
    b.manager.SetHintStyle(GetParam().style);
    THintEx &w = b.Show();
    const QSize t = b.TextExtent();
    EXPECT_EQ(w.geometry(), QRect(b.HintPos(), t + QSize(GetParam().extraWidth, GetParam().extraHeight)));
    EXPECT_EQ(w.HasRegion(), GetParam().style != hsOwnerDraw);
}

INSTANTIATE_TEST_SUITE_P(Styles, HintWindowSize,
                         testing::Values(StyleCase{hsFukidashi, 6, 15}, StyleCase{hsRoundRect, 6, 6},
                                         StyleCase{hsLineString, 27, 18}, StyleCase{hsOwnerDraw, 6, 6}));

TEST(HintWindowPaint, BalloonHasFillOutlineAndTailInTheManagersColours)
{
    Balloon b;
    THintEx &w = b.Show();
    const QImage img = w.RenderImage();
    const int W = w.width(), H = w.height() - 4;
    const QRgb ink = ToQColor(Ink).rgb(), fill = ToQColor(Fill).rgb();
    EXPECT_EQ(img.pixel(0, 9 + (H - 9) / 2), ink);     // left side
    EXPECT_EQ(img.pixel(W - 1, H - 2), ink);           // right side
    EXPECT_EQ(img.pixel(W / 2, H - 1), ink);           // bottom
    EXPECT_EQ(img.pixel(W - 2, 9), ink);               // top of the body right of the tail
    EXPECT_EQ(img.pixel(13, 4), ink);                  // tail's upright side
    EXPECT_EQ(img.pixel(W - 2, H - 2), fill);
    EXPECT_EQ(img.pixel(12, 7), fill);                 // inside the tail
    EXPECT_EQ(CountColour(img, Shadow, w.Region()), 0);
    EXPECT_GT(CountColour(img, Ink, QRect(3, 10, W - 4, H - 11)), 20);   // the text
    EXPECT_EQ(w.mask(), w.Region());
}

TEST(HintWindowPaint, ShadowOnlyWhenVisible)
{
    for (THintStyle style : {hsFukidashi, hsRoundRect, hsLineString}) {
        Balloon b;
        b.manager.SetHintStyle(style);
        b.manager.ShadowVisible = true;
        const QImage shown = b.Show().RenderImage();
        EXPECT_GT(CountColour(shown, Shadow, b.Window()->Region()), 5) << style;
        b.manager.ShadowVisible = false;
        EXPECT_EQ(CountColour(b.Window()->RenderImage(), Shadow, QRect(0, 0, 2000, 2000)), 0) << style;
    }
}

TEST(HintWindowPaint, RoundRectAndLineOutlines)
{
    Balloon b;
    b.manager.SetHintStyle(hsRoundRect);
    THintEx &r = b.Show();
    const QSize t = b.TextExtent();
    QImage img = r.RenderImage();
    const QRgb ink = ToQColor(Ink).rgb();
    EXPECT_EQ(r.HintRect.size(), t + QSize(6, 2));
    EXPECT_EQ(img.pixel(t.width() / 2, 0), ink);
    EXPECT_EQ(img.pixel(t.width() + 5, (t.height() + 2) / 2), ink);
    EXPECT_EQ(img.pixel(t.width() / 2, t.height() + 1), ink);
    EXPECT_NE(img.pixel(0, 0), ink);

    b.manager.SetHintStyle(hsLineString);
    THintEx &l = b.Show();
    img = l.RenderImage();
    const int h = t.height() + 14;
    EXPECT_EQ(img.pixel(1, 1), ink);
    EXPECT_EQ(img.pixel(17, h - 2), ink);
    EXPECT_EQ(img.pixel(t.width() + 20, h - 2), ink);
    EXPECT_EQ(l.Region(), QRegion(1, 1, t.width() + 25, t.height() + 12));
}

TEST(HintWindowPaint, OwnerDrawGetsTheCanvasAndTheWindowSize)
{
    Balloon b;
    QSize seen;
    QString text;
    b.manager.Brush.Style = bsClear;
    b.manager.OnPaint = [&](const QString &hint, QPainter &canvas, int width, int height) {
        seen = QSize(width, height);
        text = hint;
        EXPECT_EQ(canvas.backgroundMode(), Qt::TransparentMode);
        EXPECT_EQ(canvas.background().color(), ToQColor(0xE8C5AA));
        canvas.fillRect(0, 0, width, height, Qt::red);
    };
    b.manager.SetHintStyle(hsOwnerDraw);
    const QImage img = b.Show().RenderImage();
    EXPECT_EQ(seen, b.TextExtent() + QSize(6, 6));
    EXPECT_EQ(text, Text);
    EXPECT_EQ(img.pixel(seen.width() - 1, seen.height() - 1), qRgb(255, 0, 0));
}

TEST(HintWindowPaint, NearTheRightEdgeTheBalloonMovesLeftWithItsTail)
{
    Balloon b;
    const QRect desktop = HintDesktopRect();
    b.mouse = QPoint(desktop.right() - 5, 100);
    THintEx &w = b.Show();
    EXPECT_EQ(w.geometry().right(), desktop.right());
    EXPECT_EQ(w.Points[0], QPoint(14, 0));
    EXPECT_EQ(w.RenderImage().pixel(13, 4), ToQColor(Ink).rgb());
}

TEST(HintManager, StyleAndFontChangesRecreateTheWindowBrushChangesShowAtNextPaint)
{
    Balloon b;
    QPointer<THintWindow> first = b.app.HintWindow();
    b.manager.SetHintStyle(hsFukidashi);
    EXPECT_EQ(b.app.HintWindow(), first);
    b.manager.SetHintStyle(hsRoundRect);
    EXPECT_TRUE(first.isNull());
    b.manager.SetHintStyle(hsFukidashi);
    THintEx &w = b.Show();
    b.manager.Brush.Color = 0x00FFFF;
    b.manager.ShadowColor = clRed;
    EXPECT_EQ(b.app.HintWindow(), &w);
    EXPECT_EQ(w.RenderImage().pixel(12, 7), qRgb(255, 255, 0));
    QPointer<THintWindow> old = &w;
    b.manager.Font().SetColor(clGreen);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(b.app.HintWindow()->font(), b.manager.Font().Font());
}

TEST(HintManager, SecondManagerTakesOverAndItsDestructionLeavesAPlainWindow)
{
    Balloon b;
    {
        TAppHintN second(nullptr, &b.app);
        EXPECT_EQ(TAppHintN::Active(), &second);
        second.Brush.Color = clAqua;
        second.Pen.Color = clRed;
        const QImage img = b.Show().RenderImage();
        EXPECT_EQ(img.pixel(12, 7), qRgb(0, 255, 255));
        EXPECT_EQ(img.pixel(0, 15), qRgb(255, 0, 0));
        EXPECT_EQ(second.HintPause(), b.manager.HintPause());
        second.SetHintPause(321);
        EXPECT_EQ(b.app.HintPause(), 321);
    }
    EXPECT_EQ(TAppHintN::Active(), nullptr);
    // No manager: no region, and nothing painted over the background.
    THintEx &w = b.Show();
    EXPECT_FALSE(w.HasRegion());
    const QImage img = w.RenderImage();
    EXPECT_EQ(CountColour(img, Ink, QRect(QPoint(0, 0), img.size())), 0);
    EXPECT_EQ(img.pixel(5, 5), ToQColor(b.app.HintColor()).rgb());
}

TEST(HintManager, ShowHintNarrowsTheTextWidthEvenWithoutAHandler)
{
    QString text = Text;
    bool canShow = true;
    THintInfo info;
    info.HintMaxWidth = 1024;
    Balloon b;
    b.app.OnShowHint(text, canShow, info);
    EXPECT_EQ(info.HintMaxWidth, 1016);
    b.manager.OnShowHint = [](QString &s, bool &show, THintInfo &) {
        s = QStringLiteral("x");
        show = false;
    };
    b.app.OnShowHint(text, canShow, info);
    EXPECT_EQ(info.HintMaxWidth, 1008);
    EXPECT_EQ(text, QStringLiteral("x"));
    EXPECT_FALSE(canShow);
}

TEST(HintManager, DestroyedManagerLeavesTheApplicationsEventsAlone)
{
    TApplicationHints app(false);
    {
        TAppHintN manager(nullptr, &app);
        manager.Loaded();
        EXPECT_TRUE(app.OnHint && app.OnShowHint);
    }
    EXPECT_FALSE(app.OnHint || app.OnShowHint);
}

} // namespace
