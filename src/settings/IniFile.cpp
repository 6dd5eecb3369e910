#include "settings/IniFile.h"

#include "framework/NumberText.h"

#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace {

// UTF-8 to text keeping a leading U+FEFF (QString::fromUtf8 drops it, so such a value would not
// read back as written).
QString FromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView Trimmed(QByteArrayView v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && IsBlank(v[b]))
        ++b;
    while (e > b && IsBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

QString TrimmedName(const QString &name)
{
    qsizetype b = 0, e = name.size();
    while (b < e && (name[b] == QLatin1Char(' ') || name[b] == QLatin1Char('\t')))
        ++b;
    while (e > b && (name[e - 1] == QLatin1Char(' ') || name[e - 1] == QLatin1Char('\t')))
        --e;
    return name.mid(b, e - b);
}

bool SameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Walks the text line by line (LF or CRLF, a leading BOM skipped), without copying.
class TLineReader {
public:
    // skipMarks: the text is a whole file, whose leading byte order marks are not part of a line.
    explicit TLineReader(QByteArrayView text, bool skipMarks = true) : FText(text)
    {
        while (skipMarks && FText.sliced(FPos).startsWith(QByteArrayView("\xEF\xBB\xBF", 3)))
            FPos += 3;
    }
    qsizetype Pos() const { return std::min(FPos, FText.size()); }
    bool Next(QByteArrayView &line)
    {
        if (FPos >= FText.size())
            return false;
        qsizetype end = FText.indexOf('\n', FPos);
        if (end < 0)
            end = FText.size();
        line = FText.sliced(FPos, end - FPos);
        while (line.endsWith('\r'))
            line.chop(1);
        FPos = end + 1;
        return true;
    }

private:
    QByteArrayView FText;
    qsizetype FPos = 0;
};

enum class TLineKind { Other, Section, Entry };

// Classifies one line; for a section line name is the section, for an entry the entry name and
// value the raw text after "=".
TLineKind ClassifyLine(QByteArrayView line, QByteArrayView &name, QByteArrayView &value)
{
    const QByteArrayView t = Trimmed(line);
    if (t.isEmpty() || t[0] == ';' || t[0] == '#')
        return TLineKind::Other;
    if (t[0] == '[') {
        qsizetype close = t.indexOf(']');
        if (close < 0)
            close = t.size();
        name = Trimmed(t.sliced(1, close - 1));
        return TLineKind::Section;
    }
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return TLineKind::Other;
    name = Trimmed(t.first(eq));
    if (name.isEmpty())
        return TLineKind::Other;
    value = t.sliced(eq + 1);
    return TLineKind::Entry;
}

bool IsBlankChar(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

bool IsControl(char16_t c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

// A surrogate that is not half of a pair (UTF-8 cannot carry it).
bool IsLoneSurrogate(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

bool NeedsEscapes(const QString &value)
{
    if (value.startsWith(QLatin1String("\\\"")))
        return true;
    for (qsizetype i = 0; i < value.size(); ++i)
        if (IsControl(value[i].unicode()) || IsLoneSurrogate(value, i))
            return true;
    return false;
}

bool NeedsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    if (IsBlankChar(value.front()) || IsBlankChar(value.back()))
        return true;
    return value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"');
}

QString HexCode(unsigned value, int digits)
{
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += QLatin1Char(hex[(value >> shift) & 15]);
    return out;
}

QByteArray EscapedForm(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
    out += QLatin1String("\\\"");
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        switch (c) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (IsControl(c))
                out += QLatin1String("\\x") + HexCode(c, 2);
            else if (IsLoneSurrogate(value, i))
                out += QLatin1String("\\u") + HexCode(c, 4);
            else
                out += value[i];
        }
    }
    out += QLatin1Char('"');
    return out.toUtf8();
}

// The text of an escaped-form value (the part between \" and the closing quote); false when an
// escape is not valid or a quote is not escaped.
bool ResolveEscapes(QByteArrayView inner, QString &out)
{
    out.clear();
    qsizetype literal = 0; // start of the pending run of UTF-8 bytes
    const auto flush = [&](qsizetype end) {
        if (end > literal)
            out += FromUtf8(inner.sliced(literal, end - literal));
    };
    const auto hexValue = [&](qsizetype from, int digits, unsigned &value) {
        if (from + digits > inner.size())
            return false;
        value = 0;
        for (int k = 0; k < digits; ++k) {
            const int d = HexDigitValue(inner[from + k]);
            if (d < 0)
                return false;
            value = value * 16 + unsigned(d);
        }
        return true;
    };
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const char c = inner[i];
        if (c == '"')
            return false;
        if (c != '\\')
            continue;
        flush(i);
        if (i + 1 >= inner.size())
            return false;
        unsigned code = 0;
        qsizetype used = 2;
        switch (inner[i + 1]) {
        case '\\': code = '\\'; break;
        case '"': code = '"'; break;
        case 'n': code = '\n'; break;
        case 'r': code = '\r'; break;
        case 't': code = '\t'; break;
        case 'x':
            if (!hexValue(i + 2, 2, code))
                return false;
            used = 4;
            break;
        case 'u':
            if (!hexValue(i + 2, 4, code))
                return false;
            used = 6;
            break;
        default: return false;
        }
        out += QChar(char16_t(code));
        i += used - 1;
        literal = i + 1;
    }
    flush(inner.size());
    return true;
}

