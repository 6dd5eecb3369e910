#include "colour/TextScan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace textscan {

Sv Trim(Sv s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(Sv a, Sv b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool HasBlank(Sv s) { return std::any_of(s.begin(), s.end(), IsBlank); }

std::vector<Sv> Split(Sv s, char sep)
{
    std::vector<Sv> parts;
    for (;;) {
        const size_t at = s.find(sep);
        parts.push_back(Trim(s.substr(0, at)));
        if (at == Sv::npos)
            return parts;
        s.remove_prefix(at + 1);
    }
}

std::vector<Sv> SplitBlanks(Sv s)
{
    std::vector<Sv> tokens;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        const size_t start = i;
        while (i < s.size() && !IsBlank(s[i]))
            ++i;
        if (i > start)
            tokens.push_back(s.substr(start, i - start));
    }
    return tokens;
}

namespace {

std::optional<double> FromChars(Sv s)
{
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

std::optional<double> ReadDecimal(Sv s, bool allowExponent, bool lonePointIsZero)
{
    if (lonePointIsZero && s == ".")
        return 0.0;
    if (s.empty() || !(IsDigitChar(s.front()) || s.front() == '.'))
        return std::nullopt;
    if (!allowExponent && s.find_first_of("eE") != Sv::npos)
        return std::nullopt;
    return FromChars(s);
}

std::optional<int> ReadByteInteger(Sv s)
{
    if (s.empty() || s.size() > 3 || !std::all_of(s.begin(), s.end(), IsDigitChar))
        return std::nullopt;
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    if (v > 255)
        return std::nullopt;
    return v;
}

std::optional<unsigned> ReadHex(Sv s)
{
    unsigned v = 0;
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    for (char c : s) {
        int d = -1;
        if (IsDigitChar(c))
            d = c - '0';
        else if (Lower(c) >= 'a' && Lower(c) <= 'f')
            d = Lower(c) - 'a' + 10;
        if (d < 0)
            return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
    }
    return v;
}

} // namespace textscan
