// Feeds arbitrary bytes to the INI parser and to the settings filer reading from them, and checks
// that a parsed text survives being written out and parsed again, and that a value written into
// it reads back unchanged. Also the key store's text.
#include "settings/IniFile.h"
#include "settings/KeyStore.h"
#include "settings/RegMng.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A filer that reads its entries from the parsed fuzz input instead of a file.
class TFuzzFiler : public TRegFiler {
public:
    TFuzzFiler(TRegManager *manager, const TIniData &data) : TRegFiler(manager), FData(data) {}
    QString ReadEntry(const QString &section, const QString &ident, const QString &defaultValue) override
    {
        if (++Accesses > 100000)
            std::abort(); // a stored count was trusted
        return FData.ReadString(section, ident, defaultValue);
    }
    void WriteEntry(const QString &, const QString &, const QString &) override {}
    int Accesses = 0;

private:
    const TIniData &FData;
};

void CheckAt(bool condition, int line)
{
    if (!condition) {
        std::fprintf(stderr, "check failed at line %d\n", line);
        std::abort();
    }
}
#define Check(condition) CheckAt((condition), __LINE__)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    QString value;
    FindIniValue(bytes, QStringLiteral("Form\\Form1"), QStringLiteral("Top"), value);
    FindIniValue(bytes, QStringLiteral("From\\ColorPickerDialog"), QStringLiteral("prop_d0"), value);

    TIniData ini = TIniData::Parse(bytes);
    const QByteArray once = ini.Serialize();
    Check(TIniData::Parse(once).Serialize() == once);
    // The model and the one-shot look-up agree; each look-up starts from fresh results, so two
    // misses compare equal.
    const auto agree = [](const TIniData &model, const QByteArray &text, const QString &section, const QString &ident) {
        QString quick, held;
        const bool found = FindIniValue(text, section, ident, quick);
        Check(found == model.ReadValue(section, ident, held));
        if (found)
            Check(quick == held);
    };
    for (const QString &section : ini.Sections().mid(0, 4))
        for (const QString &ident : ini.Idents(section).mid(0, 4))
            agree(ini, once, section, ident);

    // Deleting and rewriting through the indexes keeps the model and its text in step.
    TIniData changed = TIniData::Parse(bytes);
    for (const QString &section : changed.Sections().mid(0, 2)) {
        const QStringList idents = changed.Idents(section).mid(0, 3);
        for (const QString &ident : idents)
            changed.DeleteKey(section, ident);
        if (!idents.isEmpty())
            changed.WriteString(section, idents.front(), QStringLiteral("re"));
        const QByteArray text = changed.Serialize();
        for (const QString &ident : idents)
            agree(changed, text, section, ident);
        agree(TIniData::Parse(text), text, section, QStringLiteral("Top"));
        const int highest = changed.HighestNumberedIdent(section, QStringLiteral("prop_d"));
        Check(highest == TIniData::Parse(text).HighestNumberedIdent(section, QStringLiteral("prop_d")));
    }

    TRecordingMessageSink sink;
    TRegManager manager(nullptr, sink);
    manager.RegType = rtIni;
    manager.IniFileName = QStringLiteral("unused.ini");
    AddForm1RegItems(*manager.RegItems());
    manager.RegItems()->Add(QStringLiteral("List"), QStringLiteral("Form\\Form1"), QStringLiteral("Top"), QString());
    TFuzzFiler filer(&manager, ini);
    filer.Item = manager.RegItems()->FindItem(QStringLiteral("ColorPickerDialogComponent"));
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    filer.ReadStream(&stream);
    filer.Item = manager.RegItems()->FindItem(QStringLiteral("List"));
    QStringList lines;
    filer.ReadStrings(&lines);
    filer.ReadInteger();
    filer.ReadBool();
    TFontValue font;
    try {
        filer.ReadFont(&font);
    } catch (const Exception &) {
    }

    // A value taken from the input, written into the parsed text, reads back unchanged.
    const QString written = QString::fromUtf8(bytes.first(std::min<qsizetype>(bytes.size(), 200)));
    Check(ini.WriteString(QStringLiteral("Fuzz\\Section"), QStringLiteral("Value"), written));
    const TIniData again = TIniData::Parse(ini.Serialize());
    QString back;
    Check(FindIniValue(ini.Serialize(), QStringLiteral("fuzz\\section"), QStringLiteral("VALUE"), back));
    Check(back == written);
    Check(again.ReadString(QStringLiteral("Fuzz\\Section"), QStringLiteral("Value"), QString()) == written);

    const auto keys = TKeyStore::Parse(bytes);
    const QByteArray keyText = TKeyStore::Serialize(keys);
    Check(TKeyStore::Serialize(TKeyStore::Parse(keyText)) == keyText);
    return 0;
}
