#include "colour/NumberWriting.h"

#include <charconv>
#include <cmath>

namespace {

std::string WithoutTrailingZeros(std::string s)
{
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    return s;
}

constexpr double ZeroBelow = 1e-10;

} // namespace

std::string FixedText(double value, int decimals)
{
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return ec == std::errc() ? WithoutTrailingZeros(std::string(buffer, end)) : std::string("0");
}

std::string SignificantText(double value, int digits)
{
    if (!std::isfinite(value) || std::abs(value) < ZeroBelow)
        return "0";
    // The digits rounded once, in scientific form, then laid out in full.
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
    if (ec != std::errc())
        return "0";
    const std::string text(buffer, end);
    const size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string mantissa;
    for (size_t i = negative ? 1 : 0; i < e; ++i)
        if (text[i] != '.')
            mantissa += text[i];
    const int exponent = std::stoi(text.substr(e + 1));
    std::string out = negative ? "-" : "";
    if (exponent < 0) {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
    } else if (static_cast<size_t>(exponent) + 1 >= mantissa.size()) {
        out += mantissa + std::string(static_cast<size_t>(exponent) + 1 - mantissa.size(), '0');
    } else {
        out += mantissa.substr(0, static_cast<size_t>(exponent) + 1) + "." +
               mantissa.substr(static_cast<size_t>(exponent) + 1);
    }
    return WithoutTrailingZeros(out);
}
