// Swatch sheets to show people: a grid of swatches, each with its name and hex below it, as SVG
// and as a PNG image.
#include "colour/PaletteCodecs.h"

#include "colour/ColourHistory.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QXmlStreamWriter>

#include <cmath>

namespace palettecodecs {

namespace {

// The grid: at most 8 columns up to 64 colours, then as square as it goes.
struct TSheetLayout {
    int Columns, Rows, Cell, Swatch, Margin = 16, Caption;
    bool Labels;
    int Width() const { return 2 * Margin + Columns * Cell; }
    int Height() const { return 2 * Margin + Rows * (Swatch + Caption + (Cell - Swatch)); }
    int X(size_t i) const { return Margin + static_cast<int>(i % static_cast<size_t>(Columns)) * Cell; }
    int Y(size_t i) const { return Margin + static_cast<int>(i / static_cast<size_t>(Columns)) * (Swatch + Caption + (Cell - Swatch)); }
};

// Labels go under swatches up to this many colours; beyond it the sheet is swatches only, small
// enough to stay an image a viewer opens.
constexpr size_t MaxLabelled = 1000;

TSheetLayout Layout(size_t count, bool image)
{
    const bool labels = !image || count <= MaxLabelled;
    const int columns = count <= 64 ? static_cast<int>(std::max<size_t>(1, std::min<size_t>(count, 8)))
                                    : static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = static_cast<int>((count + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
    if (labels)
        return {columns, std::max(rows, 1), 120, 96, 16, 36, true};
    return {columns, rows, 16, 14, 16, 0, false};
}

} // namespace

QByteArray WriteSvgSheet(const TPalette &palette)
{
    const TSheetLayout l = Layout(palette.Entries.size(), false);
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    const QString w = QString::number(l.Width()), h = QString::number(l.Height());
    xml.writeAttribute(QStringLiteral("width"), w);
    xml.writeAttribute(QStringLiteral("height"), h);
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(w, h));
    xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
    xml.writeAttribute(QStringLiteral("font-size"), QStringLiteral("12"));
    xml.writeTextElement(QStringLiteral("title"), PlainName(palette.Name));
    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("width"), w);
    xml.writeAttribute(QStringLiteral("height"), h);
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#ffffff"));
    for (size_t i = 0; i < palette.Entries.size(); ++i) {
        const TPaletteEntry &e = palette.Entries[i];
        const QString hex = HtmlText(e.Colour.Rgb8());
        const int x = l.X(i), y = l.Y(i);
        xml.writeEmptyElement(QStringLiteral("rect"));
        xml.writeAttribute(QStringLiteral("x"), QString::number(x));
        xml.writeAttribute(QStringLiteral("y"), QString::number(y));
        xml.writeAttribute(QStringLiteral("width"), QString::number(l.Swatch));
        xml.writeAttribute(QStringLiteral("height"), QString::number(l.Swatch));
        xml.writeAttribute(QStringLiteral("fill"), hex);
        xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#808080"));
        const QString lines[2] = {PlainName(e.Name), hex};
        for (int line = 0; line < 2; ++line) {
            xml.writeStartElement(QStringLiteral("text"));
            xml.writeAttribute(QStringLiteral("x"), QString::number(x));
            xml.writeAttribute(QStringLiteral("y"), QString::number(y + l.Swatch + 14 + 14 * line));
            xml.writeCharacters(lines[line]);
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QByteArray WritePngSheet(const TPalette &palette)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {}; // text cannot be drawn without one
    const TSheetLayout l = Layout(palette.Entries.size(), true);
    QImage image(l.Width(), l.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(12);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        for (size_t i = 0; i < palette.Entries.size(); ++i) {
            const TPaletteEntry &e = palette.Entries[i];
            const TRgb8 c = e.Colour.Rgb8();
            const QRect swatch(l.X(i), l.Y(i), l.Swatch, l.Swatch);
            painter.fillRect(swatch, QColor(c.R, c.G, c.B));
            painter.setPen(QColor(0x80, 0x80, 0x80));
            painter.drawRect(swatch.adjusted(0, 0, -1, -1));
            if (!l.Labels)
                continue;
            painter.setPen(Qt::black);
            const QString name = metrics.elidedText(PlainName(e.Name), Qt::ElideRight, l.Cell - 8);
            painter.drawText(QRect(swatch.left(), swatch.bottom() + 3, l.Cell - 8, 16), Qt::AlignLeft | Qt::AlignVCenter, name);
            painter.drawText(QRect(swatch.left(), swatch.bottom() + 19, l.Cell - 8, 16), Qt::AlignLeft | Qt::AlignVCenter, HtmlText(c));
        }
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // A light compression: flat swatches pack well at any level, and the default level takes
    // several times as long.
    writer.setQuality(80);
    if (!writer.write(image))
        return {};
    return out;
}

} // namespace palettecodecs
