#include "colour/ImageColours.h"

#include "colour/ColourSpaces.h"
#include "colour/GamutMap.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct TPoint {
    TVec3 Lab;
    double Weight;
    QRgb Rgb;
};

double Distance2(const TVec3 &a, const TVec3 &b)
{
    const double d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

bool Cancelled(const TImageColoursRun &run)
{
    return run.Cancel && run.Cancel->load(std::memory_order_relaxed);
}

void Report(const TImageColoursRun &run, int percent)
{
    if (run.Progress)
        run.Progress(percent);
}

// The sampled pixels' colours, each once with how often it was sampled, in increasing RGB order.
std::vector<TPoint> Histogram(const QImage &image, const TImageColoursRun &run, bool &cancelled)
{
    const qsizetype pixels = qsizetype(image.width()) * image.height();
    int stride = 1;
    while (pixels / (qsizetype(stride) * stride) > MaxImageSamples)
        ++stride;
    std::vector<QRgb> samples;
    samples.reserve(static_cast<size_t>(std::min(pixels, MaxImageSamples + image.width() + image.height())));
    for (int y = 0; y < image.height(); y += stride) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += stride)
            if (qAlpha(line[x]) != 0)
                samples.push_back(line[x] | 0xFF000000u);
        if (y % 256 == 0 && Cancelled(run)) {
            cancelled = true;
            return {};
        }
    }
    Report(run, 10);
    std::sort(samples.begin(), samples.end());
    // sRGB to linear light once per byte value.
    std::array<double, 256> linear{};
    for (int v = 0; v < 256; ++v)
        linear[static_cast<size_t>(v)] = colour::LinSrgb({v / 255.0, 0, 0})[0];
    std::vector<TPoint> points;
    for (size_t i = 0; i < samples.size();) {
        size_t j = i;
        while (j < samples.size() && samples[j] == samples[i])
            ++j;
        const QRgb c = samples[i];
        const TVec3 lin{linear[static_cast<size_t>(qRed(c))], linear[static_cast<size_t>(qGreen(c))],
                        linear[static_cast<size_t>(qBlue(c))]};
        points.push_back({colour::XyzToOklab(colour::LinSrgbToXyz(lin)), static_cast<double>(j - i), c});
        i = j;
    }
    Report(run, 20);
    return points;
}

