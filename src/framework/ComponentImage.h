#pragma once

#include "framework/Component.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// The component image ("TPF0") of a component: its class name, name and every published property
// that differs from its declared default, per the writing rules. Empty for a component that is
// not stored this way (a form: returns empty, "WriteComponent of a form stores nothing").
QByteArray WriteComponentImage(const TComponent &component);

// Parses the whole image first, checks it (class registered, name equal to component->Name(),
// every property known and of a fitting type), and only then replaces `component` by a new
// instance of the recorded class with those properties: the new instance takes the old one's
// owner and name, the owner's named reference to it is rebound to the new instance, and the old
// instance is destroyed. Returns the new instance; on any failure returns nullptr and leaves the
// old component (its name, owner, reference and properties) exactly as it was.
TComponent *ReadComponentImage(const QByteArray &image, TComponent *component);

// The value tags of the image format.
enum TValueTag : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
};

struct TImageProperty;

// One parsed value. Integers (tags 2, 3, 4, 19) in Int; floating point (5, 15, 17) and currency
// (16, already divided by 10000) in Float; strings, identifiers and binary data in Bytes (wide
// strings as UTF-16LE bytes); list items in Items; set members in Members; collection items in
// CollectionItems.
struct TImageValue {
    TValueTag Tag = vaNull;
    std::int64_t Int = 0;
    double Float = 0;
    QByteArray Bytes;
    std::vector<TImageValue> Items;
    std::vector<QByteArray> Members;
    std::vector<std::vector<TImageProperty>> CollectionItems;
};

struct TImageProperty {
    QByteArray Name;
    TImageValue Value;
};

// One component record of an image.
struct TImageRecord {
    std::uint8_t Flags = 0; // low bits of an F0-FF prefix byte
    std::int64_t ChildPos = 0;
    QByteArray ClassName;
    QByteArray Name;
    std::vector<TImageProperty> Properties;
    std::vector<TImageRecord> Children;
};

// The four bytes an image starts with.
inline constexpr char ImageSignature[4] = {'T', 'P', 'F', '0'};
// A string list property is stored under its name and this suffix.
inline const QLatin1String ImageStringsSuffix(".Strings");
// Nesting of lists, collections and child records that an image may use.
constexpr int MaxImageDepth = 32;
// Largest image accepted; real ones hold a few hundred bytes.
constexpr qsizetype MaxImageSize = 1 << 20;

// Parses "TPF0" and one component record; the end byte after it may be missing and anything
// after it is ignored. False for an image that is not well formed.
bool ParseComponentImage(const QByteArray &image, TImageRecord &record);

// The 80-bit extended float of tag 5 (little-endian) as the nearest double.
double ExtendedToDouble(const unsigned char bytes[10]);
