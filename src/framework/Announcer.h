#pragma once

#include <QString>
#include <QWidget>

// Tells a screen reader a short text without moving the focus (a new colour, a copy): a child of
// the window with the notification role, which a screen reader reads each time it appears. It
// paints nothing, takes no input and no focus, so the window looks and behaves as without it.
// Nothing is said while no screen reader listens or while the window is hidden.
class TAnnouncer : public QWidget {
    Q_OBJECT
public:
    explicit TAnnouncer(QWidget *window);

    // Shows the text to a screen reader, as a new notification even when it is the last one again.
    void Say(const QString &text);
    // The last text said (empty before the first).
    QString Said() const { return FText; }

private:
    QString FText;
};
