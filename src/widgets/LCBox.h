#pragma once

#include <QWidget>

#include <functional>

// Lozenge centre row for a box height: half the height, ties to the even neighbour
// (30 gives 15, 29 gives 14, 31 gives 16).
int LozengeCentre(int height);

// A two-state check box drawn as a bevelled diamond: raised when unchecked, sunken when checked.
// A left click toggles it and fires OnClick after the new state is painted; the Space key does
// nothing; the Checked setter is silent.
class TLozengeCheckBox : public QWidget {
    Q_OBJECT
public:
    explicit TLozengeCheckBox(QWidget *owner = nullptr);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    std::function<void()> OnClick;

    // Toggles, takes the focus, repaints, then fires OnClick.
    void Click();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *) override;
    void focusOutEvent(QFocusEvent *) override;

private:
    bool FChecked = false;
    bool FEnabled = true;
    bool FPressed = false;
    QString FCaption;
};
