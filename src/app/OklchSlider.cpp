#include "app/OklchSlider.h"

#include "framework/Accessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

void InstallOklchSliderAccessible(); // OklchSliderAccessible.cpp

namespace {

constexpr int Margin = 6;     // room for the marker's ends beside the track
constexpr int TrackHeight = 18;

int Decimals(double step)
{
    int d = 0;
    while (d < 6 && std::abs(step * std::pow(10.0, d) - std::round(step * std::pow(10.0, d))) > 1e-9)
        ++d;
    return d;
}

} // namespace

QString SliderNumber(double value, double step)
{
    return QString::number(value, 'f', Decimals(step) + 1);
}

TOklchSlider::TOklchSlider(QWidget *parent, double minimum, double maximum, double step, bool wraps)
    : QWidget(parent), FMinimum(minimum), FMaximum(maximum), FStep(step), FWraps(wraps), FValue(minimum)
{
    InstallOklchSliderAccessible();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize TOklchSlider::sizeHint() const { return {320, TrackHeight + 2 * Margin}; }
QSize TOklchSlider::minimumSizeHint() const { return {120, TrackHeight + 2 * Margin}; }

double TOklchSlider::Clamped(double value) const
{
    if (FWraps) {
        const double span = FMaximum - FMinimum;
        value = std::fmod(value - FMinimum, span);
        if (value < 0)
            value += span;
        return value + FMinimum;
    }
    return std::clamp(value, FMinimum, FMaximum);
}

void TOklchSlider::SetValue(double value)
{
    if (!std::isfinite(value) || value == FValue)
        return;
    FValue = value;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, FValue);
        QAccessible::updateAccessibility(&event);
    }
}

void TOklchSlider::MoveTo(double value)
{
    if (!std::isfinite(value))
        return;
    value = Clamped(value);
    if (value == FValue)
        return;
    SetValue(value);
    emit Moved(FValue);
}

void TOklchSlider::SetTrack(std::function<TTrackColour(double)> colourAt, std::vector<TMark> marks)
{
    FColourAt = std::move(colourAt);
    FMarks = std::move(marks);
    RenderTrack();
    update();
}

void TOklchSlider::SetValueNote(const QString &note)
{
    FNote = note;
}

QString TOklchSlider::ValueText() const
{
    return SliderNumber(FValue, FStep) + FNote;
}

QRect TOklchSlider::TrackRect() const
{
    return QRect(Margin, (height() - TrackHeight) / 2, std::max(1, width() - 2 * Margin), TrackHeight);
}

double TOklchSlider::ValueAtX(int x) const
{
    const QRect r = TrackRect();
    const double t = std::clamp((x - r.left()) / static_cast<double>(std::max(1, r.width() - 1)), 0.0, 1.0);
    return FMinimum + t * (FMaximum - FMinimum);
}

int TOklchSlider::XOfValue(double value) const
{
    const QRect r = TrackRect();
    const double t = std::clamp((value - FMinimum) / (FMaximum - FMinimum), 0.0, 1.0);
    return r.left() + static_cast<int>(std::lround(t * (r.width() - 1)));
}

void TOklchSlider::RenderTrack()
{
    const QRect r = TrackRect();
    // One column per device pixel, so that at scale 2 the track is as fine as the screen.
    const qreal dpr = devicePixelRatioF();
    const int w = std::max(1, static_cast<int>(std::lround(r.width() * dpr)));
    const int h = std::max(1, static_cast<int>(std::lround(r.height() * dpr)));
    FTrack = QImage(w, h, QImage::Format_RGB32);
    FTrack.setDevicePixelRatio(dpr);
    if (!FColourAt) {
        FTrack.fill(Qt::gray);
        return;
    }
    std::vector<QRgb> top(w), hatch(w);
    for (int x = 0; x < w; ++x) {
        const TTrackColour c = FColourAt(FMinimum + (FMaximum - FMinimum) * x / std::max(1, w - 1));
        const QRgb rgb = qRgb(std::lround(c.Srgb[0] * 255), std::lround(c.Srgb[1] * 255), std::lround(c.Srgb[2] * 255));
        top[x] = rgb;
        // Outside sRGB: the lower half hatched with the colour's own contrast against grey.
        hatch[x] = c.Outside ? qRgb(128, 128, 128) : rgb;
    }
    const int stripe = std::max(2, static_cast<int>(3 * dpr));
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(FTrack.scanLine(y));
        const bool lower = y >= h / 2;
        for (int x = 0; x < w; ++x)
            line[x] = lower && ((x + y) / stripe) % 2 ? hatch[x] : top[x];
    }
}

void TOklchSlider::resizeEvent(QResizeEvent *)
{
    RenderTrack();
}

void TOklchSlider::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = TrackRect();
    p.drawImage(r, FTrack);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    for (const TMark &m : FMarks) {
        const int x = XOfValue(m.Value);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(x, r.top(), x, r.bottom());
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(x, r.top(), x, r.bottom());
    }
    // The marker: a dark and a light outline, so it shows on every colour.
    const int x = XOfValue(FValue);
    const QRect marker(x - 4, r.top() - 4, 9, r.height() + 8);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(marker);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(marker.adjusted(1, 1, -1, -1));
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TOklchSlider::keyPressEvent(QKeyEvent *event)
{
    double steps = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: steps = -1; break;
    case Qt::Key_Right:
    case Qt::Key_Up: steps = 1; break;
    case Qt::Key_PageDown: steps = -10; break;
    case Qt::Key_PageUp: steps = 10; break;
    case Qt::Key_Home: MoveTo(FMinimum); return;
    case Qt::Key_End: MoveTo(FMaximum); return;
    default: QWidget::keyPressEvent(event); return;
    }
    // Ends are reached, not passed; a hue goes round.
    MoveTo(FValue + steps * FStep);
}

void TOklchSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    FDragging = true;
    MoveTo(ValueAtX(event->position().toPoint().x()));
}

void TOklchSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (FDragging)
        MoveTo(ValueAtX(event->position().toPoint().x()));
}

void TOklchSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !FDragging)
        return QWidget::mouseReleaseEvent(event);
    FDragging = false;
    emit Released();
}
