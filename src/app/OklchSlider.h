#pragma once

#include "colour/OklchLimits.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

// One OKLCH quantity as a slider: a track painted in the colours each value would give (those
// outside sRGB in their sRGB fallback, hatched), a marker at the value, and optional marks (the
// gamut limits on the chroma track). The value is a double held exactly as set; the keys move it
// by whole steps from there: the arrows one step, Page Up and Page Down ten, Home and End to the
// ends. A hue wraps around; the other quantities stop at their ends.
class TOklchSlider : public QWidget {
    Q_OBJECT
public:
    TOklchSlider(QWidget *parent, double minimum, double maximum, double step, bool wraps);

    double Value() const { return FValue; }
    double Minimum() const { return FMinimum; }
    double Maximum() const { return FMaximum; }
    double Step() const { return FStep; }
    // Sets the value without signalling a move (the colour changed elsewhere).
    void SetValue(double value);
    // Moves as the user does: signals Moved with the new value when it changed.
    void MoveTo(double value);

    // The colour each value would give, and where the marks go. The track is rendered anew.
    struct TMark {
        double Value;
        QString Caption;
    };
    void SetTrack(std::function<TTrackColour(double)> colourAt, std::vector<TMark> marks = {});
    const std::vector<TMark> &Marks() const { return FMarks; }
    // The value text a screen reader says: the number, and the marks it lies beyond.
    QString ValueText() const;
    // What the value text adds (", outside sRGB"); set with the track.
    void SetValueNote(const QString &note);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Moved(double value);
    // The mouse button was released after a drag or click.
    void Released();

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect TrackRect() const;
    double ValueAtX(int x) const;
    int XOfValue(double value) const;
    double Clamped(double value) const;
    void RenderTrack();

    double FMinimum, FMaximum, FStep;
    bool FWraps;
    double FValue;
    bool FDragging = false;
    std::function<TTrackColour(double)> FColourAt;
    std::vector<TMark> FMarks;
    QString FNote;
    QImage FTrack;
};

// The number a slider shows for its value: as many decimals as its step has, and one more.
QString SliderNumber(double value, double step);
