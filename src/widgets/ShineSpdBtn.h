#pragma once

#include <QWidget>

#include <functional>

// The command button of the main window: a flat face with its caption. Fires OnClick on a left
// release inside the button and never takes the keyboard focus.
class TShineSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TShineSpeedButton(QWidget *owner = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString &value);

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QString FCaption;
    bool FDown = false;
};
