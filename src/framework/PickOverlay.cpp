#include "framework/PickOverlay.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int Side = 2 * TPickOverlay::Radius + 1;
// Gap between the pointer and the window, beyond the pixels the magnifier reads.
constexpr int Gap = TPickOverlay::Radius + 16;

TColor FromRgb(QRgb rgb) { return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16); }

} // namespace

QImage GrabScreenArea(const QRect &area)
{
    QScreen *screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QPoint at = area.topLeft() - screen->geometry().topLeft();
    QImage image = screen->grabWindow(0, at.x(), at.y(), area.width(), area.height()).toImage();
    // On a scaled screen the grab comes in device pixels; the magnifier works in logical ones.
    if (!image.isNull() && image.size() != area.size())
        image = image.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image.convertToFormat(QImage::Format_RGB32);
}

TPickOverlay::TPickOverlay(TScreenGrab grab, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                          | Qt::WindowDoesNotAcceptFocus),
      FGrab(grab ? std::move(grab) : TScreenGrab(GrabScreenArea)),
      FView(ViewSide, ViewSide + TextHeight, QImage::Format_RGB32)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setFixedSize(FView.size() + QSize(2, 2));
    setWindowTitle(QStringLiteral("Pick from screen"));
    FView.fill(Qt::black);
}

TPickOverlay::~TPickOverlay()
{
    Finish();
}

QPoint TPickOverlay::PlaceFor(QPoint p, const QRect &screen, QSize size)
{
    int x = p.x() + Gap;
    int y = p.y() + Gap;
    if (x + size.width() > screen.right() + 1)
        x = p.x() - Gap - size.width();
    if (y + size.height() > screen.bottom() + 1)
        y = p.y() - Gap - size.height();
    return {x, y};
}

void TPickOverlay::Begin(QPoint globalPos)
{
    UpdateAt(globalPos);
    show();
    grabMouse(Qt::CrossCursor);
    grabKeyboard();
    FGrabbing = true;
}

void TPickOverlay::UpdateAt(QPoint globalPos)
{
    FCentre = globalPos;
    const QRect area(globalPos.x() - Radius, globalPos.y() - Radius, Side, Side);
    const QImage pixels = FGrab(area);

    QPainter painter(&FView);
    painter.fillRect(FView.rect(), Qt::black);
    if (!pixels.isNull())
        painter.drawImage(QRect(0, 0, ViewSide, ViewSide), pixels);
    const QRect centre(Radius * Zoom, Radius * Zoom, Zoom, Zoom);
    painter.setPen(Qt::black);
    painter.drawRect(centre.adjusted(-1, -1, 0, 0));
    painter.setPen(Qt::white);
    painter.drawRect(centre.adjusted(-2, -2, 1, 1));
    if (!pixels.isNull() && pixels.rect().contains(Radius, Radius)) {
        const QColor c = pixels.pixelColor(Radius, Radius);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, ViewSide, ViewSide, TextHeight), Qt::AlignCenter, c.name().toUpper());
    }
    painter.end();

    if (const QScreen *screen = QGuiApplication::screenAt(globalPos))
        move(PlaceFor(globalPos, screen->geometry(), size()));
    update();
}

void TPickOverlay::Take(QPoint globalPos)
{
    if (FDone)
        return;
    const QImage pixel = FGrab(QRect(globalPos, QSize(1, 1)));
    Finish();
    if (pixel.isNull())
        emit Cancelled();
    else
        emit Taken(FromRgb(pixel.pixel(0, 0)));
    deleteLater();
}

void TPickOverlay::Cancel()
{
    if (FDone)
        return;
    Finish();
    emit Cancelled();
    deleteLater();
}

void TPickOverlay::Finish()
{
    FDone = true;
    if (FGrabbing) {
        releaseKeyboard();
        releaseMouse();
        FGrabbing = false;
    }
    hide();
}

void TPickOverlay::mouseMoveEvent(QMouseEvent *event)
{
    if (!FDone)
        UpdateAt(event->globalPosition().toPoint());
}

void TPickOverlay::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Take(event->globalPosition().toPoint());
    else if (event->button() == Qt::RightButton)
        Cancel();
}

void TPickOverlay::keyPressEvent(QKeyEvent *event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Escape:
        Cancel();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Take(FCentre);
        return;
    case Qt::Key_Left: move = {-step, 0}; break;
    case Qt::Key_Right: move = {step, 0}; break;
    case Qt::Key_Up: move = {0, -step}; break;
    case Qt::Key_Down: move = {0, step}; break;
    default:
        return;
    }
    QCursor::setPos(FCentre + move);
    UpdateAt(FCentre + move);
}

void TPickOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(1, 1, FView);
}
