#include "framework/FlatEdit.h"

#include <QPainter>

TFlatEdit::TFlatEdit(TColor background, QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(2, 1, 2, 1);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(background));
    setPalette(pal);
}

void TFlatEdit::paintEvent(QPaintEvent *e)
{
    QLineEdit::paintEvent(e);
    QPainter p(this);
    p.setPen(QColor(0x7A, 0x7A, 0x7A));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
