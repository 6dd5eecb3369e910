#pragma once

#include "colour/ColourHistory.h"

#include <QAbstractButton>
#include <QStringList>
#include <QWidget>

#include <vector>

// One colour of the history: a swatch button named by its text ("#RRGGBB" unless told another);
// a click, Space or Return chooses it.
class TSwatchCell : public QAbstractButton {
    Q_OBJECT
public:
    explicit TSwatchCell(QWidget *parent);
    void SetColour(const TRgb8 &c, const QString &name = {});
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
    // The history's colours by their 8 bits, each named by its stored text.
    void Show(const TColourHistory &history);
    // The swatches of colours given as 8 bits, each named by its text in `names` where one is given.
    void Show(const std::vector<TRgb8> &colours, const QStringList &names = {});
    TSwatchCell *Cell(int i) const { return FCells[i]; }
    int Shown() const { return FShown; }

signals:
    void Chosen(const TRgb8 &c);
    // The same choice by its place in the row, newest first.
    void ChosenAt(int index);

private:
    std::vector<TSwatchCell *> FCells;
    int FShown = 0;
};
