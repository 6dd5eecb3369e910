#include "framework/AppHints.h"

#include "framework/Painting.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// The visible part of a standard arrow pointer below its hot spot.
constexpr int ArrowDrop = 20;

TApplicationHints *TheApplicationHints = nullptr;

void FreeApplicationHints()
{
    delete TheApplicationHints;
    TheApplicationHints = nullptr;
}

bool IsHintWindow(const QObject *o)
{
    for (auto *w = qobject_cast<const QWidget *>(o); w; w = w->parentWidget())
        if (qobject_cast<const THintWindow *>(w))
            return true;
    return false;
}

} // namespace

// ---- THintWindow ----

THintWindow::THintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                           | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setFont(QToolTip::font());
}

THintWindow::~THintWindow() = default;

void THintWindow::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    update();
}

QString ShownHint(const QString &hint)
{
    if (hint.size() <= MaxHintLength)
        return hint;
    const qsizetype cut = hint[MaxHintLength - 1].isHighSurrogate() ? MaxHintLength - 1 : MaxHintLength;
    return hint.left(cut) + QChar(0x2026);
}

QRect THintWindow::CalcHintRect(int maxWidth, const QString &hint) const
{
    const QFontMetrics fm(font());
    const QRect extent = fm.boundingRect(QRect(0, 0, std::max(maxWidth, 1), 0),
                                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, hint);
    return QRect(0, 0, extent.width() + 6, extent.height() + 2);
}

void THintWindow::ActivateHint(QRect rect, const QString &hint)
{
    ShowHintAt(rect, hint);
}

void THintWindow::ShowHintAt(QRect rect, const QString &hint)
{
    FCaption = hint;
    rect.setHeight(rect.height() + 4);
    rect = KeepHintOnDesktop(rect, HintDesktopRect());
    FUnderlay = QPixmap();
    if (WantsScreenUnderlay()) {
        // The screen without this window on it.
        if (isVisible())
            hide();
        FUnderlay = GrabScreen ? GrabScreen(rect) : GrabScreenArea(rect);
    }
    setGeometry(rect);
    show();
    update();
}

void THintWindow::EraseBackground(QPainter &canvas)
{
    canvas.fillRect(QRect(QPoint(0, 0), size()), ToQColor(FColor));
}

void THintWindow::Paint(QPainter &canvas)
{
    canvas.setPen(palette().color(QPalette::ToolTipText));
    canvas.setFont(font());
    canvas.drawText(QRect(2, 2, width() - 2, height() - 2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                    FCaption);
}

QImage THintWindow::RenderImage(qreal ratio)
{
    const QSize logical = size().expandedTo(QSize(1, 1));
    const QSize device(static_cast<int>(std::ceil(logical.width() * ratio)), static_cast<int>(std::ceil(logical.height() * ratio)));
    QImage image(ratio == 1.0 ? logical : device.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    FPainting = true;
    {
        QPainter canvas(&image);
        canvas.setFont(font());
        EraseBackground(canvas);
        Paint(canvas);
    }
    FPainting = false;
    return image;
}

void THintWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, RenderImage(PaintRatio(p)));
}

// ---- placement ----

QRect KeepHintOnDesktop(QRect rect, QRect desktop)
{
    if (rect.y() + rect.height() > desktop.y() + desktop.height())
        rect.moveTop(desktop.y() + desktop.height() - rect.height());
    if (rect.x() + rect.width() > desktop.x() + desktop.width())
        rect.moveLeft(desktop.x() + desktop.width() - rect.width());
    if (rect.x() < desktop.x())
        rect.moveLeft(desktop.x());
    if (rect.y() < desktop.y())
        rect.moveTop(desktop.y());
    return rect;
}

QPixmap GrabScreenArea(QRect rect)
{
    QScreen *screen = QGuiApplication::screenAt(rect.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QPoint origin = screen->geometry().topLeft();
    return screen->grabWindow(0, rect.x() - origin.x(), rect.y() - origin.y(), rect.width(), rect.height());
}

QRect HintDesktopRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect(0, 0, 640, 480);
}

int PointerDrop(const QCursor &cursor)
{
    const QPixmap image = cursor.pixmap();
    if (!image.isNull()) {
        const int drop = image.height() - cursor.hotSpot().y();
        if (drop > 0)
            return drop;
    }
    return ArrowDrop;
}

// ---- TApplicationHints ----

TApplicationHints::TApplicationHints(bool install)
{
    CursorPos = [] { return QCursor::pos(); };
    FHintTimer.setSingleShot(true);
    FHideTimer.setSingleShot(true);
    connect(&FHintTimer, &QTimer::timeout, this, &TApplicationHints::HintTimerTick);
    connect(&FHideTimer, &QTimer::timeout, this, &TApplicationHints::HideTimerTick);
    if (install && qApp) {
        qApp->installEventFilter(this);
        FInstalled = true;
    }
    CreateHintWindow();
}

TApplicationHints::~TApplicationHints()
{
    if (FInstalled && qApp)
        qApp->removeEventFilter(this);
    delete FHintWindow;
}

TApplicationHints &TApplicationHints::Application()
{
    if (!TheApplicationHints) {
        TheApplicationHints = new TApplicationHints(true);
        // Gone with the application, before its widgets are torn down.
        qAddPostRoutine(FreeApplicationHints);
    }
    return *TheApplicationHints;
}

