#include "colour/ImageColours.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

TRgb8 Rgb(const TPaletteEntry &e)
{
    return e.Colour.Rgb8();
}

// Blocks of flat colours, of different sizes, with a translucent pixel and a transparent one.
QImage Blocks(const std::vector<std::pair<QColor, int>> &blocks, int height = 30)
{
    int width = 0;
    for (const auto &b : blocks)
        width += b.second;
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    int x = 0;
    for (const auto &[colour, w] : blocks) {
        p.fillRect(x, 0, w, height, colour);
        x += w;
    }
    return image;
}

TEST(ImageColours, AnImageOfFlatColoursGivesThemBackLargestFirst)
{
    const QImage image = Blocks({{QColor(0x33, 0x66, 0x99), 10}, {QColor(0xFF, 0xCC, 0x00), 40}, {QColor(0x10, 0x10, 0x10), 25},
                                 {QColor(0xE0, 0x40, 0x80), 5}});
    const auto palette = ImageColours(image, 4);
    ASSERT_TRUE(palette);
    ASSERT_EQ(palette->Entries.size(), 4u);
    EXPECT_EQ(Rgb(palette->Entries[0]), (TRgb8{0xFF, 0xCC, 0x00}));
    EXPECT_EQ(Rgb(palette->Entries[1]), (TRgb8{0x10, 0x10, 0x10}));
    EXPECT_EQ(Rgb(palette->Entries[2]), (TRgb8{0x33, 0x66, 0x99}));
    EXPECT_EQ(Rgb(palette->Entries[3]), (TRgb8{0xE0, 0x40, 0x80}));
    EXPECT_EQ(palette->Entries[0].Name, QStringLiteral("50%"));
    EXPECT_TRUE(palette->Entries[0].Colour.FromBytes);
    // More colours asked for than there are: each once.
    EXPECT_EQ(ImageColours(image, 8)->Entries.size(), 4u);
    // Fewer: the largest, and the same every time.
    const auto two = ImageColours(image, 2);
    ASSERT_EQ(two->Entries.size(), 2u);
    EXPECT_EQ(*two, *ImageColours(image, 2));
    EXPECT_EQ(Rgb(two->Entries[0]), (TRgb8{0xFF, 0xCC, 0x00}));
}

// A photograph-like image: three colours with noise of up to ±6 in each channel, 12 megapixels, so
// that it is sampled; each cluster's colour lies within the noise of its colour.
TEST(ImageColours, NoisyAndSampledImagesGiveTheirColours)
{
    const TRgb8 bases[] = {{200, 40, 40}, {30, 120, 200}, {240, 240, 220}};
    QImage image(4000, 3000, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const TRgb8 &b = bases[x < 2000 ? 0 : y < 1000 ? 1 : 2];
            seed = seed * 1103515245u + 12345u;
            const auto noise = [&](int shift) { return static_cast<int>((seed >> shift) % 13) - 6; };
            line[x] = qRgb(std::clamp(b.R + noise(4), 0, 255), std::clamp(b.G + noise(12), 0, 255), std::clamp(b.B + noise(20), 0, 255));
        }
    }
    int last = -1;
    bool ordered = true;
    TImageColoursRun run;
    run.Progress = [&](int percent) {
        ordered = ordered && percent >= last && percent <= 100;
        last = percent;
    };
    const auto palette = ImageColours(image, 3, run);
    ASSERT_TRUE(palette);
    ASSERT_EQ(palette->Entries.size(), 3u);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last, 100);
    const int order[] = {0, 2, 1}; // half, a third, a sixth
    for (int i = 0; i < 3; ++i) {
        const TRgb8 got = Rgb(palette->Entries[static_cast<size_t>(i)]), want = bases[order[i]];
        EXPECT_LE(std::abs(got.R - want.R), 6) << i;
        EXPECT_LE(std::abs(got.G - want.G), 6) << i;
        EXPECT_LE(std::abs(got.B - want.B), 6) << i;
    }
    EXPECT_EQ(palette->Entries[0].Name, QStringLiteral("50%"));
    EXPECT_EQ(palette->Entries[2].Name, QStringLiteral("17%"));
}

TEST(ImageColours, CancelledTransparentAndOddImages)
{
    const QImage image = Blocks({{Qt::red, 10}, {Qt::blue, 10}});
    std::atomic<bool> cancel = true;
    TImageColoursRun run;
    run.Cancel = &cancel;
    EXPECT_FALSE(ImageColours(image, 2, run));
    // No pixel with any alpha: nothing; a translucent pixel counts as its colour.
    EXPECT_TRUE(ImageColours(Blocks({{Qt::transparent, 10}}), 3)->Entries.empty());
    EXPECT_TRUE(ImageColours(QImage(), 3)->Entries.empty());
    QImage faint(4, 4, QImage::Format_ARGB32);
    faint.fill(QColor(0, 128, 0, 10));
    const auto translucent = ImageColours(faint, 3);
    ASSERT_EQ(translucent->Entries.size(), 1u);
    EXPECT_EQ(Rgb(translucent->Entries[0]), (TRgb8{0, 128, 0}));
    // Other pixel formats, and k outside 1-64.
    EXPECT_EQ(ImageColours(image.convertToFormat(QImage::Format_Indexed8), 0)->Entries.size(), 1u);
    EXPECT_EQ(ImageColours(image.convertToFormat(QImage::Format_RGB888), 1000)->Entries.size(), 2u);
}

TEST(ImageColours, ImageFilesThatAreNoneOrTooWideAreRefusedWithAReason)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("a.png")), jpeg = dir.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(Blocks({{Qt::red, 10}}).save(png));
    ASSERT_TRUE(Blocks({{Qt::red, 10}}).convertToFormat(QImage::Format_RGB32).save(jpeg, "JPEG", 100));
    QString why;
    EXPECT_TRUE(ReadImageFile(png, &why));
    EXPECT_TRUE(ReadImageFile(jpeg, &why));

    const QString text = dir.filePath(QStringLiteral("not.png")), wide = dir.filePath(QStringLiteral("wide.png"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("GIF89a but not really\n");
    f.close();
    ASSERT_TRUE(QImage(MaxImageSide, 1, QImage::Format_Mono).save(wide));
    const QString fifo = dir.filePath(QStringLiteral("fifo.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loop = dir.filePath(QStringLiteral("loop.png"));
    QFile::link(loop, loop);
    for (const auto &[name, reason] : std::vector<std::pair<QString, QString>>{
             {text, QStringLiteral("it is no image Pigmora can read")},
             {wide, QStringLiteral("it is 100,000 pixels wide or high or more")},
             {fifo, QStringLiteral("it is no regular file")},
             {dir.path(), QStringLiteral("it is no regular file")},
             {dir.filePath(QStringLiteral("missing.png")), QStringLiteral("No such file or directory")},
             {loop, QStringLiteral("Too many levels of symbolic links")}}) {
        why.clear();
        EXPECT_FALSE(ReadImageFile(name, &why)) << name.toStdString();
        EXPECT_TRUE(why.startsWith(reason)) << name.toStdString() << ": " << why.toStdString();
    }
}

} // namespace
