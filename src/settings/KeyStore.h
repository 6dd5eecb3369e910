#pragma once

#include "framework/Failure.h"
#include "settings/IniFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A per-user hierarchical store of keys holding named string and binary values, the way a
// registry does, kept in one file. A key path is a list of names separated by "\" (empty parts
// are ignored, so a leading "\" changes nothing); key and value names are matched ignoring case.
//
// Every call reads the file afresh and every change rewrites it atomically, unless the store is
// held: Hold reads the file once, every call then works on that text, and Commit writes it back
// in one atomic replacement (so a series of changes reaches the disk whole or not at all; a
// write failure then shows at Commit). Failures throw
// Exception with the user-facing message:
//   "キー %s の作成に失敗しました"  a key that cannot be created (a name holding a control
//                                  character, "." or ".."; an unreadable store)
//   "'%s' の設定に失敗しました"     a value that cannot be set (an empty name or one with NUL)
//   "'%s' の取得に失敗しました"     a value that cannot be read (unreadable store, bad name)
//   "'%s' のデータ型が不正です"     a string read from a binary value or the other way round
//   "%s に書き込めません"            the store file cannot be written (the old one stays)
class TKeyStore {
public:
    enum class TValueType { None, String, Binary };

    explicit TKeyStore(QString fileName);
    const QString &FileName() const { return FFileName; }

    // The per-user configuration directory: $XDG_CONFIG_HOME, else ~/.config.
    static QString UserConfigDir();

    void CreateKey(const QString &key);
    bool KeyExists(const QString &key) const;
    TValueType ValueType(const QString &key, const QString &name) const;

    // A missing key or value yields the fallback.
    QString ReadString(const QString &key, const QString &name, const QString &fallback) const;
    // False (and no bytes) when the value is missing.
    bool ReadBinary(const QString &key, const QString &name, QByteArray &bytes) const;
    // Both create the key when it is missing and replace a value of the same name.
    void WriteString(const QString &key, const QString &name, const QString &value);
    void WriteBinary(const QString &key, const QString &name, const QByteArray &bytes);
    // A missing key or value is no error.
    void DeleteValue(const QString &key, const QString &name);

    QStringList Keys() const;
    QStringList ValueNames(const QString &key) const;

    void Hold();
    // Writes the held text when a call changed it; the store is held no longer.
    void Commit();

    // The store text, parsed from and written to bytes; bad lines are skipped.
    struct TValue {
        QString name;
        TValueType type = TValueType::String;
        QString text;
        QByteArray bytes;
    };
    struct TKey {
        QString path;
        std::vector<TValue> values;
    };
    static std::vector<TKey> Parse(QByteArrayView text);
    static QByteArray Serialize(const std::vector<TKey> &keys);

private:
    // Reads the file (or takes the held text) into FKeys; its state.
    TFileRead Fetch() const;
    // FKeys, read as by Fetch; throws failureMessage when the file is there but unreadable.
    std::vector<TKey> &Load(const QString &failureMessage) const;
    // Writes FKeys (or marks the held text changed).
    void Save() const;
    const TValue *Find(const std::vector<TKey> &keys, const QString &key, const QString &name) const;
    // The stored value of that name, checked against the expected type; nullopt when there is
    // none. A store that cannot be read, a bad name or another type throws the read failures.
    std::optional<TValue> ReadValue(const QString &key, const QString &name, TValueType type) const;
    void WriteValue(const QString &key, TValue value);

    QString FFileName;
    mutable std::vector<TKey> FKeys;
    bool FHeld = false;
    mutable TFileRead FHeldState = TFileRead::Missing;
    mutable bool FChanged = false;
};
