#include "app/OklchAdjust.h"

#include "app/OklchSlider.h"
#include "colour/OklchLimits.h"

#include "app/StrictSpinBox.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

#include <cmath>

namespace {

struct TQuantityInfo {
    const char *Caption;
    double Minimum, Maximum, Step;
    int Decimals;
    bool Wraps;
};

// Chroma runs past display-p3 (about 0.37 at most) to hold wider colours as they are.
const TQuantityInfo Quantities[4] = {
    {"Lightness", 0, 1, 0.01, 4, false},
    {"Chroma", 0, 0.5, 0.005, 4, false},
    {"Hue", 0, 360, 1, 2, true},
    {"Alpha", 0, 1, 0.01, 3, false},
};

TVec3 Blend(const TVec3 &rgb, double alpha)
{
    // Over white, as the preview of a translucent colour.
    return {rgb[0] * alpha + (1 - alpha), rgb[1] * alpha + (1 - alpha), rgb[2] * alpha + (1 - alpha)};
}

} // namespace

TOklchAdjust::TOklchAdjust(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OklchAdjust"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int q = 0; q < 4; ++q) {
        const TQuantityInfo &info = Quantities[q];
        const QString caption = QString::fromLatin1(info.Caption);
        auto *label = new QLabel(caption, this);
        TRow &row = FRows[q];
        row.Slider = new TOklchSlider(this, info.Minimum, info.Maximum, info.Step, info.Wraps);
        row.Slider->setAccessibleName(caption);
        row.Slider->setObjectName(caption + QStringLiteral("Slider"));
        row.Spin = new TStrictSpinBox(this);
        row.Spin->setObjectName(caption + QStringLiteral("Spin"));
        row.Spin->setAccessibleName(caption + QStringLiteral(" value"));
        row.Spin->setRange(info.Minimum, info.Maximum);
        row.Spin->setDecimals(info.Decimals);
        row.Spin->setSingleStep(info.Step);
        row.Spin->setWrapping(info.Wraps);
        // A typed number is taken when it is complete (Return or leaving the box), not at each
        // digit.
        row.Spin->setKeyboardTracking(false);
        label->setBuddy(row.Slider);
        grid->addWidget(label, q, 0);
        grid->addWidget(row.Slider, q, 1);
        grid->addWidget(row.Spin, q, 2);
        const TQuantity quantity = static_cast<TQuantity>(q);
        connect(row.Slider, &TOklchSlider::Moved, this, [this, quantity](double v) { Take(quantity, v); });
        connect(row.Slider, &TOklchSlider::Released, this, &TOklchAdjust::Stop);
        connect(row.Spin, &QDoubleSpinBox::valueChanged, this, [this, quantity](double v) {
            if (!FShowing)
                Take(quantity, v);
        });
    }
    FLimits = new QLabel(this);
    FLimits->setObjectName(QStringLiteral("ChromaLimits"));
    FLimits->setTextFormat(Qt::PlainText);
    FLimits->setFocusPolicy(Qt::StrongFocus);
    FLimits->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    grid->addWidget(FLimits, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    FPause.setSingleShot(true);
    FPause.setInterval(KeyPauseMs);
    connect(&FPause, &QTimer::timeout, this, &TOklchAdjust::Stop);
}

void TOklchAdjust::Show(const TExactColour &c)
{
    if (c == FColour)
        return;
    FColour = c;
    const TExactColour oklch = c.To(TColourSpace::Oklch);
    FValues[Lightness] = oklch.Coords[0];
    FValues[Chroma] = oklch.Coords[1];
    // An achromatic colour has no hue: the slider keeps the one it had.
    if (std::isfinite(oklch.Coords[2]) && !oklch.Missing[2])
        FValues[Hue] = oklch.Coords[2];
    FValues[Alpha] = c.Alpha;
    ShowValues();
}

TExactColour TOklchAdjust::Made(TQuantity q) const
{
    if (q == Alpha) {
        TExactColour c = FColour;
        c.Alpha = FValues[Alpha];
        c.Missing[3] = false;
        return c;
    }
    TExactColour c;
    c.Space = TColourSpace::Oklch;
    c.Coords = {FValues[Lightness], FValues[Chroma], FValues[Hue]};
    c.Alpha = FValues[Alpha];
    c.Missing[3] = FColour.Missing[3];
    return c;
}

void TOklchAdjust::Take(TQuantity q, double value)
{
    if (!std::isfinite(value) || value == FValues[q])
        return;
    FValues[q] = value;
    FColour = Made(q);
    ShowValues();
    FMoving = true;
    FPause.start();
    emit Moved(FColour);
}

void TOklchAdjust::Stop()
{
    FPause.stop();
    if (!FMoving)
        return;
    FMoving = false;
    emit Stopped();
}

void TOklchAdjust::ShowValues()
{
    FShowing = true;
    for (int q = 0; q < 4; ++q) {
        FRows[q].Slider->SetValue(FValues[q]);
        FRows[q].Spin->setValue(FValues[q]);
    }
    FShowing = false;
    PaintTracks();
}

void TOklchAdjust::PaintTracks()
{
    const double l = FValues[Lightness], c = FValues[Chroma], h = FValues[Hue];
    const double srgbLimit = MaxChroma(TGamut::Srgb, l, h), p3Limit = MaxChroma(TGamut::DisplayP3, l, h);
    const bool outside = !FColour.InSrgb();
    const QString note = outside ? QStringLiteral(", outside sRGB") : QString();
    FRows[Lightness].Slider->SetTrack([c, h](double v) { return TrackColour({v, c, h}); });
    FRows[Chroma].Slider->SetTrack([l, h](double v) { return TrackColour({l, v, h}); },
                                   {{srgbLimit, QStringLiteral("sRGB")}, {p3Limit, QStringLiteral("display-p3")}});
    FRows[Hue].Slider->SetTrack([l, c](double v) { return TrackColour({l, c, v}); });
    const TTrackColour opaque = TrackColour({l, c, h});
    FRows[Alpha].Slider->SetTrack([opaque](double v) { return TTrackColour{Blend(opaque.Srgb, v), opaque.Outside}; });
    for (const TRow &row : FRows)
        row.Slider->SetValueNote(note);
    const QString limits = QStringLiteral("Chroma limits at this lightness and hue: sRGB %1, display-p3 %2%3")
                               .arg(SliderNumber(srgbLimit, 0.001), SliderNumber(p3Limit, 0.001),
                                    outside ? QStringLiteral("; the colour lies outside sRGB and is shown as its sRGB fallback")
                                            : QString());
    FLimits->setText(limits);
    FLimits->setAccessibleName(limits);
}
