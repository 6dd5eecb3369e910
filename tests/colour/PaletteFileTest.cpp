#include "colour/PaletteFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <random>

namespace {

TEST(PaletteFile, GimpAndCssTextsAsOtherProgramsReadThem)
{
    const std::vector<TRgb8> colours = {{152, 181, 209}, {0, 0, 0}};
    const std::vector<TExactColour> exact = {TExactColour::FromRgb8(colours[0]), TExactColour::FromRgb8(colours[1])};
    EXPECT_EQ(WriteGimpPalette(QStringLiteral("Pigmora"), exact),
              QByteArray("GIMP Palette\nName: Pigmora\nColumns: 11\n#\n152 181 209\t#98B5D1\n  0   0   0\t#000000\n"));
    EXPECT_EQ(WriteCssPalette(exact), QByteArray(":root {\n  --pigmora-1: #98b5d1;\n  --pigmora-2: #000000;\n}\n"));
    EXPECT_EQ(ReadGimpPalette(WriteGimpPalette(QStringLiteral("x"), exact), 11), colours);
}

TEST(PaletteFile, CssWritesEachColourExactlyAndGimpItsEightBitFallback)
{
    std::vector<TExactColour> colours;
    for (const char16_t *text : {u"oklch(0.7 0.25 30)", u"color(display-p3 1 0 0 / 0.5)", u"rgb(10 20 30 / 50%)"})
        colours.push_back(ReadExactColour(text)->Colour);
    const QByteArray css = WriteCssPalette(colours);
    EXPECT_EQ(css, QByteArray(":root {\n  --pigmora-1: oklch(0.7 0.25 30);\n  --pigmora-2: color(display-p3 1 0 0 / 0.5);\n  --pigmora-3: ")
                       + ExactColourText(colours[2]).toUtf8() + ";\n}\n");
    for (const TExactColour &c : colours) {
        const QByteArray text = ExactColourText(c).toUtf8();
        const qsizetype at = css.indexOf(text);
        ASSERT_GE(at, 0);
        EXPECT_EQ(ReadExactColour(QString::fromUtf8(text))->Colour, c) << text.toStdString();
    }
    const QByteArray gpl = WriteGimpPalette(QStringLiteral("x"), colours);
    EXPECT_TRUE(gpl.contains("255  88  67\t#FF5843\n")) << gpl.toStdString();
    EXPECT_EQ(ReadGimpPalette(gpl, 11), (std::vector<TRgb8>{colours[0].Rgb8(), colours[1].Rgb8(), colours[2].Rgb8()}));
}

TEST(PaletteFile, ReadsTheFirstColoursAndRefusesWhatIsNoPalette)
{
    const auto read = [](const char *text, int wanted = 11) { return ReadGimpPalette(QByteArray(text), wanted); };
    EXPECT_EQ(read("\xEF\xBB\xBFGIMP Palette\r\nName: a\r\n# c\r\n1 2 3 one\r\n4 5 6\r\n"),
              (std::vector<TRgb8>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(read("GIMP Palette\r1 2 3\r4 5 6"), (std::vector<TRgb8>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(read("GIMP Palette\n1 2 3\n4 5 6\n7 8 9\n", 2), (std::vector<TRgb8>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(read("GIMP Palette\n256 0 0\n-1 0 0\n1 2\nx y z\n7 8 9\n"), (std::vector<TRgb8>{{7, 8, 9}}));
    EXPECT_EQ(read("GIMP Palette\n"), std::vector<TRgb8>{});
    EXPECT_FALSE(read("1 2 3\n"));
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(read("GIMP Palettes\n1 2 3\n"));
    QByteArray longLine = "GIMP Palette\n" + QByteArray(1 << 20, '7') + "\n1 2 3\n";
    EXPECT_EQ(ReadGimpPalette(longLine, 11), (std::vector<TRgb8>{{1, 2, 3}}));
    std::mt19937 gen(5);
    QByteArray binary = "GIMP Palette\n";
    for (int i = 0; i < 1 << 20; ++i)
        binary += static_cast<char>(gen());
    (void)ReadGimpPalette(binary, 11);
}

TEST(PaletteFile, EveryPaletteThatGimpShipsReads)
{
    const QDir dir(QStringLiteral("/usr/share/gimp/2.0/palettes"));
    const QStringList files = dir.entryList({QStringLiteral("*.gpl")});
    if (files.isEmpty())
        GTEST_SKIP() << "gimp-data is not installed (scripts/setup installs it)";
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const auto colours = ReadGimpPalette(f.readAll(), 11);
        ASSERT_TRUE(colours) << name.toStdString();
        EXPECT_FALSE(colours->empty()) << name.toStdString();
        EXPECT_LE(colours->size(), 11u);
    }
    EXPECT_GT(files.size(), 20);
}

} // namespace
