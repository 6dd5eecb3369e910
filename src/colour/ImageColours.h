#pragma once

#include "colour/Palette.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

// The most representative colours of an image: k-means in OKLab over the image's opaque pixels
// (any pixel with some alpha counts, as its colour), deterministic for a given image and k.
//
// An image larger than MaxImageSamples pixels is sampled on a regular grid (every n-th pixel of
// every n-th row, n the smallest that keeps the sample within the limit), so that a 12-megapixel
// photograph takes a fraction of a second; a smaller one is taken whole. The first centre is the
// most frequent colour, each further one the colour with the largest count times squared distance
// to the centres so far; then Lloyd's iterations until no colour changes cluster (at most
// MaxKMeansRounds). Each cluster is represented by the image colour nearest its centre, so that
// an image of a few flat colours gives exactly those colours back.
constexpr qsizetype MaxImageSamples = 1 << 18;
constexpr int MaxKMeansRounds = 40;
constexpr int MaxImageColours = 64;

struct TImageColoursRun {
    // Set from another thread to stop early; the run then returns nothing.
    const std::atomic<bool> *Cancel = nullptr;
    // Called now and then with how much is done, 0-100, on the calling thread.
    std::function<void(int)> Progress;
};

// Up to k colours (k clamped to 1-MaxImageColours; fewer when the image has fewer), most pixels
// first, each named by its share of the pixels ("23%"). Empty when cancelled; an empty palette
// for an image without a pixel with some alpha.
std::optional<TPalette> ImageColours(const QImage &image, int k, const TImageColoursRun &run = {});

// An image file's pixels, refused with a reason (to follow "The image FILE could not be read: ")
// when it is no regular file, larger than MaxImageFileBytes, no image Qt reads, or
// MaxImageSide pixels wide or high or more. Never blocks on a FIFO or a device.
constexpr qint64 MaxImageFileBytes = qint64(512) * 1024 * 1024;
constexpr int MaxImageSide = 100000;
std::optional<QImage> ReadImageFile(const QString &fileName, QString *reason);
