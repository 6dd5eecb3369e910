// Design tokens: a JSON group of colour tokens, each colour in its own space with its sRGB hex.
#include "colour/PaletteCodecs.h"

#include "colour/ColourHistory.h"
#include "colour/PaletteJson.h"

#include <set>

namespace palettecodecs {

namespace {

const QString Extension = QStringLiteral("org.pigmora");

// A token's or group's name as the format allows it: no "{", "}" or "." anywhere, no "$" first,
// and not empty; names given twice are told apart by a number.
QString TokenName(const QString &name, std::set<QString> &taken)
{
    QString key = PlainName(name);
    for (QChar &c : key)
        if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('.'))
            c = QLatin1Char('_');
    if (key.startsWith(QLatin1Char('$')))
        key[0] = QLatin1Char('_');
    if (key.isEmpty())
        key = QStringLiteral("colour");
    QString unique = key;
    for (int n = 2; taken.count(unique); ++n)
        unique = QStringLiteral("%1 %2").arg(key).arg(n);
    taken.insert(unique);
    return unique;
}

// `"$extensions": {"org.pigmora": {"name": …}}` for a name the key could not keep.
QByteArray NameExtension(const QString &name, const QString &key, const QByteArray &indent)
{
    if (name == key)
        return {};
    return ",\n" + indent + "\"$extensions\": { " + JsonString(Extension) + ": { \"name\": " + JsonString(name) + " } }";
}

QByteArray ColourValue(const TExactColour &c)
{
    QByteArray components;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            components += ", ";
        components += c.Missing[i] ? QByteArray("\"none\"") : Number(c.Coords[i]);
    }
    return "{\n"
           "        \"colorSpace\": " + JsonString(SpaceName(c.Space)) + ",\n"
           "        \"components\": [" + components + "],\n"
           "        \"alpha\": " + Number(c.Missing[3] ? 0 : c.Alpha) + ",\n"
           "        \"hex\": " + JsonString(HtmlText(c.Rgb8()).toLower()) + "\n"
           "      }";
}

// The name an extension gives, else the key.
QString GivenName(const QString &key, const TJsonValue &node)
{
    if (const TJsonValue *ext = node.Member(QStringLiteral("$extensions")))
        if (const TJsonValue *ours = ext->Member(Extension))
            if (const TJsonValue *name = ours->Member(QStringLiteral("name")); name && name->Kind == TJsonValue::TKind::String)
                return name->String;
    return key;
}

std::optional<TExactColour> TokenColour(const TJsonValue &value)
{
    using K = TJsonValue::TKind;
    if (value.Kind == K::String) {
        const auto reading = ReadExactColour(value.String);
        return reading ? std::optional(reading->Colour) : std::nullopt;
    }
    if (value.Kind != K::Object)
        return std::nullopt;
    const TJsonValue *space = value.Member(QStringLiteral("colorSpace"));
    const TJsonValue *components = value.Member(QStringLiteral("components"));
    const TJsonValue *alpha = value.Member(QStringLiteral("alpha"));
    const TJsonValue *hex = value.Member(QStringLiteral("hex"));
    double a = 1;
    if (alpha && alpha->Kind == K::Number && alpha->Number >= 0 && alpha->Number <= 1)
        a = alpha->Number;
    const auto named = space && space->Kind == K::String ? SpaceNamed(space->String) : std::nullopt;
    if (named && components && components->Kind == K::Array && components->Items.size() == 3) {
        TExactColour c;
        c.Space = *named;
        c.Alpha = a;
        for (int i = 0; i < 3; ++i) {
            const TJsonValue &v = components->Items[static_cast<size_t>(i)];
            if (v.Kind == K::Number)
                c.Coords[i] = v.Number;
            else if (v.Kind == K::String && v.String == QLatin1String("none"))
                c.Missing[i] = true;
            else
                return std::nullopt;
        }
        if (c.Space == TColourSpace::Srgb && !c.Missing[0] && !c.Missing[1] && !c.Missing[2])
            return SrgbColour(c.Coords[0], c.Coords[1], c.Coords[2], a);
        return c;
    }
    // A space this program does not know: its hex fallback.
    if (hex && hex->Kind == K::String)
        if (const auto reading = ReadExactColour(hex->String)) {
            TExactColour c = reading->Colour;
            c.Alpha = a;
            return c;
        }
    return std::nullopt;
}

