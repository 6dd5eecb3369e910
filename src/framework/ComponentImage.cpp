#include "framework/ComponentImage.h"

#include "framework/Colors.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

const char Signature[4] = {'T', 'P', 'F', '0'};

// Values, property entries and records that one image may hold in all.
constexpr int MaxImageNodes = 65536;

// ---- reading ------------------------------------------------------------------------------------

class TImageParser {
public:
    explicit TImageParser(const QByteArray &data) : FData(data) {}

    bool Image(TImageRecord &record)
    {
        if (FData.size() < 4 || std::memcmp(FData.constData(), Signature, 4) != 0)
            return false;
        FPos = 4;
        // The end byte after the record is optional; anything after it is not ours to read.
        return Record(record, 0);
    }

private:
    qsizetype Remaining() const { return FData.size() - FPos; }

    bool Node()
    {
        return ++FNodes <= MaxImageNodes;
    }

    bool Peek(std::uint8_t &b) const
    {
        if (Remaining() < 1)
            return false;
        b = static_cast<std::uint8_t>(FData[FPos]);
        return true;
    }

    bool Byte(std::uint8_t &b)
    {
        if (!Peek(b))
            return false;
        ++FPos;
        return true;
    }

    bool Raw(qsizetype count, QByteArray &out)
    {
        if (count < 0 || count > Remaining())
            return false;
        out = FData.mid(FPos, count);
        FPos += count;
        return true;
    }

