#include "widgets/ShineSpdBtn.h"

#include "framework/Painting.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The button's colours resolve their theme colours through its own palette (which a window with
// fixed light faces makes a light one).
TColor Plain(const QWidget *w, TColor c) { return ColorToRGB(c, w->palette()); }
QColor Resolved(const QWidget *w, TColor c) { return ToQColor(c, w->palette()); }

// An image made from the glyph keeps the glyph's resolution (a glyph may come at a higher one).
QImage WithRatioOf(QImage image, const QImage &glyph)
{
    image.setDevicePixelRatio(glyph.devicePixelRatio());
    return image;
}

} // namespace

// ---- Pure layout and face ----

TButtonLayoutResult CalcButtonLayout(const TButtonLayoutInput &in)
{
    const bool g = !in.Glyph.isEmpty();
    const bool c = in.HasCaption;
    const int gw = g ? in.Glyph.width() : 0, gh = g ? in.Glyph.height() : 0;
    const int cw = in.Client.width(), ch = in.Client.height();
    int tw = c ? in.TextSize.width() : 0;
    const int th = c ? in.TextSize.height() : 0;
    const bool horizontal = in.Layout == blGlyphLeft || in.Layout == blGlyphRight;

    if (in.AlMargin >= 0) {
        if (horizontal && in.Margin > 0)
            tw = cw - (in.Margin + gw + (g && c ? in.Spacing : 0)) - in.AlMargin;
        else if (!horizontal)
            tw = cw - 2 * in.AlMargin;
    }

    int bw = 0, bh = 0, gx = 0, gy = 0, tx = 0, ty = 0;
    switch (in.Layout) {
    case blGlyphLeft:
        gx = 0;
        bw += gw;
        bh = std::max(bh, gh);
        if (g && c)
            bw += in.Spacing;
        tx = bw;
        if (c) {
            bw += tw;
            bh = std::max(bh, th);
        }
        break;
    case blGlyphRight:
        tx = 0;
        if (c) {
            bw += tw;
            bh = std::max(bh, th);
        }
        if (g && c)
            bw += in.Spacing;
        gx = bw;
        if (g) {
            bw += gw;
            bh = std::max(bh, gh);
        }
        break;
    case blGlyphTop:
        gy = 0;
        if (g) {
            bh += gh;
            bw = std::max(bw, gw);
        }
        if (g && c)
            bh += in.Spacing;
        ty = bh;
        if (c) {
            bh += th;
            bw = std::max(bw, tw);
        }
        break;
    case blGlyphBottom:
        ty = 0;
        if (c) {
            bh += th;
            bw = std::max(bw, tw);
        }
        if (g && c)
            bh += in.Spacing;
        gy = bh;
        bh += gh;
        bw = std::max(bw, gw);
        break;
    }
    if (horizontal) {
        if (g)
            gy = (bh - gh) / 2;
        if (c)
            ty = (bh - th) / 2;
    } else {
        if (g)
            gx = (bw - gw) / 2;
        if (c)
            tx = (bw - tw) / 2;
    }

    int ox = 0, oy = 0;
    if (in.Margin < 0) {
        ox = (cw - bw) / 2;
        oy = (ch - bh) / 2;
    } else {
        switch (in.Layout) {
        case blGlyphLeft:
            ox = in.Margin;
            oy = (ch - bh) / 2;
            break;
        case blGlyphRight:
            ox = cw - bw - in.Margin;
            oy = (ch - bh) / 2;
            break;
        case blGlyphTop:
            ox = (cw - bw) / 2;
            oy = in.Margin;
            break;
        case blGlyphBottom:
            ox = (cw - bw) / 2;
            oy = ch - bh - in.Margin;
            break;
        }
    }
    return {QPoint(ox + gx, oy + gy), QRect(ox + tx, oy + ty, tw, th)};
}

