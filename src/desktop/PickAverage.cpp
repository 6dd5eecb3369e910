#include "desktop/PickAverage.h"

#include <algorithm>

bool IsPickSize(int side)
{
    return std::find(PickSizes.begin(), PickSizes.end(), side) != PickSizes.end();
}

int StepPickSize(int side, int steps)
{
    int at = 0;
    for (int i = 0; i < static_cast<int>(PickSizes.size()); ++i)
        if (PickSizes[static_cast<size_t>(i)] <= side)
            at = i;
    at = std::clamp(at + steps, 0, static_cast<int>(PickSizes.size()) - 1);
    return PickSizes[static_cast<size_t>(at)];
}

QRect PickSquare(QPoint centre, int side)
{
    const int half = std::max(side, 1) / 2;
    return {centre - QPoint(half, half), QSize(2 * half + 1, 2 * half + 1)};
}

std::vector<QRgb> PixelsShown(const QImage &pixels, QPoint origin, const QRect &square, const QList<QRect> &shown)
{
    std::vector<QRgb> taken;
    if (pixels.format() != QImage::Format_RGB32 && pixels.format() != QImage::Format_ARGB32)
        return taken;
    const QRect read = square & QRect(origin, pixels.size());
    taken.reserve(static_cast<size_t>(std::max(0, read.width() * read.height())));
    for (const QRect &monitor : shown) {
        const QRect part = read & monitor;
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y - origin.y()));
            for (int x = part.left(); x <= part.right(); ++x) {
                // A pixel two monitors both claim counts once: for the first one that has it.
                const QPoint p(x, y);
                const bool earlier = std::any_of(shown.begin(), shown.begin() + (&monitor - shown.data()),
                                                 [p](const QRect &r) { return r.contains(p); });
                if (!earlier)
                    taken.push_back(line[x - origin.x()]);
            }
        }
    }
    return taken;
}

namespace {

// sRGB's curve decoded for each 8-bit value.
const std::array<double, 256> &LinearOfByte()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] = colour::LinSrgb({i / 255.0, 0, 0})[0];
        return t;
    }();
    return table;
}

} // namespace

TRgb8 LinearMean(const std::vector<QRgb> &pixels)
{
    if (pixels.empty())
        return {};
    const auto &linear = LinearOfByte();
    double r = 0, g = 0, b = 0;
    for (const QRgb p : pixels) {
        r += linear[static_cast<size_t>(qRed(p))];
        g += linear[static_cast<size_t>(qGreen(p))];
        b += linear[static_cast<size_t>(qBlue(p))];
    }
    const double n = static_cast<double>(pixels.size());
    const TVec3 encoded = colour::GamSrgb({r / n, g / n, b / n});
    return {ByteOfUnit(encoded[0]), ByteOfUnit(encoded[1]), ByteOfUnit(encoded[2])};
}