    // Little-endian unsigned of 1 to 8 bytes.
    bool Unsigned(int size, std::uint64_t &out)
    {
        if (Remaining() < size)
            return false;
        out = 0;
        for (int i = 0; i < size; ++i)
            out |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(FData[FPos + i])) << (8 * i);
        FPos += size;
        return true;
    }

    bool Signed(int size, std::int64_t &out)
    {
        std::uint64_t u = 0;
        if (!Unsigned(size, u))
            return false;
        if (size < 8) {
            const std::uint64_t sign = std::uint64_t{1} << (8 * size - 1);
            if (u & sign)
                u |= ~((sign << 1) - 1);
        }
        std::memcpy(&out, &u, sizeof out);
        return true;
    }

    bool ShortString(QByteArray &out)
    {
        std::uint8_t len = 0;
        return Byte(len) && Raw(len, out);
    }

    bool LongBytes(int unitSize, QByteArray &out)
    {
        std::uint64_t count = 0;
        if (!Unsigned(4, count))
            return false;
        const std::uint64_t bytes = count * static_cast<std::uint64_t>(unitSize);
        if (bytes > static_cast<std::uint64_t>(Remaining()))
            return false;
        return Raw(static_cast<qsizetype>(bytes), out);
    }

    // The end of a list: a 0 byte, consumed. False without consuming when another item follows.
    bool AtEnd(bool &end)
    {
        std::uint8_t b = 0;
        if (!Peek(b))
            return false;
        end = b == 0;
        if (end)
            ++FPos;
        return true;
    }

    bool Properties(std::vector<TImageProperty> &props, int depth)
    {
        for (;;) {
            bool end = false;
            if (!AtEnd(end))
                return false;
            if (end)
                return true;
            if (!Node())
                return false;
            TImageProperty p;
            if (!ShortString(p.Name) || !Value(p.Value, depth))
                return false;
            props.push_back(std::move(p));
        }
    }

    bool Value(TImageValue &v, int depth)
    {
        if (depth >= MaxImageDepth || !Node())
            return false;
        std::uint8_t tag = 0;
        if (!Byte(tag))
            return false;
        v.Tag = static_cast<TValueTag>(tag);
        switch (tag) {
        case vaNull:
        case vaFalse:
        case vaTrue:
        case vaNil:
            return true;
        case vaList:
            for (;;) {
                bool end = false;
                if (!AtEnd(end))
                    return false;
                if (end)
                    return true;
                TImageValue item;
                if (!Value(item, depth + 1))
                    return false;
                v.Items.push_back(std::move(item));
            }
        case vaInt8:
            return Signed(1, v.Int);
        case vaInt16:
            return Signed(2, v.Int);
        case vaInt32:
            return Signed(4, v.Int);
        case vaInt64:
            return Signed(8, v.Int);
        case vaExtended: {
            QByteArray raw;
            if (!Raw(10, raw))
                return false;
            v.Float = ExtendedToDouble(reinterpret_cast<const unsigned char *>(raw.constData()));
            return true;
        }
        case vaSingle: {
            std::uint64_t u = 0;
            if (!Unsigned(4, u))
                return false;
            const std::uint32_t bits = static_cast<std::uint32_t>(u);
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            v.Float = f;
            return true;
        }
        case vaDate: {
            std::uint64_t u = 0;
            if (!Unsigned(8, u))
                return false;
            std::memcpy(&v.Float, &u, sizeof v.Float);
            return true;
        }
        case vaCurrency:
            if (!Signed(8, v.Int))
                return false;
            v.Float = static_cast<double>(v.Int) / 10000.0;
            return true;
        case vaString:
        case vaIdent:
            return ShortString(v.Bytes);
        case vaBinary:
        case vaLString:
            return LongBytes(1, v.Bytes);
        case vaWString:
            return LongBytes(2, v.Bytes);
        case vaSet:
            for (;;) {
                QByteArray member;
                if (!ShortString(member))
                    return false;
                if (member.isEmpty())
                    return true;
                if (!Node())
                    return false;
                v.Members.push_back(std::move(member));
            }
        case vaCollection:
            for (;;) {
                bool end = false;
                if (!AtEnd(end))
                    return false;
                if (end)
                    return true;
                if (!Node())
                    return false;
                std::uint8_t b = 0;
                if (!Peek(b))
                    return false;
                // An item may carry its index before its list.
                if (b == vaInt8 || b == vaInt16 || b == vaInt32) {
                    TImageValue index;
                    if (!Value(index, depth + 1))
                        return false;
                }
                if (!Byte(b) || b != vaList)
                    return false;
                std::vector<TImageProperty> item;
                if (depth + 1 >= MaxImageDepth || !Properties(item, depth + 1))
                    return false;
                v.CollectionItems.push_back(std::move(item));
            }
        default:
            return false;
        }
    }

    bool Record(TImageRecord &r, int depth)
    {
        if (depth >= MaxImageDepth || !Node())
            return false;
        std::uint8_t b = 0;
        if (!Peek(b))
            return false;
        if ((b & 0xF0) == 0xF0) {
            ++FPos;
            r.Flags = b & 0x0F;
            if (r.Flags & 2) {
                TImageValue pos;
                if (!Value(pos, depth + 1))
                    return false;
                if (pos.Tag != vaInt8 && pos.Tag != vaInt16 && pos.Tag != vaInt32 && pos.Tag != vaInt64)
                    return false;
                r.ChildPos = pos.Int;
            }
        }
        if (!ShortString(r.ClassName) || r.ClassName.isEmpty() || !ShortString(r.Name))
            return false;
        if (!Properties(r.Properties, depth))
            return false;
        for (;;) {
            bool end = false;
            if (!AtEnd(end))
                return false;
            if (end)
                return true;
            TImageRecord child;
            if (!Record(child, depth + 1))
                return false;
            r.Children.push_back(std::move(child));
        }
    }

    const QByteArray &FData;
    qsizetype FPos = 0;
    int FNodes = 0;
};

// ---- checking a record against a class ---------------------------------------------------------

// A checked property value, ready to be set on the new instance.
struct TAssignment {
    enum TTarget { Property, DesignLeft, DesignTop } Target = Property;
    const TPropInfo *Prop = nullptr;
    std::int64_t Ord = 0;
    QString Text;
    QStringList Lines;
    TNotifyEvent Event;
};

bool IsIntegerTag(TValueTag tag)
{
    return tag == vaInt8 || tag == vaInt16 || tag == vaInt32 || tag == vaInt64;
}

bool ReadInt32(const TImageValue &v, std::int64_t &out)
{
    if (!IsIntegerTag(v.Tag) || v.Int < std::numeric_limits<std::int32_t>::min()
        || v.Int > std::numeric_limits<std::int32_t>::max())
        return false;
    out = v.Int;
    return true;
}

