// The palette formats that are lines of text: GIMP palettes, CSS custom properties and a
// Tailwind CSS theme.
#include "colour/PaletteCodecs.h"

#include "colour/ColourHistory.h"
#include "colour/TextScan.h"

using namespace textscan;

namespace palettecodecs {

namespace {

// The next line without its line end (LF, CR LF or a lone CR), and the rest after it.
Sv NextLine(Sv &rest)
{
    const size_t end = rest.find_first_of("\r\n");
    const Sv line = rest.substr(0, end);
    if (end == Sv::npos) {
        rest = {};
        return line;
    }
    const char lineEnd = rest[end];
    rest.remove_prefix(end + 1);
    if (lineEnd == '\r' && !rest.empty() && rest.front() == '\n')
        rest.remove_prefix(1);
    return line;
}

Sv WithoutBom(const QByteArray &bytes)
{
    Sv text(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text;
}

QString Utf8(Sv s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The first blank-separated word of `line`, which loses it and the blanks before it.
Sv NextWord(Sv &line)
{
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    size_t end = start;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    const Sv word = line.substr(start, end - start);
    line.remove_prefix(end);
    return word;
}

} // namespace

QByteArray WriteGpl(const TPalette &palette)
{
    QByteArray out = "GIMP Palette\nName: " + PlainName(palette.Name).toUtf8() + "\nColumns: 11\n#\n";
    for (const TPaletteEntry &e : palette.Entries) {
        const TRgb8 c = e.Colour.Rgb8();
        out += QStringLiteral("%1 %2 %3\t%4\n").arg(c.R, 3).arg(c.G, 3).arg(c.B, 3).arg(PlainName(e.Name)).toUtf8();
    }
    return out;
}

std::optional<TPalette> ReadGpl(const QByteArray &bytes, QString &why)
{
    Sv rest = WithoutBom(bytes);
    if (Trim(NextLine(rest)) != "GIMP Palette")
        return std::nullopt;
    TPalette palette;
    while (!rest.empty()) {
        const Sv line = NextLine(rest);
        if (line.substr(0, 5) == "Name:") {
            const auto name = TakeName(Utf8(Trim(line.substr(5))), why);
            if (!name)
                return std::nullopt;
            palette.Name = *name;
            continue;
        }
        Sv words = line;
        int c[3];
        bool colour = true;
        for (int &v : c) {
            const auto byte = ReadByteInteger(NextWord(words));
            if (!byte) {
                colour = false;
                break;
            }
            v = *byte;
        }
        if (!colour)
            continue;
        const auto name = TakeName(Utf8(Trim(words)), why);
        if (!name)
            return std::nullopt;
        if (palette.Entries.size() >= MaxColours) {
            why = QStringLiteral("it holds more than %1 colours").arg(MaxColours);
            return std::nullopt;
        }
        palette.Entries.push_back({*name, TExactColour::FromRgb8({c[0], c[1], c[2]})});
    }
    return palette;
}

namespace {

bool IsNameChar(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           (c >= 0x80 && !(c >= 0x80 && c <= 0x9F) && c != 0x2028 && c != 0x2029);
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// A custom property's name after its "--": the name's characters, each other one escaped as CSS
// escapes it ("\20 " for a space).
QString CssIdent(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        if (IsNameChar(c.unicode()))
            out += c;
        else
            out += QStringLiteral("\\%1 ").arg(static_cast<int>(c.unicode()), 0, 16);
    }
    return out;
}

// A comment's text as written: "*/" cannot be part of it.
QString CommentText(const QString &text)
{
    return PlainName(text).replace(QStringLiteral("*/"), QStringLiteral("* /"));
}

struct TProperty {
    QString Name;  // without "--", escapes read
    QString Value; // trimmed
};

// The custom properties of a style sheet, in order, and its first comment when the sheet
// starts with one. Comments and anything that is no custom property are skipped.
struct TSheet {
    QString LeadingComment;
    std::vector<TProperty> Properties;
};

TSheet ReadSheet(const QString &text)
{
    TSheet sheet;
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool first = true;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end;
            if (first)
                sheet.LeadingComment = text.mid(i + 2, stop - i - 2).trimmed();
            i = end < 0 ? n : end + 2;
            first = false;
            continue;
        }
        if (!c.isSpace())
            first = false;
        if (c != QLatin1Char('-') || i + 1 >= n || text[i + 1] != QLatin1Char('-') ||
            (i > 0 && IsNameChar(text[i - 1].unicode()))) {
            ++i;
            continue;
        }
        i += 2;
        QString name;
        while (i < n) {
            const char16_t u = text[i].unicode();
            if (u == '\\' && i + 1 < n) {
                qsizetype j = i + 1;
                uint code = 0;
                int digits = 0;
                while (j < n && digits < 6 && HexDigit(text[j]) >= 0) {
                    code = code * 16 + static_cast<uint>(HexDigit(text[j]));
                    ++j;
                    ++digits;
                }
                if (digits > 0) {
                    if (j < n && text[j].isSpace())
                        ++j;
                    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                        code = 0xFFFD;
                    name += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                    i = j;
                } else {
                    name += text[j];
                    i = j + 1;
                }
                continue;
            }
            if (!IsNameChar(u))
                break;
            name += text[i];
            ++i;
        }
        while (i < n && text[i].isSpace())
            ++i;
        if (i >= n || text[i] != QLatin1Char(':'))
            continue;
        const qsizetype start = ++i;
        while (i < n && text[i] != QLatin1Char(';') && text[i] != QLatin1Char('}'))
            ++i;
        sheet.Properties.push_back({name, text.mid(start, i - start).trimmed()});
    }
    return sheet;
}

// The properties whose values read as colours, as entries with their names.
std::optional<TPalette> SheetPalette(const TSheet &sheet, const QString &prefix, QString &why)
{
    TPalette palette;
    for (const TProperty &p : sheet.Properties) {
        if (!p.Name.startsWith(prefix))
            continue;
        const auto reading = ReadExactColour(p.Value);
        if (!reading)
            continue;
        const auto name = TakeName(p.Name.mid(prefix.size()), why);
        if (!name)
            return std::nullopt;
        if (palette.Entries.size() >= MaxColours) {
            why = QStringLiteral("it holds more than %1 colours").arg(MaxColours);
            return std::nullopt;
        }
        palette.Entries.push_back({*name, reading->Colour});
    }
    return palette;
}

QString EntryIdent(const TPaletteEntry &e, size_t index)
{
    return e.Name.isEmpty() ? QStringLiteral("pigmora-%1").arg(index + 1) : CssIdent(e.Name);
}

} // namespace

QByteArray WriteCss(const TPalette &palette)
{
    QString out;
    if (!palette.Name.isEmpty())
        out += QStringLiteral("/* %1 */\n").arg(CommentText(palette.Name));
    out += QStringLiteral(":root {\n");
    for (size_t i = 0; i < palette.Entries.size(); ++i)
        out += QStringLiteral("  --%1: %2;\n").arg(EntryIdent(palette.Entries[i], i), ExactColourText(palette.Entries[i].Colour));
    out += QStringLiteral("}\n");
    return out.toUtf8();
}

std::optional<TPalette> ReadCss(const QByteArray &bytes, QString &why)
{
    const Sv text = WithoutBom(bytes);
    const TSheet sheet = ReadSheet(Utf8(text));
    auto palette = SheetPalette(sheet, QString(), why);
    if (palette) {
        const auto name = TakeName(sheet.LeadingComment, why);
        if (!name)
            return std::nullopt;
        palette->Name = *name;
    }
    return palette;
}

namespace {

// The palette's name as a theme's utility classes take it: lower case letters and digits, each
// run of anything else one hyphen ("Sea & sky" is "sea-sky").
QString Slug(const QString &name)
{
    QString slug;
    for (const QChar c : name.toLower()) {
        if (c.isLetterOrNumber())
            slug += c;
        else if (!slug.isEmpty() && !slug.endsWith(QLatin1Char('-')))
            slug += QLatin1Char('-');
    }
    while (slug.endsWith(QLatin1Char('-')))
        slug.chop(1);
    return slug;
}

} // namespace

// A theme of colours "--color-PALETTE-ENTRY", PALETTE the palette's name in the form utility
// classes take, its name as it is in a comment before the theme.
QByteArray WriteTailwind(const TPalette &palette)
{
    QString out;
    const QString slug = CssIdent(Slug(palette.Name));
    const QString prefix = slug.isEmpty() ? QStringLiteral("color-") : QStringLiteral("color-%1-").arg(slug);
    if (!palette.Name.isEmpty())
        out += QStringLiteral("/* %1 */\n").arg(CommentText(palette.Name));
    out += QStringLiteral("@theme {\n");
    for (size_t i = 0; i < palette.Entries.size(); ++i)
        out += QStringLiteral("  --%1%2: %3;\n").arg(prefix, EntryIdent(palette.Entries[i], i), ExactColourText(palette.Entries[i].Colour));
    out += QStringLiteral("}\n");
    return out.toUtf8();
}

std::optional<TPalette> ReadTailwind(const QByteArray &bytes, QString &why)
{
    const TSheet sheet = ReadSheet(Utf8(WithoutBom(bytes)));
    const QString colour = QStringLiteral("color-");
    // The palette's name: the comment's, when every colour carries it; else the first part
    // every colour's name shares.
    const QString comment = sheet.LeadingComment;
    const auto sharedBy = [&](const QString &prefix) {
        int count = 0;
        for (const TProperty &p : sheet.Properties)
            if (p.Name.startsWith(colour)) {
                if (!p.Name.startsWith(prefix) || p.Name.size() == prefix.size())
                    return false;
                ++count;
            }
        return count > 0;
    };
    QString name, prefix;
    if (!comment.isEmpty() && sharedBy(colour + Slug(comment) + QLatin1Char('-'))) {
        name = comment;
        prefix = colour + Slug(comment) + QLatin1Char('-');
    } else {
        for (const TProperty &p : sheet.Properties)
            if (p.Name.startsWith(colour)) {
                const qsizetype dash = p.Name.indexOf(QLatin1Char('-'), colour.size());
                if (dash > colour.size())
                    name = p.Name.mid(colour.size(), dash - colour.size());
                break;
            }
        prefix = colour + name + QLatin1Char('-');
        if (name.isEmpty() || !sharedBy(prefix)) {
            name.clear();
            prefix = colour;
        }
    }
    auto palette = SheetPalette(sheet, prefix, why);
    if (palette) {
        const auto taken = TakeName(name, why);
        if (!taken)
            return std::nullopt;
        palette->Name = *taken;
    }
    return palette;
}

} // namespace palettecodecs
