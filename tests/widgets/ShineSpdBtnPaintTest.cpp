#include "widgets/ShineSpdBtn.h"
#include "framework/Fonts.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

namespace {

constexpr TColor Face = RGB(200, 200, 200);
constexpr TColor PressedFace = RGB(230, 230, 230);
constexpr TColor ActiveFace = RGB(180, 220, 180);
constexpr TColor Hi = RGB(255, 0, 0);
constexpr TColor Sh = RGB(0, 128, 0);
constexpr TColor Dk = RGB(0, 0, 255);        // Colors.DarkShadow, also the enclosing outline
constexpr TColor PressedDk = RGB(0, 0, 90);  // PressedColors.DarkShadow
constexpr TColor Ink = RGB(0, 0, 0);

struct Button : TShineSpeedButton {
    using TShineSpeedButton::SetState;
};

void Paint(TShineBtnColors &set, TColor face, TColor dark)
{
    set.SetColor(face);
    set.SetHighlight(Hi);
    set.SetShadow(Sh);
    set.SetDarkShadow(dark);
}

// A button with a distinct colour for every frame role.
void Configure(Button &b, int w, int h)
{
    b.resize(w, h);
    Paint(b.Colors(), Face, Dk);
    Paint(b.PressedColors(), PressedFace, PressedDk);
    Paint(b.ActiveColors(), ActiveFace, Dk);
    // One named face in both fonts, so that captions compare across states.
    const QFont face = MakeFont(QStringLiteral("Liberation Serif"), 15, true);
    b.Font().Set(face, Ink);
    b.ActiveFont().Set(face, Ink);
}

QImage Render(QWidget &w)
{
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w.render(&img);
    return img;
}

TColor At(const QImage &img, int x, int y)
{
    if (x < 0)
        x += img.width();
    if (y < 0)
        y += img.height();
    return FromQColor(img.pixelColor(x, y));
}

// Bounding box of the pixels that differ from `background`.
QRect Ink_(const QImage &img, TColor background)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

template <class Pred>
int CountIf(const QImage &img, Pred pred)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pred(At(img, x, y)) ? 1 : 0;
    return n;
}

int Count(const QImage &img, TColor c)
{
    return CountIf(img, [c](TColor p) { return p == c; });
}

// Captions are antialiased: count the pixels leaning towards one channel.
int Leaning(const QImage &img, int channel)
{
    return CountIf(img, [channel](TColor p) {
        const int v[3] = {GetRValue(p), GetGValue(p), GetBValue(p)};
        return v[channel] > v[(channel + 1) % 3] + 60 && v[channel] > v[(channel + 2) % 3] + 60;
    });
}

struct Probe {
    int x, y;
    TColor color;
};

struct FrameCase {
    const char *name;
    TFrameType type;
    bool down;
    std::vector<Probe> probes;
};

class FrameLooks : public testing::TestWithParam<FrameCase> {};

} // namespace

TEST_P(FrameLooks, LinesLandOnTheirPixels)
{
    const FrameCase &c = GetParam();
    Button b;
    Configure(b, 10, 8);
    b.SetFrameType(c.type);
    b.SetState(c.down ? sbDown : sbUp);
    const QImage img = Render(b);
    for (const Probe &p : c.probes)
        EXPECT_EQ(At(img, p.x, p.y), p.color) << "pixel " << p.x << "," << p.y;
}

