#include "colour/PaletteJson.h"

#include <charconv>
#include <cmath>
#include <string_view>

const TJsonValue *TJsonValue::Member(const QString &name) const
{
    for (auto it = Members.rbegin(); it != Members.rend(); ++it)
        if (it->Name == name)
            return &it->Value;
    return nullptr;
}

namespace {

constexpr int MaxDepth = 64;

class TJsonReader {
public:
    explicit TJsonReader(const QByteArray &bytes) : P(bytes.constData()), End(bytes.constData() + bytes.size()) {}

    std::optional<TJsonValue> Document(QString &why)
    {
        if (End - P >= 3 && std::string_view(P, 3) == "\xEF\xBB\xBF")
            P += 3;
        TJsonValue v;
        if (!Value(v, 0) || (SkipBlanks(), P != End)) {
            why = Why.isEmpty() ? QStringLiteral("it is no JSON (at byte %1)").arg(Offset()) : Why;
            return std::nullopt;
        }
        return v;
    }

private:
    const char *P;
    const char *End;
    const char *const Begin = P;
    QString Why;

    qsizetype Offset() const { return P - Begin; }

    void SkipBlanks()
    {
        while (P != End && (*P == ' ' || *P == '\t' || *P == '\n' || *P == '\r'))
            ++P;
    }

    bool Literal(std::string_view word)
    {
        if (static_cast<size_t>(End - P) < word.size() || std::string_view(P, word.size()) != word)
            return false;
        P += word.size();
        return true;
    }

    bool Value(TJsonValue &v, int depth)
    {
        if (depth > MaxDepth) {
            Why = QStringLiteral("its JSON nests deeper than %1 levels").arg(MaxDepth);
            return false;
        }
        SkipBlanks();
        if (P == End)
            return false;
        switch (*P) {
        case '{': return Object(v, depth);
        case '[': return Array(v, depth);
        case '"': v.Kind = TJsonValue::TKind::String; return String(v.String);
        case 't': v.Kind = TJsonValue::TKind::Bool; v.Bool = true; return Literal("true");
        case 'f': v.Kind = TJsonValue::TKind::Bool; return Literal("false");
        case 'n': return Literal("null");
        default: v.Kind = TJsonValue::TKind::Number; return Number(v.Number);
        }
    }

    bool Object(TJsonValue &v, int depth)
    {
        v.Kind = TJsonValue::TKind::Object;
        ++P;
        SkipBlanks();
        if (P != End && *P == '}') {
            ++P;
            return true;
        }
        for (;;) {
            SkipBlanks();
            QString name;
            if (P == End || *P != '"' || !String(name))
                return false;
            SkipBlanks();
            if (P == End || *P != ':')
                return false;
            ++P;
            TJsonValue member;
            if (!Value(member, depth + 1))
                return false;
            v.Members.push_back({std::move(name), std::move(member)});
            SkipBlanks();
            if (P != End && *P == ',') {
                ++P;
                continue;
            }
            if (P != End && *P == '}') {
                ++P;
                return true;
            }
            return false;
        }
    }

    bool Array(TJsonValue &v, int depth)
    {
        v.Kind = TJsonValue::TKind::Array;
        ++P;
        SkipBlanks();
        if (P != End && *P == ']') {
            ++P;
            return true;
        }
        for (;;) {
            TJsonValue item;
            if (!Value(item, depth + 1))
                return false;
            v.Items.push_back(std::move(item));
            SkipBlanks();
            if (P != End && *P == ',') {
                ++P;
                continue;
            }
            if (P != End && *P == ']') {
                ++P;
                return true;
            }
            return false;
        }
    }

    bool Number(double &out)
    {
        // JSON's grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
        const char *start = P;
        const auto digits = [this] {
            const char *from = P;
            while (P != End && *P >= '0' && *P <= '9')
                ++P;
            return P != from;
        };
        if (P != End && *P == '-')
            ++P;
        if (P != End && *P == '0')
            ++P;
        else if (!digits())
            return false;
        if (P != End && *P == '.') {
            ++P;
            if (!digits())
                return false;
        }
        if (P != End && (*P == 'e' || *P == 'E')) {
            ++P;
            if (P != End && (*P == '+' || *P == '-'))
                ++P;
            if (!digits())
                return false;
        }
        const auto result = std::from_chars(start, P, out);
        return result.ec == std::errc() && result.ptr == P && std::isfinite(out);
    }

    bool Hex4(char32_t &code)
    {
        if (End - P < 4)
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *P++;
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            code = code * 16 + static_cast<char32_t>(d);
        }
        return true;
    }

    bool String(QString &out)
    {
        ++P;
        QByteArray utf8;
        for (;;) {
            const char *run = P;
            while (P != End && *P != '"' && *P != '\\' && static_cast<unsigned char>(*P) >= 0x20)
                ++P;
            utf8.append(run, P - run);
            if (P == End || static_cast<unsigned char>(*P) < 0x20)
                return false;
            if (*P == '"') {
                ++P;
                out = QString::fromUtf8(utf8);
                return true;
            }
            ++P; // the backslash
            if (P == End)
                return false;
            const char e = *P++;
            switch (e) {
            case '"': utf8 += '"'; break;
            case '\\': utf8 += '\\'; break;
            case '/': utf8 += '/'; break;
            case 'b': utf8 += '\b'; break;
            case 'f': utf8 += '\f'; break;
            case 'n': utf8 += '\n'; break;
            case 'r': utf8 += '\r'; break;
            case 't': utf8 += '\t'; break;
            case 'u': {
                char32_t code;
                if (!Hex4(code))
                    return false;
                if (code >= 0xD800 && code <= 0xDBFF && End - P >= 6 && P[0] == '\\' && P[1] == 'u') {
                    const char *back = P;
                    P += 2;
                    char32_t low;
                    if (Hex4(low) && low >= 0xDC00 && low <= 0xDFFF)
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    else
                        P = back;
                }
                if (code >= 0xD800 && code <= 0xDFFF)
                    code = 0xFFFD;
                utf8 += QString::fromUcs4(&code, 1).toUtf8();
                break;
            }
            default: return false;
            }
        }
    }
};

} // namespace

std::optional<TJsonValue> ReadJson(const QByteArray &bytes, QString &why)
{
    return TJsonReader(bytes).Document(why);
}

QByteArray JsonString(const QString &text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += QStringLiteral("\\u%1").arg(static_cast<int>(c), 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += c;
        }
    }
    return out + '"';
}
