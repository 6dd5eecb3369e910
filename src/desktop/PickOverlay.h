#pragma once

#include "colour/ExactColour.h"
#include "desktop/ScreenAccess.h"
#include "framework/Colors.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class TAnnouncer;
class TDisplayProfiles;

// The pixels of `pixels` (one per device pixel of the screen, `count` on each side) enlarged to
// squares of `cell` device pixels each, with a `border` of white around them and the centre
// `frame` × `frame` pixels framed: black just inside their square's edge, white one pixel
// further in.
QImage MagnifiedPixels(const QImage &pixels, int cell, int border, int count = 15, int frame = 1);

// Makes the magnifier known to screen readers (see PickOverlayAccessible.cpp).
void InstallPickOverlayAccessible();

// The magnifier of the screen-grab eyedropper: a small window that follows the pointer and
// shows the device pixels around it enlarged, the centre one framed. While it is open it holds
// the pointer (crosshair) and the keyboard. A left click, Return or Space takes the centre pixel;
// Escape or a right click cancels; the arrow keys move the pointer by one device pixel (ten with
// Shift). Either way it releases both grabs and closes itself. `+` and `-` (or the wheel with
// Ctrl) grow and shrink the square taken through PickSizes: the colour is then the square's mean
// in linear light, and the square is framed instead of the centre pixel.
class TPickOverlay : public QWidget {
    Q_OBJECT
public:
    // Device pixels on each side of the centre, and the side of each one's square in the
    // program's pixels (on a scaled screen the squares keep their size on the desk and stay
    // whole device pixels: 10 at 125 %, 12 at 150 %).
    static constexpr int Radius = 7;
    static constexpr int Zoom = 8;
    static constexpr int Side = 2 * Radius + 1;
    static constexpr int ViewSide = Side * Zoom;
    static constexpr int TextHeight = 18;

    explicit TPickOverlay(TScreenAccess screen, QWidget *parent = nullptr);
    ~TPickOverlay() override;

    // Takes colours as the monitor shows them, through its display profile (a second caption line
    // says which). Without this call the device values are taken.
    void ShowAsShown(std::shared_ptr<TDisplayProfiles> profiles);
    // The side of the square taken, one of PickSizes (anything else is held to the nearest below).
    void SetAverageSize(int side);
    int AverageSize() const { return FSize; }
    // The device pixels on each side of the view: Side, or more to show the whole square around it.
    int ViewCount() const;

    // Shows the magnifier at the pointer and takes the grabs.
    void Begin();
    // One magnifier update: reads the device pixels around the point and paints the enlarged view.
    void UpdateAt(const TDevicePos &pos);
    // The enlarged view in device pixels, at the screen's pixel ratio, with its border.
    const QImage &View() const { return FView; }
    const TDevicePos &Centre() const { return FCentre; }
    // Device pixels per square of the view.
    int Cell() const { return FCell; }
    // Where the window goes for a pointer at p on a screen of the given area: beside the pointer,
    // on the side with room, never over the pixels it reads.
    static QPoint PlaceFor(QPoint p, const QRect &screen, QSize size);

    void Take(const TDevicePos &pos);
    void Cancel();
    // Grows (shrinks, negative) the square by this many places of PickSizes, as + and - do.
    void StepSize(int steps);

signals:
    // The colour's 8 bits (its sRGB fallback), and the colour itself: 8-bit sRGB too, unless it was
    // taken exactly from a wide-gamut monitor.
    void Taken(TColor color, const TExactColour &exact);
    void Cancelled();
    void AverageSizeChanged(int side);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Finish();
    void TakeGrabs();
    // The colour of the square around pos as it is taken, from pixels read at `origin`: through the
    // display profile when asked to; nothing when none of it is on a screen.
    std::optional<TExactColour> Sample(const TDevicePos &pos, const QImage &pixels, QPoint origin) const;

    QString ProfileCaption(const TDevicePos &pos) const;
    void FollowPointer(QScreen *screen);
    void SetSpokenColour(const QString &text);

    TScreenAccess FScreen;
    std::shared_ptr<TDisplayProfiles> FProfiles;
    QImage FView;
    TDevicePos FCentre;
    int FCell = Zoom;
    int FSize = 1;
    int FWheel = 0; // the wheel's turn not yet a whole notch
    TAnnouncer *FAnnouncer = nullptr; // says the colour under the pointer; made when first needed
    bool FGrabbing = false;
    bool FDone = false;
};
