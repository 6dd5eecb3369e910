#pragma once

// Rendering a widget as a high-density display shows it, and what such a picture can show that a
// picture of one device pixel per pixel, enlarged, cannot.
#include <QImage>
#include <QWidget>

#include <cmath>

// The widget rendered at `ratio` device pixels per pixel, on `fill`.
inline QImage RenderAt(QWidget &w, qreal ratio, QColor fill = Qt::magenta)
{
    QImage img(static_cast<int>(std::ceil(w.width() * ratio)), static_cast<int>(std::ceil(w.height() * ratio)),
               QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(fill);
    w.render(&img);
    return img;
}

// Whether some 2 x 2 block of device pixels on a pixel of `area` (window pixels) of a picture at
// ratio 2 holds more than one colour: an edge at half a pixel, which no doubled picture has.
inline bool HasHalfPixelDetail(const QImage &img, QRect area)
{
    area &= QRect(0, 0, img.width() / 2, img.height() / 2);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(2 * x, 2 * y);
            if (img.pixel(2 * x + 1, 2 * y) != p || img.pixel(2 * x, 2 * y + 1) != p || img.pixel(2 * x + 1, 2 * y + 1) != p)
                return true;
        }
    return false;
}

// Whether a picture at ratio 2 is `logical` with every pixel doubled, inside `area`.
inline bool IsDoubled(const QImage &img, const QImage &logical, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            for (int d = 0; d < 4; ++d)
                if (img.pixel(2 * x + (d & 1), 2 * y + (d >> 1)) != logical.pixel(x, y))
                    return false;
    return true;
}
