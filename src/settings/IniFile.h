#pragma once

#include "framework/Failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// INI text: "[section]" lines open sections, "name=value" lines are entries. Section and entry
// names are matched ignoring case and the first match wins. Text is UTF-8; CRLF line ends and a
// leading byte order mark are accepted, LF is written.
//
// A value reads the way classic profile readers read it: the blanks around it are dropped, then
// one pair of double quotes around the rest, when there is one; a backslash is an ordinary
// character, so a hand-written Path="C:\temp\new" reads as C:\temp\new. The program stores a
// text as it is, or in double quotes when it has blanks at either end or itself starts and ends
// with a double quote. A text that no such line can hold (one with a line break or another control
// character but the tab, or a lone surrogate) and a text that starts with a backslash and a double
// quote are stored in the escaped form \"...": a backslash right before the opening quote, then
// the text with the escapes \\ \" \n \r \t \xHH and \uHHHH, then the closing quote. A value of
// that shape whose escapes are not all valid reads the classic way. Every text the program writes
// therefore reads back unchanged, and every ordinary text is stored byte for byte.

// A value as it is read back is at most this many characters.
constexpr qsizetype IniMaxValueLength = 2047;

// The text of a value as it goes after the "=" of its line.
QByteArray EncodeIniValue(const QString &value);
// The value of the text after "=" (blanks around already trimmed or not).
QString DecodeIniValue(QByteArrayView raw);

// Looks up one entry in INI text without building a model: the way every single read access
// goes. True and the value when found.
bool FindIniValue(QByteArrayView text, const QString &section, const QString &ident, QString &value);

// The index n when name is stem followed by n in decimal without leading zeros (stem matched
// ignoring case), capped at the largest int; -1 for any other name.
int NumberedNameIndex(QStringView name, QStringView stem);

// A whole INI text held in memory, for changing it: lines the parser does not understand are kept
// as they are, so a rewrite changes only the entries written or deleted. Sections and entries are
// found through hash indexes, so each look-up, change or deletion costs the same however large
// the text is.
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
    // The largest n for which the section holds an entry stem + n (see NumberedNameIndex); -1 when
    // it holds none.
    int HighestNumberedIdent(const QString &section, const QString &stem) const;

private:
    struct TLine {
        QByteArray raw;
        QString name;   // entry name, empty for comments, blank and other lines
        bool deleted = false;
    };
    struct TSection {
        QString name;   // empty for the lines before the first section line
        bool hasHeader = false;
        QByteArray header;
        // Until loaded, the section's lines are the bytes from..to of the parsed text.
        mutable bool loaded = true;
        qsizetype from = 0, to = 0;
        mutable std::vector<TLine> lines;
        // Case-folded entry name to the indexes of its lines, in file order; built at the first
        // look-up in the section, so a change to one small section does not index a large one.
        mutable QHash<QString, std::vector<size_t>> entries;
        mutable bool indexed = false;
    };
    static QHash<QString, std::vector<size_t>> &Entries(const TSection &s);
    void Load(const TSection &s) const;
    TSection *FindSection(const QString &section);
    const TSection *FindSection(const QString &section) const;
    static const TLine *FirstEntry(const TSection &s, const QString &ident);
    void AddSection(TSection section);
    static void AddLine(TSection &s, TLine line);

    QByteArray FText;
    std::vector<TSection> FSections;
    // Case-folded section name to the index of the first section of that name.
    QHash<QString, size_t> FSectionIndex;
};

enum class TFileRead { Ok, Missing, Failed };

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
    QString FFileName;
};

// An INI file read once and held for a series of accesses that belong together (the count and
// the lines of one settings item): reads and changes go to the held text, and Commit writes it
// back in one atomic replacement, so the file on disk holds all of the series or none of it.
// Reads and failures are those of TIniFile, except that a write failure may only show at Commit.
class TIniFileSession {
public:
    explicit TIniFileSession(QString fileName);
    const QString &FileName() const { return FFileName; }

    QString ReadString(const QString &section, const QString &ident, const QString &fallback) const;
    int HighestNumberedIdent(const QString &section, const QString &stem) const;
    void WriteString(const QString &section, const QString &ident, const QString &value);
    void DeleteKey(const QString &section, const QString &ident);
    // Writes the changed text, if anything changed; throws "<file> に書き込めません" when it
    // cannot, the old file then left as it was.
    void Commit();

private:
    [[noreturn]] void FailWrite() const;
    void CheckWritable() const;

    QString FFileName;
    TFileRead FState = TFileRead::Missing;
    TIniData FData;
    bool FChanged = false;
};

// Whole-file helpers shared with the per-user key store.
// Reads the whole file; Missing when there is no file, Failed when it is there but cannot be read
// (a directory, no permission, a read error).
TFileRead ReadWholeFile(const QString &fileName, QByteArray &bytes);
// Writes the bytes atomically; false when it could not complete (the old file is then unchanged).
// The new file is synced to the disk once before it replaces the old one. A symlink in the
// file's place is followed (Follow), or is itself replaced by the new file (Replace), so that
// nothing it points to is touched. `error`, when given, says why a write failed.
enum class TSymlinks { Follow, Replace };
bool WriteWholeFileAtomic(const QString &fileName, const QByteArray &bytes, TSymlinks links = TSymlinks::Follow,
                          QString *error = nullptr);
// How many times WriteWholeFileAtomic has synced a file to the disk in this process.
std::uint64_t FileSyncCount();
