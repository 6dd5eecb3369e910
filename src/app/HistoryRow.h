#pragma once

#include "colour/ColourHistory.h"

#include <QAbstractButton>
#include <QWidget>

#include <vector>

// One colour of the history: a swatch button named by its "#RRGGBB" text; a click, Space or
// Return chooses it.
class TSwatchCell : public QAbstractButton {
    Q_OBJECT
public:
    explicit TSwatchCell(QWidget *parent);
    void SetColour(const TRgb8 &c);
    TRgb8 Colour() const { return FColour; }
    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    TRgb8 FColour;
};

// The history as a row of swatches, newest first; cells beyond the history are hidden. The row
// itself is the buddy of its caption: it takes focus (into the newest cell) only while it shows one.
class THistoryRow : public QWidget {
    Q_OBJECT
public:
    explicit THistoryRow(QWidget *parent);
    void Show(const TColourHistory &history);
    TSwatchCell *Cell(int i) const { return FCells[i]; }
    int Shown() const { return FShown; }

signals:
    void Chosen(const TRgb8 &c);

private:
    std::vector<TSwatchCell *> FCells;
    int FShown = 0;
};
