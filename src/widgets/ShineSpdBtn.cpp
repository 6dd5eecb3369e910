#include "widgets/ShineSpdBtn.h"

#include "framework/Accessible.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

// ---- TShineBtnColors ----

TShineBtnColors::~TShineBtnColors()
{
    OnChange = nullptr;
}

void TShineBtnColors::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TShineBtnColors::Assign(const TShineBtnColors &source)
{
    source.AssignTo(*this);
}

void TShineBtnColors::AssignTo(TShineBtnColors &dest) const
{
    dest.FColor = FColor;
    dest.FHighlight = FHighlight;
    dest.FShadow = FShadow;
    dest.FDarkShadow = FDarkShadow;
    dest.FGradColor = FGradColor;
    dest.FGradVertical = FGradVertical;
    dest.FGradation = FGradation;
    dest.Changed();
}

// ---- TShineFont ----

void TShineFont::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TShineFont::Set(const QFont &value)
{
    if (value == FFont)
        return;
    FFont = value;
    Changed();
}

void TShineFont::Set(const QFont &value, TColor color)
{
    if (value == FFont && color == FColor)
        return;
    FFont = value;
    FColor = color;
    Changed();
}

void TShineFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TShineFont::Assign(const TShineFont &source)
{
    FFont = source.FFont;
    FColor = source.FColor;
    Changed();
}

// ---- TShineSpeedButton: construction and properties ----

namespace {

// The accelerator of a caption: the character after its first "&", or none.
QChar AccelChar(const QString &caption)
{
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    if (at < 0 || at + 1 >= caption.size())
        return {};
    return caption.at(at + 1);
}

// Whether some window holds the mouse, explicitly or by a press still being tracked.
bool MouseCaptured()
{
    return QWidget::mouseGrabber() != nullptr || QGuiApplication::mouseButtons() != Qt::NoButton;
}

} // namespace

TShineSpeedButton::TShineSpeedButton(QWidget *owner) : QWidget(owner)
{
    InstallShineButtonAccessible();
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);

    FActiveColors.SetColor(clHighlightText);
    FColors.SetColor(clBtnFace);
    FPressedColors.SetColor(clBtnHighlight);
    for (TShineBtnColors *set : {&FColors, &FActiveColors, &FPressedColors})
        set->OnChange = [this](TShineBtnColors *) { RequestRepaint(); };
    for (TShineFont *font : {&FFont, &FActiveFont}) {
        font->Set(QWidget::font());
        font->OnChange = [this](TShineFont *) { RequestRepaint(); };
    }

    FHoverTimer.setInterval(200);
    connect(&FHoverTimer, &QTimer::timeout, this, &TShineSpeedButton::HoverTimerTick);
    resize(25, 25);
}

TShineSpeedButton::~TShineSpeedButton()
{
    FHoverTimer.stop();
    for (TShineBtnColors *set : {&FColors, &FActiveColors, &FPressedColors})
        set->OnChange = nullptr;
    FFont.OnChange = nullptr;
    FActiveFont.OnChange = nullptr;
}

void TShineSpeedButton::SetCaption(const QString &value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    setAccessibleName(QString(value).remove(QLatin1Char('&')));
    UpdateAccelerator();
    update();
}

void TShineSpeedButton::UpdateAccelerator()
{
    if (FShortcutId != 0)
        releaseShortcut(FShortcutId);
    FShortcutId = 0;
    const QChar c = AccelChar(FCaption);
    if (!c.isNull() && c != QLatin1Char('&'))
        FShortcutId = grabShortcut(QKeySequence(QStringLiteral("Alt+") + c.toUpper()));
}

void TShineSpeedButton::SetGroupIndex(int value)
{
    if (value != FGroupIndex)
        UpdateExclusive(value);
}

void TShineSpeedButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    UpdateExclusive(FGroupIndex);
}

void TShineSpeedButton::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TShineSpeedButton::SetFontHighlight(TColor value)
{
    FFontHighlight = value;
    update();
}

void TShineSpeedButton::SetFontShadow(TColor value)
{
    FFontShadow = value;
    update();
}

void TShineSpeedButton::SetActiveColorsEnabled(bool value)
{
    FActiveColorsEnabled = value;
    update();
}

void TShineSpeedButton::SetFont(const TShineFont *value)
{
    if (value)
        FFont.Assign(*value);
}

