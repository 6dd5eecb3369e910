#include "framework/Painting.h"

#include <QPainter>
#include <QVarLengthArray>

#include <cstdlib>

void DrawLine(QPainter &painter, QPoint from, QPoint to)
{
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
