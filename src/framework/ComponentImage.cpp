// Checking a parsed image against its class and replacing a component with the instance it
// describes.
#include "framework/ComponentImage.h"

#include "framework/Colors.h"

#include <QStringDecoder>

#include <limits>

namespace {

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
    case vaLString: {
        // As written: a leading byte-order mark is a character of the text, not a marker to drop.
        QStringDecoder utf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
        out = utf8(v.Bytes);
        return true;
    }
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

bool CheckProperty(const TComponent &instance, const TImageProperty &p, const TComponent &root, TAssignment &a)
{
    const QString name = QString::fromUtf8(p.Name);
    if (const TPropInfo *prop = instance.FindProperty(name); prop && prop->Kind != TPropKind::Strings)
        return CheckValue(*prop, p.Value, root, a);
    if (name.endsWith(ImageStringsSuffix, Qt::CaseInsensitive)) {
        const TPropInfo *prop = instance.FindProperty(name.chopped(ImageStringsSuffix.size()));
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

} // namespace

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
