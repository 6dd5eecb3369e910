#include "desktop/ScreenAccess.h"

#include "desktop/X11Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cmath>

namespace {

// The screens grouped by the desktop they share, in the program's order of screens.
QList<QList<QScreen *>> Desktops()
{
    QList<QList<QScreen *>> desktops;
    for (QScreen *screen : QGuiApplication::screens()) {
        auto it = std::find_if(desktops.begin(), desktops.end(), [screen](const QList<QScreen *> &d) {
            return d.first()->virtualSiblings().contains(screen);
        });
        if (it == desktops.end())
            desktops.append({screen});
        else
            it->append(screen);
    }
    return desktops;
}

// Qt's own screen grab, asked for the area in its coordinates and cut to the device pixels
// wanted. Qt places a grab at the device pixel nearest the scaled corner.
QImage QtGrab(int, const QRect &area)
{
    QScreen *screen = ScreenShowing({0, area.center()});
    if (!screen)
        return {};
    const qreal r = screen->devicePixelRatio();
    const QPoint origin = screen->geometry().topLeft();
    const QPoint from = area.topLeft() - origin;
    const int x = static_cast<int>(std::floor(from.x() / r)), y = static_cast<int>(std::floor(from.y() / r));
    const int w = static_cast<int>(std::ceil(area.width() / r)) + 2, h = static_cast<int>(std::ceil(area.height() / r)) + 2;
    const QImage grabbed = screen->grabWindow(0, x, y, w, h).toImage().convertToFormat(QImage::Format_RGB32);
    if (grabbed.isNull())
        return {};
    const QPoint start(qRound(x * r), qRound(y * r));
    QImage image = grabbed.copy(QRect(from - start, area.size()));
    image.setDevicePixelRatio(1);
    return image;
}

TDevicePos QtPointer(QPointF seen)
{
    const QScreen *screen = QGuiApplication::screenAt(seen.toPoint());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {0, seen.toPoint()};
    return {0, DeviceFromLogical(seen, screen->geometry().topLeft(), screen->devicePixelRatio())};
}

void QtMovePointer(const TDevicePos &to)
{
    QScreen *screen = ScreenShowing(to);
    if (!screen)
        return;
    const QPointF at = LogicalFromDevice(to.Pos, screen->geometry().topLeft(), screen->devicePixelRatio());
    // Into the middle of the device pixel, so that the pointer lands on it after rounding.
    const qreal half = 0.5 / screen->devicePixelRatio();
    QCursor::setPos(screen, (at + QPointF(half, half)).toPoint());
}

} // namespace

QPoint DeviceFromLogical(QPointF p, QPoint origin, qreal ratio)
{
    return origin + QPoint(static_cast<int>(std::floor((p.x() - origin.x()) * ratio + 1e-6)),
                           static_cast<int>(std::floor((p.y() - origin.y()) * ratio + 1e-6)));
}

QPointF LogicalFromDevice(QPoint d, QPoint origin, qreal ratio)
{
    return QPointF(origin) + QPointF(d - origin) / ratio;
}

QRect DeviceGeometry(const QScreen *screen)
{
    const QRect g = screen->geometry();
    const qreal r = screen->devicePixelRatio();
    return {g.topLeft(), QSize(qRound(g.width() * r), qRound(g.height() * r))};
}

QScreen *ScreenShowing(const TDevicePos &pos)
{
    const QList<QList<QScreen *>> desktops = Desktops();
    if (pos.Screen < 0 || pos.Screen >= desktops.size())
        return nullptr;
    for (QScreen *screen : desktops[pos.Screen])
        if (DeviceGeometry(screen).contains(pos.Pos))
            return screen;
    return nullptr;
}

int MonitorIndex(const QScreen *screen)
{
    for (const QList<QScreen *> &desktop : Desktops()) {
        const auto at = desktop.indexOf(const_cast<QScreen *>(screen));
        if (at >= 0)
            return static_cast<int>(at);
    }
    return 0;
}

TScreenAccess DesktopScreen(TScreenAccess given)
{
    const bool x11 = X11Screen::Available();
    if (!given.Grab)
        given.Grab = x11 ? TScreenGrab(X11Screen::Grab) : TScreenGrab(QtGrab);
    if (!given.Pointer)
        given.Pointer = x11 ? TPointerRead([](QPointF seen) {
            const auto p = X11Screen::Pointer();
            return p ? TDevicePos{p->Screen, p->Pos} : QtPointer(seen);
        })
                            : TPointerRead(QtPointer);
    if (!given.Monitors)
        given.Monitors = [](int screen) {
            QList<QRect> areas;
            const QList<QList<QScreen *>> desktops = Desktops();
            if (screen >= 0 && screen < desktops.size())
                for (const QScreen *monitor : desktops[screen])
                    areas << DeviceGeometry(monitor);
            return areas;
        };
    if (!given.MovePointer)
        given.MovePointer = x11 ? TPointerMove([](const TDevicePos &to) { X11Screen::MovePointer({to.Screen, to.Pos}); })
                                : TPointerMove(QtMovePointer);
    return given;
}
