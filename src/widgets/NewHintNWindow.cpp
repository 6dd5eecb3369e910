// The balloon hint window: its shapes as plain geometry, then the window that applies and paints them.
#include "framework/Painting.h"
#include "widgets/NewHintN.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

// ---- shapes ----

std::array<QPoint, 7> BalloonRegionPoints(int w, int h)
{
    return {QPoint(14, 0), QPoint(8, 9), QPoint(0, 9), QPoint(0, h), QPoint(w, h), QPoint(w, 9), QPoint(14, 9)};
}

std::array<QPoint, 8> BalloonOutlinePoints(int w, int h)
{
    return {QPoint(14, 0),         QPoint(9, 9),      QPoint(0, 9),  QPoint(0, h - 1),
            QPoint(w - 1, h - 1), QPoint(w - 1, 9), QPoint(13, 9), QPoint(13, 0)};
}

QRegion RoundRectRegion(int w, int h, int ew, int eh)
{
    if (w <= 0 || h <= 0)
        return {};
    const double rx = std::min(std::max(ew, 0), w) / 2.0;
    const double ry = std::min(std::max(eh, 0), h) / 2.0;
    QRegion region;
    for (int y = 0; y < h; ++y) {
        // Distance of the pixel row's centre into a corner ellipse, measured from its centre row.
        const double cy = y + 0.5;
        double dy = 0;
        if (cy < ry)
            dy = ry - cy;
        else if (cy > h - ry)
            dy = cy - (h - ry);
        double inset = 0;
        if (dy > 0 && ry > 0) {
            const double t = std::min(dy / ry, 1.0);
            inset = rx - rx * std::sqrt(1.0 - t * t);
        }
        const int left = static_cast<int>(std::ceil(inset - 0.5));
        const int right = static_cast<int>(std::floor(w - inset - 0.5));
        if (right >= left)
            region += QRect(left, y, right - left + 1, 1);
    }
    return region;
}

QRegion RegionEdge(const QRegion &region)
{
    const QRegion inner = region & region.translated(1, 0) & region.translated(-1, 0) & region.translated(0, 1)
                          & region.translated(0, -1);
    return region - inner;
}

std::array<QPoint, 3> LineStrokePoints(int w, int h)
{
    return {QPoint(1, 1), QPoint(17, h - 2), QPoint(w, h - 2)};
}

THintShape HintShapeFor(THintStyle style, QRect rect)
{
    THintShape s;
    switch (style) {
    case hsFukidashi: {
        rect.setHeight(rect.height() + 9);
        const auto corners = BalloonRegionPoints(rect.width(), rect.height());
        s.HasRegion = true;
        s.Region = QRegion(QPolygon(QList<QPoint>(corners.begin(), corners.end())), Qt::WindingFill);
        s.SetsPoints = true;
        s.Points = BalloonOutlinePoints(rect.width(), rect.height());
        break;
    }
    case hsRoundRect:
        s.SetsHintRect = true;
        s.HasRegion = true;
        s.Region = RoundRectRegion(rect.width() + 1, rect.height() + 1, 8, 8);
        break;
    case hsLineString:
        rect.setWidth(rect.width() + 21);
        rect.setHeight(rect.height() + 12);
        s.SetsHintRect = true;
        s.HasRegion = true;
        s.Region = QRegion(1, 1, std::max(rect.width() - 2, 0), std::max(rect.height() - 2, 0));
        break;
    case hsOwnerDraw:
        break;
    }
    s.Rect = rect;
    return s;
}

TTextPlacement HintTextPlacement(THintStyle style)
{
    switch (style) {
    case hsFukidashi:
        return {{QPoint(4, 10)}, QPoint(3, 9)};
    case hsRoundRect:
        return {{QPoint(2, 2)}, QPoint(1, 1)};
    case hsLineString:
        return {{QPoint(19, 10), QPoint(19, 12), QPoint(18, 11), QPoint(20, 11)}, QPoint(19, 11)};
    case hsOwnerDraw:
        break;
    }
    return {};
}

// ---- THintEx ----

namespace {

QBrush ToQBrush(const THintBrush &b)
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,    Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const int i = std::clamp(static_cast<int>(b.Style), 0, 7);
    return QBrush(ToQColor(b.Color), styles[i]);
}