void TShineSpeedButton::SetActiveFont(const TShineFont *value)
{
    if (value)
        FActiveFont.Assign(*value);
}

void TShineSpeedButton::SetGlyph(const QImage *value)
{
    if (value) {
        FGlyph = *value;
        GlyphChanged();
    } else {
        FGlyph = QImage();
    }
    update();
}

void TShineSpeedButton::GlyphChanged()
{
    if (IsMonoGlyph(FGlyph))
        FGlyph = FGlyph.convertToFormat(QImage::Format_Mono);
    else if (!FGlyph.isNull())
        FGlyph = ToGlyphPixels(FGlyph);
    update();
}

// ---- State machine ----

void TShineSpeedButton::SetState(TShineButtonState state)
{
    if (state == FState)
        return;
    const bool wasDown = FState <= sbDown;
    FState = state;
    if (wasDown != (state <= sbDown)) {
        QAccessible::State changed;
        changed.pressed = true;
        changed.checked = FGroupIndex != 0;
        NotifyAccessibleState(this, changed);
    }
    if (OnStateChange)
        OnStateChange(this);
}

void TShineSpeedButton::SetDown(bool value)
{
    if (value == FDown || FGroupIndex == 0)
        return;
    if (FAllowAllUp) {
        FDown = value;
        UpdateExclusive(FGroupIndex);
        SetState(value ? sbDown : sbUp);
    } else {
        if (FDown)
            return;
        FDown = true;
        UpdateExclusive(FGroupIndex);
        SetState(sbDown);
    }
    repaint();
}

void TShineSpeedButton::UpdateExclusive(int group)
{
    FGroupIndex = group;
    QWidget *parent = parentWidget();
    if (group == 0 || !parent)
        return;
    const TGroupNotice notice{group, this, FDown, FAllowAllUp};
    const QObjectList siblings = parent->children();
    for (QObject *o : siblings)
        if (auto *b = qobject_cast<TShineSpeedButton *>(o))
            b->ButtonPressed(notice);
}

void TShineSpeedButton::ButtonPressed(const TGroupNotice &notice)
{
    if (notice.Group != FGroupIndex || !notice.Sender || notice.Sender == this)
        return;
    if (notice.Down && FDown) {
        FDown = false;
        SetState(sbUp);
        update();
    }
    FAllowAllUp = notice.AllowAllUp;
}

void TShineSpeedButton::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
    if (button != Qt::LeftButton || !isEnabled())
        return;
    SetState(sbHotDown);
    if (!FDown)
        update();
    FMouseHeld = true;
}

void TShineSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
    if (FMouseHeld) {
        TShineButtonState next = FDown ? sbDown : sbUp;
        // Strict on both sides: the first column and row count as outside while dragging.
        if (0 < x && x < width() && 0 < y && y < height())
            next = sbHotDown;
        if (next != FState) {
            SetState(next);
            update();
        }
    } else if (!FMouseInside) {
        SyncHover();
    }
}

void TShineSpeedButton::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
    if (!FMouseHeld)
        return;
    const bool inside = 0 <= x && x < width() && 0 <= y && y < height();
    if (FGroupIndex == 0) {
        SetState(sbUp);
        FMouseInside = false;
        FDown = false;
        if (inside)
            repaint();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            repaint();
    } else {
        SetState(FDown ? sbHotDown : sbHot);
        repaint();
    }
    FMouseHeld = false;
    // A click handler may close or delete the window this button lives in.
    const QPointer<TShineSpeedButton> alive(this);
    if (inside)
        Click();
    if (alive)
        SyncHover();
}

void TShineSpeedButton::Click()
{
    const bool hook = FClickDownHook;
    const TShineButtonState before = FState;
    if (hook) {
        SetState(sbHotDown);
        repaint();
    }
    const QPointer<TShineSpeedButton> alive(this);
    if (OnClick)
        OnClick();
    else if (FAction)
        FAction->trigger();
    if (alive && hook) {
        SetState(before);
        repaint();
    }
}

void TShineSpeedButton::DblClick()
{
    if (OnDblClick)
        OnDblClick();
}

void TShineSpeedButton::SyncHover()
{
    if (!isEnabled())
        return;
    FMouseInside = QApplication::widgetAt(QCursor::pos()) != this;
    if (FMouseInside)
        SendLeaveNotify();
    else
        SendEnterNotify();
}

