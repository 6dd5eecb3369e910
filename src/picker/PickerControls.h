#pragma once

#include <QColor>
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <vector>

class QRadioButton;

// A control that paints itself through a handler and passes mouse input on in its own
// coordinates. Presses grab the mouse, so moves keep arriving (with points outside the control)
// while a button is held.
class TPaintBox : public QWidget {
public:
    explicit TPaintBox(QWidget *parent);

    std::function<void(QPainter &)> OnPaint;
    std::function<void(Qt::MouseButton, int, int)> OnMouseDown;
    std::function<void(Qt::MouseButtons, int, int)> OnMouseMove;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A single-line edit that carries a raw integer beside its text and reports key releases.
class TRawEdit : public QLineEdit {
public:
    explicit TRawEdit(QWidget *parent);

    int Tag = 0;
    std::function<void(TRawEdit *)> OnKeyUp;

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
};

// A captioned group of radio items of which at most one is chosen; -1 means none.
class TRadioGroup : public QGroupBox {
public:
    // Items are laid out from y = top in rows step pixels apart.
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent, int top, int step);

    int ItemIndex() const;
    // Chooses an item, or clears the group for -1, without raising OnClick.
    void SetItemIndex(int index);
    QRadioButton *Item(int index) const { return FItems[static_cast<std::size_t>(index)]; }

    std::function<void()> OnClick;

private:
    std::vector<QRadioButton *> FItems;
};

// A filled rectangle with a one-pixel outline, painted opaque.
class TShape : public QWidget {
public:
    explicit TShape(QWidget *parent);

    QColor BrushColor() const { return FBrush; }
    void SetBrushColor(const QColor &c);
    void SetPenColor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor FBrush;
    QColor FPen;
};
