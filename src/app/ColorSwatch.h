#pragma once

#include "framework/Colors.h"

#include <QLabel>

// "#RRGGBB" in upper case: how the swatch reads its colour out and how a dragged colour is
// written as text.
QString HtmlColorText(TColor color);

// The main window's colour swatch: a label filled with the current colour. A screen reader
// reads the colour as its text ("#98B5D1") and in its name ("Current colour: #98B5D1"), both told
// each time they change.
class TColorSwatch : public QLabel {
    Q_OBJECT
public:
    explicit TColorSwatch(QWidget *parent);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);

signals:
    // The colour's text changed ("#350ABF").
    void Changed(const QString &text);

private:
    TColor FColor = 0;
};
