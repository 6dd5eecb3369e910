// Swatch exchange files: big-endian blocks after "ASEF" and version 1.0; each colour a UTF-16
// name, a colour model and 32-bit floats. A group's start block names the palette.
#include "colour/PaletteCodecs.h"

#include "colour/ColourSpaces.h"

#include <QtEndian>

#include <cstring>

namespace palettecodecs {

namespace {

constexpr quint16 GroupStart = 0xC001;
constexpr quint16 GroupEnd = 0xC002;
constexpr quint16 ColourEntry = 0x0001;
constexpr quint16 NormalColour = 2;

void Put16(QByteArray &out, quint16 v)
{
    const char b[2] = {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
    out.append(b, 2);
}

void Put32(QByteArray &out, quint32 v)
{
    Put16(out, static_cast<quint16>(v >> 16));
    Put16(out, static_cast<quint16>(v & 0xFFFF));
}

void PutFloat(QByteArray &out, double v)
{
    const float f = static_cast<float>(v);
    quint32 bits;
    std::memcpy(&bits, &f, 4);
    Put32(out, bits);
}

// A name: its length in UTF-16 units with the closing zero, the units, the zero.
void PutName(QByteArray &out, const QString &name)
{
    const QString plain = PlainName(name).left(0xFFFE);
    Put16(out, static_cast<quint16>(plain.size() + 1));
    for (const QChar c : plain)
        Put16(out, c.unicode());
    Put16(out, 0);
}

void PutBlock(QByteArray &out, quint16 type, const QByteArray &body)
{
    Put16(out, type);
    Put32(out, static_cast<quint32>(body.size()));
    out += body;
}

// Reads big-endian values and never past the end; a failed read leaves Ok false.
struct TBytes {
    const uchar *P;
    qsizetype Left;
    bool Ok = true;

    bool Has(qsizetype n)
    {
        if (Left < n)
            Ok = false;
        return Ok;
    }
    quint16 U16()
    {
        if (!Has(2))
            return 0;
        const quint16 v = qFromBigEndian<quint16>(P);
        P += 2;
        Left -= 2;
        return v;
    }
    quint32 U32()
    {
        if (!Has(4))
            return 0;
        const quint32 v = qFromBigEndian<quint32>(P);
        P += 4;
        Left -= 4;
        return v;
    }
    double Float()
    {
        const quint32 bits = U32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    QString Name()
    {
        const quint16 units = U16();
        if (!Has(qsizetype(units) * 2))
            return {};
        QString name(units, Qt::Uninitialized);
        for (quint16 i = 0; i < units; ++i)
            name[i] = QChar(U16());
        while (name.endsWith(QChar(0)))
            name.chop(1);
        return name;
    }
};

} // namespace

QByteArray WriteAse(const TPalette &palette)
{
    QByteArray blocks;
    quint32 count = 0;
    const bool group = !palette.Name.isEmpty();
    if (group) {
        QByteArray body;
        PutName(body, palette.Name);
        PutBlock(blocks, GroupStart, body);
        ++count;
    }
    for (const TPaletteEntry &e : palette.Entries) {
        QByteArray body;
        PutName(body, e.Name);
        const TColourSpace space = e.Colour.Space;
        if (space == TColourSpace::Lab || space == TColourSpace::Lch) {
            // Lab D50, as CSS's lab(); the lightness as a fraction.
            const TVec3 lab = e.Colour.To(TColourSpace::Lab).Coords;
            body += "LAB ";
            PutFloat(body, lab[0] / 100);
            PutFloat(body, lab[1]);
            PutFloat(body, lab[2]);
        } else {
            const TVec3 rgb = e.Colour.SrgbFallback();
            body += "RGB ";
            for (const double v : rgb)
                PutFloat(body, v);
        }
        Put16(body, NormalColour);
        PutBlock(blocks, ColourEntry, body);
        ++count;
    }
    if (group) {
        PutBlock(blocks, GroupEnd, {});
        ++count;
    }
    QByteArray out = "ASEF";
    Put16(out, 1);
    Put16(out, 0);
    Put32(out, count);
    return out + blocks;
}

std::optional<TPalette> ReadAse(const QByteArray &bytes, QString &why)
{
    TBytes in{reinterpret_cast<const uchar *>(bytes.constData()), bytes.size()};
    if (bytes.size() < 12 || !bytes.startsWith("ASEF")) {
        why = QStringLiteral("it is no swatch exchange file (no ASEF at its start)");
        return std::nullopt;
    }
    in.P += 4;
    in.Left -= 4;
    const quint16 major = in.U16();
    in.U16();
    if (major != 1) {
        why = QStringLiteral("it is a swatch exchange file of version %1, not 1").arg(major);
        return std::nullopt;
    }
    const quint32 count = in.U32();
    TPalette palette;
    bool named = false;
    for (quint32 n = 0; n < count; ++n) {
        const quint16 type = in.U16();
        const quint32 length = in.U32();
        if (!in.Ok || length > static_cast<quint32>(in.Left)) {
            why = QStringLiteral("it is cut short");
            return std::nullopt;
        }
        TBytes block{in.P, static_cast<qsizetype>(length)};
        in.P += length;
        in.Left -= length;
        if (type == GroupStart && !named && palette.Entries.empty()) {
            const auto name = TakeName(block.Name(), why);
            if (!name)
                return std::nullopt;
            palette.Name = *name;
            named = true;
            continue;
        }
        if (type != ColourEntry)
            continue;
        const QString rawName = block.Name();
        if (!block.Has(4))
            continue;
        const QByteArray model(reinterpret_cast<const char *>(block.P), 4);
        block.P += 4;
        block.Left -= 4;
        std::optional<TExactColour> colour;
        if (model == "RGB ") {
            const double r = block.Float(), g = block.Float(), b = block.Float();
            colour = SrgbColour(r, g, b);
        } else if (model == "LAB ") {
            TExactColour c;
            c.Space = TColourSpace::Lab;
            c.Coords = {block.Float() * 100, block.Float(), block.Float()};
            colour = c;
        } else if (model == "Gray") {
            const double v = block.Float();
            colour = SrgbColour(v, v, v);
        } else if (model == "CMYK") {
            const double c = block.Float(), m = block.Float(), y = block.Float(), k = block.Float();
            colour = SrgbColour((1 - c) * (1 - k), (1 - m) * (1 - k), (1 - y) * (1 - k));
        }
        if (!block.Ok || !colour)
            continue;
        for (const double v : colour->Coords)
            if (!std::isfinite(v))
                colour.reset();
        if (!colour)
            continue;
        const auto name = TakeName(rawName, why);
        if (!name)
            return std::nullopt;
        if (palette.Entries.size() >= MaxColours) {
            why = QStringLiteral("it holds more than %1 colours").arg(MaxColours);
            return std::nullopt;
        }
        palette.Entries.push_back({*name, *colour});
    }
    if (!in.Ok) {
        why = QStringLiteral("it is cut short");
        return std::nullopt;
    }
    return palette;
}

} // namespace palettecodecs