bool ReadText(const TImageValue &v, QString &out)
{
    switch (v.Tag) {
    case vaString:
    case vaLString:
        out = QString::fromUtf8(v.Bytes);
        return true;
    case vaWString: {
        out.resize(v.Bytes.size() / 2);
        for (qsizetype i = 0; i < out.size(); ++i)
            out[i] = QChar(static_cast<char16_t>(static_cast<std::uint8_t>(v.Bytes[2 * i])
                                                 | (static_cast<std::uint8_t>(v.Bytes[2 * i + 1]) << 8)));
        return true;
    }
    default:
        return false;
    }
}

// Identifier of a value written as an identifier, the four special ones included.
bool ReadIdent(const TImageValue &v, QString &out)
{
    switch (v.Tag) {
    case vaIdent: out = QString::fromUtf8(v.Bytes); return true;
    case vaFalse: out = QStringLiteral("False"); return true;
    case vaTrue: out = QStringLiteral("True"); return true;
    case vaNull: out = QStringLiteral("Null"); return true;
    case vaNil: out = QStringLiteral("nil"); return true;
    default: return false;
    }
}

int IdentIndex(const QStringList &idents, const QString &ident)
{
    for (int i = 0; i < idents.size(); ++i)
        if (idents[i].compare(ident, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool ReadColorValue(const TImageValue &v, std::int64_t &out)
{
    if (v.Tag == vaIdent) {
        const QString ident = QString::fromUtf8(v.Bytes);
        TColor c = 0;
        // Only a colour identifier; a number in identifier form is not one.
        if (!TryStringToColor(ident, c) || ColorToIdent(c).compare(ident, Qt::CaseInsensitive) != 0)
            return false;
        out = c;
        return true;
    }
    if (!IsIntegerTag(v.Tag) || v.Int < std::numeric_limits<std::int32_t>::min()
        || v.Int > std::numeric_limits<std::uint32_t>::max())
        return false;
    out = static_cast<TColor>(static_cast<std::uint32_t>(v.Int));
    return true;
}

bool CheckValue(const TPropInfo &prop, const TImageValue &v, const TComponent &root, TAssignment &a)
{
    a.Prop = &prop;
    switch (prop.Kind) {
    case TPropKind::Integer:
        return ReadInt32(v, a.Ord);
    case TPropKind::Bool:
        if (v.Tag != vaFalse && v.Tag != vaTrue)
            return false;
        a.Ord = v.Tag == vaTrue ? 1 : 0;
        return true;
    case TPropKind::Enum: {
        QString ident;
        if (!ReadIdent(v, ident))
            return false;
        a.Ord = IdentIndex(prop.Idents, ident);
        return a.Ord >= 0;
    }
    case TPropKind::Set: {
        if (v.Tag != vaSet)
            return false;
        std::uint64_t bits = 0;
        for (const QByteArray &m : v.Members) {
            const int i = IdentIndex(prop.Idents, QString::fromUtf8(m));
            if (i < 0 || i >= 64)
                return false;
            bits |= std::uint64_t{1} << i;
        }
        a.Ord = static_cast<std::int64_t>(bits);
        return true;
    }
    case TPropKind::Color:
        return ReadColorValue(v, a.Ord);
    case TPropKind::String:
        return ReadText(v, a.Text);
    case TPropKind::Event:
        if (v.Tag == vaNil || v.Tag == vaNull)
            return true;
        if (v.Tag != vaIdent)
            return false;
        a.Event.Method = QString::fromUtf8(v.Bytes);
        a.Event.Handler = root.MethodAddress(a.Event.Method);
        return a.Event.Handler != nullptr;
    case TPropKind::Strings:
        if (v.Tag != vaList)
            return false;
        for (const TImageValue &item : v.Items) {
            QString line;
            if (!ReadText(item, line))
                return false;
            a.Lines.append(line);
        }
        return true;
    }
    return false;
}

const QLatin1String StringsSuffix(".Strings");

bool CheckProperty(const TComponent &instance, const TImageProperty &p, const TComponent &root, TAssignment &a)
{
    const QString name = QString::fromUtf8(p.Name);
    if (const TPropInfo *prop = instance.FindProperty(name); prop && prop->Kind != TPropKind::Strings)
        return CheckValue(*prop, p.Value, root, a);
    if (name.endsWith(StringsSuffix, Qt::CaseInsensitive)) {
        const TPropInfo *prop = instance.FindProperty(name.chopped(StringsSuffix.size()));
        return prop && prop->Kind == TPropKind::Strings && CheckValue(*prop, p.Value, root, a);
    }
    const bool left = name.compare(QLatin1String("Left"), Qt::CaseInsensitive) == 0;
    const bool top = name.compare(QLatin1String("Top"), Qt::CaseInsensitive) == 0;
    if (!left && !top)
        return false;
    a.Target = left ? TAssignment::DesignLeft : TAssignment::DesignTop;
    return ReadInt32(p.Value, a.Ord);
}

void Apply(TComponent &c, const TAssignment &a)
{
    switch (a.Target) {
    case TAssignment::DesignLeft: c.DesignLeft = static_cast<int>(a.Ord); return;
    case TAssignment::DesignTop: c.DesignTop = static_cast<int>(a.Ord); return;
    case TAssignment::Property: break;
    }
    const TPropInfo &p = *a.Prop;
    switch (p.Kind) {
    case TPropKind::String: p.SetText(c, a.Text); return;
    case TPropKind::Event: p.SetEvent(c, a.Event); return;
    case TPropKind::Strings: p.SetLines(c, a.Lines); return;
    default: p.SetOrd(c, a.Ord); return;
    }
}

// ---- writing -----------------------------------------------------------------------------------

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
            Entry(p.Name + StringsSuffix);
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

double ExtendedToDouble(const unsigned char bytes[10])
{
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    const int exponent = ((bytes[9] & 0x7F) << 8) | bytes[8];
    const bool negative = (bytes[9] & 0x80) != 0;
    double value = 0;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // The integer bit is explicit; a zero exponent is a denormal with exponent 1 - bias.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(mantissa), e);
    }
    return negative ? -value : value;
}

bool ParseComponentImage(const QByteArray &image, TImageRecord &record)
{
    if (image.size() > MaxImageSize)
        return false;
    try {
        TImageParser parser(image);
        return parser.Image(record);
    } catch (const std::bad_alloc &) {
        return false;
    }
}

QByteArray WriteComponentImage(const TComponent &component)
{
    if (component.IsForm())
        return {};
    TImageWriter w;
    w.Out.append(Signature, 4);
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

TComponent *ReadComponentImage(const QByteArray &image, TComponent *component)
{
    if (!component || component->IsForm())
        return nullptr;
    TImageRecord record;
    if (!ParseComponentImage(image, record) || !record.Children.empty())
        return nullptr;
    const QString className = QString::fromUtf8(record.ClassName);
    if (!IsComponentClassRegistered(className)
        || QString::fromUtf8(record.Name).compare(component->Name(), Qt::CaseInsensitive) != 0)
        return nullptr;

    // Without an owner the new instance stands alone; owning it by the old instance would
    // destroy it together with that one.
    TComponent *owner = component->Owner();
    const TComponent &root = owner ? *owner : *component;
    TComponent *fresh = nullptr;
    try {
        fresh = CreateComponentByClassName(className, owner);
        if (!fresh)
            return nullptr;
        bool ok = !owner || owner->ReferenceAccepts(component->Name(), fresh);
        std::vector<TAssignment> assignments;
        assignments.reserve(record.Properties.size());
        for (const TImageProperty &p : record.Properties) {
            if (!ok)
                break;
            TAssignment a;
            ok = CheckProperty(*fresh, p, root, a);
            assignments.push_back(std::move(a));
        }
        if (!ok) {
            delete fresh;
            return nullptr;
        }
        for (const TAssignment &a : assignments)
            Apply(*fresh, a);
    } catch (...) {
        delete fresh;
        return nullptr;
    }

    const QString name = component->Name();
    component->SetName(QString());
    delete component;
    fresh->SetName(name);
    return fresh;
}
