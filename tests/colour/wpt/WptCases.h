#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// One case of the browsers' conformance table (cases.tsv, written by scripts/wpt-table).
struct TWptCase {
    QString Kind;     // valid, invalid or computed
    QString Input;    // the text read
    QString Expected; // the browsers' colour text, "invalid", or a specified-value serialization
    QString Check;    // refused, parses, eps=X, bytes=N or digits (see scripts/wpt-table)
    QString Source;   // repository and path
    QString Revision;
    QString Excluded; // why the case is left out, or empty
    // The source file's name without its folder, for grouping.
    QString File() const;
};

// The table's rows in order; a line that does not have seven fields is a fault of the table and
// fails the reading (empty result, message in *error).
std::vector<TWptCase> ReadWptTable(const QString &path, QString *error);

// known-failures.txt: "input<TAB>reason" a line (input escaped as in the table), # comments.
QHash<QString, QString> ReadKnownFailures(const QString &path);

// The result of reading one case.
struct TWptVerdict {
    bool Passed = false;
    QString Category; // "<feature>: <fault>" for a failure, e.g. "color-mix(): wrong value"
    QString Got;      // what the reader gave, as text
    QString Detail;   // which component differs and by how much
};

// Reads the case's input (and its expected text) with ReadExactColour and compares as its check
// says. Components are compared in the expected colour's space; "none" only matches "none",
// except that a hue a conversion made powerless matches any expected hue.
TWptVerdict JudgeWptCase(const TWptCase &c);

// \t, \n and \\ as the table writes them.
QString UnescapeWptField(const QString &field);
QString EscapeWptField(const QString &text);
