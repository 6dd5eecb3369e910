#include "desktop/PickOverlay.h"

#include "desktop/DisplayProfile.h"

#include "framework/Announcer.h"

#include <QAccessible>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// Gap between the pointer and the window, beyond the pixels the magnifier reads.
constexpr int Gap = TPickOverlay::Radius + 16;

TColor FromRgb(QRgb rgb) { return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16); }

QString HtmlText(TColor c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void FillRect(QImage &image, const QRect &r, QRgb colour)
{
    const QRect clipped = r & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::fill(line + clipped.left(), line + clipped.right() + 1, colour);
    }
}

// A one-pixel outline of r, inside it.
void Outline(QImage &image, const QRect &r, QRgb colour)
{
    FillRect(image, QRect(r.left(), r.top(), r.width(), 1), colour);
    FillRect(image, QRect(r.left(), r.bottom(), r.width(), 1), colour);
    FillRect(image, QRect(r.left(), r.top(), 1, r.height()), colour);
    FillRect(image, QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

QImage MagnifiedPixels(const QImage &pixels, int cell, int border)
{
    const int side = TPickOverlay::Side * cell;
    QImage view(side + 2 * border, side + 2 * border, QImage::Format_RGB32);
    view.fill(Qt::white);
    const bool readable = pixels.format() == QImage::Format_RGB32 && pixels.width() >= TPickOverlay::Side
                          && pixels.height() >= TPickOverlay::Side;
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(view.scanLine(border + y)) + border;
        const auto *source = readable ? reinterpret_cast<const QRgb *>(pixels.constScanLine(y / cell)) : nullptr;
        for (int x = 0; x < side; ++x)
            line[x] = source ? (source[x / cell] | 0xFF000000u) : 0xFF000000u;
    }
    const int at = border + TPickOverlay::Radius * cell;
    Outline(view, QRect(at, at, cell, cell), qRgb(0, 0, 0));
    if (cell > 4)
        Outline(view, QRect(at + 1, at + 1, cell - 2, cell - 2), qRgb(255, 255, 255));
    return view;
}

TPickOverlay::TPickOverlay(TScreenAccess screen, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                          | Qt::WindowDoesNotAcceptFocus),
      FScreen(DesktopScreen(std::move(screen)))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setFixedSize(ViewSide + 2, ViewSide + 2 + TextHeight);
    InstallPickOverlayAccessible();
    setWindowTitle(QStringLiteral("Pick from screen"));
    setAccessibleName(windowTitle());
}

TPickOverlay::~TPickOverlay()
{
    Finish();
}

