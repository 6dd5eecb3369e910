// The palette formats that are XML: a colour set (inside a .kpl zip), a colour table (.soc)
// and a swatch list (.xml).
#include "colour/PaletteCodecs.h"

#include "colour/ColourHistory.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace palettecodecs {

namespace {

constexpr int Columns = 16;

QString AttributeValue(const QXmlStreamAttributes &attributes, QLatin1String name)
{
    for (const QXmlStreamAttribute &a : attributes)
        if (a.name().compare(name, Qt::CaseInsensitive) == 0)
            return a.value().toString();
    return {};
}

std::optional<double> AttributeNumber(const QXmlStreamAttributes &attributes, QLatin1String name)
{
    bool ok = false;
    const double v = AttributeValue(attributes, name).toDouble(&ok); // C locale, always
    return ok && std::isfinite(v) ? std::optional(v) : std::nullopt;
}

// "#RRGGBB", "#CCMMYYKK" (a naive conversion), or nothing.
std::optional<TExactColour> HexColour(const QString &text, bool cmyk)
{
    const auto reading = !cmyk ? ReadExactColour(text) : std::nullopt;
    if (!cmyk)
        return reading ? std::optional(reading->Colour) : std::nullopt;
    if (text.size() != 9 || !text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = text.mid(1 + 2 * i, 2).toInt(&ok, 16) / 255.0;
        if (!ok)
            return std::nullopt;
    }
    return SrgbColour((1 - v[0]) * (1 - v[3]), (1 - v[1]) * (1 - v[3]), (1 - v[2]) * (1 - v[3]));
}

// What every XML reader shares: the entries in order, the name checks and the colour limit,
// and the reason when the XML itself fails.
struct TXmlPalette {
    TPalette Palette;
    QString &Why;

    bool Add(const QString &rawName, const TExactColour &colour)
    {
        const auto name = TakeName(rawName, Why);
        if (!name)
            return false;
        if (Palette.Entries.size() >= MaxColours) {
            Why = QStringLiteral("it holds more than %1 colours").arg(MaxColours);
            return false;
        }
        Palette.Entries.push_back({*name, colour});
        return true;
    }
    bool SetName(const QString &rawName)
    {
        const auto name = TakeName(rawName, Why);
        if (name)
            Palette.Name = *name;
        return name.has_value();
    }
    std::optional<TPalette> Finish(const QXmlStreamReader &xml, bool rootSeen, const char *what)
    {
        if (xml.hasError()) {
            Why = QStringLiteral("its XML is broken at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
            return std::nullopt;
        }
        if (!rootSeen) {
            Why = QStringLiteral("it is no %1").arg(QLatin1String(what));
            return std::nullopt;
        }
        return Palette;
    }
};

QXmlStreamWriter &Start(QXmlStreamWriter &xml)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    return xml;
}

} // namespace

QByteArray WriteKritaColourSet(const TPalette &palette)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    Start(xml);
    const qsizetype n = static_cast<qsizetype>(palette.Entries.size());
    xml.writeStartElement(QStringLiteral("ColorSet"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    xml.writeAttribute(QStringLiteral("name"), PlainName(palette.Name));
    xml.writeAttribute(QStringLiteral("comment"), QString());
    xml.writeAttribute(QStringLiteral("columns"), QString::number(Columns));
    xml.writeAttribute(QStringLiteral("rows"), QString::number(std::max<qsizetype>(1, (n + Columns - 1) / Columns)));
    xml.writeAttribute(QStringLiteral("readonly"), QStringLiteral("false"));
    for (qsizetype i = 0; i < n; ++i) {
        const TPaletteEntry &e = palette.Entries[static_cast<size_t>(i)];
        xml.writeStartElement(QStringLiteral("ColorSetEntry"));
        xml.writeAttribute(QStringLiteral("name"), PlainName(e.Name));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i + 1));
        xml.writeAttribute(QStringLiteral("spot"), QStringLiteral("false"));
        xml.writeAttribute(QStringLiteral("bitdepth"), QStringLiteral("F32"));
        if (e.Colour.Space == TColourSpace::Lab || e.Colour.Space == TColourSpace::Lch) {
            const TVec3 lab = e.Colour.To(TColourSpace::Lab).Coords;
            xml.writeStartElement(QStringLiteral("Lab"));
            xml.writeAttribute(QStringLiteral("L"), QString::fromLatin1(Number(lab[0])));
            xml.writeAttribute(QStringLiteral("a"), QString::fromLatin1(Number(lab[1])));
            xml.writeAttribute(QStringLiteral("b"), QString::fromLatin1(Number(lab[2])));
            xml.writeAttribute(QStringLiteral("space"), QStringLiteral("Lab identity built-in"));
        } else {
            const TVec3 rgb = e.Colour.SrgbFallback();
            xml.writeStartElement(QStringLiteral("RGB"));
            xml.writeAttribute(QStringLiteral("r"), QString::fromLatin1(Number(rgb[0])));
            xml.writeAttribute(QStringLiteral("g"), QString::fromLatin1(Number(rgb[1])));
            xml.writeAttribute(QStringLiteral("b"), QString::fromLatin1(Number(rgb[2])));
            xml.writeAttribute(QStringLiteral("space"), QStringLiteral("sRGB-elle-V2-srgbtrc.icc"));
        }
        xml.writeEndElement();
        xml.writeEmptyElement(QStringLiteral("Position"));
        xml.writeAttribute(QStringLiteral("row"), QString::number(i / Columns));
        xml.writeAttribute(QStringLiteral("column"), QString::number(i % Columns));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

std::optional<TPalette> ReadKritaColourSet(const QByteArray &bytes, QString &why)
{
    QXmlStreamReader xml(bytes);
    TXmlPalette result{{}, why};
    bool root = false;
    QString entryName;
    bool inEntry = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.isEndElement() && xml.name().compare(QLatin1String("ColorSetEntry"), Qt::CaseInsensitive) == 0)
                inEntry = false;
            continue;
        }
        const auto name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (!root) {
            if (name.compare(QLatin1String("ColorSet"), Qt::CaseInsensitive) != 0)
                break;
            root = true;
            if (!result.SetName(AttributeValue(a, QLatin1String("name"))))
                return std::nullopt;
        } else if (name.compare(QLatin1String("ColorSetEntry"), Qt::CaseInsensitive) == 0) {
            entryName = AttributeValue(a, QLatin1String("name"));
            inEntry = true;
        } else if (inEntry) {
            std::optional<TExactColour> colour;
            const auto num = [&](const char *n) { return AttributeNumber(a, QLatin1String(n)); };
            if (name == QLatin1String("RGB")) {
                if (const auto r = num("r"), g = num("g"), b = num("b"); r && g && b)
                    colour = SrgbColour(*r, *g, *b);
            } else if (name == QLatin1String("Lab")) {
                if (const auto l = num("L"), x = num("a"), y = num("b"); l && x && y) {
                    TExactColour c;
                    c.Space = TColourSpace::Lab;
                    c.Coords = {*l, *x, *y};
                    colour = c;
                }
            } else if (name == QLatin1String("Gray")) {
                if (const auto g = num("g"))
                    colour = SrgbColour(*g, *g, *g);
            } else if (name == QLatin1String("CMYK")) {
                if (const auto c = num("c"), m = num("m"), y = num("y"), k = num("k"); c && m && y && k)
                    colour = SrgbColour((1 - *c) * (1 - *k), (1 - *m) * (1 - *k), (1 - *y) * (1 - *k));
            } else if (name == QLatin1String("XYZ")) {
                if (const auto x = num("x"), y = num("y"), z = num("z"); x && y && z) {
                    TExactColour c;
                    c.Space = TColourSpace::XyzD50;
                    c.Coords = {*x, *y, *z};
                    colour = c;
                }
            }
            if (colour) {
                if (!result.Add(entryName, *colour))
                    return std::nullopt;
                inEntry = false;
            }
        }
    }
    return result.Finish(xml, root, "colour set");
}