// A name that the reader would find again under the same spelling.
bool StorableName(const QString &name, bool section)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    if (section)
        return !name.contains(QLatin1Char(']'));
    return !name.contains(QLatin1Char('=')) && name[0] != QLatin1Char('[') && name[0] != QLatin1Char(';')
           && name[0] != QLatin1Char('#');
}

} // namespace

QByteArray EncodeIniValue(const QString &value)
{
    if (NeedsEscapes(value))
        return EscapedForm(value);
    if (NeedsQuotes(value))
        return '"' + value.toUtf8() + '"';
    return value.toUtf8();
}

QString DecodeIniValue(QByteArrayView raw)
{
    const QByteArrayView t = Trimmed(raw);
    QString result;
    if (!(t.size() >= 3 && t.startsWith("\\\"") && t.back() == '"' && ResolveEscapes(t.sliced(2, t.size() - 3), result))) {
        if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
            result = FromUtf8(t.sliced(1, t.size() - 2));
        else
            result = FromUtf8(t);
    }
    if (result.size() > IniMaxValueLength) {
        qsizetype keep = IniMaxValueLength;
        if (result[keep - 1].isHighSurrogate())
            --keep;
        result.truncate(keep);
    }
    return result;
}

int NumberedNameIndex(QStringView name, QStringView stem)
{
    if (name.size() <= stem.size() || !name.startsWith(stem, Qt::CaseInsensitive))
        return -1;
    const QStringView digits = name.sliced(stem.size());
    if (digits.size() > 1 && digits[0] == QLatin1Char('0'))
        return -1;
    qint64 n = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = std::min<qint64>(n * 10 + (c.unicode() - '0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(n);
}

bool FindIniValue(QByteArrayView text, const QString &section, const QString &ident, QString &value)
{
    const QString wantSection = TrimmedName(section);
    const QString wantIdent = TrimmedName(ident);
    if (wantSection.isEmpty() || wantIdent.isEmpty())
        return false;
    TLineReader reader(text);
    QByteArrayView line, name, raw;
    bool inSection = false, seenSection = false;
    while (reader.Next(line)) {
        switch (ClassifyLine(line, name, raw)) {
        case TLineKind::Section:
            if (inSection)
                return false; // only the first matching section counts
            if (!seenSection && SameName(FromUtf8(name), wantSection))
                inSection = seenSection = true;
            break;
        case TLineKind::Entry:
            if (inSection && SameName(FromUtf8(name), wantIdent)) {
                value = DecodeIniValue(raw);
                return true;
            }
            break;
        case TLineKind::Other: break;
        }
    }
    return false;
}

void TIniData::AddSection(TSection section)
{
    if (section.hasHeader) {
        const QString key = section.name.toCaseFolded();
        if (!FSectionIndex.contains(key))
            FSectionIndex.insert(key, FSections.size());
    }
    FSections.push_back(std::move(section));
}

void TIniData::AddLine(TSection &s, TLine line)
{
    if (s.indexed && !line.name.isEmpty())
        s.entries[line.name.toCaseFolded()].push_back(s.lines.size());
    s.lines.push_back(std::move(line));
}

QHash<QString, std::vector<size_t>> &TIniData::Entries(const TSection &s)
{
    if (!s.indexed) {
        s.entries.clear();
        for (size_t i = 0; i < s.lines.size(); ++i)
            if (!s.lines[i].name.isEmpty())
                s.entries[s.lines[i].name.toCaseFolded()].push_back(i);
        s.indexed = true;
    }
    return s.entries;
}

TIniData TIniData::Parse(QByteArrayView text)
{
    // Only the section lines are looked at here; a section's own lines are taken apart at its
    // first use, so changing one entry of a large file costs one pass over its bytes.
    TIniData data;
    data.FText = text.toByteArray();
    TLineReader reader(data.FText);
    TSection first;
    first.loaded = false;
    first.from = reader.Pos();
    data.FSections.push_back(std::move(first));
    QByteArrayView line, name, raw;
    qsizetype start = reader.Pos();
    while (reader.Next(line)) {
        if (ClassifyLine(line, name, raw) == TLineKind::Section) {
            data.FSections.back().to = start;
            TSection s;
            s.name = FromUtf8(name);
            s.hasHeader = true;
            s.header = line.toByteArray();
            s.loaded = false;
            s.from = reader.Pos();
            data.AddSection(std::move(s));
        }
        start = reader.Pos();
    }
    data.FSections.back().to = data.FText.size();
    return data;
}

void TIniData::Load(const TSection &s) const
{
    if (s.loaded)
        return;
    TLineReader reader(QByteArrayView(FText).sliced(s.from, s.to - s.from), false);
    QByteArrayView line, name, raw;
    while (reader.Next(line)) {
        if (ClassifyLine(line, name, raw) == TLineKind::Entry)
            s.lines.push_back({line.toByteArray(), FromUtf8(name)});
        else
            s.lines.push_back({line.toByteArray(), QString()});
    }
    s.loaded = true;
}

QByteArray TIniData::Serialize() const
{
    QByteArray out;
    out.reserve(FText.size() + 64);
    for (const TSection &s : FSections) {
        if (s.hasHeader) {
            out += s.header;
            out += '\n';
        }
        if (!s.loaded) {
            TLineReader reader(QByteArrayView(FText).sliced(s.from, s.to - s.from), false);
            QByteArrayView line;
            while (reader.Next(line)) {
                out += line;
                out += '\n';
            }
            continue;
        }
        for (const TLine &l : s.lines) {
            if (l.deleted)
                continue;
            out += l.raw;
            out += '\n';
        }
    }
    return out;
}

TIniData::TSection *TIniData::FindSection(const QString &section)
{
    return const_cast<TSection *>(std::as_const(*this).FindSection(section));
}

const TIniData::TSection *TIniData::FindSection(const QString &section) const
{
    const QString want = TrimmedName(section);
    if (want.isEmpty())
        return nullptr;
    const auto it = FSectionIndex.constFind(want.toCaseFolded());
    if (it == FSectionIndex.cend())
        return nullptr;
    const TSection &s = FSections[*it];
    Load(s);
    return &s;
}

const TIniData::TLine *TIniData::FirstEntry(const TSection &s, const QString &ident)
{
    const auto &entries = Entries(s);
    const auto it = entries.constFind(TrimmedName(ident).toCaseFolded());
    return it == entries.cend() || it->empty() ? nullptr : &s.lines[it->front()];
}

bool TIniData::ReadValue(const QString &section, const QString &ident, QString &value) const
{
    const TSection *s = FindSection(section);
    const TLine *l = s ? FirstEntry(*s, ident) : nullptr;
    if (!l)
        return false;
    value = DecodeIniValue(QByteArrayView(l->raw).sliced(l->raw.indexOf('=') + 1));
    return true;
}

QString TIniData::ReadString(const QString &section, const QString &ident, const QString &fallback) const
{
    QString v;
    return ReadValue(section, ident, v) ? v : fallback;
}

bool TIniData::WriteString(const QString &section, const QString &ident, const QString &value)
{
    const QString sectionName = TrimmedName(section);
    const QString name = TrimmedName(ident);
    if (!StorableName(sectionName, true) || !StorableName(name, false))
        return false;
    TLine line{name.toUtf8() + '=' + EncodeIniValue(value), name};
    TSection *s = FindSection(sectionName);
    if (!s) {
        TSection added;
        added.name = sectionName;
        added.hasHeader = true;
        added.header = '[' + sectionName.toUtf8() + ']';
        AddLine(added, std::move(line));
        AddSection(std::move(added));
        return true;
    }
    if (const TLine *found = FirstEntry(*s, name)) {
        // The entry keeps the spelling of its name as the file has it.
        TLine &l = const_cast<TLine &>(*found);
        l.raw = l.raw.first(l.raw.indexOf('=') + 1) + EncodeIniValue(value);
        return true;
    }
    // After the section's last non-blank line, so blank lines before the next section stay there.
    // Deleted lines found on the way are dropped for good; no index points at them or past them.
    size_t at = s->lines.size();
    while (at > 0 && (s->lines[at - 1].deleted || Trimmed(s->lines[at - 1].raw).isEmpty()))
        --at;
    const auto tail = s->lines.begin() + static_cast<std::ptrdiff_t>(at);
    s->lines.erase(std::remove_if(tail, s->lines.end(), [](const TLine &l) { return l.deleted; }), s->lines.end());
    std::vector<TLine> blanks(std::make_move_iterator(tail), std::make_move_iterator(s->lines.end()));
    s->lines.erase(tail, s->lines.end());
    AddLine(*s, std::move(line));
    for (TLine &b : blanks)
        s->lines.push_back(std::move(b));
    return true;
}

bool TIniData::DeleteKey(const QString &section, const QString &ident)
{
    TSection *s = FindSection(section);
    if (!s)
        return false;
    auto &entries = Entries(*s);
    const auto it = entries.find(TrimmedName(ident).toCaseFolded());
    if (it == entries.end() || it->empty())
        return false;
    TLine &l = s->lines[it->front()];
    l = TLine{QByteArray(), QString(), true};
    it->erase(it->begin());
    if (it->empty())
        entries.erase(it);
    return true;
}

QStringList TIniData::Sections() const
{
    QStringList out;
    for (const TSection &s : FSections)
        if (s.hasHeader)
            out << s.name;
    return out;
}

QStringList TIniData::Idents(const QString &section) const
{
    QStringList out;
    if (const TSection *s = FindSection(section))
        for (const TLine &l : s->lines)
            if (!l.name.isEmpty())
                out << l.name;
    return out;
}

int TIniData::HighestNumberedIdent(const QString &section, const QString &stem) const
{
    int highest = -1;
    const QString want = TrimmedName(stem);
    if (const TSection *s = FindSection(section))
        for (const TLine &l : s->lines)
            if (!l.name.isEmpty())
                highest = std::max(highest, NumberedNameIndex(l.name, want));
    return highest;
}
