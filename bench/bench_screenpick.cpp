// One magnifier update of the screen eyedropper (read the pixels around the pointer, paint the
// enlarged view), beside the bare screen read of the same area as the reference. Run it on the
// display in use (QT_QPA_PLATFORM=xcb) for the screen read that matters.
#include "framework/PickOverlay.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Side = 2 * TPickOverlay::Radius + 1;

QPoint Pointer(int i) { return {200 + (i * 7) % 400, 150 + (i * 13) % 300}; }

void BM_ScreenReadOnly(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        const QPoint p = Pointer(i++);
        benchmark::DoNotOptimize(GrabScreenArea(QRect(p.x() - TPickOverlay::Radius, p.y() - TPickOverlay::Radius, Side, Side)));
    }
}
BENCHMARK(BM_ScreenReadOnly)->Unit(benchmark::kMicrosecond);

void BM_MagnifierUpdate(benchmark::State &state)
{
    TPickOverlay overlay({});
    int i = 0;
    for (auto _ : state) {
        overlay.UpdateAt(Pointer(i++));
        benchmark::DoNotOptimize(overlay.View().constBits());
    }
}
BENCHMARK(BM_MagnifierUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
