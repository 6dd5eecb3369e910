#include "colour/PaletteFormats.h"

#include "colour/PaletteCodecs.h"

#include <charconv>
#include <cmath>

using namespace palettecodecs;

const std::vector<TPaletteFormatInfo> &PaletteFormats()
{
    using F = TPaletteFormat;
    static const std::vector<TPaletteFormatInfo> formats = [] {
        std::vector<TPaletteFormatInfo> list{
            {F::Gimp, QStringLiteral("GIMP palette"), {QStringLiteral("gpl")}, {}, true, true},
            {F::Css, QStringLiteral("CSS custom properties"), {QStringLiteral("css")}, {}, true, true},
            {F::DesignTokens, QStringLiteral("Design tokens"), {QStringLiteral("tokens.json"), QStringLiteral("tokens")}, {}, true, true},
            {F::Tailwind, QStringLiteral("Tailwind CSS theme"), {QStringLiteral("tailwind.css")}, {}, true, true},
            {F::Ase, QStringLiteral("Adobe Swatch Exchange"), {QStringLiteral("ase")}, {}, true, true},
            {F::Krita, QStringLiteral("Krita palette"), {QStringLiteral("kpl")}, {}, true, true},
            {F::LibreOffice, QStringLiteral("LibreOffice colour table"), {QStringLiteral("soc")}, {}, true, true},
            {F::Scribus, QStringLiteral("Scribus swatches"), {QStringLiteral("xml")}, {}, true, true},
            {F::Svg, QStringLiteral("SVG swatch sheet"), {QStringLiteral("svg")}, {}, false, true},
            {F::Png, QStringLiteral("PNG swatch sheet"), {QStringLiteral("png")}, {}, false, true},
        };
        for (TPaletteFormatInfo &f : list) {
            QStringList patterns;
            for (const QString &s : f.Suffixes)
                patterns << QStringLiteral("*.") + s;
            f.Filter = QStringLiteral("%1 (%2)").arg(f.Name, patterns.join(QLatin1Char(' ')));
        }
        return list;
    }();
    return formats;
}

const TPaletteFormatInfo &PaletteFormatInfo(TPaletteFormat format)
{
    return PaletteFormats()[static_cast<size_t>(format)];
}

std::optional<TPaletteFormat> PaletteFormatForFile(const QString &fileName)
{
    std::optional<TPaletteFormat> best;
    qsizetype bestLength = 0;
    for (const TPaletteFormatInfo &f : PaletteFormats())
        for (const QString &suffix : f.Suffixes)
            if (suffix.size() > bestLength && fileName.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive)) {
                best = f.Format;
                bestLength = suffix.size();
            }
    return best;
}

std::optional<TPaletteFormat> PaletteFormatOfBytes(const QByteArray &bytes)
{
    using F = TPaletteFormat;
    QByteArray head = bytes.left(4096);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    if (head.startsWith("ASEF"))
        return F::Ase;
    if (head.startsWith("PK\x03\x04"))
        return F::Krita;
    const QByteArray text = head.trimmed();
    if (text.startsWith("GIMP Palette"))
        return F::Gimp;
    if (text.startsWith("{"))
        return F::DesignTokens;
    if (text.contains("color-table"))
        return F::LibreOffice;
    if (text.contains("<SCRIBUSCOLORS"))
        return F::Scribus;
    if (text.contains("@theme"))
        return F::Tailwind;
    if (text.contains("--"))
        return F::Css;
    return std::nullopt;
}

QString PaletteFileFilter(bool forWriting)
{
    QStringList filters;
    for (const TPaletteFormatInfo &f : PaletteFormats())
        if (forWriting ? f.CanWrite : f.CanRead)
            filters << f.Filter;
    return filters.join(QStringLiteral(";;"));
}

QByteArray WritePalette(TPaletteFormat format, const TPalette &palette)
{
    using F = TPaletteFormat;
    switch (format) {
    case F::Gimp: return WriteGpl(palette);
    case F::Css: return WriteCss(palette);
    case F::DesignTokens: return WriteTokens(palette);
    case F::Tailwind: return WriteTailwind(palette);
    case F::Ase: return WriteAse(palette);
    case F::Krita: return WriteKpl(palette);
    case F::LibreOffice: return WriteSoc(palette);
    case F::Scribus: return WriteScribus(palette);
    case F::Svg: return WriteSvgSheet(palette);
    case F::Png: return WritePngSheet(palette);
    }
    return {};
}

