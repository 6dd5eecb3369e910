#pragma once

#include "framework/ShiftState.h"

#include <QWidget>

#include <functional>

// Lozenge centre row for a box height: half the height, ties to the even neighbour
// (30 gives 15, 29 gives 14, 31 gives 16).
int LozengeCentre(int height);

class TLozengeCheckBox;
// Makes lozenge boxes known to screen readers (see LCBoxAccessible.cpp); every box does this
// when it is made.
void InstallLozengeAccessible();
// Tells a screen reader that the box's checked state changed.
void NotifyLozengeChecked(TLozengeCheckBox *box);

// A two-state check box drawn as a bevelled diamond: raised when unchecked, sunken when checked.
// A left click toggles it and fires OnClick after the new state is painted; the Space key does
// nothing; the Checked setter is silent.
//
// Input events, in the order a windowed control gets them: a press fires OnMouseDown; the release
// clicks (when the press was the left button's and the release is inside) and then fires
// OnMouseUp. The second press of a double click fires OnDblClick and then OnMouseDown with
// ssDouble, and its release does not click again: a double click toggles once. Keys reach only
// the key handlers; a handler that sets the key to 0 keeps it from the parent.
class TLozengeCheckBox : public QWidget {
    Q_OBJECT
public:
    using TMouseEvent = std::function<void(TLozengeCheckBox *sender, Qt::MouseButton button, TShiftState shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TLozengeCheckBox *sender, TShiftState shift, int x, int y)>;
    // The key is a Qt::Key code.
    using TKeyEvent = std::function<void(TLozengeCheckBox *sender, int &key, TShiftState shift)>;
    using TKeyPressEvent = std::function<void(TLozengeCheckBox *sender, QChar &key)>;

    explicit TLozengeCheckBox(QWidget *owner = nullptr);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TKeyEvent OnkeyDown;
    TKeyPressEvent OnkeyPress;
    TKeyEvent OnkeyUp;

    // Toggles, takes the focus, repaints, then fires OnClick.
    void Click();
    // Fires OnDblClick.
    void DblClick();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *) override;
    void focusOutEvent(QFocusEvent *) override;

private:
    bool FChecked = false;
    bool FEnabled = true;
    bool FPressed = false;
    QString FCaption;
};