QImage GradientFace(int w, int h, TColor c1, TColor c2, bool vertical)
{
    if (w <= 0 || h <= 0)
        return {};
    const std::uint32_t p1 = ColorToPixel(c1), p2 = ColorToPixel(c2);
    auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    auto step = [&](int i, int n) {
        std::uint32_t out = 0xFF000000u;
        for (int shift : {16, 8, 0}) {
            const int a = channel(p1, shift), b = channel(p2, shift);
            // 64-bit product: the step count is a widget size and may be large.
            const auto v = static_cast<std::int64_t>(b - a) * i / n + a;
            out |= static_cast<std::uint32_t>(v) << shift;
        }
        return out;
    };
    QImage image(w, h, QImage::Format_RGB32);
    if (vertical) {
        for (int y = 0; y < h; ++y) {
            const std::uint32_t p = step(y, h);
            std::fill_n(reinterpret_cast<std::uint32_t *>(image.scanLine(y)), w, p);
        }
    } else {
        auto *first = reinterpret_cast<std::uint32_t *>(image.scanLine(0));
        for (int x = 0; x < w; ++x)
            first[x] = step(x, w);
        for (int y = 1; y < h; ++y)
            std::copy_n(first, w, reinterpret_cast<std::uint32_t *>(image.scanLine(y)));
    }
    return image;
}

const std::vector<TFrameLine> &FrameLines(TFrameType type, bool down)
{
    using C = TFrameColor;
    static const std::vector<TFrameLine> flatDown{
        {C::Shadow, 0, 0, -1, 0}, {C::Shadow, 0, 0, 0, -1},
        {C::Highlight, -1, -1, 0, -1}, {C::Highlight, -1, -1, -1, 0}};
    static const std::vector<TFrameLine> flatUp{
        {C::Highlight, 0, 0, -1, 0}, {C::Highlight, 0, 0, 0, -1},
        {C::Shadow, -1, -1, 0, -1}, {C::Shadow, -1, -1, -1, 0}};
    static const std::vector<TFrameLine> normalDown{
        {C::Shadow, 1, 1, -1, 1}, {C::Shadow, 1, 1, 1, -1},
        {C::DarkShadow, 0, 0, -1, 0}, {C::DarkShadow, 0, 0, 0, -1},
        {C::Highlight, -1, -1, 0, -1}, {C::Highlight, -1, -1, -1, 0}};
    static const std::vector<TFrameLine> normalUp{
        {C::Shadow, -2, -2, 0, -2}, {C::Shadow, -2, -2, -2, 0},
        {C::DarkShadow, -1, -1, 0, -1}, {C::DarkShadow, -1, -1, -1, 0},
        {C::Highlight, 0, 0, -1, 0}, {C::Highlight, 0, 0, 0, -1}};
    // The enclosed looks end with the closed outline (0,0) -> (0,H-1) -> (W-1,H-1) -> (W-1,0) -> (0,0).
    auto enclosed = [](std::vector<TFrameLine> lines) {
        lines.insert(lines.end(), {{C::Outline, 0, 0, 0, -1}, {C::Outline, 0, -1, -1, -1},
                                   {C::Outline, -1, -1, -1, 0}, {C::Outline, -1, 0, 0, 0}});
        return lines;
    };
    static const std::vector<TFrameLine> enclosedDown = enclosed({
        {C::Shadow, 1, 1, -2, 1}, {C::Shadow, 1, 1, 1, -2},
        {C::Highlight, -2, -2, 1, -2}, {C::Highlight, -2, -2, -2, 1}});
    static const std::vector<TFrameLine> enclosedUp = enclosed({
        {C::Highlight, 1, 1, -2, 1}, {C::Highlight, 1, 1, 1, -2},
        {C::Shadow, -2, -2, 1, -2}, {C::Shadow, -2, -2, -2, 1}});
    switch (type) {
    case ftFlatFrame:
        return down ? flatDown : flatUp;
    case ftEnclosedFrame:
        return down ? enclosedDown : enclosedUp;
    case ftNormalFrame:
        break;
    }
    return down ? normalDown : normalUp;
}

