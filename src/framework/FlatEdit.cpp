#include "framework/FlatEdit.h"

#include "framework/Painting.h"

#include <QPainter>

TFlatEdit::TFlatEdit(TColor background, QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(2, 1, 2, 1);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(background, pal));
    setPalette(pal);
}

void TFlatEdit::paintEvent(QPaintEvent *e)
{
    QLineEdit::paintEvent(e);
    QPainter p(this);
    p.setPen(QColor(0x7A, 0x7A, 0x7A));
    const int r = width() - 1, b = height() - 1;
    DrawLine(p, {0, 0}, {r, 0});
    DrawLine(p, {r, 0}, {r, b});
    DrawLine(p, {r, b}, {0, b});
    DrawLine(p, {0, b}, {0, 0});
}
