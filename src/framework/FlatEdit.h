#pragma once

#include "framework/Colors.h"

#include <QElapsedTimer>
#include <QLineEdit>

#include <memory>

class QTextLayout;

// A single-line edit with a flat one-pixel border and a background colour of its own, drawn
// without a style sheet (which would cost every window a style sheet parse at start). A theme
// colour as background resolves through the palette the edit inherits from its parent.
//
// A long text (a pasted list, a converted book) is drawn and hit-tested from its visible part
// only: QLineEdit measures its whole text on every repaint, which at a megabyte costs a tenth
// of a second per cursor blink. Short texts are left to QLineEdit, pixel for pixel.
class TFlatEdit : public QLineEdit {
public:
    explicit TFlatEdit(TColor background, QWidget *parent = nullptr);

    // From this many characters on, the edit draws and maps the mouse itself.
    static constexpr qsizetype LongText = 4096;
    bool IsLong() const { return text().size() > LongText; }
    // The first character drawn while the text is long (moved so that the cursor stays in view).
    qsizetype FirstVisible() const;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    struct TVisibleText;
    QRect TextLine() const;
    TVisibleText VisibleText() const;
    void KeepCursorInView(const QString &text) const;
    qsizetype PositionAt(int x) const;
    void PaintLong();

    mutable qsizetype FFirst = 0;
    qsizetype FDragAnchor = -1;
    QElapsedTimer FTripleClick;
};
