#include "settings/RegMng.h"

#include "framework/ComponentImage.h"
#include "framework/NumberText.h"
#include "settings/IniFile.h"
#include "settings/KeyStore.h"

#include <QBuffer>

#include <algorithm>
#include <optional>

namespace {

// What ReadEntry gives back for an entry that is not stored: a text no writer of this store
// produces, so a line that exists (even an empty one) is told apart from a missing one.
const QString MissingEntry = QStringLiteral("\uFFFF\u0000missing\u0000\uFFFF");

// A stored list count up to this many lines is taken as it is, lines missing at its end reading
// as empty lines; a larger count is taken only as far as lines are stored.
constexpr int TrustedListCount = 65536;

std::int32_t NumberOr(const QString &text, std::int32_t fallback) { return StrToIntDef(text, fallback); }

// Stream bytes as upper-case hex lines of 64 characters, the last line shorter.
QStringList HexLines(const QByteArray &bytes)
{
    const QByteArray hex = bytes.toHex().toUpper();
    QStringList lines;
    for (qsizetype at = 0; at < hex.size(); at += 64)
        lines << QString::fromLatin1(hex.mid(at, 64));
    return lines;
}

// Two characters a byte, a pair that is not hex a 0 byte, a last single character a byte of its
// own one-digit value.
QByteArray DecodeHexLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        qsizetype i = 0;
        for (; i + 1 < line.size(); i += 2) {
            const int hi = HexDigitValue(line[i].unicode()), lo = HexDigitValue(line[i + 1].unicode());
            out += static_cast<char>(hi >= 0 && lo >= 0 ? hi * 16 + lo : 0);
        }
        if (i < line.size())
            out += static_cast<char>(std::max(HexDigitValue(line[i].unicode()), 0));
    }
    return out;
}

} // namespace

void TRegItem::Assign(const TRegItem &source)
{
    Name = source.Name;
    Section = source.Section;
    Ident = source.Ident;
    DefaultValue = source.DefaultValue;
}

TRegItem *TRegItems::Add()
{
    FItems.push_back(std::make_unique<TRegItem>());
    return FItems.back().get();
}

TRegItem *TRegItems::Add(const QString &name, const QString &section, const QString &ident, const QString &defaultValue)
{
    FItems.push_back(std::make_unique<TRegItem>(name, section, ident, defaultValue));
    return FItems.back().get();
}

TRegItem *TRegItems::GetItem(int index) const
{
    return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)].get() : nullptr;
}

void TRegItems::SetItem(int index, const TRegItem &value)
{
    if (TRegItem *item = GetItem(index))
        item->Assign(value);
}

