#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>

class QPainter;

// Device pixels per logical pixel of what a painter paints on: 1 on a plain image and on a widget
// of an ordinary screen, the screen's ratio on a high-density one, an image's own ratio when it has
// one. Everything below draws exactly as at ratio 1 when this is 1.
qreal PaintRatio(const QPainter &painter);

// A one-pixel line from `from` to `to` in the painter's pen colour, the end point excluded
// (the rule every frame and outline of the program's controls is drawn by). At other ratios the
// same pixels are covered at the device's resolution: a straight line as a band one logical
// pixel wide, a slanted one as a line with device-pixel steps.
void DrawLine(QPainter &painter, QPoint from, QPoint to);

// A dotted focus rectangle, every other pixel, left/top inclusive and right/bottom exclusive.
// At other ratios the dots are device pixels in a band one logical pixel wide.
void DrawFocusRect(QPainter &painter, int left, int top, int right, int bottom);

// An off-screen image in which a control composes a w x h logical area before copying it onto
// `canvas` in one drawImage: it has the canvas's resolution and lines up with the canvas's device
// pixels (a control's origin falls between two device pixels at fractional ratios), so nothing is
// scaled on the way. At ratio 1 it is a plain w x h image.
class TOffscreen {
public:
    TOffscreen(const QPainter &canvas, QSize logical, QImage::Format format);

    QImage &Image() { return FImage; }
    // Starts `painter` on the image with the area's top-left corner at logical (0, 0).
    void Begin(QPainter &painter);
    // Copies the image to the area's place on `canvas`.
    void DrawOn(QPainter &canvas) const;

private:
    QImage FImage;
    QPointF FShift; // logical offset of the area inside the image
};
