#include "picker/PickerControls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

TPaintBox::TPaintBox(QWidget *parent) : QWidget(parent)
{
    InstallPickerAccessible();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::SetKeyHandler(std::function<bool(QKeyEvent *)> handler)
{
    OnKeyDown = std::move(handler);
    setFocusPolicy(OnKeyDown ? Qt::TabFocus : Qt::NoFocus);
}

void TPaintBox::keyPressEvent(QKeyEvent *event)
{
    if (OnKeyDown && OnKeyDown(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TPaintBox::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TPaintBox::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TPaintBox::paintEvent(QPaintEvent *)
{
    if (!OnPaint)
        return;
    QPainter painter(this);
    OnPaint(painter);
}

void TPaintBox::mousePressEvent(QMouseEvent *event)
{
    if (OnMouseDown) {
        const QPoint p = event->position().toPoint();
        OnMouseDown(event->button(), p.x(), p.y());
    }
}

void TPaintBox::mouseMoveEvent(QMouseEvent *event)
{
    if (OnMouseMove) {
        const QPoint p = event->position().toPoint();
        OnMouseMove(event->buttons(), p.x(), p.y());
    }
}

TRadioItem::TRadioItem(const QString &text, QWidget *parent) : QRadioButton(text, parent)
{
    InstallPickerAccessible();
}

TRawEdit::TRawEdit(QWidget *parent) : QLineEdit(parent) {}

void TRawEdit::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    if (OnKeyUp)
        OnKeyUp(this);
}

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent, int top, int step)
    : QGroupBox(caption, parent)
{
    const int rows = static_cast<int>(items.size());
    for (int i = 0; i < rows; ++i) {
        auto *item = new TRadioItem(items[i], this);
        item->setAutoExclusive(false);
        item->setGeometry(8, top + i * step, 72, 20);
        FItems.push_back(item);
        connect(item, &QRadioButton::clicked, this, [this, item] {
            // Choosing an item clears the others; clicking the chosen one keeps it chosen.
            for (QRadioButton *other : FItems)
                other->setChecked(other == item);
            if (OnClick)
                OnClick();
        });
    }
}

int TRadioGroup::ItemIndex() const
{
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    for (std::size_t i = 0; i < FItems.size(); ++i)
        FItems[i]->setChecked(static_cast<int>(i) == index);
}

TShape::TShape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TShape::SetBrushColor(const QColor &c)
{
    if (c == FBrush)
        return;
    FBrush = c;
    update();
}

void TShape::SetPenColor(const QColor &c)
{
    if (c == FPen)
        return;
    FPen = c;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, h, FPen);
    if (w > 2 && h > 2)
        painter.fillRect(1, 1, w - 2, h - 2, FBrush);
}
