#include "settings/IniFile.h"

#include "framework/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Larger files are not settings files; refusing them keeps memory bounded.
constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

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
    explicit TLineReader(QByteArrayView text) : FText(text)
    {
        while (FText.sliced(FPos).startsWith(QByteArrayView("\xEF\xBB\xBF", 3)))
            FPos += 3;
    }
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

bool NeedsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    if (blank(value.front()) || blank(value.back()))
        return true;
    if (value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"'))
        return true;
    for (QChar c : value)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
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
    if (!NeedsQuotes(value))
        return value.toUtf8();
    QString out;
    out.reserve(value.size() + 8);
    out += QLatin1Char('"');
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QLatin1String("\\x") + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out.toUtf8();
}

QString DecodeIniValue(QByteArrayView raw)
{
    const QByteArrayView t = Trimmed(raw);
    QString result;
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') {
        const QByteArrayView inner = t.sliced(1, t.size() - 2);
        QByteArray bytes;
        bytes.reserve(inner.size());
        for (qsizetype i = 0; i < inner.size(); ++i) {
            const char c = inner[i];
            if (c != '\\' || i + 1 >= inner.size()) {
                bytes += c;
                continue;
            }
            const char e = inner[i + 1];
            char decoded = 0;
            qsizetype used = 2;
            switch (e) {
            case '\\': decoded = '\\'; break;
            case '"': decoded = '"'; break;
            case 'n': decoded = '\n'; break;
            case 'r': decoded = '\r'; break;
            case 't': decoded = '\t'; break;
            case 'x':
                if (i + 3 < inner.size() && HexDigitValue(inner[i + 2]) >= 0 && HexDigitValue(inner[i + 3]) >= 0
                    && HexDigitValue(inner[i + 2]) < 8) {
                    decoded = static_cast<char>(HexDigitValue(inner[i + 2]) * 16 + HexDigitValue(inner[i + 3]));
                    used = 4;
                    break;
                }
                used = 0;
                break;
            default: used = 0;
            }
            if (used == 0) {
                bytes += c;
                continue;
            }
            bytes += decoded;
            i += used - 1;
        }
        result = FromUtf8(bytes);
    } else {
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

TIniData TIniData::Parse(QByteArrayView text)
{
    TIniData data;
    data.FSections.emplace_back();
    TLineReader reader(text);
    QByteArrayView line, name, raw;
    while (reader.Next(line)) {
        switch (ClassifyLine(line, name, raw)) {
        case TLineKind::Section: {
            TSection s;
            s.name = FromUtf8(name);
            s.hasHeader = true;
            s.header = line.toByteArray();
            data.FSections.push_back(std::move(s));
            break;
        }
        case TLineKind::Entry:
            data.FSections.back().lines.push_back({line.toByteArray(), FromUtf8(name)});
            break;
        case TLineKind::Other:
            data.FSections.back().lines.push_back({line.toByteArray(), QString()});
            break;
        }
    }
    return data;
}

QByteArray TIniData::Serialize() const
{
    QByteArray out;
    for (const TSection &s : FSections) {
        if (s.hasHeader) {
            out += s.header;
            out += '\n';
        }
        for (const TLine &l : s.lines) {
            out += l.raw;
            out += '\n';
        }
    }
    return out;
}

TIniData::TSection *TIniData::FindSection(const QString &section)
{
    const QString want = TrimmedName(section);
    if (want.isEmpty())
        return nullptr;
    for (TSection &s : FSections)
        if (s.hasHeader && SameName(s.name, want))
            return &s;
    return nullptr;
}

const TIniData::TSection *TIniData::FindSection(const QString &section) const
{
    return const_cast<TIniData *>(this)->FindSection(section);
}

bool TIniData::ReadValue(const QString &section, const QString &ident, QString &value) const
{
    const TSection *s = FindSection(section);
    if (!s)
        return false;
    const QString want = TrimmedName(ident);
    for (const TLine &l : s->lines) {
        if (!l.name.isEmpty() && SameName(l.name, want)) {
            const qsizetype eq = l.raw.indexOf('=');
            value = DecodeIniValue(QByteArrayView(l.raw).sliced(eq + 1));
            return true;
        }
    }
    return false;
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
        added.lines.push_back(std::move(line));
        FSections.push_back(std::move(added));
        return true;
    }
    for (TLine &l : s->lines) {
        if (!l.name.isEmpty() && SameName(l.name, name)) {
            // The entry keeps the spelling of its name as the file has it.
            l.raw = l.raw.first(l.raw.indexOf('=') + 1) + EncodeIniValue(value);
            return true;
        }
    }
    // After the section's last non-blank line, so blank lines before the next section stay there.
    auto at = s->lines.end();
    while (at != s->lines.begin() && Trimmed((at - 1)->raw).isEmpty())
        --at;
    s->lines.insert(at, std::move(line));
    return true;
}

bool TIniData::DeleteKey(const QString &section, const QString &ident)
{
    TSection *s = FindSection(section);
    if (!s)
        return false;
    const QString want = TrimmedName(ident);
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (!it->name.isEmpty() && SameName(it->name, want)) {
            s->lines.erase(it);
            return true;
        }
    }
    return false;
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

TFileRead ReadWholeFile(const QString &fileName, QByteArray &bytes)
{
    bytes.clear();
    const QFileInfo info(fileName);
    if (!info.exists())
        return info.isSymLink() ? TFileRead::Failed : TFileRead::Missing;
    if (!info.isFile() || info.size() > MaxFileSize)
        return TFileRead::Failed;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return TFileRead::Failed;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize) {
        bytes.clear();
        return TFileRead::Failed;
    }
    return TFileRead::Ok;
}

bool WriteWholeFileAtomic(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

QString TIniFile::ReadString(const QString &section, const QString &ident, const QString &fallback) const
{
    QByteArray bytes;
    if (ReadWholeFile(FFileName, bytes) != TFileRead::Ok)
        return fallback;
    QString value;
    return FindIniValue(bytes, section, ident, value) ? value : fallback;
}

bool TIniFile::ValueExists(const QString &section, const QString &ident) const
{
    QByteArray bytes;
    QString value;
    return ReadWholeFile(FFileName, bytes) == TFileRead::Ok && FindIniValue(bytes, section, ident, value);
}

void TIniFile::FailWrite() const
{
    throw Exception(QStringLiteral("%1 に書き込めません").arg(FFileName));
}

TIniData TIniFile::LoadForChange() const
{
    QByteArray bytes;
    switch (ReadWholeFile(FFileName, bytes)) {
    case TFileRead::Ok: return TIniData::Parse(bytes);
    case TFileRead::Missing: return TIniData();
    case TFileRead::Failed: break;
    }
    // A file that cannot be read cannot be changed without losing what it holds.
    FailWrite();
}

void TIniFile::Save(const TIniData &data) const
{
    if (!WriteWholeFileAtomic(FFileName, data.Serialize()))
        FailWrite();
}

void TIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    TIniData data = LoadForChange();
    if (!data.WriteString(section, ident, value))
        FailWrite();
    Save(data);
}

void TIniFile::DeleteKey(const QString &section, const QString &ident)
{
    QByteArray bytes;
    if (ReadWholeFile(FFileName, bytes) == TFileRead::Missing)
        return;
    TIniData data = LoadForChange();
    if (data.DeleteKey(section, ident))
        Save(data);
}
