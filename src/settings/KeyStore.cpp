#include "settings/KeyStore.h"

#include "framework/NumberText.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

namespace {

const QByteArray Signature = QByteArrayLiteral("PIGMORA-KEYS 1");

// Canonical key path: names joined by "\", empty parts dropped. Nothing when a part cannot be a
// key name.
std::optional<QString> CanonicalKey(const QString &key)
{
    QStringList parts;
    for (const QString &part : key.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return std::nullopt;
        for (QChar c : part)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                return std::nullopt;
        parts << part;
    }
    return parts.join(QLatin1Char('\\'));
}

bool ValidValueName(const QString &name) { return !name.contains(QChar(0)); }

bool SameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Text with blanks, "%" and control characters as %XX, so that every field is one word.
QByteArray Escape(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F || c == '%') {
            static const char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

bool Unescape(QByteArrayView field, QString &out)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            bytes += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return false;
        const int hi = HexDigitValue(field[i + 1]), lo = HexDigitValue(field[i + 2]);
        if (hi < 0 || lo < 0)
            return false;
        bytes += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    out = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom).decode(bytes);
    return true;
}

bool DecodeHex(QByteArrayView field, QByteArray &out)
{
    if (field.size() % 2 != 0)
        return false;
    out.resize(field.size() / 2);
    for (qsizetype i = 0; i < out.size(); ++i) {
        const int hi = HexDigitValue(field[2 * i]), lo = HexDigitValue(field[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out[i] = static_cast<char>(hi * 16 + lo);
    }
    return true;
}

TKeyStore::TKey *FindKey(std::vector<TKeyStore::TKey> &keys, const QString &path)
{
    for (TKeyStore::TKey &k : keys)
        if (SameName(k.path, path))
            return &k;
    return nullptr;
}

TKeyStore::TValue *FindValue(TKeyStore::TKey &key, const QString &name)
{
    for (TKeyStore::TValue &v : key.values)
        if (SameName(v.name, name))
            return &v;
    return nullptr;
}

} // namespace

TKeyStore::TKeyStore(QString fileName) : FFileName(std::move(fileName)) {}

QString TKeyStore::UserConfigDir()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

std::vector<TKeyStore::TKey> TKeyStore::Parse(QByteArrayView text)
{
    std::vector<TKey> keys;
    TKey *current = nullptr;
    qsizetype pos = 0;
    bool first = true;
    while (pos < text.size()) {
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(pos, end - pos);
        pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (first) {
            first = false;
            if (line == Signature)
                continue;
        }
        const qsizetype s1 = line.indexOf(' ');
        if (s1 != 1)
            continue;
        const char kind = line[0];
        QByteArrayView rest = line.sliced(2);
        if (kind == 'K') {
            QString path;
            const auto canonical = Unescape(rest, path) ? CanonicalKey(path) : std::nullopt;
            if (!canonical) {
                current = nullptr;
                continue;
            }
            current = FindKey(keys, *canonical);
            if (!current) {
                keys.push_back({*canonical, {}});
                current = &keys.back();
            }
            continue;
        }
        if (!current || (kind != 'S' && kind != 'B'))
            continue;
        const qsizetype s2 = rest.indexOf(' ');
        TValue value;
        if (s2 < 0 || !Unescape(rest.first(s2), value.name) || value.name.isEmpty() || !ValidValueName(value.name))
            continue;
        const QByteArrayView data = rest.sliced(s2 + 1);
        if (kind == 'S') {
            value.type = TValueType::String;
            if (!Unescape(data, value.text))
                continue;
        } else {
            value.type = TValueType::Binary;
            if (!DecodeHex(data, value.bytes))
                continue;
        }
        if (!FindValue(*current, value.name))
            current->values.push_back(std::move(value));
    }
    return keys;
}

QByteArray TKeyStore::Serialize(const std::vector<TKey> &keys)
{
    QByteArray out = Signature + '\n';
    for (const TKey &k : keys) {
        out += "K " + Escape(k.path) + '\n';
        for (const TValue &v : k.values) {
            if (v.type == TValueType::String)
                out += "S " + Escape(v.name) + ' ' + Escape(v.text) + '\n';
            else
                out += "B " + Escape(v.name) + ' ' + v.bytes.toHex().toUpper() + '\n';
        }
    }
    return out;
}

TFileRead TKeyStore::Fetch() const
{
    if (FHeld)
        return FHeldState;
    QByteArray bytes;
    const TFileRead state = ReadWholeFile(FFileName, bytes);
    FKeys = state == TFileRead::Ok ? Parse(bytes) : std::vector<TKey>();
    return state;
}

std::vector<TKeyStore::TKey> &TKeyStore::Load(const QString &failureMessage) const
{
    if (Fetch() == TFileRead::Failed)
        throw Exception(failureMessage);
    return FKeys;
}

void TKeyStore::Save() const
{
    if (FHeld) {
        FHeldState = TFileRead::Ok;
        FChanged = true;
        return;
    }
    const QString dir = QFileInfo(FFileName).absolutePath();
    if (!QDir().mkpath(dir) || !WriteWholeFileAtomic(FFileName, Serialize(FKeys)))
        throw Exception(QStringLiteral("%1 に書き込めません").arg(FFileName));
}

void TKeyStore::Hold()
{
    FHeld = false;
    FHeldState = Fetch();
    FChanged = false;
    FHeld = true;
}

void TKeyStore::Commit()
{
    const bool changed = FHeld && FChanged;
    FHeld = false;
    FChanged = false;
    if (changed)
        Save();
}

const TKeyStore::TValue *TKeyStore::Find(const std::vector<TKey> &keys, const QString &key, const QString &name) const
{
    const auto path = CanonicalKey(key);
    if (!path)
        return nullptr;
    auto &all = const_cast<std::vector<TKey> &>(keys);
    TKey *k = FindKey(all, *path);
    return k ? FindValue(*k, name) : nullptr;
}

void TKeyStore::CreateKey(const QString &key)
{
    const QString failure = QStringLiteral("キー %1 の作成に失敗しました").arg(key);
    const auto path = CanonicalKey(key);
    if (!path)
        throw Exception(failure);
    std::vector<TKey> &keys = Load(failure);
    if (FindKey(keys, *path))
        return;
    keys.push_back({*path, {}});
    Save();
}

bool TKeyStore::KeyExists(const QString &key) const
{
    const auto path = CanonicalKey(key);
    if (!path || Fetch() != TFileRead::Ok)
        return false;
    return FindKey(FKeys, *path) != nullptr;
}

TKeyStore::TValueType TKeyStore::ValueType(const QString &key, const QString &name) const
{
    if (Fetch() != TFileRead::Ok)
        return TValueType::None;
    const TValue *v = Find(FKeys, key, name);
    return v ? v->type : TValueType::None;
}

std::optional<TKeyStore::TValue> TKeyStore::ReadValue(const QString &key, const QString &name, TValueType type) const
{
    const QString failure = QStringLiteral("'%1' の取得に失敗しました").arg(name);
    if (!ValidValueName(name))
        throw Exception(failure);
    const TValue *v = Find(Load(failure), key, name);
    if (!v)
        return std::nullopt;
    if (v->type != type)
        throw Exception(QStringLiteral("'%1' のデータ型が不正です").arg(name));
    return *v;
}

QString TKeyStore::ReadString(const QString &key, const QString &name, const QString &fallback) const
{
    const auto v = ReadValue(key, name, TValueType::String);
    return v ? v->text : fallback;
}

bool TKeyStore::ReadBinary(const QString &key, const QString &name, QByteArray &bytes) const
{
    bytes.clear();
    const auto v = ReadValue(key, name, TValueType::Binary);
    if (v)
        bytes = v->bytes;
    return v.has_value();
}

namespace {

void SetValue(std::vector<TKeyStore::TKey> &keys, const QString &path, TKeyStore::TValue value)
{
    TKeyStore::TKey *k = FindKey(keys, path);
    if (!k) {
        keys.push_back({path, {}});
        k = &keys.back();
    }
    if (TKeyStore::TValue *old = FindValue(*k, value.name)) {
        value.name = old->name;
        *old = std::move(value);
    } else {
        k->values.push_back(std::move(value));
    }
}

} // namespace

void TKeyStore::WriteString(const QString &key, const QString &name, const QString &value)
{
    WriteValue(key, {name, TValueType::String, value, {}});
}

void TKeyStore::WriteBinary(const QString &key, const QString &name, const QByteArray &bytes)
{
    WriteValue(key, {name, TValueType::Binary, {}, bytes});
}

void TKeyStore::WriteValue(const QString &key, TValue value)
{
    const auto path = CanonicalKey(key);
    if (!path)
        throw Exception(QStringLiteral("キー %1 の作成に失敗しました").arg(key));
    const QString failure = QStringLiteral("'%1' の設定に失敗しました").arg(value.name);
    if (value.name.isEmpty() || !ValidValueName(value.name))
        throw Exception(failure);
    SetValue(Load(failure), *path, std::move(value));
    Save();
}

void TKeyStore::DeleteValue(const QString &key, const QString &name)
{
    const auto path = CanonicalKey(key);
    if (!path)
        return;
    const TFileRead state = Fetch();
    if (state == TFileRead::Missing)
        return;
    if (state == TFileRead::Failed)
        throw Exception(QStringLiteral("'%1' の設定に失敗しました").arg(name));
    TKey *k = FindKey(FKeys, *path);
    if (!k)
        return;
    for (auto it = k->values.begin(); it != k->values.end(); ++it) {
        if (SameName(it->name, name)) {
            k->values.erase(it);
            Save();
            return;
        }
    }
}

QStringList TKeyStore::Keys() const
{
    QStringList out;
    if (Fetch() == TFileRead::Ok)
        for (const TKey &k : FKeys)
            out << k.path;
    return out;
}

QStringList TKeyStore::ValueNames(const QString &key) const
{
    QStringList out;
    const auto path = CanonicalKey(key);
    if (path && Fetch() == TFileRead::Ok) {
        if (TKey *k = FindKey(FKeys, *path))
            for (const TValue &v : k->values)
                out << v.name;
    }
    return out;
}