// ---- State-dependent choices ----

const TShineBtnColors &TShineSpeedButton::StateColors() const
{
    switch (FState) {
    case sbHotDown:
        return FActiveColorsEnabled ? FActiveColors : FPressedColors;
    case sbDown:
        return FPressedColors;
    case sbHot:
        return FActiveColorsEnabled ? FActiveColors : FColors;
    case sbUp:
    case sbDisabled:
        break;
    }
    return FColors;
}

const TShineBtnColors &TShineSpeedButton::OutlineColors() const
{
    if (FActiveColorsEnabled && (FState == sbHot || FState == sbHotDown))
        return FActiveColors;
    return FColors;
}

const TShineFont &TShineSpeedButton::StateFont() const
{
    return FState == sbHotDown || FState == sbHot ? FActiveFont : FFont;
}

int TShineSpeedButton::TextFlags() const
{
    // Qt draws "&" literally unless a mnemonic flag is given.
    return FShowAccelChar ? int(Qt::TextShowMnemonic) : 0;
}

TStateGlyph TShineSpeedButton::MakeStateGlyph() const
{
    if (FGlyph.isNull() || FGlyph.width() == 0 || FGlyph.height() == 0)
        return {};
    // A 1-bit glyph shows the control's colour for its set bits and the normal font's for the rest.
    const QImage source = IsMonoGlyph(FGlyph) ? MonoGlyphToColor(FGlyph, FromQColor(palette().color(QPalette::Window)),
                                                                  Plain(this, FFont.Color()))
                                              : FGlyph;
    const std::uint32_t face = ColorToPixel(Plain(this, FColors.Color()));
    TStateGlyph out;
    switch (FState) {
    case sbHotDown:
    case sbHot:
        out.Image = LightGlyph(source, FActiveImage, ColorToPixel(Plain(this, FShineColor)));
        break;
    case sbDown:
        out.Image = DecorateGlyph(source, FDownImage, face);
        break;
    case sbUp:
        out.Image = DecorateGlyph(source, FUpImage, face);
        break;
    case sbDisabled:
        if (FDisabledImage == diDefault) {
            out.Image = WithRatioOf(EdgeMask(source), FGlyph);
            out.EdgeMask = true;
            return out;
        }
        out.Image = DecorateGlyph(source, FDisabledImage, face);
        break;
    }
    out.Key = TransparentKey(out.Image);
    out.Image = WithRatioOf(out.Image, FGlyph);
    return out;
}

// ---- Painting ----

void TShineSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Paint(painter);
}

void TShineSpeedButton::Paint(QPainter &canvas)
{
    if (!isEnabled()) {
        SetState(sbDisabled);
        FMouseHeld = false;
    }
    if (FTransparent) {
        PaintFace(canvas);
        PaintContent(canvas);
        PaintFrame(canvas);
        return;
    }
    if (width() <= 0 || height() <= 0)
        return;
    TOffscreen offscreen(canvas, size(), QImage::Format_RGB32);
    offscreen.Image().fill(Qt::black);
    {
        QPainter p;
        offscreen.Begin(p);
        PaintFace(p);
        PaintContent(p);
        PaintFrame(p);
    }
    offscreen.DrawOn(canvas);
}

void TShineSpeedButton::PaintFace(QPainter &canvas)
{
    if (FTransparent || width() <= 0 || height() <= 0)
        return;
    const TShineBtnColors &s = StateColors();
    if (!s.Gradation()) {
        canvas.fillRect(rect(), Resolved(this, s.Color()));
        return;
    }
    // One gradient step per device pixel.
    const qreal r = PaintRatio(canvas);
    QImage face = GradientFace(static_cast<int>(std::ceil(width() * r)), static_cast<int>(std::ceil(height() * r)),
                               Plain(this, s.Color()), Plain(this, s.GradColor()), s.GradVertical());
    face.setDevicePixelRatio(r);
    canvas.drawImage(QPointF(0, 0), face);
}

