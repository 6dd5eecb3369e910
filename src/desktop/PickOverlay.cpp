#include "desktop/PickOverlay.h"

#include "colour/ColourHistory.h"
#include "desktop/DisplayProfile.h"
#include "desktop/PickAverage.h"

#include "framework/Announcer.h"

#include <QAccessible>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// Gap between the pointer and the window, beyond the pixels the magnifier reads.
constexpr int Gap = TPickOverlay::Radius + 16;

TColor ColorOf(const TRgb8 &c) { return static_cast<TColor>(c.R | (c.G << 8) | (c.B << 16)); }

// What the magnifier says of the square's size: nothing for one pixel.
QString SizeText(int side)
{
    return side > 1 ? QStringLiteral("average of %1 × %1 pixels").arg(side) : QString();
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

QImage MagnifiedPixels(const QImage &pixels, int cell, int border, int count, int frame)
{
    const int side = count * cell;
    QImage view(side + 2 * border, side + 2 * border, QImage::Format_RGB32);
    view.fill(Qt::white);
    const bool readable = pixels.format() == QImage::Format_RGB32 && pixels.width() >= count && pixels.height() >= count;
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(view.scanLine(border + y)) + border;
        const auto *source = readable ? reinterpret_cast<const QRgb *>(pixels.constScanLine(y / cell)) : nullptr;
        for (int x = 0; x < side; ++x)
            line[x] = source ? (source[x / cell] | 0xFF000000u) : 0xFF000000u;
    }
    const int at = border + (count - frame) / 2 * cell;
    const int framed = frame * cell;
    Outline(view, QRect(at, at, framed, framed), qRgb(0, 0, 0));
    if (framed > 4)
        Outline(view, QRect(at + 1, at + 1, framed - 2, framed - 2), qRgb(255, 255, 255));
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

void TPickOverlay::SetAverageSize(int side)
{
    FSize = StepPickSize(side, 0);
}

int TPickOverlay::ViewCount() const
{
    // A square too large for the view gets a view one pixel larger on each side, so that its
    // frame and what lies around it stay in sight.
    return std::max(Side, FSize + 2);
}

void TPickOverlay::StepSize(int steps)
{
    const int side = StepPickSize(FSize, steps);
    if (side == FSize)
        return;
    FSize = side;
    emit AverageSizeChanged(side);
    UpdateAt(FCentre);
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

std::optional<TExactColour> TPickOverlay::Sample(const TDevicePos &pos, const QImage &pixels, QPoint origin) const
{
    const QRect square = PickSquare(pos.Pos, FSize);
    const std::vector<QRgb> shown =
        FSize == 1 ? (pixels.rect().contains(pos.Pos - origin) ? std::vector<QRgb>{pixels.pixel(pos.Pos - origin)}
                                                              : std::vector<QRgb>{})
                   : PixelsShown(pixels, origin, square, FScreen.Monitors(pos.Screen));
    if (shown.empty())
        return std::nullopt;
    static const TDisplayProfile none;
    if (!FProfiles)
        return none.Taken(shown);
    const QScreen *screen = ScreenShowing(pos);
    return FProfiles->For(pos.Screen, screen ? MonitorIndex(screen) : 0).Taken(shown);
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
    const int count = ViewCount();
    // A larger view keeps the window's size: its squares shrink, staying whole device pixels.
    FCell = std::max(1, static_cast<int>(std::lround(Zoom * ratio)) * Side / count);
    const int border = std::max(1, static_cast<int>(std::lround(ratio)));
    const QPoint origin = pos.Pos - QPoint(count / 2, count / 2);
    const QImage pixels = FScreen.Grab(pos.Screen, QRect(origin, QSize(count, count)));

    const QImage cells = MagnifiedPixels(pixels, FCell, border, count, FSize);
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
    if (const auto taken = pixels.isNull() ? std::nullopt : Sample(pos, pixels, origin)) {
        said = HtmlText(taken->Rgb8());
        const QString size = SizeText(FSize);
        painter.drawText(QRectF(0, top, width, TextHeight), Qt::AlignCenter,
                         size.isEmpty() ? said : QStringLiteral("%1  %2×%2").arg(said).arg(FSize));
        if (!size.isEmpty())
            said += QStringLiteral(", ") + size;
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
    const QRect square = PickSquare(pos.Pos, FSize);
    const QImage pixels = FScreen.Grab(pos.Screen, square);
    const std::optional<TExactColour> taken = pixels.isNull() ? std::nullopt : Sample(pos, pixels, square.topLeft());
    Finish();
    if (taken)
        emit Taken(ColorOf(taken->Rgb8()), *taken);
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
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on many keyboards
        StepSize(1);
        return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        StepSize(-1);
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

void TPickOverlay::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || FDone) {
        event->ignore();
        return;
    }
    // One size per notch; a touchpad's small steps add up to a notch first.
    FWheel += event->angleDelta().y();
    const int notches = FWheel / QWheelEvent::DefaultDeltasPerStep;
    FWheel -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches)
        StepSize(notches);
    event->accept();
}

void TPickOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), FView);
}
