#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

// The X server the program runs on, read and driven in its own device pixels: the root window's
// coordinates, which are the screen's pixels whatever scale the program draws at. Each function
// does nothing (or returns nothing) when the program does not run on X11.
namespace X11Screen {

// Whether the program talks to an X server.
bool Available();

// Where the pointer is: the X screen it is on (0 on a desktop with one root window) and its
// position on that screen's root window.
struct TPointer {
    int Screen = 0;
    QPoint Pos;
};
std::optional<TPointer> Pointer();
void MovePointer(const TPointer &to);

// The pixels of an area of an X screen's root window as the screen shows them (RGB32). Null when
// the area lies outside the root window or the server's pixel format is not a true-colour one of
// 32 bits per pixel.
QImage Grab(int screen, const QRect &area);

// A property of an X screen's root window, read whole, in 8-bit format. Empty when it is not set
// or not in 8-bit format; `tooLarge` is set (and nothing read) when it holds more than maxBytes.
std::optional<QByteArray> RootProperty(int screen, const QByteArray &name, qint64 maxBytes, bool *tooLarge = nullptr);

} // namespace X11Screen
