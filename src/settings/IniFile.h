#pragma once

#include "framework/Failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// INI text: "[section]" lines open sections, "name=value" lines are entries. Section and entry
// names are matched ignoring case and the first match wins. Text is UTF-8; CRLF line ends and a
// leading byte order mark are accepted, LF is written.
//
// Values are stored as they are, with one exception so that every text reads back unchanged: a
// value with leading or trailing blanks, a line break or another control character, or one that
// is itself wrapped in double quotes, is written in double quotes with backslash escapes (\\ \"
// \n \r \t \xHH). On reading, a value wrapped in double quotes is unwrapped and its escapes
// resolved; an unknown escape is kept as it is.

// A value as it is read back is at most this many characters.
constexpr qsizetype IniMaxValueLength = 2047;

// The text of a value as it goes after the "=" of its line.
QByteArray EncodeIniValue(const QString &value);
// The value of the text after "=" (blanks around already trimmed or not).
QString DecodeIniValue(QByteArrayView raw);

// Looks up one entry in INI text without building a model: the way every single read access
// goes. True and the value when found.
bool FindIniValue(QByteArrayView text, const QString &section, const QString &ident, QString &value);

// A whole INI text held in memory, for changing it: lines the parser does not understand are kept
// as they are, so a rewrite changes only the entries written or deleted.
class TIniData {
public:
    static TIniData Parse(QByteArrayView text);
    QByteArray Serialize() const;

    bool ReadValue(const QString &section, const QString &ident, QString &value) const;
    QString ReadString(const QString &section, const QString &ident, const QString &fallback) const;
    // Replaces the entry's value, or adds the entry at the end of its section, or adds the section
    // at the end of the text. False when a name cannot be stored: an empty name, a line break or
    // control character, "=" in an entry name, "]" in a section name.
    bool WriteString(const QString &section, const QString &ident, const QString &value);
    // Removes the first matching entry; the section itself stays. False when there was none.
    bool DeleteKey(const QString &section, const QString &ident);

    QStringList Sections() const;
    QStringList Idents(const QString &section) const;

private:
    struct TLine {
        QByteArray raw;
        QString name;   // entry name, empty for comments, blank and other lines
    };
    struct TSection {
        QString name;   // empty for the lines before the first section line
        bool hasHeader = false;
        QByteArray header;
        std::vector<TLine> lines;
    };
    TSection *FindSection(const QString &section);
    const TSection *FindSection(const QString &section) const;

    std::vector<TSection> FSections;
};

// An INI file on disk. Every call reads the file afresh; every change rewrites it atomically (a
// temporary file beside it, renamed over it only when complete), so the file on disk is always
// either the old or the new complete text.
class TIniFile {
public:
    explicit TIniFile(QString fileName);
    const QString &FileName() const { return FFileName; }

    // A missing or unreadable file reads as empty: every read yields its fallback.
    QString ReadString(const QString &section, const QString &ident, const QString &fallback) const;
    bool ValueExists(const QString &section, const QString &ident) const;
    // Throws Exception "<file> に書き込めません" when the file cannot be read (so it cannot be
    // changed without losing it) or not written, or when a name cannot be stored; the old file
    // is then left untouched.
    void WriteString(const QString &section, const QString &ident, const QString &value);
    // Removing a missing entry or from a missing file is no error and writes nothing.
    void DeleteKey(const QString &section, const QString &ident);

private:
    TIniData LoadForChange() const;
    void Save(const TIniData &data) const;
    [[noreturn]] void FailWrite() const;

    QString FFileName;
};

// Whole-file helpers shared with the per-user key store.
enum class TFileRead { Ok, Missing, Failed };
// Reads the whole file; Missing when there is no file, Failed when it is there but cannot be read
// (a directory, no permission, a read error).
TFileRead ReadWholeFile(const QString &fileName, QByteArray &bytes);
// Writes the bytes atomically; false when it could not complete (the old file is then unchanged).
bool WriteWholeFileAtomic(const QString &fileName, const QByteArray &bytes);
