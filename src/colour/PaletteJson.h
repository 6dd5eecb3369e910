#pragma once

// A JSON reader that keeps the order of an object's members (design tokens list a palette's
// colours in order) and a writer of JSON strings.
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

struct TJsonMember;

struct TJsonValue {
    enum class TKind { Null, Bool, Number, String, Array, Object };
    TKind Kind = TKind::Null;
    bool Bool = false;
    double Number = 0;
    QString String;
    std::vector<TJsonValue> Items;                      // an array's
    std::vector<TJsonMember> Members; // an object's, in order

    // The member of that name (the last, for a name given twice); null for none.
    const TJsonValue *Member(const QString &name) const;
};

struct TJsonMember {
    QString Name;
    TJsonValue Value;
};

// The value the bytes hold (UTF-8, RFC 8259); empty with a reason for anything else, or nesting
// deeper than 64.
std::optional<TJsonValue> ReadJson(const QByteArray &bytes, QString &why);
// A JSON string literal of the text, quotes included.
QByteArray JsonString(const QString &text);