// Negative coordinates count from the right or bottom edge.
INSTANTIATE_TEST_SUITE_P(
    Table, FrameLooks,
    testing::Values(
        FrameCase{"FlatUp", ftFlatFrame, false,
                  {{0, 0, Hi}, {-2, 0, Hi}, {0, -2, Hi}, {-1, -1, Sh}, {-1, 1, Sh}, {1, -1, Sh},
                   {-1, 0, Face}, {0, -1, Face}, {1, 1, Face}}},
        FrameCase{"FlatDown", ftFlatFrame, true,
                  {{0, 0, Sh}, {-2, 0, Sh}, {-1, -1, Hi}, {1, -1, Hi}, {-1, 0, PressedFace}, {1, 1, PressedFace}}},
        FrameCase{"NormalUp", ftNormalFrame, false,
                  {{0, 0, Hi}, {0, -2, Hi}, {-1, -1, Dk}, {1, -1, Dk}, {-2, -2, Sh}, {-2, 1, Sh}, {0, -2, Hi},
                   {-1, 0, Face}, {0, -1, Face}, {1, 1, Face}}},
        FrameCase{"NormalDown", ftNormalFrame, true,
                  {{0, 0, PressedDk}, {-2, 0, PressedDk}, {1, 1, Sh}, {1, -2, Sh}, {-2, 1, Sh}, {-1, -1, Hi},
                   {-1, 0, PressedFace}, {0, -1, PressedFace}, {2, 2, PressedFace}}},
        FrameCase{"EnclosedUp", ftEnclosedFrame, false,
                  {{0, 0, Dk}, {-1, 0, Dk}, {0, -1, Dk}, {-1, -1, Dk}, {1, 1, Hi}, {1, -3, Hi}, {-2, -2, Sh},
                   {-2, 2, Sh}, {2, 2, Face}}},
        FrameCase{"EnclosedDownKeepsTheNormalOutline", ftEnclosedFrame, true,
                  {{0, 0, Dk}, {-1, -1, Dk}, {1, 1, Sh}, {-2, -2, Hi}, {2, 2, PressedFace}}}),
    [](const testing::TestParamInfo<FrameCase> &i) { return std::string(i.param.name); });

TEST(ShinePaint, MainWindowButtonShowsItsFrameOnlyWhenHotOrPressed)
{
    Button b;
    Configure(b, 75, 23);
    b.SetUpFrame(false);
    b.SetState(sbUp);
    QImage img = Render(b);
    EXPECT_EQ(At(img, 0, 0), Face);
    EXPECT_EQ(At(img, -1, -1), Face);

    b.SetState(sbHot);
    img = Render(b);
    EXPECT_EQ(At(img, 1, 1), Face);
    EXPECT_EQ(At(img, 0, 0), Hi);
    EXPECT_EQ(At(img, -2, -2), Sh);
    EXPECT_EQ(At(img, -1, -1), Dk);

    b.SetState(sbHotDown);
    img = Render(b);
    EXPECT_EQ(At(img, 2, 2), PressedFace);
    EXPECT_EQ(At(img, 0, 0), PressedDk);
    EXPECT_EQ(At(img, 1, 1), Sh);
    EXPECT_EQ(At(img, -1, -1), Hi);

    b.SetActiveColorsEnabled(true);
    b.ActiveColors().SetDarkShadow(RGB(9, 9, 9));
    img = Render(b);
    EXPECT_EQ(At(img, 2, 2), ActiveFace);
    EXPECT_EQ(At(img, 0, 0), RGB(9, 9, 9));
    b.SetState(sbHot);
    EXPECT_EQ(At(Render(b), 2, 2), ActiveFace);
}

TEST(ShinePaint, CaptionIsCentredAndMovesOnePixelWhilePressed)
{
    Button b;
    Configure(b, 75, 23);
    b.SetActiveFrame(false);
    b.SetDownFrame(false);
    b.SetUpFrame(false);
    b.PressedColors().SetColor(Face);
    b.SetCaption(QStringLiteral("rgb"));
    b.SetState(sbUp);
    const QRect up = Ink_(Render(b), Face);
    ASSERT_FALSE(up.isEmpty());
    EXPECT_LE(std::abs(up.left() - (75 - 1 - up.right())), 4);
    b.SetState(sbHotDown);
    EXPECT_EQ(Ink_(Render(b), Face), up.translated(1, 1));
    b.SetState(sbDown);
    EXPECT_EQ(Ink_(Render(b), Face), up.translated(1, 1));
}