void TShineSpeedButton::SendEnterNotify()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    MouseEnter(CurrentShiftState(), p.x(), p.y());
}

void TShineSpeedButton::SendLeaveNotify()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    MouseLeave(CurrentShiftState(), p.x(), p.y());
}

void TShineSpeedButton::MouseEnter(TShiftState shift, int x, int y)
{
    if (OnMouseEnter)
        OnMouseEnter(this, shift, x, y);
    if (FMouseInside || !isEnabled() || MouseCaptured())
        return;
    FMouseInside = true;
    if (FState == sbUp)
        SetState(sbHot);
    else if (FState == sbDown)
        SetState(sbHotDown);
    repaint();
    FHoverTimer.start();
}

void TShineSpeedButton::MouseLeave(TShiftState shift, int x, int y)
{
    if (OnMouseLeave)
        OnMouseLeave(this, shift, x, y);
    if (!FMouseInside || !isEnabled() || FMouseHeld)
        return;
    FHoverTimer.stop();
    FMouseInside = false;
    if (FState == sbHot)
        SetState(sbUp);
    else if (FState == sbHotDown)
        SetState(sbDown);
    repaint();
}

void TShineSpeedButton::HoverTimerTick()
{
    if (!FMouseInside || !isEnabled() || FMouseHeld) {
        FHoverTimer.stop();
        return;
    }
    const QPoint p = mapFromGlobal(QCursor::pos());
    if (rect().contains(p))
        return;
    MouseLeave(CurrentShiftState(), p.x(), p.y());
}

bool TShineSpeedButton::DialogChar(QChar c)
{
    const QChar accel = AccelChar(FCaption);
    if (!FShowAccelChar || accel.isNull() || accel.toUpper() != c.toUpper() || !isEnabled() || !isVisible())
        return false;
    const QWidget *parent = parentWidget();
    if (!parent || !parent->isVisible())
        return false;
    if (FAccelCharDown)
        SetDown(!FDown);
    Click();
    return true;
}

// ---- Actions ----

void TShineSpeedButton::SetAction(QAction *action)
{
    if (FAction == action)
        return;
    if (FAction)
        disconnect(FAction, nullptr, this, nullptr);
    FAction = action;
    if (!action)
        return;
    connect(action, &QAction::changed, this, [this] {
        if (FAction)
            ActionChange(FAction);
    });
    ActionChange(action);
}

void TShineSpeedButton::ActionChange(QAction *action)
{
    SetCaption(action->text());
    setToolTip(action->toolTip());
    setEnabled(action->isEnabled());
    setVisible(action->isVisible());
    const QIcon icon = action->icon();
    if (FGlyph.isNull() && !icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
        QImage image(size, QImage::Format_RGB32);
        image.fill(ToQColor(clFuchsia));
        QPainter p(&image);
        icon.paint(&p, QRect(QPoint(0, 0), size), Qt::AlignCenter, QIcon::Normal);
        p.end();
        SetGlyph(&image);
    }
    if (FActionCheckedDown && action->isCheckable())
        SetDown(action->isChecked());
}

void TShineSpeedButton::SetActionCheckedDown(bool value)
{
    if (value == FActionCheckedDown)
        return;
    FActionCheckedDown = value;
    if (value && FAction && FAction->isCheckable())
        SetDown(FAction->isChecked());
}

// ---- Qt events ----

bool TShineSpeedButton::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut) {
        const auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() == FShortcutId) {
            DialogChar(AccelChar(FCaption));
            return true;
        }
    }
    return QWidget::event(e);
}

void TShineSpeedButton::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseDown(e->button(), ShiftOf(e), p.x(), p.y());
}

void TShineSpeedButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseDown(e->button(), ShiftOf(e) | ssDouble, p.x(), p.y());
    if (e->button() == Qt::LeftButton && (FState == sbHotDown || FState == sbDown))
        DblClick();
}

void TShineSpeedButton::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseMove(ShiftOf(e), p.x(), p.y());
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseUp(e->button(), ShiftOf(e), p.x(), p.y());
}

void TShineSpeedButton::enterEvent(QEnterEvent *)
{
    SendEnterNotify();
}

void TShineSpeedButton::leaveEvent(QEvent *)
{
    SendLeaveNotify();
}

void TShineSpeedButton::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::EnabledChange:
        FDown = false;
        SetState(isEnabled() ? sbUp : sbDisabled);
        update();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(e);
}