TRegItem *TRegItems::FindItem(const QString &name) const
{
    for (const auto &item : FItems)
        if (item->Name.compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

TRegManager::TRegManager(TComponent *owner, TMessageSink &messages)
    : TComponent(owner), KeyStoreFile(DefaultKeyStoreFile()), FMessages(messages),
      FRegItems(std::make_unique<TRegItems>())
{
}

TRegManager::~TRegManager()
{
    FRegItems.reset();
    FFiler.reset();
}

QString TRegManager::DefaultKeyStoreFile()
{
    return TKeyStore::UserConfigDir() + QStringLiteral("/Pigmora/HKEY_CURRENT_USER.keys");
}

TRegFiler *TRegManager::CreateFiler()
{
    return new TRegFiler(this);
}

TRegFiler *TRegManager::Filer(const QString &name)
{
    if (!FFiler)
        FFiler.reset(CreateFiler());
    TRegItem *item = FRegItems->FindItem(name);
    if (!item)
        FMessages.ShowStoreError(QStringLiteral("[' ") + name + QStringLiteral(" '] is invalid."));
    FFiler->Item = item;
    return FFiler.get();
}

TRegFiler::TBackend TRegFiler::OpenBackend()
{
    if (Manager->RegType == rtIni) {
        if (Manager->IniFileName.isEmpty()) {
            Manager->Messages().ShowStoreError(QStringLiteral("can not create Inifile object."));
            return TBackend::None;
        }
        return TBackend::Ini;
    }
    if (Manager->RegDir.isEmpty()) {
        Manager->Messages().ShowStoreError(QStringLiteral("can not create Registry object."));
        return TBackend::None;
    }
    if (TKeyStore *held = HeldKeys())
        held->CreateKey(Manager->RegDir);
    else
        TKeyStore(Manager->KeyStoreFile).CreateKey(Manager->RegDir);
    return TBackend::Reg;
}

QString TRegFiler::RegSectionKey(const QString &section) const
{
    if (section.startsWith(QLatin1Char('\\')))
        return section;
    return Manager->RegDir + QLatin1Char('\\') + section;
}

struct TRegFiler::THeld {
    std::optional<TIniFileSession> ini;
    std::optional<TKeyStore> keys;
    // An entry access of this scope went to the held backend.
    bool used = false;
};

// Holds the backend text for the entry accesses of one typed operation. Scopes nest (a component
// is stored through its stream); only the outermost one writes.
class TRegFiler::TItemScope {
public:
    explicit TItemScope(TRegFiler &filer) : FFiler(filer)
    {
        if (FFiler.FScopeDepth++ == 0)
            FFiler.FHeld = std::make_unique<THeld>();
    }
    ~TItemScope()
    {
        if (--FFiler.FScopeDepth == 0)
            FFiler.FHeld.reset();
    }
    TItemScope(const TItemScope &) = delete;
    TItemScope &operator=(const TItemScope &) = delete;

    void Commit()
    {
        if (FFiler.FScopeDepth != 1 || !FFiler.FHeld)
            return;
        THeld &held = *FFiler.FHeld;
        if (held.ini)
            held.ini->Commit();
        if (held.keys)
            held.keys->Commit();
    }

private:
    TRegFiler &FFiler;
};

TRegFiler::TRegFiler(TRegManager *manager) : Manager(manager) {}

TRegFiler::~TRegFiler() = default;

TIniFileSession *TRegFiler::HeldIni()
{
    if (!FHeld)
        return nullptr;
    if (!FHeld->ini)
        FHeld->ini.emplace(Manager->IniFileName);
    if (FHeld->ini->FileName() != Manager->IniFileName)
        return nullptr;
    FHeld->used = true;
    return &*FHeld->ini;
}

TKeyStore *TRegFiler::HeldKeys()
{
    if (!FHeld)
        return nullptr;
    if (!FHeld->keys) {
        FHeld->keys.emplace(Manager->KeyStoreFile);
        FHeld->keys->Hold();
    }
    if (FHeld->keys->FileName() != Manager->KeyStoreFile)
        return nullptr;
    FHeld->used = true;
    return &*FHeld->keys;
}

int TRegFiler::StoredLineEnd(const QString &section, const QString &stem)
{
    if (!FHeld || !FHeld->used)
        return -1;
    if (Manager->RegType == rtIni)
        return FHeld->ini && FHeld->ini->FileName() == Manager->IniFileName
                   ? FHeld->ini->HighestNumberedIdent(section, stem) + 1
                   : -1;
    if (!FHeld->keys || FHeld->keys->FileName() != Manager->KeyStoreFile)
        return -1;
    int highest = -1;
    for (const QString &name : FHeld->keys->ValueNames(RegSectionKey(section)))
        highest = std::max(highest, NumberedNameIndex(name, stem));
    return highest + 1;
}

QString TRegFiler::ReadEntry(const QString &section, const QString &ident, const QString &defaultValue)
{
    if (section.isEmpty() || ident.isEmpty())
        return defaultValue;
    switch (OpenBackend()) {
    case TBackend::None: return defaultValue;
    case TBackend::Ini:
        if (TIniFileSession *held = HeldIni())
            return held->ReadString(section, ident, defaultValue);
        return TIniFile(Manager->IniFileName).ReadString(section, ident, defaultValue);
    case TBackend::Reg:
        if (TKeyStore *held = HeldKeys())
            return held->ReadString(RegSectionKey(section), ident, defaultValue);
        return TKeyStore(Manager->KeyStoreFile).ReadString(RegSectionKey(section), ident, defaultValue);
    }
    return defaultValue;
}

void TRegFiler::WriteEntry(const QString &section, const QString &ident, const QString &value)
{
    if (section.isEmpty() || ident.isEmpty())
        return;
    switch (OpenBackend()) {
    case TBackend::None: break;
    case TBackend::Ini:
        if (TIniFileSession *held = HeldIni())
            held->WriteString(section, ident, value);
        else
            TIniFile(Manager->IniFileName).WriteString(section, ident, value);
        break;
    case TBackend::Reg:
        if (TKeyStore *held = HeldKeys())
            held->WriteString(RegSectionKey(section), ident, value);
        else
            TKeyStore(Manager->KeyStoreFile).WriteString(RegSectionKey(section), ident, value);
        break;
    }
}

void TRegFiler::DeleteEntry(const QString &section, const QString &ident)
{
    if (section.isEmpty() || ident.isEmpty())
        return;
    switch (OpenBackend()) {
    case TBackend::None: break;
    case TBackend::Ini:
        if (TIniFileSession *held = HeldIni())
            held->DeleteKey(section, ident);
        else
            TIniFile(Manager->IniFileName).DeleteKey(section, ident);
        break;
    case TBackend::Reg:
        if (TKeyStore *held = HeldKeys())
            held->DeleteValue(RegSectionKey(section), ident);
        else
            TKeyStore(Manager->KeyStoreFile).DeleteValue(RegSectionKey(section), ident);
        break;
    }
}

QString TRegFiler::ReadString()
{
    if (!Item)
        return QString();
    return ReadEntry(Item->Section, Item->Ident, Item->DefaultValue);
}

void TRegFiler::WriteString(const QString &value)
{
    if (Item)
        WriteEntry(Item->Section, Item->Ident, value);
}

std::int32_t TRegFiler::ReadInteger()
{
    if (!Item)
        return 0;
    return NumberOr(ReadEntry(Item->Section, Item->Ident, Item->DefaultValue), 0);
}

void TRegFiler::WriteInteger(std::int32_t value)
{
    if (Item)
        WriteEntry(Item->Section, Item->Ident, IntToStr(value));
}

bool TRegFiler::ReadBool()
{
    if (!Item)
        return false;
    // Only the default is matched against words; a stored text is read as a number.
    const QString d = Item->DefaultValue.toUpper();
    const bool defaultTrue = d == QLatin1String("1") || d == QLatin1String("TRUE") || d == QLatin1String("YES");
    const std::int32_t v = NumberOr(ReadEntry(Item->Section, Item->Ident, defaultTrue ? QStringLiteral("1") : QStringLiteral("0")), 0);
    return (v & 0xFF) != 0;
}

void TRegFiler::WriteBool(bool value)
{
    if (Item)
        WriteEntry(Item->Section, Item->Ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TRegFiler::ReadFont(TFontValue *font)
{
    if (!Item || !font)
        return;
    TItemScope scope(*this);
    const QString &s = Item->Section, &i = Item->Ident;
    font->Name = ReadEntry(s, i + QStringLiteral("_FontName"), font->Name);
    font->Size = NumberOr(ReadEntry(s, i + QStringLiteral("_FontSize"), IntToStr(font->Size)), font->Size);
    font->Color = StringToColor(ReadEntry(s, i + QStringLiteral("_FontColor"), ColorToString(font->Color)));
    font->Style = NumberOr(ReadEntry(s, i + QStringLiteral("_FontStyle"), IntToStr(font->Style)), 0);
}

void TRegFiler::WriteFont(const TFontValue *font)
{
    if (!Item || !font)
        return;
    TItemScope scope(*this);
    const QString &s = Item->Section, &i = Item->Ident;
    WriteEntry(s, i + QStringLiteral("_FontName"), font->Name);
    WriteEntry(s, i + QStringLiteral("_FontSize"), IntToStr(font->Size));
    WriteEntry(s, i + QStringLiteral("_FontColor"), ColorToString(font->Color));
    WriteEntry(s, i + QStringLiteral("_FontStyle"), IntToStr(font->Style));
    scope.Commit();
}

int TRegFiler::ExistingLines(const QString &section, const QString &stem, int from, int count)
{
    int n = from;
    while (n < count && ReadEntry(section, stem + QString::number(n), MissingEntry) != MissingEntry)
        ++n;
    return n;
}

QStringList TRegFiler::ReadLines(const QString &countIdent, const QString &lineStem, bool padTrailing)
{
    TItemScope scope(*this);
    const QString &s = Item->Section;
    const int count = NumberOr(ReadEntry(s, countIdent, QStringLiteral("0")), 0);
    QStringList lines;
    if (count <= 0)
        return lines;
    // A stored count is only a claim: lines are read as far as the section holds them (a missing
    // line in between reads empty), so an edited count of two billion costs nothing.
    const int end = StoredLineEnd(s, lineStem);
    if (end < 0) {
        // Entries from elsewhere: read while they exist.
        for (int n = 0; n < count; ++n) {
            QString line = ReadEntry(s, lineStem + QString::number(n), MissingEntry);
            if (line == MissingEntry)
                break;
            lines << std::move(line);
        }
        return lines;
    }
    const int stored = std::min(count, end);
    for (int n = 0; n < stored; ++n)
        lines << ReadEntry(s, lineStem + QString::number(n), QString());
    if (padTrailing && count <= TrustedListCount)
        while (lines.size() < count)
            lines << QString();
    return lines;
}

void TRegFiler::WriteLines(const QString &countIdent, const QString &lineStem, const QStringList &lines)
{
    TItemScope scope(*this);
    const QString &s = Item->Section;
    const int newCount = static_cast<int>(lines.size());
    const int oldCount = NumberOr(ReadEntry(s, countIdent, QStringLiteral("0")), 0);
    if (oldCount > newCount) {
        // Every line from the old count down to the new one goes, gaps or not; lines past the
        // last one stored need no deleting.
        const int stored = StoredLineEnd(s, lineStem);
        const int end = stored >= 0 ? std::min(oldCount, stored) : ExistingLines(s, lineStem, newCount, oldCount);
        for (int n = end - 1; n >= newCount; --n)
            DeleteEntry(s, lineStem + QString::number(n));
        if (newCount == 0)
            DeleteEntry(s, countIdent);
    }
    if (newCount > 0) {
        WriteEntry(s, countIdent, IntToStr(newCount));
        for (int n = 0; n < newCount; ++n)
            WriteEntry(s, lineStem + QString::number(n), lines[n]);
    }
    scope.Commit();
}

void TRegFiler::ReadStrings(QStringList *strings)
{
    if (!Item || !strings)
        return;
    strings->clear();
    *strings = ReadLines(Item->Ident + QStringLiteral("_ItemCount"), Item->Ident + QStringLiteral("_Item"), true);
}

void TRegFiler::WriteStrings(const QStringList *strings)
{
    if (!Item || !strings)
        return;
    WriteLines(Item->Ident + QStringLiteral("_ItemCount"), Item->Ident + QStringLiteral("_Item"), *strings);
}

void TRegFiler::ReadStream(QIODevice *stream)
{
    if (!Item || !stream)
        return;
    if (Manager->RegType == rtIni) {
        if (OpenBackend() == TBackend::None)
            return;
        const QByteArray bytes = DecodeHexLines(ReadLines(Item->Ident + QStringLiteral("_c"), Item->Ident + QStringLiteral("_d"), false));
        stream->write(bytes);
        return;
    }
    TItemScope scope(*this);
    if (OpenBackend() == TBackend::None)
        return;
    TKeyStore unheld(Manager->KeyStoreFile);
    TKeyStore *held = HeldKeys();
    TKeyStore &store = held ? *held : unheld;
    const QString key = RegSectionKey(Item->Section);
    store.CreateKey(key);
    QByteArray bytes;
    const bool found = store.ReadBinary(key, Item->Ident, bytes);
    scope.Commit();
    if (found)
        stream->write(bytes);
}

void TRegFiler::WriteStream(QIODevice *stream)
{
    if (!Item || !stream)
        return;
    const qint64 pos = stream->pos();
    stream->seek(0);
    const QByteArray bytes = stream->readAll();
    stream->seek(pos);
    if (Manager->RegType == rtIni) {
        WriteLines(Item->Ident + QStringLiteral("_c"), Item->Ident + QStringLiteral("_d"), HexLines(bytes));
        return;
    }
    TItemScope scope(*this);
    if (OpenBackend() == TBackend::None)
        return;
    TKeyStore unheld(Manager->KeyStoreFile);
    TKeyStore *held = HeldKeys();
    (held ? *held : unheld).WriteBinary(RegSectionKey(Item->Section), Item->Ident, bytes);
    scope.Commit();
}

TComponent *TRegFiler::ReadComponent(TComponent *component)
{
    if (!Item || !component)
        return component;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ReadStream(&buffer);
    if (buffer.data().isEmpty())
        return component;
    // A stored image that does not read keeps the component as it is; the reader checks the whole
    // image before it replaces anything.
    TComponent *replaced = nullptr;
    try {
        replaced = ReadComponentImage(buffer.data(), component);
    } catch (const std::exception &) {
        replaced = nullptr;
    }
    return replaced ? replaced : component;
}

void TRegFiler::WriteComponent(TComponent *component)
{
    if (!Item || !component)
        return;
    QByteArray image = WriteComponentImage(*component);
    if (image.isEmpty())
        return; // a form is not stored
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadOnly);
    WriteStream(&buffer);
}

void AddForm1RegItems(TRegItems &items)
{
    items.Add(QStringLiteral("ColorDialogComponent"), QStringLiteral("Form\\ColorDialog"), QStringLiteral("prop"), QString());
    items.Add(QStringLiteral("Form1Top"), QStringLiteral("Form\\Form1"), QStringLiteral("Top"), QStringLiteral("100"));
    items.Add(QStringLiteral("Form1Left"), QStringLiteral("Form\\Form1"), QStringLiteral("Left"), QStringLiteral("100"));
    items.Add(QStringLiteral("fMyColor"), QStringLiteral("Form\\fMyColor"), QStringLiteral("Integer"), QStringLiteral("$00D1B598"));
    // The section is spelled "From" in every settings file the program has written.
    items.Add(QStringLiteral("ColorPickerDialogComponent"), QStringLiteral("From\\ColorPickerDialog"), QStringLiteral("prop"), QString());
    for (int n = 16; n <= 26; ++n)
        items.Add(QStringLiteral("TemporaryPalette%1").arg(n), QStringLiteral("Form\\TemporaryPalette%1").arg(n),
                  QStringLiteral("Integer"), QStringLiteral("$00000000"));
}