std::optional<TPalette> ReadPalette(TPaletteFormat format, const QByteArray &bytes, QString *why)
{
    using F = TPaletteFormat;
    QString reason;
    std::optional<TPalette> palette;
    if (bytes.isEmpty())
        reason = QStringLiteral("it is empty");
    else
        switch (format) {
        case F::Gimp: palette = ReadGpl(bytes, reason); break;
        case F::Css: palette = ReadCss(bytes, reason); break;
        case F::DesignTokens: palette = ReadTokens(bytes, reason); break;
        case F::Tailwind: palette = ReadTailwind(bytes, reason); break;
        case F::Ase: palette = ReadAse(bytes, reason); break;
        case F::Krita: palette = ReadKpl(bytes, reason); break;
        case F::LibreOffice: palette = ReadSoc(bytes, reason); break;
        case F::Scribus: palette = ReadScribus(bytes, reason); break;
        case F::Svg:
        case F::Png: reason = QStringLiteral("a %1 is written only").arg(PaletteFormatInfo(format).Name); break;
        }
    if (palette)
        palette = Filled(std::move(*palette), reason);
    if (!palette && reason.isEmpty())
        reason = QStringLiteral("it is no %1").arg(PaletteFormatInfo(format).Name);
    if (why)
        *why = palette ? QString() : reason;
    return palette;
}

namespace palettecodecs {

std::optional<QString> TakeName(QString name, QString &why)
{
    if (name.size() > MaxPaletteNameLength) {
        why = QStringLiteral("a name is longer than %1 characters").arg(MaxPaletteNameLength);
        return std::nullopt;
    }
    return PlainName(name);
}

QString PlainName(const QString &name)
{
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029)
            out[i] = QLatin1Char(' ');
        else if (u == 0xFFFE || u == 0xFFFF)
            out[i] = QChar(QChar::ReplacementCharacter);
        else if (c.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate()) // alone: no UTF-8 or XML can hold it
            out[i] = QChar(QChar::ReplacementCharacter);
    }
    return out;
}

TExactColour SrgbColour(double r, double g, double b, double alpha)
{
    const auto byte = [](double v) -> std::optional<int> {
        const double scaled = v * 255;
        const double rounded = std::round(scaled);
        if (!(std::abs(scaled - rounded) < 1e-4) || rounded < 0 || rounded > 255)
            return std::nullopt;
        return static_cast<int>(rounded);
    };
    const auto R = byte(r), G = byte(g), B = byte(b);
    if (R && G && B && alpha == 1)
        return TExactColour::FromRgb8({*R, *G, *B});
    TExactColour c;
    c.Coords = {r, g, b};
    c.Alpha = alpha;
    return c;
}

std::optional<TPalette> Filled(TPalette palette, QString &why)
{
    if (palette.Entries.empty()) {
        why = QStringLiteral("it holds no colours");
        return std::nullopt;
    }
    return palette;
}

QByteArray Number(double value)
{
    if (!std::isfinite(value) || std::abs(value) < 1e-12)
        return "0";
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return QByteArray(text, result.ptr - text);
}

namespace {

const std::pair<TColourSpace, const char *> SpaceNames[] = {
    {TColourSpace::Srgb, "srgb"}, {TColourSpace::SrgbLinear, "srgb-linear"}, {TColourSpace::DisplayP3, "display-p3"},
    {TColourSpace::A98Rgb, "a98-rgb"}, {TColourSpace::ProPhotoRgb, "prophoto-rgb"}, {TColourSpace::Rec2020, "rec2020"},
    {TColourSpace::XyzD50, "xyz-d50"}, {TColourSpace::XyzD65, "xyz-d65"}, {TColourSpace::Lab, "lab"},
    {TColourSpace::Lch, "lch"}, {TColourSpace::Oklab, "oklab"}, {TColourSpace::Oklch, "oklch"},
    {TColourSpace::Hsl, "hsl"}, {TColourSpace::Hwb, "hwb"},
};

} // namespace

QString SpaceName(TColourSpace space)
{
    for (const auto &[s, name] : SpaceNames)
        if (s == space)
            return QLatin1String(name);
    return QStringLiteral("srgb");
}

std::optional<TColourSpace> SpaceNamed(const QString &name)
{
    for (const auto &[s, n] : SpaceNames)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return s;
    return std::nullopt;
}

} // namespace palettecodecs