void TShineSpeedButton::PaintContent(QPainter &canvas)
{
    const TShineFont &font = StateFont();
    canvas.setFont(font.Get());
    const TStateGlyph glyph = MakeStateGlyph();

    TButtonLayoutInput in;
    in.Client = size();
    in.Glyph = glyph.IsNull() ? QSize() : FGlyph.deviceIndependentSize().toSize();
    in.HasCaption = !FCaption.isEmpty();
    if (in.HasCaption)
        in.TextSize = canvas.fontMetrics().boundingRect(QRect(0, 0, width(), 0), Qt::AlignLeft | Qt::AlignTop | TextFlags(), FCaption).size();
    in.Layout = FLayout;
    in.Margin = FMargin;
    in.Spacing = FSpacing;
    in.AlMargin = FAlMargin;
    const TButtonLayoutResult layout = CalcButtonLayout(in);
    const bool down = FState == sbHotDown || FState == sbDown;

    if (!glyph.IsNull()) {
        QPoint at = layout.GlyphPos;
        if (down)
            at += QPoint(1, 1);
        if (glyph.EdgeMask) {
            canvas.drawImage(at + QPoint(1, 1), WithRatioOf(MaskOverlay(glyph.Image, Resolved(this, FDisabledHighlight).rgb()), FGlyph));
            canvas.drawImage(at, WithRatioOf(MaskOverlay(glyph.Image, Resolved(this, FDisabledShadow).rgb()), FGlyph));
        } else {
            canvas.drawImage(at, WithRatioOf(KeyedOverlay(glyph.Image, glyph.Key), FGlyph));
        }
    }

    if (FCaption.isEmpty())
        return;
    QRect t = layout.TextRect;
    if (down)
        t.translate(1, 1);
    int align = Qt::AlignHCenter;
    if (FAlignment == taLeftJustify)
        align = Qt::AlignLeft;
    else if (FAlignment == taRightJustify)
        align = Qt::AlignRight;
    const int flags = align | Qt::AlignTop | Qt::TextDontClip | TextFlags();
    canvas.setBrush(Qt::NoBrush);
    auto text = [&](TColor color, QPoint offset) {
        canvas.setPen(Resolved(this, color));
        canvas.drawText(t.translated(offset), flags, FCaption);
    };
    if (FState == sbDisabled) {
        text(FDisabledHighlight, {1, 1});
        text(FDisabledShadow, {0, 0});
        return;
    }
    if (FFontShadow != clNone)
        text(FFontShadow, {1, 1});
    if (FFontHighlight != clNone)
        text(FFontHighlight, {-1, -1});
    text(font.Color(), {0, 0});
}

void TShineSpeedButton::PaintFrame(QPainter &canvas)
{
    bool drawn = FUpFrame;
    if (FState == sbHotDown || FState == sbHot)
        drawn = FActiveFrame;
    else if (FState == sbDown)
        drawn = FDownFrame;
    if (!drawn)
        return;
    const bool down = FState == sbHotDown || FState == sbDown;
    const TShineBtnColors &s = StateColors();
    const int w = width(), h = height();
    auto at = [](int v, int size) { return v < 0 ? size + v : v; };
    canvas.setBrush(Qt::NoBrush);
    for (const TFrameLine &line : FrameLines(FFrameType, down)) {
        TColor color = s.DarkShadow();
        switch (line.Color) {
        case TFrameColor::Highlight:
            color = s.Highlight();
            break;
        case TFrameColor::Shadow:
            color = s.Shadow();
            break;
        case TFrameColor::DarkShadow:
            break;
        case TFrameColor::Outline:
            color = OutlineColors().DarkShadow();
            break;
        }
        canvas.setPen(QPen(Resolved(this, color), 1));
        DrawLine(canvas, {at(line.X1, w), at(line.Y1, h)}, {at(line.X2, w), at(line.Y2, h)});
    }
}