TEST(ShinePaint, CaptionEmbossingAddsShadowAndHighlight)
{
    Button b;
    Configure(b, 75, 23);
    b.SetUpFrame(false);
    b.SetCaption(QStringLiteral("rgb"));
    b.SetState(sbUp);
    const QRect plain = Ink_(Render(b), Face);
    b.SetFontShadow(RGB(0, 255, 0));
    QImage img = Render(b);
    EXPECT_EQ(Ink_(img, Face), plain.adjusted(0, 0, 1, 1));
    EXPECT_GT(Leaning(img, 1), 0);
    b.SetFontHighlight(RGB(255, 255, 255));
    EXPECT_EQ(Ink_(Render(b), Face), plain.adjusted(-1, -1, 1, 1));
}

TEST(ShinePaint, DisabledCaptionIsEngravedAndIgnoresEmbossing)
{
    QWidget parent;
    auto *b = new Button;
    b->setParent(&parent);
    Configure(*b, 75, 23);
    b->SetUpFrame(false);
    b->SetCaption(QStringLiteral("rgb"));
    b->SetFontShadow(RGB(0, 255, 0));
    b->SetDisabledHighlight(RGB(255, 255, 255));
    b->SetDisabledShadow(RGB(128, 0, 0));
    b->setEnabled(false);
    const QImage img = Render(*b);
    EXPECT_EQ(b->State(), sbDisabled);
    EXPECT_GT(Count(img, RGB(255, 255, 255)), 0);
    EXPECT_GT(Leaning(img, 0), 0);
    EXPECT_EQ(Leaning(img, 1), 0);
}

TEST(ShinePaint, GradientStopsOneStepShortOfTheEndColour)
{
    const QImage v = GradientFace(3, 10, clWhite, clBlack, true);
    EXPECT_EQ(At(v, 0, 0), clWhite);
    EXPECT_EQ(At(v, 2, 9), RGB(26, 26, 26));
    const QImage h = GradientFace(10, 2, clBlack, RGB(100, 200, 50), false);
    EXPECT_EQ(At(h, 0, 1), clBlack);
    EXPECT_EQ(At(h, 9, 0), RGB(90, 180, 45));
    EXPECT_EQ(At(h, 9, 1), RGB(90, 180, 45));
}

TEST(ShinePaint, GlyphIsCentredKeyedAndLitByState)
{
    Button b;
    Configure(b, 25, 25);
    b.SetUpFrame(false);
    b.SetActiveFrame(false);
    b.SetDownFrame(false);
    QImage glyph(5, 5, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 128, 128));
    glyph.setPixel(2, 2, qRgb(255, 0, 0));
    b.SetGlyph(glyph);
    b.SetState(sbUp);
    QImage img = Render(b);
    EXPECT_EQ(At(img, 12, 12), RGB(255, 0, 0)); // (25 - 5) / 2 + 2
    EXPECT_EQ(At(img, 10, 10), Face);         // the key colour is not drawn
    b.SetState(sbHot);
    img = Render(b);
    EXPECT_EQ(At(img, 11, 12), clYellow); // frame light around the red pixel
    EXPECT_EQ(At(img, 11, 11), Face);
    b.SetState(sbHotDown);
    EXPECT_EQ(At(Render(b), 13, 13), RGB(255, 0, 0));

    b.SetState(sbDisabled);
    b.SetDisabledHighlight(RGB(255, 255, 255));
    b.SetDisabledShadow(RGB(64, 64, 64));
    img = Render(b);
    EXPECT_EQ(At(img, 12, 12), RGB(64, 64, 64)); // edge at (2,2): (1,1)-(3,3) differ
    EXPECT_EQ(At(img, 11, 11), RGB(64, 64, 64));
    EXPECT_EQ(At(img, 13, 13), RGB(255, 255, 255)); // highlight one pixel right and down
    EXPECT_EQ(At(img, 10, 10), Face);

    b.SetGlyph(nullptr);
    EXPECT_TRUE(b.Glyph().isNull());
    EXPECT_EQ(Count(Render(b), Face), 25 * 25);
}

