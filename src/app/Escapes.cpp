#include "app/Escapes.h"

#include "framework/NumberText.h"

#include <QByteArray>
#include <QStringEncoder>

namespace {

int UpperHexDigit(QChar c)
{
    return c.unicode() >= u'a' ? -1 : HexDigitValue(c.unicode());
}

constexpr char16_t NotHexCodeUnit = 0x3E8;

// The code unit of the escape at position i (S[i], S[i + 1] are "\u"): the at most four
// characters after it read as a hexadecimal number, or 3E8 when they are none.
char16_t EscapeCodeUnit(const QString &s, qsizetype i)
{
    const qsizetype begin = i + 2;
    const qsizetype end = std::min<qsizetype>(begin + 4, s.size());
    if (begin >= end)
        return NotHexCodeUnit;
    unsigned value = 0;
    for (qsizetype k = begin; k < end; ++k) {
        const int d = UpperHexDigit(s[k]);
        if (d < 0)
            return NotHexCodeUnit;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<char16_t>(value);
}

bool IsEscapeAt(const QString &s, qsizetype i)
{
    return i + 1 < s.size() && s[i] == QLatin1Char('\\') && s[i + 1] == QLatin1Char('u');
}

// One character (one code unit, or a surrogate pair) in the platform's text encoding.
std::optional<QByteArray> ToPlatform(const QString &character)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(character);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace

bool IsPovHx(const QString &text)
{
    for (const QChar c : text)
        if (UpperHexDigit(c) < 0 && c != QLatin1Char('\\') && c != QLatin1Char('u'))
            return false;
    return true;
}

QString PlatformRoundTrip(const QString &text)
{
    return QString::fromUtf8(text.toUtf8());
}

QString TextToPovEscapes(const QString &text)
{
    QString out;
    out.reserve(text.size() * 6);
    for (const QChar c : text)
        out += QLatin1String("\\u") + QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return out;
}

std::optional<QString> ChangeDelHex(const QString &escapes)
{
    if (escapes.size() % 6 != 0)
        return QString();
    QByteArray platform;
    for (qsizetype i = 0; i < escapes.size(); ++i) {
        if (!IsEscapeAt(escapes, i))
            continue;
        const char16_t unit = EscapeCodeUnit(escapes, i);
        QString character;
        if (QChar::isHighSurrogate(unit) && IsEscapeAt(escapes, i + 6)
            && QChar::isLowSurrogate(EscapeCodeUnit(escapes, i + 6))) {
            // The low half is taken with its partner; the scan goes on after it.
            const QChar pair[2] = {QChar(unit), QChar(EscapeCodeUnit(escapes, i + 6))};
            character = QString(pair, 2);
            i += 6;
        } else if (QChar::isSurrogate(unit)) {
            character = QStringLiteral("?");
        } else {
            character = QString(QChar(unit));
        }
        const std::optional<QByteArray> bytes = ToPlatform(character);
        if (!bytes)
            return std::nullopt;
        platform += *bytes;
    }
    return QString::fromUtf8(platform);
}
