#pragma once

#include <QString>

#include <optional>

// True when each character is a digit 0-9, an upper-case letter A-F, "\" or a lower-case "u"
// (true for an empty text).
bool IsPovHx(const QString &text);

// The text as it comes back from the platform's text encoding (UTF-8): valid text unchanged,
// a lone surrogate replaced.
QString PlatformRoundTrip(const QString &text);

// "\u" and four upper-case hexadecimal digits for every UTF-16 code unit of the text; a
// character outside the Basic Multilingual Plane gives two escapes, one per surrogate.
QString TextToPovEscapes(const QString &text);

// The text of a run of escapes. A length that is not a multiple of 6 gives an empty text. Every
// position is examined, so a "\u" inside a group is found too; a group of four characters that
// is no hexadecimal number stands for code unit 3E8. A high-surrogate escape directly followed
// by a low-surrogate escape gives the one character they encode; a surrogate escape without its
// partner gives "?". nullopt when a code unit does not convert ("Err").
std::optional<QString> ChangeDelHex(const QString &escapes);
