#pragma once

#include <QColor>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <functional>
#include <vector>


// Makes the picker's controls known to screen readers (PickerAccessible.cpp); each of them does
// this when it is made.
void InstallPickerAccessible();
// Tells a screen reader that the strip's or the field's value, or the palette's cursor, moved.
void NotifyPickerBoxChanged(QWidget *box);

// A control that paints itself through a handler and passes mouse input on in its own
// coordinates. Presses grab the mouse, so moves keep arriving (with points outside the control)
// while a button is held. With a key handler it takes the focus from the keyboard (Tab) only,
// never from a click, and repaints when the focus comes or goes.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget *parent);

    std::function<void(QPainter &)> OnPaint;
    std::function<void(Qt::MouseButton, int, int)> OnMouseDown;
    std::function<void(Qt::MouseButtons, int, int)> OnMouseMove;
    // True when the key was the box's; other keys go on to the window (Escape, Tab, Return).
    std::function<bool(QKeyEvent *)> OnKeyDown;
    void SetKeyHandler(std::function<bool(QKeyEvent *)> handler);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
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

// One mode choice of a radio group. The group decides which items are checked; a screen reader
// sees a radio button whose actions click it (PickerAccessible.cpp).
class TRadioItem : public QRadioButton {
    Q_OBJECT
public:
    TRadioItem(const QString &text, QWidget *parent);
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