QPen ToQPen(const THintPen &p)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const int i = std::clamp(static_cast<int>(p.Style), 0, 6);
    QPen pen(ToQColor(p.Color), std::max(p.Width, 1), styles[i]);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

THintEx::THintEx()
{
    if (const TAppHintN *manager = TAppHintN::Active())
        setFont(manager->Font().Font());
}

THintEx::~THintEx()
{
    ReleaseRegion();
}

void THintEx::ReleaseRegion()
{
    if (FHasRegion)
        clearMask();
    FHasRegion = false;
    FRegion = QRegion();
}

void THintEx::ActivateHint(QRect rect, const QString &hint)
{
    ReleaseRegion();
    if (const TAppHintN *manager = TAppHintN::Active()) {
        THintShape shape = HintShapeFor(manager->HintStyle(), rect);
        rect = shape.Rect;
        if (shape.SetsHintRect)
            HintRect = rect;
        if (shape.SetsPoints)
            Points = shape.Points;
        if (shape.HasRegion) {
            FHasRegion = true;
            FRegion = shape.Region;
            setMask(FRegion);
        }
    }
    ShowHintAt(rect, hint);
}

bool THintEx::WantsScreenUnderlay() const
{
    const TAppHintN *manager = TAppHintN::Active();
    return !manager || manager->HintStyle() == hsLineString;
}

void THintEx::EraseBackground(QPainter &canvas)
{
    if (!WantsScreenUnderlay()) {
        THintWindow::EraseBackground(canvas);
        return;
    }
    // What was on the screen shows around the text; without a copy of it, the window colour.
    if (!ScreenUnderlay().isNull())
        canvas.drawPixmap(0, 0, ScreenUnderlay());
    else
        THintWindow::EraseBackground(canvas);
}

void THintEx::DrawCaption(QPainter &canvas, QPoint offset, TColor color)
{
    canvas.setPen(ToQColor(color));
    canvas.drawText(QRect(offset, size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Caption());
}

void THintEx::Paint(QPainter &canvas)
{
    const TAppHintN *manager = TAppHintN::Active();
    if (!manager)
        return;
    canvas.setFont(manager->Font().Font());
    const QBrush brush = ToQBrush(manager->Brush);
    canvas.setBrush(brush);
    if (manager->Brush.Style != bsSolid) {
        canvas.setBackground(ToQColor(ColorToRGB(manager->BGColor)));
        canvas.setBackgroundMode(Qt::TransparentMode);
    } else {
        canvas.setBackground(brush.color());
        canvas.setBackgroundMode(Qt::OpaqueMode);
    }
    const QPen pen = ToQPen(manager->Pen);
    canvas.setPen(pen);

    const THintStyle style = manager->HintStyle();
    if (style == hsOwnerDraw) {
        if (manager->OnPaint)
            manager->OnPaint(Caption(), canvas, width(), height());
        return;
    }
    const QRect client(QPoint(0, 0), size());
    if (style != hsLineString)
        canvas.fillRect(client, brush);
    // Hollow from here on: the text and the outline leave the fill alone.
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::TransparentMode);
    const TTextPlacement place = HintTextPlacement(style);
    if (manager->ShadowVisible)
        for (const QPoint &offset : place.Shadow)
            DrawCaption(canvas, offset, manager->ShadowColor);
    DrawCaption(canvas, place.Text, manager->Font().Color());

    canvas.setPen(pen);
    switch (style) {
    case hsFukidashi:
        for (size_t i = 0; i < Points.size(); ++i)
            DrawLine(canvas, Points[i], Points[(i + 1) % Points.size()]);
        break;
    case hsRoundRect:
        if (pen.style() != Qt::NoPen)
            for (const QRect &r : RegionEdge(RoundRectRegion(HintRect.width(), HintRect.height(), 8, 8)))
                canvas.fillRect(r, pen.color());
        break;
    case hsLineString: {
        const auto stroke = LineStrokePoints(HintRect.width(), HintRect.height());
        DrawLine(canvas, stroke[0], stroke[1]);
        DrawLine(canvas, stroke[1], stroke[2]);
        break;
    }
    case hsOwnerDraw:
        break;
    }
}