TEST(ShinePaint, MonoGlyphDrawsItsZeroBitsInTheFontColour)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 255));
    parent.setPalette(pal);
    auto *b = new Button;
    b->setParent(&parent);
    Configure(*b, 25, 25);
    b->SetUpFrame(false);
    b->Font().SetColor(RGB(0, 0, 200));
    QImage mono(8, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    mono.setPixel(3, 1, 0);
    b->SetGlyph(mono);
    b->SetState(sbUp);
    const QImage img = Render(*b);
    EXPECT_EQ(At(img, 8 + 3, 11 + 1), RGB(0, 0, 200));
    EXPECT_EQ(Count(img, RGB(0, 0, 200)), 1);
}

TEST(ShinePaint, TransparentButtonLeavesTheBackground)
{
    Button b;
    Configure(b, 75, 23);
    b.SetCaption(QStringLiteral("rgb"));
    b.SetUpFrame(false);
    b.SetTransparent(true);
    EXPECT_FALSE(b.testAttribute(Qt::WA_OpaquePaintEvent));
    b.SetState(sbUp);
    QImage img(b.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    b.render(&img, {}, {}, QWidget::RenderFlags()); // no window background
    EXPECT_EQ(At(img, 0, 0), FromQColor(Qt::magenta));
    EXPECT_EQ(At(img, 37, 2), FromQColor(Qt::magenta));
    EXPECT_FALSE(Ink_(img, FromQColor(Qt::magenta)).isEmpty());
}

namespace {

struct LayoutCase {
    const char *name;
    TButtonLayoutInput in;
    QPoint glyph;
    QRect text;
};

class Layouts : public testing::TestWithParam<LayoutCase> {};

TButtonLayoutInput Input(QSize client, QSize glyph, QSize text, TButtonLayout layout, int margin, int alMargin = -1)
{
    TButtonLayoutInput in;
    in.Client = client;
    in.Glyph = glyph;
    in.TextSize = text;
    in.HasCaption = !text.isEmpty();
    in.Layout = layout;
    in.Margin = margin;
    in.AlMargin = alMargin;
    return in;
}

} // namespace

TEST_P(Layouts, PlaceGlyphAndCaption)
{
    const LayoutCase &c = GetParam();
    const TButtonLayoutResult r = CalcButtonLayout(c.in);
    if (!c.in.Glyph.isEmpty()) {
        EXPECT_EQ(r.GlyphPos, c.glyph);
    }
    if (c.in.HasCaption) {
        EXPECT_EQ(r.TextRect, c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Layouts,
    testing::Values(
        LayoutCase{"CaptionCentred", Input({75, 23}, {}, {20, 15}, blGlyphLeft, -1), {}, {27, 4, 20, 15}},
        LayoutCase{"GlyphOnlyNoSpacing", Input({25, 25}, {16, 16}, {}, blGlyphLeft, -1), {4, 4}, {}},
        LayoutCase{"GlyphLeftOfCaption", Input({75, 23}, {16, 16}, {20, 15}, blGlyphLeft, -1), {17, 3}, {37, 3, 20, 15}},
        LayoutCase{"GlyphRightWithMargin", Input({75, 23}, {16, 16}, {20, 15}, blGlyphRight, 2), {57, 3}, {33, 3, 20, 15}},
        LayoutCase{"GlyphBottomWithMargin", Input({40, 40}, {16, 16}, {20, 15}, blGlyphBottom, 1), {12, 23}, {10, 4, 20, 15}},
        LayoutCase{"AlMarginBandOnTop", Input({75, 23}, {}, {20, 15}, blGlyphTop, -1, 3), {}, {3, 4, 69, 15}},
        LayoutCase{"AlMarginBandBesideGlyph", Input({75, 23}, {16, 16}, {20, 15}, blGlyphLeft, 2, 5), {2, 3}, {22, 3, 48, 15}},
        LayoutCase{"CaptionOnlyTopHasNoSpacing", Input({75, 23}, {}, {20, 15}, blGlyphTop, -1), {}, {27, 4, 20, 15}}),
    [](const testing::TestParamInfo<LayoutCase> &i) { return std::string(i.param.name); });
