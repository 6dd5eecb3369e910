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
    // QLineEdit repaints only the strips it thinks changed, by its own idea of the scroll; a
    // long text is scrolled here, so any change repaints the whole field.
    const auto repaintLong = [this] {
        if (IsLong())
            update();
    };
    connect(this, &QLineEdit::cursorPositionChanged, this, repaintLong);
    connect(this, &QLineEdit::selectionChanged, this, repaintLong);
    connect(this, &QLineEdit::textChanged, this, repaintLong);
}

void TFlatEdit::paintEvent(QPaintEvent *e)
{
    if (IsLong())
        PaintLong();
    else
        QLineEdit::paintEvent(e);
    QPainter p(this);
    p.setPen(QColor(0x7A, 0x7A, 0x7A));
    const int r = width() - 1, b = height() - 1;
    DrawLine(p, {0, 0}, {r, 0});
    DrawLine(p, {r, 0}, {r, b});
    DrawLine(p, {r, b}, {0, b});
    DrawLine(p, {0, b}, {0, 0});
}
