#include "framework/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf: [-]d.dddddddddddddde[+-]xx
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const auto ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);
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
    out = anyDigit ? std::strtod(s.c_str(), nullptr) : 0.0;
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
