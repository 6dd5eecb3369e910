// Writing a component's published properties as an image.
#include "framework/ComponentImage.h"

#include "framework/Colors.h"

#include <limits>

namespace {

class TImageWriter {
public:
    bool Ok = true;
    QByteArray Out;

    void Byte(std::uint8_t b) { Out.append(static_cast<char>(b)); }

    void Little(std::uint64_t v, int size)
    {
        for (int i = 0; i < size; ++i)
            Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }

    void ShortString(const QByteArray &s)
    {
        if (s.size() > 255) {
            Ok = false;
            return;
        }
        Byte(static_cast<std::uint8_t>(s.size()));
        Out.append(s);
    }

    void Integer(std::int64_t v)
    {
        const std::uint64_t bits = static_cast<std::uint64_t>(v);
        if (v >= -128 && v <= 127) {
            Byte(vaInt8);
            Little(bits, 1);
        } else if (v >= -32768 && v <= 32767) {
            Byte(vaInt16);
            Little(bits, 2);
        } else if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()) {
            Byte(vaInt32);
            Little(bits, 4);
        } else {
            Byte(vaInt64);
            Little(bits, 8);
        }
    }

    void String(const QString &s)
    {
        const QByteArray bytes = s.toUtf8();
        if (bytes.size() <= 255) {
            Byte(vaString);
            ShortString(bytes);
        } else if (bytes.size() <= std::numeric_limits<std::int32_t>::max()) {
            Byte(vaLString);
            Little(static_cast<std::uint64_t>(bytes.size()), 4);
            Out.append(bytes);
        } else {
            Ok = false;
        }
    }

    void Ident(const QString &ident)
    {
        if (ident == QLatin1String("False"))
            Byte(vaFalse);
        else if (ident == QLatin1String("True"))
            Byte(vaTrue);
        else if (ident == QLatin1String("Null"))
            Byte(vaNull);
        else if (ident == QLatin1String("nil"))
            Byte(vaNil);
        else {
            Byte(vaIdent);
            ShortString(ident.toUtf8());
        }
    }

    void Entry(const QString &name) { ShortString(name.toUtf8()); }

    void Property(const TComponent &c, const TPropInfo &p)
    {
        if (p.IsOrdinal()) {
            const std::int64_t v = p.GetOrd(c);
            if (p.Default && *p.Default == v)
                return;
            Entry(p.Name);
            OrdinalValue(p, v);
            return;
        }
        switch (p.Kind) {
        case TPropKind::String: {
            const QString s = p.GetText(c);
            if (s.isEmpty())
                return;
            Entry(p.Name);
            String(s);
            return;
        }
        case TPropKind::Event: {
            const TNotifyEvent e = p.GetEvent(c);
            if (e.Method.isEmpty())
                return;
            Entry(p.Name);
            Ident(e.Method);
            return;
        }
        case TPropKind::Strings: {
            const QStringList lines = p.GetLines(c);
            if (lines.isEmpty())
                return;
            Entry(p.Name + ImageStringsSuffix);
            Byte(vaList);
            for (const QString &line : lines)
                String(line);
            Byte(vaNull);
            return;
        }
        default:
            Ok = false;
        }
    }

    void OrdinalValue(const TPropInfo &p, std::int64_t v)
    {
        switch (p.Kind) {
        case TPropKind::Integer:
            Integer(v);
            return;
        case TPropKind::Bool:
            Byte(v ? vaTrue : vaFalse);
            return;
        case TPropKind::Enum:
            if (v < 0 || v >= p.Idents.size()) {
                Ok = false;
                return;
            }
            Ident(p.Idents[static_cast<qsizetype>(v)]);
            return;
        case TPropKind::Set:
            Byte(vaSet);
            for (qsizetype i = 0; i < p.Idents.size() && i < 64; ++i)
                if (static_cast<std::uint64_t>(v) & (std::uint64_t{1} << i))
                    ShortString(p.Idents[i].toUtf8());
            Byte(0);
            return;
        case TPropKind::Color: {
            const TColor color = static_cast<TColor>(v);
            const QString ident = ColorToIdent(color);
            if (ident.isEmpty())
                Integer(color);
            else
                Ident(ident);
            return;
        }
        default:
            Ok = false;
        }
    }
};

} // namespace

QByteArray WriteComponentImage(const TComponent &component)
{
    if (component.IsForm())
        return {};
    TImageWriter w;
    w.Out.append(ImageSignature, 4);
    w.ShortString(component.ClassName().toUtf8());
    w.ShortString(component.Name().toUtf8());
    for (const TPropInfo &p : component.Properties())
        w.Property(component, p);
    if (component.DesignLeft != 0) {
        w.Entry(QStringLiteral("Left"));
        w.Integer(component.DesignLeft);
    }
    if (component.DesignTop != 0) {
        w.Entry(QStringLiteral("Top"));
        w.Integer(component.DesignTop);
    }
    w.Byte(0); // end of properties
    w.Byte(0); // end of child records: a non-visual component has none
    w.Byte(0); // end of image
    return w.Ok ? w.Out : QByteArray();
}