QByteArray WriteSoc(const TPalette &palette)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    Start(xml);
    xml.writeNamespace(QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0"), QStringLiteral("office"));
    xml.writeNamespace(QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"), QStringLiteral("draw"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("xlink"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2000/svg"), QStringLiteral("svg"));
    xml.writeNamespace(QStringLiteral("http://openoffice.org/2004/office"), QStringLiteral("ooo"));
    const QString draw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
    xml.writeStartElement(QStringLiteral("http://openoffice.org/2004/office"), QStringLiteral("color-table"));
    for (const TPaletteEntry &e : palette.Entries) {
        xml.writeEmptyElement(draw, QStringLiteral("color"));
        xml.writeAttribute(draw, QStringLiteral("name"), PlainName(e.Name));
        xml.writeAttribute(draw, QStringLiteral("color"), HtmlText(e.Colour.Rgb8()));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

std::optional<TPalette> ReadSoc(const QByteArray &bytes, QString &why)
{
    QXmlStreamReader xml(bytes);
    TXmlPalette result{{}, why};
    bool root = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!root) {
            if (xml.name() != QLatin1String("color-table"))
                break;
            root = true;
        } else if (xml.name() == QLatin1String("color")) {
            const auto colour = HexColour(AttributeValue(xml.attributes(), QLatin1String("color")), false);
            if (colour && !result.Add(AttributeValue(xml.attributes(), QLatin1String("name")), *colour))
                return std::nullopt;
        }
    }
    return result.Finish(xml, root, "colour table");
}

QByteArray WriteScribus(const TPalette &palette)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    Start(xml);
    xml.writeStartElement(QStringLiteral("SCRIBUSCOLORS"));
    xml.writeAttribute(QStringLiteral("Name"), PlainName(palette.Name));
    for (const TPaletteEntry &e : palette.Entries) {
        xml.writeEmptyElement(QStringLiteral("COLOR"));
        xml.writeAttribute(QStringLiteral("NAME"), PlainName(e.Name));
        xml.writeAttribute(QStringLiteral("RGB"), HtmlText(e.Colour.Rgb8()));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

std::optional<TPalette> ReadScribus(const QByteArray &bytes, QString &why)
{
    QXmlStreamReader xml(bytes);
    TXmlPalette result{{}, why};
    bool root = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (!root) {
            if (xml.name() != QLatin1String("SCRIBUSCOLORS"))
                break;
            root = true;
            if (!result.SetName(AttributeValue(a, QLatin1String("Name"))))
                return std::nullopt;
        } else if (xml.name() == QLatin1String("COLOR")) {
            const QString rgb = AttributeValue(a, QLatin1String("RGB"));
            const auto colour = rgb.isEmpty() ? HexColour(AttributeValue(a, QLatin1String("CMYK")), true) : HexColour(rgb, false);
            if (colour && !result.Add(AttributeValue(a, QLatin1String("NAME")), *colour))
                return std::nullopt;
        }
    }
    return result.Finish(xml, root, "swatch list");
}

} // namespace palettecodecs
