#include "widgets/LCBox.h"

#include "framework/Colors.h"
#include "framework/Painting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPolygon>

#include <cstdlib>

int LozengeCentre(int height)
{
    const int half = height / 2;
    if (height % 2 == 0)
        return half;
    return half % 2 == 0 ? half : half + 1;
}

TLozengeCheckBox::TLozengeCheckBox(QWidget *owner) : QWidget(owner)
{
    InstallLozengeAccessible();
    resize(170, 30);
    setFocusPolicy(Qt::StrongFocus);
    // Moves are reported with and without a button held.
    setMouseTracking(true);
}

void TLozengeCheckBox::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    repaint();
    NotifyLozengeChecked(this);
}

void TLozengeCheckBox::SetCaption(const QString &value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    setAccessibleName(value);
    repaint();
}

void TLozengeCheckBox::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    setEnabled(value);
    repaint();
}

void TLozengeCheckBox::Click()
{
    FChecked = !FChecked;
    setFocus(Qt::MouseFocusReason);
    repaint();
    NotifyLozengeChecked(this);
    if (OnClick)
        OnClick();
}

void TLozengeCheckBox::DblClick()
{
    if (OnDblClick)
        OnDblClick();
}

void TLozengeCheckBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        FPressed = true;
    const QPoint p = e->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, e->button(), ShiftOf(e), p.x(), p.y());
}

void TLozengeCheckBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    // The second press of a double click: no click of its own when it is released.
    FPressed = false;
    const QPointer<TLozengeCheckBox> alive(this);
    if (e->button() == Qt::LeftButton)
        DblClick();
    const QPoint p = e->position().toPoint();
    if (alive && OnMouseDown)
        OnMouseDown(this, e->button(), ShiftOf(e) | ssDouble, p.x(), p.y());
}

void TLozengeCheckBox::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, ShiftOf(e), p.x(), p.y());
}

void TLozengeCheckBox::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    const QPointer<TLozengeCheckBox> alive(this);
    if (e->button() == Qt::LeftButton) {
        const bool wasPressed = FPressed;
        FPressed = false;
        if (wasPressed && rect().contains(p))
            Click();
    }
    if (alive && OnMouseUp)
        OnMouseUp(this, e->button(), ShiftOf(e), p.x(), p.y());
}

void TLozengeCheckBox::keyPressEvent(QKeyEvent *e)
{
    const QPointer<TLozengeCheckBox> alive(this);
    int key = e->key();
    if (OnkeyDown)
        OnkeyDown(this, key, ShiftOf(e));
    if (alive && OnkeyPress)
        for (QChar c : e->text()) {
            OnkeyPress(this, c);
            if (!alive)
                break;
        }
    if (!alive)
        return;
    if (key == 0)
        e->accept();
    else
        QWidget::keyPressEvent(e);
}

void TLozengeCheckBox::keyReleaseEvent(QKeyEvent *e)
{
    // A held key repeats its press only.
    const QPointer<TLozengeCheckBox> alive(this);
    int key = e->key();
    if (!e->isAutoRepeat() && OnkeyUp)
        OnkeyUp(this, key, ShiftOf(e));
    if (!alive)
        return;
    if (key == 0)
        e->accept();
    else
        QWidget::keyReleaseEvent(e);
}

void TLozengeCheckBox::focusInEvent(QFocusEvent *)
{
    repaint();
}

void TLozengeCheckBox::focusOutEvent(QFocusEvent *)
{
    repaint();
}

void TLozengeCheckBox::paintEvent(QPaintEvent *)
{
    const int w = width(), h = height();
    const int c = LozengeCentre(h);
    const QPoint t(11, c - 7), l(4, c), b(11, c + 7), r(18, c);
    const QColor face = palette().color(backgroundRole());

    QPainter p(this);
    p.fillRect(0, 0, w, h, face);

    // Face of the lozenge, then its black outline edge by edge.
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawPolygon(QPolygon({t, l, b, r}));
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(Qt::black));
    DrawLine(p, t, l);
    DrawLine(p, l, b);
    DrawLine(p, b, r);
    DrawLine(p, r, t);

    // Light edges: the upper two when raised, the lower two when sunken.
    p.setPen(QColor(Qt::white));
    if (!FChecked) {
        DrawLine(p, t, l);
        DrawLine(p, t, r);
    } else {
        DrawLine(p, r, b);
        DrawLine(p, b, l);
    }

    p.setFont(font());
    const QFontMetrics fm(font());
    if (FEnabled) {
        const QSize text = fm.size(Qt::TextShowMnemonic | Qt::TextSingleLine, FCaption);
        const int top = c - text.height() / 2;
        const QRect textRect(22, top, text.width(), text.height());
        p.setPen(palette().color(QPalette::Active, foregroundRole()));
        p.drawText(textRect, Qt::TextShowMnemonic | Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignTop, FCaption);
        if (hasFocus()) {
            p.setPen(palette().color(QPalette::Active, foregroundRole()));
            DrawFocusRect(p, 21, top, std::min(22 + text.width(), w), top + text.height());
        }
    } else {
        const int fh = std::abs(font().pixelSize() > 0 ? font().pixelSize() : fm.height());
        const QRect rect(QPoint(23, c - fh / 2), QPoint(w - 1, c - fh / 2 + fh - 1));
        const int flags = Qt::TextShowMnemonic | Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignVCenter;
        p.setPen(ToQColor(clBtnHighlight, palette()));
        p.drawText(rect.translated(1, 1), flags, FCaption);
        p.setPen(ToQColor(clBtnShadow, palette()));
        p.drawText(rect, flags, FCaption);
    }
}
