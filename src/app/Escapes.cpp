#include "app/Escapes.h"

#include "framework/NumberText.h"

#include <QByteArray>
#include <QStringDecoder>
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
std::optional<QByteArray> ToPlatform(QStringView character)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(character);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

// Text back from the platform's encoding. A leading byte-order mark is a character of the text
// here, not a marker to be dropped (QString::fromUtf8 would skip it).
QString FromPlatform(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
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
    return FromPlatform(text.toUtf8());
}

QString TextToPovEscapes(const QString &text)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString out(text.size() * 6, Qt::Uninitialized);
    QChar *o = out.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        *o++ = u'\\';
        *o++ = u'u';
        for (int shift = 12; shift >= 0; shift -= 4)
            *o++ = digits[(u >> shift) & 0xF];
    }
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
        char16_t character[2] = {unit, 0};
        qsizetype length = 1;
        if (QChar::isHighSurrogate(unit) && IsEscapeAt(escapes, i + 6)
            && QChar::isLowSurrogate(EscapeCodeUnit(escapes, i + 6))) {
            // The low half is taken with its partner; the scan goes on after it.
            character[1] = EscapeCodeUnit(escapes, i + 6);
            length = 2;
            i += 6;
        } else if (QChar::isSurrogate(unit)) {
            character[0] = u'?';
        }
        const std::optional<QByteArray> bytes = ToPlatform(QStringView(character, length));
        if (!bytes)
            return std::nullopt;
        platform += *bytes;
    }
    return FromPlatform(platform);
}
