#include "framework/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

int HexDigitValue(char16_t u)
{
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QString IntToStr(std::int64_t value)
{
    return QString::number(value);
}

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    // The same text in every locale: [-]d.dddddddddddddde[+-]xx
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string s(buf, written.ptr);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const auto ePos = s.find('e');
    int exponent = 0;
    const char *e = s.c_str() + ePos + 1;
    const bool negativeExponent = *e == '-';
    std::from_chars(e + (*e == '+' || *e == '-' ? 1 : 0), s.c_str() + s.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits + std::string(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
        }
    }
    return QString::fromLatin1(out.c_str());
}

std::int64_t RoundHalfAway(double value)
{
    return static_cast<std::int64_t>(std::round(value));
}

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

bool TryReadFloat(const QString &text, double &out)
{
    qsizetype i = 0, end = text.size();
    while (i < end && text[i] == QLatin1Char(' '))
        ++i;
    while (end > i && text[end - 1] == QLatin1Char(' '))
        --end;
    std::string s;
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        s += static_cast<char>(text[i++].unicode());
    bool anyDigit = false, point = false;
    for (; i < end && IsAsciiDigit(text[i]); ++i) {
        s += static_cast<char>(text[i].unicode());
        anyDigit = true;
    }
    if (i < end && text[i] == QLatin1Char('.')) {
        point = true;
        s += '.';
        for (++i; i < end && IsAsciiDigit(text[i]); ++i) {
            s += static_cast<char>(text[i].unicode());
            anyDigit = true;
        }
    }
    if (i != end || (!anyDigit && !point))
        return false;
    // from_chars reads the same in every locale; it takes no "+", so the sign is applied here.
    const bool negative = !s.empty() && s[0] == '-';
    const size_t start = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    double v = 0.0;
    if (anyDigit) {
        const char *first = s.data() + start, *last = s.data() + s.size();
        if (std::from_chars(first, last, v).ec == std::errc::result_out_of_range) {
            // Too many digits for a double: huge when a digit other than 0 precedes the point.
            const std::string_view whole(first, static_cast<size_t>(last - first));
            const std::string_view intPart = whole.substr(0, whole.find('.'));
            v = intPart.find_first_not_of('0') != std::string_view::npos ? HUGE_VAL : 0.0;
        }
    }
    out = negative ? -v : v;
    return true;
}

double StrToFloat(const QString &text)
{
    double v = 0;
    if (!TryReadFloat(text, v))
        throw EConvertError(QStringLiteral("'%1' は浮動小数点数ではありません").arg(text));
    return v;
}

bool TryReadInteger(const QString &text, std::int32_t &out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');

    bool hex = false;
    if (i < n && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;

    std::uint64_t value = 0;
    if (hex) {
        int significant = 0;
        for (; i < n; ++i) {
            const int d = HexDigitValue(text[i].unicode());
            if (d < 0)
                return false;
            if (significant > 0 || d != 0)
                ++significant;
            if (significant > 8)
                return false;
            value = value * 16 + static_cast<std::uint64_t>(d);
        }
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        out = static_cast<std::int32_t>(bits);
        return true;
    }
    for (; i < n; ++i) {
        if (!IsAsciiDigit(text[i]))
            return false;
        value = value * 10 + static_cast<std::uint64_t>(text[i].unicode() - '0');
        if (value > 2147483648ull)
            return false;
    }
    if (!negative && value > 2147483647ull)
        return false;
    out = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value)) : static_cast<std::int32_t>(value);
    return true;
}

std::int32_t StrToInt(const QString &text)
{
    std::int32_t v = 0;
    if (!TryReadInteger(text, v))
        throw EConvertError(QStringLiteral("'%1' は整数ではありません").arg(text));
    return v;
}

std::int32_t StrToIntDef(const QString &text, std::int32_t fallback)
{
    std::int32_t v = 0;
    return TryReadInteger(text, v) ? v : fallback;
}
