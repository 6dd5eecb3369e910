#pragma once

#include "colour/GamutMap.h"

#include <QImage>
#include <QList>
#include <QRect>

#include <array>
#include <vector>

// The sides of the square the eyedropper averages, in device pixels; 1 takes one pixel.
inline constexpr std::array<int, 6> PickSizes{1, 3, 5, 9, 15, 31};

bool IsPickSize(int side);
// The size `steps` places up (or down, negative) the list, held at both ends. A side that is not
// in the list counts as the largest listed one below it (1 for anything below 1).
int StepPickSize(int side, int steps);

// The square of `side` device pixels centred on a device pixel.
QRect PickSquare(QPoint centre, int side);

// The pixels of `square` that the screen shows: those inside one of `shown` (the monitors' device
// areas), read from `pixels`, whose top-left pixel is the device pixel `origin`. A square at the
// edge of the screen gives only its pixels on the screen; empty when none is.
std::vector<QRgb> PixelsShown(const QImage &pixels, QPoint origin, const QRect &square, const QList<QRect> &shown);

// The mean of sRGB pixels in linear light (each one decoded through sRGB's curve, the mean
// encoded again), rounded once to 8 bits. Black for no pixels.
TRgb8 LinearMean(const std::vector<QRgb> &pixels);