struct TTokenWalk {
    TPalette Palette;
    QString &Why;

    // The colour tokens under `node` in order; `type` is the type its groups pass down.
    bool Walk(const TJsonValue &node, const QString &type)
    {
        QString ownType = type;
        if (const TJsonValue *t = node.Member(QStringLiteral("$type")); t && t->Kind == TJsonValue::TKind::String)
            ownType = t->String;
        for (const auto &[key, child] : node.Members) {
            if (key.startsWith(QLatin1Char('$')) || child.Kind != TJsonValue::TKind::Object)
                continue;
            const TJsonValue *value = child.Member(QStringLiteral("$value"));
            if (!value) {
                if (!Walk(child, ownType))
                    return false;
                continue;
            }
            QString childType = ownType;
            if (const TJsonValue *t = child.Member(QStringLiteral("$type")); t && t->Kind == TJsonValue::TKind::String)
                childType = t->String;
            if (childType != QLatin1String("color") && !(childType.isEmpty() && value->Member(QStringLiteral("colorSpace"))))
                continue;
            const auto colour = TokenColour(*value);
            if (!colour)
                continue;
            const auto name = TakeName(GivenName(key, child), Why);
            if (!name)
                return false;
            if (Palette.Entries.size() >= MaxColours) {
                Why = QStringLiteral("it holds more than %1 colours").arg(MaxColours);
                return false;
            }
            Palette.Entries.push_back({*name, *colour});
        }
        return true;
    }
};

} // namespace

QByteArray WriteTokens(const TPalette &palette)
{
    std::set<QString> groups;
    const QString group = TokenName(palette.Name.isEmpty() ? QStringLiteral("palette") : palette.Name, groups);
    QByteArray out = "{\n  " + JsonString(group) + ": {";
    if (!palette.Name.isEmpty())
        out += NameExtension(palette.Name, group, "\n    ").mid(1);
    std::set<QString> taken;
    bool first = palette.Name.isEmpty() || palette.Name == group;
    for (const TPaletteEntry &e : palette.Entries) {
        const QString key = TokenName(e.Name, taken);
        out += first ? "\n" : ",\n";
        first = false;
        out += "    " + JsonString(key) + ": {\n"
               "      \"$type\": \"color\",\n"
               "      \"$value\": " + ColourValue(e.Colour) + NameExtension(e.Name, key, "      ") + "\n"
               "    }";
    }
    out += "\n  }\n}\n";
    return out;
}

std::optional<TPalette> ReadTokens(const QByteArray &bytes, QString &why)
{
    const auto document = ReadJson(bytes, why);
    if (!document)
        return std::nullopt;
    if (document->Kind != TJsonValue::TKind::Object) {
        why = QStringLiteral("it holds no design tokens");
        return std::nullopt;
    }
    TTokenWalk walk{{}, why};
    if (!walk.Walk(*document, QString()))
        return std::nullopt;
    // One group at the top is the palette, and its name the palette's.
    int groups = 0;
    const TJsonMember *top = nullptr;
    for (const auto &member : document->Members)
        if (!member.Name.startsWith(QLatin1Char('$')) && member.Value.Kind == TJsonValue::TKind::Object) {
            ++groups;
            top = &member;
        }
    if (groups == 1 && !top->Value.Member(QStringLiteral("$value"))) {
        const auto name = TakeName(GivenName(top->Name, top->Value), why);
        if (!name)
            return std::nullopt;
        walk.Palette.Name = *name;
    }
    return walk.Palette;
}

} // namespace palettecodecs
