#include "widgets/ShineSpdBtn.h"

#include "framework/Colors.h"
#include "framework/Painting.h"

#include <QMouseEvent>
#include <QPainter>

TShineSpeedButton::TShineSpeedButton(QWidget *owner) : QWidget(owner)
{
    setFocusPolicy(Qt::NoFocus);
}

void TShineSpeedButton::SetCaption(const QString &value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    setAccessibleName(value);
    update();
}

void TShineSpeedButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    FDown = true;
    update();
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !FDown)
        return;
    FDown = false;
    update();
    if (rect().contains(e->position().toPoint()) && OnClick)
        OnClick();
}

void TShineSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width(), h = height();
    p.fillRect(rect(), ToQColor(clBtnFace));
    p.setPen(ToQColor(FDown ? clBtnShadow : clBtnHighlight));
    DrawLine(p, {0, h - 1}, {0, 0});
    DrawLine(p, {0, 0}, {w - 1, 0});
    p.setPen(ToQColor(FDown ? clBtnHighlight : clBtnShadow));
    DrawLine(p, {w - 1, 0}, {w - 1, h - 1});
    DrawLine(p, {w - 1, h - 1}, {0, h - 1});
    p.setPen(ToQColor(clBtnText));
    p.setFont(font());
    const QRect face = FDown ? rect().translated(1, 1) : rect();
    p.drawText(face, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, FCaption);
}
