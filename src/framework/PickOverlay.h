#pragma once

#include "framework/Colors.h"

#include <QImage>
#include <QWidget>

#include <functional>

// Reads an area of the screen, in global coordinates; a null image when it cannot.
using TScreenGrab = std::function<QImage(const QRect &area)>;
// Reads the screen the area lies on.
QImage GrabScreenArea(const QRect &area);

// The magnifier of the screen-grab eyedropper: a small window that follows the pointer and
// shows the pixels around it enlarged, the centre one framed. While it is open it holds the
// pointer (crosshair) and the keyboard. A left click, Return or Space takes the centre pixel;
// Escape or a right click cancels; the arrow keys move the pointer by one pixel (ten with
// Shift). Either way it releases both grabs and closes itself.
class TPickOverlay : public QWidget {
    Q_OBJECT
public:
    // Pixels on each side of the centre, and how much each is enlarged.
    static constexpr int Radius = 7;
    static constexpr int Zoom = 8;
    static constexpr int ViewSide = (2 * Radius + 1) * Zoom;
    static constexpr int TextHeight = 18;

    explicit TPickOverlay(TScreenGrab grab, QWidget *parent = nullptr);
    ~TPickOverlay() override;

    // Shows the magnifier at the pointer and takes the grabs.
    void Begin(QPoint globalPos);
    // One magnifier update: reads the area around the point and paints the enlarged view.
    void UpdateAt(QPoint globalPos);
    const QImage &View() const { return FView; }
    QPoint Centre() const { return FCentre; }
    // Where the window goes for a pointer at p on a screen of the given area: beside the pointer,
    // on the side with room, never over the pixels it reads.
    static QPoint PlaceFor(QPoint p, const QRect &screen, QSize size);

    void Take(QPoint globalPos);
    void Cancel();

signals:
    void Taken(TColor color);
    void Cancelled();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Finish();

    TScreenGrab FGrab;
    QImage FView;
    QPoint FCentre;
    bool FGrabbing = false;
    bool FDone = false;
};
