#include "colour/PaletteCodecs.h"
#include "colour/PaletteFormats.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <random>

namespace {

using F = TPaletteFormat;

TExactColour Colour(const char16_t *text) { return ReadExactColour(text)->Colour; }

// A palette that every format has something to lose in: an 8-bit colour, OKLCH, display-p3 with
// an alpha, Lab, HSL; names with a space, an ampersand, non-ASCII letters, dots and hyphens.
TPalette Sample()
{
    return {QStringLiteral("Sea & sky"),
            {{QStringLiteral("50"), TExactColour::FromRgb8({152, 181, 209})},
             {QStringLiteral("Deep blue"), Colour(u"oklch(0.45 0.15 255)")},
             {QStringLiteral("p3 red"), Colour(u"color(display-p3 1 0 0 / 0.5)")},
             {QStringLiteral("lab grün"), Colour(u"lab(62 -40 30)")},
             {QStringLiteral("a.b-c"), Colour(u"hsl(120 50% 40%)")}}};
}

// What each format keeps of a colour: the colour exactly, Lab as Lab and the rest as their
// sRGB fallback, or only the 8 bits.
enum class TKeeps { Exact, LabOrFallback, Bytes };

struct TFormatCase {
    F Format;
    TKeeps Keeps;
    bool KeepsPaletteName;
    const char *Golden;
};

const TFormatCase Readable[] = {
    {F::Gimp, TKeeps::Bytes, true, "sample.gpl"},
    {F::Css, TKeeps::Exact, true, "sample.css"},
    {F::DesignTokens, TKeeps::Exact, true, "sample.tokens.json"},
    {F::Tailwind, TKeeps::Exact, true, "sample.tailwind.css"},
    {F::Ase, TKeeps::LabOrFallback, true, "sample.ase"},
    {F::Krita, TKeeps::LabOrFallback, true, nullptr},
    {F::LibreOffice, TKeeps::Bytes, false, "sample.soc"},
    {F::Scribus, TKeeps::Bytes, true, "sample.xml"},
};

QString Data(const QString &name) { return QStringLiteral(PIGMORA_TEST_DATA "/palettes/") + name; }

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Compares what came back with what went in, as far as the format keeps it.
void ExpectKept(const TPalette &in, const TPalette &out, const TFormatCase &c)
{
    const std::string format = PaletteFormatInfo(c.Format).Name.toStdString();
    if (c.KeepsPaletteName) {
        EXPECT_EQ(out.Name, in.Name) << format;
    }
    ASSERT_EQ(out.Entries.size(), in.Entries.size()) << format;
    for (size_t i = 0; i < in.Entries.size(); ++i) {
        const TExactColour &a = in.Entries[i].Colour, &b = out.Entries[i].Colour;
        const std::string where = format + ", " + in.Entries[i].Name.toStdString();
        EXPECT_EQ(out.Entries[i].Name, in.Entries[i].Name) << where;
        EXPECT_EQ(b.Rgb8(), a.Rgb8()) << where;
        if (c.Keeps == TKeeps::Exact) {
            EXPECT_EQ(ExactColourText(b), ExactColourText(a)) << where;
        } else if (c.Keeps == TKeeps::LabOrFallback && a.Space == TColourSpace::Lab) {
            EXPECT_EQ(b.Space, TColourSpace::Lab) << where;
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(b.Coords[k], a.Coords[k], 1e-4) << where;
        } else {
            EXPECT_EQ(b.Space, TColourSpace::Srgb) << where;
        }
    }
}

TEST(PaletteFormats, EveryFormatReadsBackWhatItWrote)
{
    for (const TFormatCase &c : Readable) {
        const QByteArray bytes = WritePalette(c.Format, Sample());
        ASSERT_FALSE(bytes.isEmpty());
        QString why;
        const auto back = ReadPalette(c.Format, bytes, &why);
        ASSERT_TRUE(back) << PaletteFormatInfo(c.Format).Name.toStdString() << ": " << why.toStdString();
        ExpectKept(Sample(), *back, c);
        EXPECT_EQ(PaletteFormatOfBytes(bytes), c.Format) << PaletteFormatInfo(c.Format).Name.toStdString();
    }
}

// The bytes of each writer for the sample, checked once by hand against each format's
// documentation. PIGMORA_WRITE_GOLDEN=1 writes them anew.
TEST(PaletteFormats, EachWriterGivesTheBytesCheckedByHand)
{
    std::vector<std::pair<QString, QByteArray>> files;
    for (const TFormatCase &c : Readable)
        if (c.Golden)
            files.emplace_back(QLatin1String(c.Golden), WritePalette(c.Format, Sample()));
    files.emplace_back(QStringLiteral("sample.svg"), WritePalette(F::Svg, Sample()));
    files.emplace_back(QStringLiteral("sample-colorset.xml"), palettecodecs::WriteKritaColourSet(Sample()));
    for (const auto &[name, bytes] : files) {
        if (qEnvironmentVariableIsSet("PIGMORA_WRITE_GOLDEN")) {
            QFile f(Data(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        EXPECT_EQ(bytes, FileBytes(Data(name))) << name.toStdString();
    }
    // A .kpl is a zip whose first entry is its MIME type, stored, as in OpenDocument files.
    const QByteArray kpl = WritePalette(F::Krita, Sample());
    EXPECT_TRUE(kpl.startsWith("PK\x03\x04"));
    EXPECT_EQ(kpl.mid(30, 8), QByteArray("mimetype"));
    EXPECT_EQ(kpl.mid(38, 27), QByteArray("application/x-krita-palette"));
}

TEST(PaletteFormats, ThePngSheetShowsEachSwatchInItsColour)
{
    const QImage image = QImage::fromData(WritePalette(F::Png, Sample()), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(16 * 2 + 5 * 120, 16 * 2 + 96 + 36 + 24));
    for (size_t i = 0; i < Sample().Entries.size(); ++i) {
        const TRgb8 c = Sample().Entries[i].Colour.Rgb8();
        EXPECT_EQ(image.pixel(16 + static_cast<int>(i) * 120 + 48, 16 + 48), qRgb(c.R, c.G, c.B)) << i;
    }
    // Beyond a thousand colours the sheet is swatches only, and stays an image of sensible size.
    TPalette big;
    for (int i = 0; i < 10000; ++i)
        big.Entries.push_back({QString::number(i), TExactColour::FromRgb8({i % 256, i / 256, 7})});
    const QImage sheet = QImage::fromData(WritePalette(F::Png, big), "PNG");
    EXPECT_EQ(sheet.size(), QSize(16 * 2 + 100 * 16, 16 * 2 + 100 * 16));
    EXPECT_EQ(sheet.pixel(16 + 99 * 16 + 7, 16 + 99 * 16 + 7), qRgb(9999 % 256, 9999 / 256, 7));
}

TEST(PaletteFormats, SuffixesAndContentsNameTheirFormat)
{
    EXPECT_EQ(PaletteFormatForFile(QStringLiteral("/a/b.GPL")), F::Gimp);
    EXPECT_EQ(PaletteFormatForFile(QStringLiteral("b.tokens.json")), F::DesignTokens);
    EXPECT_EQ(PaletteFormatForFile(QStringLiteral("b.tailwind.css")), F::Tailwind);
    EXPECT_EQ(PaletteFormatForFile(QStringLiteral("b.css")), F::Css);
    EXPECT_EQ(PaletteFormatForFile(QStringLiteral("b.json")), std::nullopt);
    EXPECT_EQ(PaletteFormatForFile(QStringLiteral("gpl")), std::nullopt);
    EXPECT_EQ(PaletteFileFilter(false).count(QStringLiteral(";;")), 7);
    EXPECT_TRUE(PaletteFileFilter(true).contains(QStringLiteral("PNG swatch sheet (*.png)")));
    EXPECT_EQ(PaletteFormatOfBytes("\xEF\xBB\xBFGIMP Palette\n"), F::Gimp);
    EXPECT_EQ(PaletteFormatOfBytes("\x89PNG"), std::nullopt);
}

// Files other programs wrote: every palette GIMP ships reads with its names and colours, and
// goes through every other format and back unchanged.
TEST(PaletteFormats, EveryPaletteGimpShipsGoesThroughEveryFormat)
{
    const QDir dir(QStringLiteral("/usr/share/gimp/2.0/palettes"));
    const QStringList files = dir.entryList({QStringLiteral("*.gpl")});
    if (files.isEmpty())
        GTEST_SKIP() << "gimp-data is not installed (scripts/setup installs it)";
    for (const QString &name : files) {
        QString why;
        const auto palette = ReadPalette(F::Gimp, FileBytes(dir.filePath(name)), &why);
        ASSERT_TRUE(palette) << name.toStdString() << ": " << why.toStdString();
        EXPECT_FALSE(palette->Name.isEmpty()) << name.toStdString();
        // Unnamed colours get a name in CSS; the others keep every name as it is.
        for (const TFormatCase &c : Readable) {
            if (c.Format == F::Css || c.Format == F::Tailwind)
                continue;
            const auto back = ReadPalette(c.Format, WritePalette(c.Format, *palette), &why);
            ASSERT_TRUE(back) << name.toStdString() << " " << why.toStdString();
            ExpectKept(*palette, *back, {c.Format, TKeeps::Bytes, c.KeepsPaletteName, nullptr});
        }
    }
}

TEST(PaletteFormats, NamesWithControlCharactersReadAsSpacesAndHugeNamesAreRefused)
{
    TPalette odd{QStringLiteral("p\tq"), {{QStringLiteral("a\nb\x01" "c\u0085d"), TExactColour::FromRgb8({1, 2, 3})}}};
    TPalette huge{QString(), {{QString(1 << 20, QLatin1Char('x')), TExactColour::FromRgb8({1, 2, 3})}}};
    for (const TFormatCase &c : Readable) {
        const std::string format = PaletteFormatInfo(c.Format).Name.toStdString();
        QString why;
        const auto back = ReadPalette(c.Format, WritePalette(c.Format, odd), &why);
        ASSERT_TRUE(back) << format << ": " << why.toStdString();
        EXPECT_EQ(back->Entries.at(0).Name, QStringLiteral("a b c d")) << format;
        if (c.KeepsPaletteName) {
            EXPECT_EQ(back->Name, QStringLiteral("p q")) << format;
        }
        EXPECT_FALSE(ReadPalette(c.Format, WritePalette(c.Format, huge), &why)) << format;
        EXPECT_EQ(why, QStringLiteral("a name is longer than 1024 characters")) << format;
    }
}

// Characters that mean something in one format or another: each format keeps them in names.
TEST(PaletteFormats, NamesWithEachFormatsSpecialCharactersComeBack)
{
    const QStringList names = {QStringLiteral("<b>&amp;\"'"), QStringLiteral("a\\b:c;d{e}"), QStringLiteral("*/ -- /*"),
                               QStringLiteral("$x.y"), QStringLiteral("\U0001F3A8 art"), QStringLiteral("9 lives"), QStringLiteral("  ")};
    TPalette p{QStringLiteral("x */ y"), {}};
    for (const QString &n : names)
        p.Entries.push_back({n, TExactColour::FromRgb8({10, 20, 30})});
    for (const TFormatCase &c : Readable) {
        QString why;
        const auto back = ReadPalette(c.Format, WritePalette(c.Format, p), &why);
        ASSERT_TRUE(back) << PaletteFormatInfo(c.Format).Name.toStdString() << ": " << why.toStdString();
        ASSERT_EQ(back->Entries.size(), names.size());
        for (qsizetype i = 0; i < names.size(); ++i) {
            // A GIMP palette's colour line ends in its name, blanks around it dropped.
            const QString expected = c.Format == F::Gimp ? names[i].trimmed() : names[i];
            EXPECT_EQ(back->Entries[static_cast<size_t>(i)].Name, expected) << PaletteFormatInfo(c.Format).Name.toStdString();
        }
    }
}

TEST(PaletteFormats, BrokenInputIsRefusedWithAReason)
{
    std::mt19937 gen(7);
    QByteArray garbage;
    for (int i = 0; i < 1 << 16; ++i)
        garbage += static_cast<char>(gen());
    for (const TFormatCase &c : Readable) {
        const std::string format = PaletteFormatInfo(c.Format).Name.toStdString();
        QString why;
        EXPECT_FALSE(ReadPalette(c.Format, QByteArray(), &why)) << format;
        EXPECT_EQ(why, QStringLiteral("it is empty")) << format;
        EXPECT_FALSE(ReadPalette(c.Format, garbage, &why)) << format;
        EXPECT_FALSE(why.isEmpty()) << format;
        // Cut anywhere: refused or fewer colours, never more and never a crash.
        const QByteArray whole = WritePalette(c.Format, Sample());
        for (qsizetype n = 0; n < whole.size(); n += c.Format == F::Ase ? 1 : 7)
            if (const auto part = ReadPalette(c.Format, whole.left(n))) {
                EXPECT_LE(part->Entries.size(), Sample().Entries.size()) << format << " cut at " << n;
            }
    }
    QString why;
    EXPECT_FALSE(ReadPalette(F::DesignTokens, QByteArray(100000, '[') + QByteArray(100000, ']'), &why));
    EXPECT_EQ(why, QStringLiteral("its JSON nests deeper than 64 levels"));
    EXPECT_FALSE(ReadPalette(F::Krita, FileBytes(Data(QStringLiteral("bomb.kpl"))), &why));
    EXPECT_EQ(why, QStringLiteral("its colorset.xml unpacks to more than 16 MB"));
    EXPECT_FALSE(ReadPalette(F::Krita, FileBytes(Data(QStringLiteral("many_files.kpl"))), &why));
    EXPECT_EQ(why, QStringLiteral("its zip holds more than 256 files"));
    // A block count and a block length that promise more than there is.
    EXPECT_FALSE(ReadPalette(F::Ase, QByteArray("ASEF\0\1\0\0\xFF\xFF\xFF\xFF\0\1\x7F\xFF\xFF\xFF", 18), &why));
    EXPECT_EQ(why, QStringLiteral("it is cut short"));
    EXPECT_FALSE(ReadPalette(F::Gimp, "GIMP Palette\nName: x\n", &why));
    EXPECT_EQ(why, QStringLiteral("it holds no colours"));
    EXPECT_FALSE(ReadPalette(F::Svg, "<svg/>", &why));
}

// What other programs write that this one does not: Gray and CMYK swatches, colours in groups,
// a Tailwind theme without a comment, tokens with a type on their group and a string value.
TEST(PaletteFormats, ReadsTheFormsOtherProgramsWrite)
{
    const auto read = [](F format, const QByteArray &bytes) {
        QString why;
        auto p = ReadPalette(format, bytes, &why);
        EXPECT_TRUE(p) << why.toStdString();
        return p.value_or(TPalette{});
    };
    const TPalette theme = read(F::Tailwind, "@import \"tailwindcss\";\n@theme {\n  --font-x: serif;\n  --color-mint-50: oklch(0.98 0.02 160);\n"
                                             "  --color-mint-950: oklch(0.26 0.05 173);\n}\n");
    EXPECT_EQ(theme.Name, QStringLiteral("mint"));
    ASSERT_EQ(theme.Entries.size(), 2u);
    EXPECT_EQ(theme.Entries[1].Name, QStringLiteral("950"));
    EXPECT_EQ(ExactColourText(theme.Entries[1].Colour), QStringLiteral("oklch(0.26 0.05 173)"));

    const TPalette tokens = read(F::DesignTokens, R"({"brand": {"$type": "color", "a": {"$value": "#ff0000"},
        "nested": {"b": {"$value": {"colorSpace": "display-p3", "components": [1, "none", 0], "alpha": 0.5}}}},
        "size": {"$type": "dimension", "$value": {"value": 4, "unit": "px"}}})");
    ASSERT_EQ(tokens.Entries.size(), 2u);
    EXPECT_EQ(ExactColourText(tokens.Entries[1].Colour), QStringLiteral("color(display-p3 1 none 0 / 0.5)"));

    QString why;
    const auto set = palettecodecs::ReadKritaColourSet(
        R"(<ColorSet name="n"><ColorSetEntry name="g"><Gray g="0.5"/></ColorSetEntry>
           <Group name="x"><ColorSetEntry name="c"><CMYK c="0" m="1" y="1" k="0"/></ColorSetEntry></Group></ColorSet>)", why);
    ASSERT_TRUE(set);
    ASSERT_EQ(set->Entries.size(), 2u);
    EXPECT_EQ(set->Entries[0].Colour.Rgb8(), (TRgb8{128, 128, 128}));
    EXPECT_EQ(set->Entries[1].Colour.Rgb8(), (TRgb8{255, 0, 0}));
    const TPalette scribus = read(F::Scribus, R"(<?xml version="1.0"?><SCRIBUSCOLORS Name="s"><COLOR NAME="k" CMYK="#000000ff"/></SCRIBUSCOLORS>)");
    EXPECT_EQ(scribus.Entries.at(0).Colour.Rgb8(), (TRgb8{0, 0, 0}));
}

} // namespace