// Deterministic seeding: the most frequent colour, then each time the colour with the largest
// weight times squared distance to its nearest centre.
std::vector<TVec3> Seeds(const std::vector<TPoint> &points, size_t k)
{
    std::vector<TVec3> centres;
    size_t first = 0;
    for (size_t i = 1; i < points.size(); ++i)
        if (points[i].Weight > points[first].Weight)
            first = i;
    centres.push_back(points[first].Lab);
    std::vector<double> nearest(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        nearest[i] = Distance2(points[i].Lab, centres[0]);
    while (centres.size() < k) {
        size_t best = 0;
        double bestScore = -1;
        for (size_t i = 0; i < points.size(); ++i) {
            const double score = points[i].Weight * nearest[i];
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        if (bestScore <= 0)
            break; // every colour is a centre already
        centres.push_back(points[best].Lab);
        for (size_t i = 0; i < points.size(); ++i)
            nearest[i] = std::min(nearest[i], Distance2(points[i].Lab, centres.back()));
    }
    return centres;
}

size_t NearestCentre(const TVec3 &lab, const std::vector<TVec3> &centres)
{
    size_t best = 0;
    double bestD = Distance2(lab, centres[0]);
    for (size_t c = 1; c < centres.size(); ++c) {
        const double d = Distance2(lab, centres[c]);
        if (d < bestD) {
            bestD = d;
            best = c;
        }
    }
    return best;
}

} // namespace

std::optional<TPalette> ImageColours(const QImage &source, int k, const TImageColoursRun &run)
{
    k = std::clamp(k, 1, MaxImageColours);
    const QImage image = source.format() == QImage::Format_ARGB32 || source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_ARGB32);
    bool cancelled = false;
    const std::vector<TPoint> points = Histogram(image, run, cancelled);
    if (cancelled)
        return std::nullopt;
    TPalette palette;
    if (points.empty())
        return palette;
    std::vector<TVec3> centres = Seeds(points, static_cast<size_t>(k));
    std::vector<size_t> cluster(points.size(), centres.size());
    for (int round = 0; round < MaxKMeansRounds; ++round) {
        if (Cancelled(run))
            return std::nullopt;
        bool moved = false;
        for (size_t i = 0; i < points.size(); ++i) {
            const size_t c = NearestCentre(points[i].Lab, centres);
            moved = moved || c != cluster[i];
            cluster[i] = c;
        }
        if (!moved)
            break;
        std::vector<TVec3> sums(centres.size(), TVec3{});
        std::vector<double> weights(centres.size(), 0);
        for (size_t i = 0; i < points.size(); ++i) {
            for (size_t d = 0; d < 3; ++d)
                sums[cluster[i]][d] += points[i].Lab[d] * points[i].Weight;
            weights[cluster[i]] += points[i].Weight;
        }
        // A centre left without colours keeps its place (seeds are colours, so it held one).
        for (size_t c = 0; c < centres.size(); ++c)
            if (weights[c] > 0)
                centres[c] = {sums[c][0] / weights[c], sums[c][1] / weights[c], sums[c][2] / weights[c]};
        Report(run, 20 + 80 * (round + 1) / MaxKMeansRounds);
    }

    // Each cluster by the image colour nearest its centre, the largest first.
    struct TResult {
        double Weight = 0;
        size_t Representative = 0;
        double Distance = -1;
    };
    std::vector<TResult> results(centres.size());
    double total = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        TResult &r = results[cluster[i]];
        r.Weight += points[i].Weight;
        total += points[i].Weight;
        const double d = Distance2(points[i].Lab, centres[cluster[i]]);
        if (r.Distance < 0 || d < r.Distance) {
            r.Distance = d;
            r.Representative = i;
        }
    }
    std::erase_if(results, [](const TResult &r) { return r.Weight == 0; });
    std::stable_sort(results.begin(), results.end(), [](const TResult &a, const TResult &b) { return a.Weight > b.Weight; });
    for (const TResult &r : results) {
        const QRgb c = points[r.Representative].Rgb;
        palette.Entries.push_back({QString::number(100 * r.Weight / total, 'f', 0) + QLatin1Char('%'),
                                   TExactColour::FromRgb8({qRed(c), qGreen(c), qBlue(c)})});
    }
    Report(run, 100);
    return palette;
}

std::optional<QImage> ReadImageFile(const QString &fileName, QString *reason)
{
    const auto fail = [&](const QString &why) {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    // Opened without waiting, so that a FIFO or a device in the chosen place is refused, not read.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("it is no regular file"));
    }
    if (status.st_size > MaxImageFileBytes) {
        ::close(fd);
        return fail(QStringLiteral("it is larger than 512 MB"));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    QByteArray bytes = file.read(MaxImageFileBytes + 1);
    if (bytes.size() > MaxImageFileBytes)
        return fail(QStringLiteral("it is larger than 512 MB"));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return fail(QStringLiteral("it is no image Pigmora can read"));
    const QSize size = reader.size();
    if (size.width() >= MaxImageSide || size.height() >= MaxImageSide)
        return fail(QStringLiteral("it is 100,000 pixels wide or high or more"));
    QImage image = reader.read();
    if (image.isNull())
        return fail(QStringLiteral("it is no image Pigmora can read (%1)").arg(reader.errorString()));
    if (image.width() >= MaxImageSide || image.height() >= MaxImageSide)
        return fail(QStringLiteral("it is 100,000 pixels wide or high or more"));
    return image;
}
