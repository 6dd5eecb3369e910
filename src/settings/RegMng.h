#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/MessageBoxes.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

enum TRegType { rtReg, rtIni };

// One settings value: the name code looks it up by, where it lives and what it reads as when
// nothing is stored.
class TRegItem {
public:
    TRegItem() = default;
    TRegItem(QString name, QString section, QString ident, QString defaultValue)
        : Name(std::move(name)), Section(std::move(section)), Ident(std::move(ident)),
          DefaultValue(std::move(defaultValue))
    {
    }
    virtual ~TRegItem() = default;

    QString Name;
    QString Section;
    QString Ident;
    QString DefaultValue;

    virtual void Assign(const TRegItem &source);
};

class TRegItems {
public:
    virtual ~TRegItems() = default;

    TRegItem *Add();
    TRegItem *Add(const QString &name, const QString &section, const QString &ident, const QString &defaultValue);
    int Count() const { return static_cast<int>(FItems.size()); }
    void Clear() { FItems.clear(); }

    // Index in 0..Count()-1; nullptr outside.
    virtual TRegItem *GetItem(int index) const;
    // Copies value's fields into the item at index (nothing outside the range).
    virtual void SetItem(int index, const TRegItem &value);
    // The first item, in collection order, whose Name equals name ignoring case.
    virtual TRegItem *FindItem(const QString &name) const;

private:
    std::vector<std::unique_ptr<TRegItem>> FItems;
};

// Font style bits as the settings store them.
constexpr int fsBold = 1;
constexpr int fsItalic = 2;
constexpr int fsUnderline = 4;
constexpr int fsStrikeOut = 8;

// A font as a settings value: face name, size in points, colour and style bits.
struct TFontValue {
    QString Name;
    int Size = 9;
    TColor Color = clWindowText;
    int Style = 0;
};

class TRegManager;
class TIniFileSession;
class TKeyStore;

// Reader/writer bound to one settings item. Only ReadEntry, WriteEntry and DeleteEntry touch the
// INI backend; every typed operation goes through the virtual ReadEntry/WriteEntry, so a
// descendant that overrides them changes all of them. Each entry access opens its backend and
// closes it again; nothing stays open between operations. The entries of one font, list or stream
// (its count and all its lines) are read from one reading of the file and written in one atomic
// replacement of it, so after a crash at any moment the item reads as its old or its new value.
class TRegFiler {
public:
    explicit TRegFiler(TRegManager *manager);
    virtual ~TRegFiler();
    TRegFiler(const TRegFiler &) = delete;
    TRegFiler &operator=(const TRegFiler &) = delete;

    TRegItem *Item = nullptr;
    TRegManager *Manager = nullptr;

    virtual QString ReadString();
    virtual void WriteString(const QString &value);
    virtual std::int32_t ReadInteger();
    virtual void WriteInteger(std::int32_t value);
    virtual bool ReadBool();
    virtual void WriteBool(bool value);
    virtual QString ReadEntry(const QString &section, const QString &ident, const QString &defaultValue);
    virtual void WriteEntry(const QString &section, const QString &ident, const QString &value);
    // An unreadable stored colour throws EConvertError; name and size already read stay applied.
    virtual void ReadFont(TFontValue *font);
    virtual void WriteFont(const TFontValue *font);
    virtual void ReadStrings(QStringList *strings);
    virtual void WriteStrings(const QStringList *strings);
    // Appends the stored bytes to stream at its current position.
    virtual void ReadStream(QIODevice *stream);
    // Stores the whole stream, from position 0 to its end.
    virtual void WriteStream(QIODevice *stream);
    // Replaces component by the stored one and returns the instance now in its place (the
    // argument itself when nothing is stored or the stored image is rejected). The argument is
    // destroyed when it was replaced.
    virtual TComponent *ReadComponent(TComponent *component);
    virtual void WriteComponent(TComponent *component);

    void DeleteEntry(const QString &section, const QString &ident);

private:
    enum class TBackend { None, Ini, Reg };
    // While an item scope is open, the entry accesses share one held backend text; Commit of the
    // outermost scope writes it back, leaving it without Commit drops the changes.
    struct THeld;
    class TItemScope;
    std::unique_ptr<THeld> FHeld;
    int FScopeDepth = 0;
    TIniFileSession *HeldIni();
    TKeyStore *HeldKeys();
    // One past the highest line number stored as section\stem + n in the held backend; -1 when
    // the entries of this scope did not come from it (a descendant's own ReadEntry).
    int StoredLineEnd(const QString &section, const QString &stem);

    // Checks that the manager's backend can be opened for one access; shows the store's error box
    // and returns None when it cannot. The registry form creates the manager's key when missing.
    TBackend OpenBackend();
    QString RegSectionKey(const QString &section) const;
    // Number of lines stored under stem + n from n = from on, stopping at the first missing one.
    int ExistingLines(const QString &section, const QString &stem, int from, int count);
    void WriteLines(const QString &countIdent, const QString &lineStem, const QStringList &lines);
    // padTrailing: lines missing at the end, up to the count, read as empty lines (a list's
    // lines; a stream's would decode to nothing anyway).
    QStringList ReadLines(const QString &countIdent, const QString &lineStem, bool padTrailing);
};

// The settings store component: the item list, the backend choice and one shared filer.
// Messages of the store ("エラー" boxes) go to the sink it is given.
class TRegManager : public TComponent {
public:
    TRegManager(TComponent *owner, TMessageSink &messages);
    ~TRegManager() override;
    QString ClassName() const override { return QStringLiteral("TRegManager"); }

    QString IniFileName;
    QString RegDir;
    TRegType RegType = rtReg;
    // File of the per-user key store that the registry backend uses.
    QString KeyStoreFile;

    TRegItems *RegItems() const { return FRegItems.get(); }
    TMessageSink &Messages() const { return FMessages; }

    // The shared filer bound to the item of that name; shows "[' name '] is invalid." and returns
    // it unbound when there is none. Always the same object.
    TRegFiler *Filer(const QString &name);

    // Where the key store lives for a user: a file under the per-user configuration directory.
    static QString DefaultKeyStoreFile();

protected:
    // Makes the shared filer; a descendant may return its own filer class. Called on the first
    // lookup, so an override in a descendant is the one used.
    virtual TRegFiler *CreateFiler();

private:
    TMessageSink &FMessages;
    std::unique_ptr<TRegFiler> FFiler;
    std::unique_ptr<TRegItems> FRegItems;
};

// The main window's sixteen settings items, in their order.
void AddForm1RegItems(TRegItems &items);
