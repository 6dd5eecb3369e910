#include "framework/Painting.h"

#include <QPainter>
#include <QVarLengthArray>

#include <cmath>
#include <cstdlib>

qreal PaintRatio(const QPainter &painter)
{
    const QTransform t = painter.deviceTransform();
    const qreal r = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    return r > 0 ? r : 1.0;
}

namespace {

// The end-exclusive line at a ratio other than 1, as geometry in logical coordinates.
void DrawLineScaled(QPainter &painter, QPoint from, QPoint to)
{
    if (from == to || painter.pen().style() == Qt::NoPen)
        return;
    const QColor color = painter.pen().color();
    const int x0 = from.x(), y0 = from.y(), x1 = to.x(), y1 = to.y();
    if (y0 == y1) {
        const int left = x1 > x0 ? x0 : x1 + 1;
        painter.fillRect(QRectF(left, y0, std::abs(x1 - x0), 1), color);
        return;
    }
    if (x0 == x1) {
        const int top = y1 > y0 ? y0 : y1 + 1;
        painter.fillRect(QRectF(x0, top, 1, std::abs(y1 - y0)), color);
        return;
    }
    // From the near edge of the first pixel to the near edge of the excluded last one, through
    // the pixel centres.
    const QPointF a(x0 + 0.5, y0 + 0.5), b(x1 + 0.5, y1 + 0.5);
    const QPointF d = b - a;
    const QPointF half = d * (0.5 / std::hypot(d.x(), d.y()));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QLineF(a - half, b - half));
    painter.restore();
}

void DrawFocusRectScaled(QPainter &painter, int left, int top, int right, int bottom)
{
    const QTransform t = painter.deviceTransform();
    bool invertible = false;
    const QTransform back = t.inverted(&invertible);
    if (!invertible)
        return;
    // The one-pixel band between the rectangle and the rectangle one pixel inside, in device pixels.
    auto device = [&](int l, int tp, int r, int b) {
        const QPointF a = t.map(QPointF(l, tp)), z = t.map(QPointF(r, b));
        return QRect(QPoint(qRound(a.x()), qRound(a.y())), QPoint(qRound(z.x()) - 1, qRound(z.y()) - 1));
    };
    const QRect outer = device(left, top, right, bottom);
    const QRect inner = device(left + 1, top + 1, right - 1, bottom - 1);
    const QColor color = painter.pen().color();
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x)
            if (((x + y) & 1) == 0 && !inner.contains(x, y))
                painter.fillRect(back.mapRect(QRectF(x, y, 1, 1)), color);
}

} // namespace

void DrawLine(QPainter &painter, QPoint from, QPoint to)
{
    if (PaintRatio(painter) != 1.0) {
        DrawLineScaled(painter, from, to);
        return;
    }
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int err = dx + dy;
    QVarLengthArray<QPoint, 64> points;
    while (x != to.x() || y != to.y()) {
        points.append(QPoint(x, y));
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    if (!points.isEmpty())
        painter.drawPoints(points.constData(), static_cast<int>(points.size()));
}

void DrawFocusRect(QPainter &painter, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    if (PaintRatio(painter) != 1.0) {
        DrawFocusRectScaled(painter, left, top, right, bottom);
        return;
    }
    QVarLengthArray<QPoint, 256> points;
    // Walk the outline clockwise and keep every other pixel.
    int n = 0;
    auto plot = [&](int x, int y) {
        if ((n++ & 1) == 0)
            points.append(QPoint(x, y));
    };
    for (int x = left; x < right; ++x)
        plot(x, top);
    for (int y = top + 1; y < bottom; ++y)
        plot(right - 1, y);
    for (int x = right - 2; x >= left && bottom - 1 > top; --x)
        plot(x, bottom - 1);
    for (int y = bottom - 2; y > top && right - 1 > left; --y)
        plot(left, y);
    painter.drawPoints(points.constData(), static_cast<int>(points.size()));
}

TOffscreen::TOffscreen(const QPainter &canvas, QSize logical, QImage::Format format)
{
    const qreal r = PaintRatio(canvas);
    if (r == 1.0) {
        FImage = QImage(logical, format);
        return;
    }
    // The device pixels the area owns: those a fill of the area would cover on the canvas (from
    // the rounded position of one corner to the rounded position of the other).
    const QTransform t = canvas.deviceTransform();
    const QPointF from = t.map(QPointF(0, 0)), to = t.map(QPointF(logical.width(), logical.height()));
    const int x0 = qRound(from.x()), y0 = qRound(from.y());
    FImage = QImage(std::max(qRound(to.x()) - x0, 1), std::max(qRound(to.y()) - y0, 1), format);
    FImage.setDevicePixelRatio(r);
    FShift = QPointF((from.x() - x0) / r, (from.y() - y0) / r);
}

void TOffscreen::Begin(QPainter &painter)
{
    painter.begin(&FImage);
    painter.translate(FShift);
}

void TOffscreen::DrawOn(QPainter &canvas) const
{
    canvas.drawImage(-FShift, FImage);
}
