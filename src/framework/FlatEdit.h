#pragma once

#include "framework/Colors.h"

#include <QLineEdit>

// A single-line edit with a flat one-pixel border and a background colour of its own, drawn
// without a style sheet (which would cost every window a style sheet parse at start). A theme
// colour as background resolves through the palette the edit inherits from its parent.
class TFlatEdit : public QLineEdit {
public:
    explicit TFlatEdit(TColor background, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *e) override;
};
