#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <functional>

class QScreen;

// A pixel of the desktop as the screen shows it, whatever scale the program draws at: the X
// screen it lies on (0 where there is only one root window) and its device position there.
struct TDevicePos {
    int Screen = 0;
    QPoint Pos;
    friend bool operator==(const TDevicePos &, const TDevicePos &) = default;
};

// The device pixel under a point of the program's coordinates, on a screen whose top-left corner
// is `origin` (a screen's corner has the same coordinates in both) and that shows `ratio` device
// pixels per pixel. A mouse position is its device position divided by the ratio, so it comes
// back exactly.
QPoint DeviceFromLogical(QPointF p, QPoint origin, qreal ratio);
// The point of the program's coordinates at the top-left corner of a device pixel.
QPointF LogicalFromDevice(QPoint d, QPoint origin, qreal ratio);

// The screen (monitor) that shows a device pixel, or nullptr. X screen n is the n-th group of
// screens that share one desktop, in the order the program lists them.
QScreen *ScreenShowing(const TDevicePos &pos);
// The screen's area in device pixels.
QRect DeviceGeometry(const QScreen *screen);
// Its place among the monitors of its own X screen, as the X server counts them (the first one
// is the primary monitor): the n of the _ICC_PROFILE_n root window property.
int MonitorIndex(const QScreen *screen);

// How the eyedropper reaches the screen, in device pixels. Each member may be replaced (tests
// paint a screen of their own); an empty one means the desktop's.
using TScreenGrab = std::function<QImage(int screen, const QRect &area)>;
// Where the pointer is; `seen` is where the latest mouse event put it, in the program's
// coordinates (on X11 the server is asked instead, which knows the device pixel exactly).
using TPointerRead = std::function<TDevicePos(QPointF seen)>;
using TPointerMove = std::function<void(const TDevicePos &to)>;
// The device areas of the monitors an X screen shows (what lies outside them is no pixel of the
// screen).
using TMonitorAreas = std::function<QList<QRect>(int screen)>;
struct TScreenAccess {
    TScreenGrab Grab;
    TPointerRead Pointer;
    TPointerMove MovePointer;
    TMonitorAreas Monitors;
};

// The desktop's own screen: the X server's root windows on X11, Qt's screens elsewhere. Members
// already set in `given` are kept.
TScreenAccess DesktopScreen(TScreenAccess given = {});
