#include "framework/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

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

    // Conversions here never consult the C locale: the decimal point is "." on every desktop.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    // buf: [-]d.dddddddddddddde[+-]xx
    std::string s(buf, written.ptr);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const auto ePos = s.find('e');
    const char *expBegin = s.c_str() + ePos + 1;
    if (*expBegin == '+')
        ++expBegin;
    int exponent = 0;
    std::from_chars(expBegin, s.c_str() + s.size(), exponent);
    std::string digits(1, s[0]);
    digits.append(s, 2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // Appended piece by piece: no temporary strings.
    std::string out;
    if (negative)
        out.push_back('-');
    if (exponent < -5 || exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1)
            out.append(1, '.').append(digits, 1);
        char exp[8];
        const auto end = std::to_chars(exp, exp + sizeof exp, exponent).ptr;
        out.append(1, 'E').append(exp, end);
    } else if (exponent < 0) {
        out.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intDigits)
            out.append(digits).append(intDigits - digits.size(), '0');
        else
            out.append(digits, 0, intDigits).append(1, '.').append(digits, intDigits);
    }
    return QString::fromLatin1(out.c_str());
}

std::int64_t RoundHalfAway(double value)
{
    return static_cast<std::int64_t>(std::round(value));
}

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// `s`: optional sign, digits, optional point and digits (at least one digit). Nearest double;
// too large a magnitude gives the infinity, too small a zero, of the text's sign.
double ParseDecimal(const std::string &s)
{
    const char *first = s.c_str();
    const char *last = first + s.size();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-')
        ++first;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        const char *p = first;
        while (p != last && *p == '0')
            ++p;
        const bool large = p != last && *p != '.';
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

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
    out = anyDigit ? ParseDecimal(s) : 0.0;
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