void TPickOverlay::ShowAsShown(std::shared_ptr<TDisplayProfiles> profiles)
{
    FProfiles = std::move(profiles);
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

void TPickOverlay::Begin()
{
    UpdateAt(FScreen.Pointer(QCursor::pos()));
    show();
    TakeGrabs();
}

void TPickOverlay::TakeGrabs()
{
    grabMouse(Qt::CrossCursor);
    grabKeyboard();
    FGrabbing = true;
}

TColor TPickOverlay::Shown(const TDevicePos &pos, TColor device) const
{
    if (!FProfiles)
        return device;
    const QScreen *screen = ScreenShowing(pos);
    return FProfiles->For(pos.Screen, screen ? MonitorIndex(screen) : 0).AsShown(device);
}

QString TPickOverlay::ProfileCaption(const TDevicePos &pos) const
{
    const QScreen *screen = ScreenShowing(pos);
    return FProfiles->For(pos.Screen, screen ? MonitorIndex(screen) : 0).Caption();
}

void TPickOverlay::UpdateAt(const TDevicePos &pos)
{
    FCentre = pos;
    QScreen *screen = ScreenShowing(pos);
    const qreal ratio = screen ? screen->devicePixelRatio() : devicePixelRatioF();
    FCell = std::max(1, static_cast<int>(std::lround(Zoom * ratio)));
    const int border = std::max(1, static_cast<int>(std::lround(ratio)));
    const QImage pixels = FScreen.Grab(pos.Screen, QRect(pos.Pos - QPoint(Radius, Radius), QSize(Side, Side)));

    const QImage cells = MagnifiedPixels(pixels, FCell, border);
    const int lines = FProfiles ? 2 : 1;
    FView = QImage(cells.width(), cells.height() + static_cast<int>(std::ceil(TextHeight * lines * ratio)),
                   QImage::Format_RGB32);
    FView.fill(Qt::black);
    {
        QPainter painter(&FView);
        painter.drawImage(0, 0, cells);
    }
    FView.setDevicePixelRatio(ratio);
    QPainter painter(&FView);
    painter.setPen(Qt::white);
    const qreal top = cells.height() / ratio;
    const qreal width = cells.width() / ratio;
    QString said;
    if (!pixels.isNull() && pixels.rect().contains(Radius, Radius)) {
        const TColor device = FromRgb(pixels.pixel(Radius, Radius));
        said = HtmlText(Shown(pos, device));
        painter.drawText(QRectF(0, top, width, TextHeight), Qt::AlignCenter, said);
    }
    if (FProfiles) {
        const QString caption = ProfileCaption(pos);
        said += QStringLiteral(", ") + caption;
        painter.drawText(QRectF(2, top + TextHeight, width - 4, TextHeight), Qt::AlignCenter,
                         painter.fontMetrics().elidedText(caption, Qt::ElideRight, static_cast<int>(width) - 4));
        setToolTip(caption);
    }
    painter.end();
    // A screen reader hears the colour under the pointer (and the profile) as it changes.
    SetSpokenColour(said);

    const QSize want(static_cast<int>(std::ceil(FView.width() / ratio)), static_cast<int>(std::ceil(FView.height() / ratio)));
    if (size() != want)
        setFixedSize(want);
    FollowPointer(screen);
    update();
}

void TPickOverlay::SetSpokenColour(const QString &text)
{
    if (text == accessibleDescription())
        return;
    setAccessibleDescription(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
    // A description change reaches a screen reader without its text: the colour is said too.
    if (!FAnnouncer)
        FAnnouncer = new TAnnouncer(this);
    FAnnouncer->Say(text);
}

void TPickOverlay::FollowPointer(QScreen *screen)
{
    if (!screen)
        return;
    const QPointF at = LogicalFromDevice(FCentre.Pos, screen->geometry().topLeft(), screen->devicePixelRatio());
    const QPoint place = PlaceFor(at.toPoint(), screen->geometry(), size());
    QWindow *window = isWindow() ? windowHandle() : nullptr;
    if (window && window->screen() && !window->screen()->virtualSiblings().contains(screen)) {
        // Another X screen is another desktop: the window is made anew there, and the grabs,
        // which belong to the old window, are taken again by the new one.
        const bool grabbing = FGrabbing;
        if (grabbing) {
            releaseKeyboard();
            releaseMouse();
            FGrabbing = false;
        }
        hide();
        window->setScreen(screen);
        move(place);
        show();
        if (grabbing)
            TakeGrabs();
        return;
    }
    move(isWindow() || !parentWidget() ? place : parentWidget()->mapFromGlobal(place));
}

void TPickOverlay::Take(const TDevicePos &pos)
{
    if (FDone)
        return;
    const QImage pixel = FScreen.Grab(pos.Screen, QRect(pos.Pos, QSize(1, 1)));
    const bool read = !pixel.isNull() && pixel.width() >= 1 && pixel.height() >= 1;
    const TColor color = read ? Shown(pos, FromRgb(pixel.pixel(0, 0))) : 0;
    Finish();
    if (read)
        emit Taken(color);
    else
        emit Cancelled();
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
        UpdateAt(FScreen.Pointer(event->globalPosition()));
}

void TPickOverlay::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Take(FScreen.Pointer(event->globalPosition()));
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
    const TDevicePos to{FCentre.Screen, FCentre.Pos + move};
    FScreen.MovePointer(to);
    UpdateAt(to);
}

void TPickOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), FView);
}
