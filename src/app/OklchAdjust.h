#pragma once

#include "colour/ExactColour.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QDoubleSpinBox;
class QLabel;
class TOklchSlider;

// Lightness, chroma, hue and alpha of the current colour in OKLCH, each a slider with a spin box.
// A move of lightness, chroma or hue makes the colour oklch() with the other two as they were; a
// move of alpha keeps the colour's own space. Every move is signalled at once (Moved); the move
// is over (Stopped) when the mouse is released, a typed value is taken, or a second has passed
// since the last key. A typed value that reads no number in range changes nothing.
class TOklchAdjust : public QWidget {
    Q_OBJECT
public:
    explicit TOklchAdjust(QWidget *parent);

    // The colour the controls show; one that came back from their own move is not read again.
    void Show(const TExactColour &c);

    enum TQuantity { Lightness, Chroma, Hue, Alpha };
    TOklchSlider *Slider(TQuantity q) const { return FRows[q].Slider; }
    QDoubleSpinBox *SpinBox(TQuantity q) const { return FRows[q].Spin; }
    QLabel *Limits() const { return FLimits; }
    // The pause after the last key that ends a move.
    static constexpr int KeyPauseMs = 1000;
    // Ends a move now, as the pause does (for tests and for the window's close).
    void Stop();

signals:
    void Moved(const TExactColour &c);
    void Stopped();

private:
    struct TRow {
        TOklchSlider *Slider = nullptr;
        QDoubleSpinBox *Spin = nullptr;
    };
    void Take(TQuantity q, double value);
    void ShowValues();
    void PaintTracks();
    TExactColour Made(TQuantity q) const;

    std::array<TRow, 4> FRows;
    QLabel *FLimits;
    TExactColour FColour;
    // Lightness, chroma, hue (kept while the colour has none) and alpha as the controls hold them.
    std::array<double, 4> FValues{0, 0, 0, 1};
    bool FShowing = false, FMoving = false;
    QTimer FPause;
};
