// One magnifier update of the screen eyedropper (read the device pixels around the pointer,
// paint the enlarged view), beside the bare screen read of the same area as the reference; the
// same update averaging the largest square (31×31, the mean in linear light, also through a
// wide-gamut monitor's profile), beside the single-pixel update; and
// the colour conversion of a pick through a display profile, beside the pick's own screen read.
// Run it on the display in use (QT_QPA_PLATFORM=xcb) for the screen read that matters, and with
// QT_SCALE_FACTOR=2 for the largest view.
#include "desktop/DisplayProfile.h"
#include "desktop/PickOverlay.h"

#include <benchmark/benchmark.h>

#include <lcms2.h>

namespace {

constexpr int Side = TPickOverlay::Side;

QPoint Pointer(int i) { return {200 + (i * 7) % 400, 150 + (i * 13) % 300}; }

const TScreenAccess &Screen()
{
    static const TScreenAccess screen = DesktopScreen();
    return screen;
}

void BM_ScreenReadOnly(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        const QPoint p = Pointer(i++);
        benchmark::DoNotOptimize(Screen().Grab(0, QRect(p - QPoint(TPickOverlay::Radius, TPickOverlay::Radius), QSize(Side, Side))));
    }
}
BENCHMARK(BM_ScreenReadOnly)->Unit(benchmark::kMicrosecond);

void BM_MagnifierUpdate(benchmark::State &state)
{
    TPickOverlay overlay({});
    int i = 0;
    for (auto _ : state) {
        overlay.UpdateAt({0, Pointer(i++)});
        benchmark::DoNotOptimize(overlay.View().constBits());
    }
    state.counters["cell"] = overlay.Cell();
}
BENCHMARK(BM_MagnifierUpdate)->Unit(benchmark::kMicrosecond);

QByteArray WideGamutProfile();

// The same update with the largest square averaged: a 33×33 read, 961 pixels decoded and
// averaged each frame. Argument 1: as a wide-gamut monitor shows them, through its profile.
void BM_MagnifierUpdateAveraged(benchmark::State &state)
{
    TPickOverlay overlay({});
    overlay.SetAverageSize(31);
    if (state.range(0)) {
        const QByteArray bytes = WideGamutProfile();
        overlay.ShowAsShown(std::make_shared<TDisplayProfiles>([bytes](int, int) { return TDisplayProfile::FromBytes(bytes); }));
    }
    int i = 0;
    for (auto _ : state) {
        overlay.UpdateAt({0, Pointer(i++)});
        benchmark::DoNotOptimize(overlay.View().constBits());
    }
    state.counters["cell"] = overlay.Cell();
}
BENCHMARK(BM_MagnifierUpdateAveraged)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A wide-gamut monitor's profile, made the way a calibration tool would describe one.
QByteArray WideGamutProfile()
{
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve *gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve *curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(gamma);
    return bytes;
}

// The reference: what a pick costs without a profile, one screen read of one pixel.
void BM_PickScreenRead(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Screen().Grab(0, QRect(Pointer(i++), QSize(1, 1))));
}
BENCHMARK(BM_PickScreenRead)->Unit(benchmark::kMicrosecond);

// What the profile adds to a pick: the conversion of the taken value.
void BM_PickConversion(benchmark::State &state)
{
    const TDisplayProfile profile = TDisplayProfile::FromBytes(WideGamutProfile());
    TColor c = 0x336699;
    for (auto _ : state) {
        c = profile.AsShown(c) ^ 0x010101;
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_PickConversion)->Unit(benchmark::kMicrosecond);

// Reading the profile once for a pick (the first time the pointer is over a monitor).
void BM_ProfileRead(benchmark::State &state)
{
    const QByteArray bytes = WideGamutProfile();
    for (auto _ : state)
        benchmark::DoNotOptimize(TDisplayProfile::FromBytes(bytes).Usable());
}
BENCHMARK(BM_ProfileRead)->Unit(benchmark::kMicrosecond);

} // namespace