void TApplicationHints::SetShowHint(bool value)
{
    if (value == FShowHint)
        return;
    FShowHint = value;
    if (value) {
        CreateHintWindow();
    } else {
        CancelHint();
        FreeHintWindow();
    }
}

void TApplicationHints::CreateHintWindow()
{
    FreeHintWindow();
    FHintWindow = FHintWindowClass ? FHintWindowClass() : new THintWindow;
    if (FHintWindow) {
        FHintWindow->SetColor(FHintColor);
        FHintWindow->GrabScreen = GrabScreen;
    }
}

void TApplicationHints::FreeHintWindow()
{
    THintWindow *old = FHintWindow;
    FHintWindow = nullptr;
    if (!old)
        return;
    old->hide();
    // A window may ask for its own replacement from inside its painting.
    if (old->Painting())
        old->deleteLater();
    else
        delete old;
}

QWidget *TApplicationHints::HintControlOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (!w->toolTip().isEmpty())
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

void TApplicationHints::StartHintTimer(int ms)
{
    FHintTimer.start(std::max(ms, 0));
}

void TApplicationHints::HintMouseMessage(QWidget *control)
{
    QWidget *newControl = HintControlOf(control);
    const QString hint = newControl ? newControl->toolTip() : QString();
    if (hint != FHint) {
        FHint = hint;
        if (OnHint)
            OnHint(this);
    }
    if (!newControl) {
        CancelHint();
        return;
    }
    if (newControl == FHintControl)
        return;
    FHintControl = newControl;
    StartHintTimer(FHintActive ? FHintShortPause : FHintPause);
}

void TApplicationHints::HintTimerTick()
{
    FHintTimer.stop();
    if (!FHintControl || !FHintControl->isVisible()) {
        CancelHint();
        return;
    }
    ActivateHint(CursorPos ? CursorPos() : QCursor::pos());
}

void TApplicationHints::HideTimerTick()
{
    FHideTimer.stop();
    HideHint();
    FHintActive = false;
}

void TApplicationHints::HideHint()
{
    FHideTimer.stop();
    if (FHintWindow)
        FHintWindow->hide();
}

void TApplicationHints::CancelHint()
{
    FHintTimer.stop();
    HideHint();
    FHintControl = nullptr;
    FHintActive = false;
}

void TApplicationHints::ActivateHint(QPoint cursorPos)
{
    QWidget *control = FHintControl;
    if (!control)
        return;
    QString hintStr = control->toolTip();
    bool canShow = FShowHint && FHintWindow;
    THintInfo info;
    info.HintControl = control;
    info.HintPos = cursorPos + QPoint(0, PointerDrop(control->cursor()));
    info.HintMaxWidth = HintDesktopRect().width();
    info.HintColor = FHintColor;
    info.CursorPos = control->mapFromGlobal(cursorPos);
    info.HideTimeout = FHintHidePause;
    if (canShow && OnShowHint)
        OnShowHint(hintStr, canShow, info);
    // The handler may have switched hints off and on, or removed the control.
    if (!canShow || hintStr.isEmpty() || !FHintWindow || !FHintControl) {
        HideHint();
        return;
    }
    hintStr = ShownHint(hintStr);
    QRect rect = FHintWindow->CalcHintRect(info.HintMaxWidth, hintStr);
    // A word wider than the desktop does not wrap: the window stops at the desktop's edge.
    const QRect desktop = HintDesktopRect();
    rect.setSize(rect.size().boundedTo(QSize(std::max(info.HintMaxWidth, 1), std::max(desktop.height() - 4, 1))));
    rect.moveTopLeft(info.HintPos);
    FHintWindow->SetColor(info.HintColor);
    FHintWindow->ActivateHint(rect, hintStr);
    FHintActive = true;
    if (info.HideTimeout > 0)
        FHideTimer.start(info.HideTimeout);
    else
        FHideTimer.stop();
}

void TApplicationHints::NoteControlUnderMouse(QWidget *control)
{
    FPendingControl = control;
    if (FPendingScheduled)
        return;
    FPendingScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FPendingScheduled = false;
            HintMouseMessage(FPendingControl);
        },
        Qt::QueuedConnection);
}

bool TApplicationHints::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        // Every tool tip is ours; the toolkit's own never shows.
        return true;
    case QEvent::Enter:
        if (auto *w = qobject_cast<QWidget *>(watched); w && !IsHintWindow(w))
            NoteControlUnderMouse(w);
        break;
    case QEvent::Leave:
        if (auto *w = qobject_cast<QWidget *>(watched); w && !IsHintWindow(w))
            NoteControlUnderMouse(w->isWindow() ? nullptr : w->parentWidget());
        break;
    case QEvent::MouseMove:
        // After a click has cancelled the hint, the next move over the control starts it again.
        if (auto *w = qobject_cast<QWidget *>(watched); w && !FHintControl && !IsHintWindow(w) && w->underMouse())
            NoteControlUnderMouse(w);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (watched->isWidgetType() && !IsHintWindow(watched))
            CancelHint();
        break;
    case QEvent::ApplicationDeactivate:
        CancelHint();
        break;
    case QEvent::Hide:
    case QEvent::Destroy:
        if (watched == FHintControl)
            CancelHint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
