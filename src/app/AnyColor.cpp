#include "app/AnyColor.h"

#include "framework/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr TCssName CssNames[] = {
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aqua", 0x00FFFF}, {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC}, {"bisque", 0xFFE4C4}, {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD}, {"blue", 0x0000FF}, {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887}, {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00}, {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED}, {"cornsilk", 0xFFF8DC}, {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF}, {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B}, {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400}, {"darkgrey", 0xA9A9A9}, {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B}, {"darkolivegreen", 0x556B2F}, {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC}, {"darkred", 0x8B0000}, {"darksalmon", 0xE9967A}, {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B}, {"darkslategray", 0x2F4F4F}, {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1}, {"darkviolet", 0x9400D3}, {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF}, {"dimgray", 0x696969}, {"dimgrey", 0x696969}, {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0}, {"forestgreen", 0x228B22}, {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC}, {"ghostwhite", 0xF8F8FF}, {"gold", 0xFFD700}, {"goldenrod", 0xDAA520},
    {"gray", 0x808080}, {"green", 0x008000}, {"greenyellow", 0xADFF2F}, {"grey", 0x808080},
    {"honeydew", 0xF0FFF0}, {"hotpink", 0xFF69B4}, {"indianred", 0xCD5C5C}, {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0}, {"khaki", 0xF0E68C}, {"lavender", 0xE6E6FA}, {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00}, {"lemonchiffon", 0xFFFACD}, {"lightblue", 0xADD8E6}, {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF}, {"lightgoldenrodyellow", 0xFAFAD2}, {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90}, {"lightgrey", 0xD3D3D3}, {"lightpink", 0xFFB6C1}, {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA}, {"lightskyblue", 0x87CEFA}, {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899}, {"lightsteelblue", 0xB0C4DE}, {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00}, {"limegreen", 0x32CD32}, {"linen", 0xFAF0E6}, {"magenta", 0xFF00FF},
    {"maroon", 0x800000}, {"mediumaquamarine", 0x66CDAA}, {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3}, {"mediumpurple", 0x9370DB}, {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE}, {"mediumspringgreen", 0x00FA9A}, {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585}, {"midnightblue", 0x191970}, {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1}, {"moccasin", 0xFFE4B5}, {"navajowhite", 0xFFDEAD}, {"navy", 0x000080},
    {"oldlace", 0xFDF5E6}, {"olive", 0x808000}, {"olivedrab", 0x6B8E23}, {"orange", 0xFFA500},
    {"orangered", 0xFF4500}, {"orchid", 0xDA70D6}, {"palegoldenrod", 0xEEE8AA}, {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE}, {"palevioletred", 0xDB7093}, {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9}, {"peru", 0xCD853F}, {"pink", 0xFFC0CB}, {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6}, {"purple", 0x800080}, {"rebeccapurple", 0x663399}, {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1}, {"saddlebrown", 0x8B4513}, {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460}, {"seagreen", 0x2E8B57}, {"seashell", 0xFFF5EE}, {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0}, {"skyblue", 0x87CEEB}, {"slateblue", 0x6A5ACD}, {"slategray", 0x708090},
    {"slategrey", 0x708090}, {"snow", 0xFFFAFA}, {"springgreen", 0x00FF7F}, {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C}, {"teal", 0x008080}, {"thistle", 0xD8BFD8}, {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0}, {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3}, {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5}, {"yellow", 0xFFFF00}, {"yellowgreen", 0x9ACD32},
};

// No notation is longer than this; a longer text (a whole document pasted) is refused at once.
constexpr qsizetype MaxNotationLength = 300;
// Blanks around a notation are skipped up to this length of the whole text; anything longer is
// refused without a look, so that no paste or drop costs more than a moment.
constexpr qsizetype MaxTextLength = 1 << 20;

using Sv = std::string_view;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

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

// Runs of blanks separate the tokens.
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

bool HasBlank(Sv s) { return std::any_of(s.begin(), s.end(), IsBlank); }

// Digits with an optional point and digits ("5", "5.", ".5"; a lone point only when allowed),
// optionally followed by an exponent when allowed. No sign.
std::optional<double> ReadDecimal(Sv s, bool allowExponent, bool lonePointIsZero)
{
    if (lonePointIsZero && s == ".")
        return 0.0;
    if (s.empty() || !(IsDigitChar(s.front()) || s.front() == '.'))
        return std::nullopt;
    if (!allowExponent && s.find_first_of("eE") != Sv::npos)
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
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

// A percentage "P%" with 0 <= P <= 100.
std::optional<double> ReadPercent(Sv s)
{
    if (s.size() < 2 || s.back() != '%')
        return std::nullopt;
    const auto v = ReadDecimal(s.substr(0, s.size() - 1), false, false);
    if (!v || *v > 100)
        return std::nullopt;
    return v;
}

int ByteOfFraction(double v) { return static_cast<int>(std::min<std::int64_t>(255, RoundHalfAway(v * 255))); }
// Multiplied before dividing, so that whole percentages land exactly on the halves they mean.
int ByteOfPercent(double p) { return static_cast<int>(std::min<std::int64_t>(255, RoundHalfAway(p * 255 / 100))); }

std::optional<unsigned> ReadHex(Sv s)
{
    unsigned v = 0;
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    for (char c : s) {
        const int d = HexDigitValue(static_cast<char16_t>(c));
        if (d < 0)
            return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
    }
    return v;
}

std::optional<TColor> ParseHash(Sv digits)
{
    const auto v = ReadHex(digits);
    if (!v)
        return std::nullopt;
    switch (digits.size()) {
    case 3:
    case 4: {
        const unsigned x = digits.size() == 4 ? *v >> 4 : *v;
        const int r = (x >> 8) & 0xF, g = (x >> 4) & 0xF, b = x & 0xF;
        return RGB(r * 17, g * 17, b * 17);
    }
    case 6:
    case 8: {
        const unsigned x = digits.size() == 8 ? *v >> 8 : *v;
        return RGB((x >> 16) & 0xFF, (x >> 8) & 0xFF, x & 0xFF);
    }
    default:
        return std::nullopt;
    }
}

std::optional<TColor> ParseConstant(Sv digits)
{
    const auto v = ReadHex(digits);
    if (!v)
        return std::nullopt;
    if (digits.size() == 6)
        return static_cast<TColor>(*v);
    if (digits.size() == 8 && (*v >> 24) <= 2)
        return static_cast<TColor>(*v);
    return std::nullopt;
}

std::optional<TColor> ParseName(Sv word)
{
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    const auto it = std::lower_bound(std::begin(CssNames), std::end(CssNames), lower,
                                     [](const TCssName &n, const std::string &w) { return Sv(n.name) < w; });
    if (it != std::end(CssNames) && Sv(it->name) == lower)
        return RGB((it->rgb >> 16) & 0xFF, (it->rgb >> 8) & 0xFF, it->rgb & 0xFF);
    for (const auto &n : StandardColors)
        if (EqualsNoCase(word, n.ident))
            return n.value;
    return std::nullopt;
}

// The alpha of a CSS colour: a number 0-1 or a percentage; read only to refuse a bad one.
bool IsAlpha(Sv s)
{
    if (!s.empty() && s.back() == '%')
        return ReadPercent(s).has_value();
    const auto v = ReadDecimal(s, false, false);
    return v && *v <= 1;
}

// The values between the parentheses of a CSS function: three, and an optional alpha.
std::optional<std::vector<Sv>> CssArguments(Sv inner)
{
    std::vector<Sv> values;
    Sv alpha;
    bool hasAlpha = false;
    if (inner.find(',') != Sv::npos) {
        values = Split(inner, ',');
        if (values.size() == 4) {
            alpha = values.back();
            hasAlpha = true;
            values.pop_back();
        }
        for (Sv v : values)
            if (v.empty() || HasBlank(v))
                return std::nullopt;
    } else {
        const std::vector<Sv> halves = Split(inner, '/');
        if (halves.size() > 2)
            return std::nullopt;
        values = SplitBlanks(halves[0]);
        if (halves.size() == 2) {
            alpha = halves[1];
            hasAlpha = true;
        }
    }
    if (values.size() != 3 || (hasAlpha && (alpha.empty() || HasBlank(alpha) || !IsAlpha(alpha))))
        return std::nullopt;
    return values;
}

std::optional<TColor> ParseCssRgb(Sv inner)
{
    const auto args = CssArguments(inner);
    if (!args)
        return std::nullopt;
    int c[3];
    const bool percent = (*args)[0].back() == '%';
    for (int i = 0; i < 3; ++i) {
        const Sv a = (*args)[i];
        if ((a.back() == '%') != percent)
            return std::nullopt; // integers and percentages are not mixed
        if (percent) {
            const auto p = ReadPercent(a);
            if (!p)
                return std::nullopt;
            c[i] = ByteOfPercent(*p);
        } else {
            const auto v = ReadByteInteger(a);
            if (!v)
                return std::nullopt;
            c[i] = *v;
        }
    }
    return RGB(c[0], c[1], c[2]);
}

std::optional<TColor> ParseCssHsl(Sv inner)
{
    const auto args = CssArguments(inner);
    if (!args)
        return std::nullopt;
    Sv hueText = (*args)[0];
    if (hueText.size() > 3 && EqualsNoCase(hueText.substr(hueText.size() - 3), "deg"))
        hueText.remove_suffix(3);
    const auto h = ReadDecimal(hueText, false, false);
    const auto s = ReadPercent((*args)[1]);
    const auto l = ReadPercent((*args)[2]);
    if (!h || *h > 360 || !s || !l)
        return std::nullopt;
    // The CSS conversion, in percent units.
    const double a = *s * std::min(*l, 100 - *l) / 100;
    const auto channel = [&](double n) {
        const double k = std::fmod(n + *h / 30, 12);
        return ByteOfPercent(*l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0})));
    };
    return RGB(channel(0), channel(8), channel(4));
}

// "name(...)" with the name in any case.
std::optional<TColor> ParseCssFunction(Sv s)
{
    const size_t open = s.find('(');
    if (s.back() != ')' || s.find('(', open + 1) != Sv::npos || s.find(')') != s.size() - 1)
        return std::nullopt;
    const Sv name = s.substr(0, open);
    const Sv inner = Trim(s.substr(open + 1, s.size() - open - 2));
    if (EqualsNoCase(name, "rgb") || EqualsNoCase(name, "rgba"))
        return ParseCssRgb(inner);
    if (EqualsNoCase(name, "hsl") || EqualsNoCase(name, "hsla"))
        return ParseCssHsl(inner);
    return std::nullopt;
}

// Takes a lower-case word followed by the end or a non-letter.
bool TakeWord(Sv &s, Sv word)
{
    if (s.substr(0, word.size()) != word)
        return false;
    if (s.size() > word.size() && Lower(s[word.size()]) >= 'a' && Lower(s[word.size()]) <= 'z')
        return false;
    s.remove_prefix(word.size());
    s = Trim(s);
    return true;
}

std::optional<TColor> ParsePov(Sv s)
{
    if (TakeWord(s, "pigment")) {
        if (s.size() < 2 || s.front() != '{' || s.back() != '}')
            return std::nullopt;
        s = Trim(s.substr(1, s.size() - 2));
    }
    if (!TakeWord(s, "color"))
        TakeWord(s, "colour");
    int count = 0;
    for (Sv keyword : {"srgbf", "srgbt", "srgb", "rgbf", "rgbt", "rgb"}) {
        Sv rest = s;
        if (rest.substr(0, keyword.size()) == keyword && rest.size() > keyword.size()
            && (rest[keyword.size()] == '<' || IsBlank(rest[keyword.size()]))) {
            s = Trim(rest.substr(keyword.size()));
            count = keyword.back() == 'b' ? 3 : 4;
            break;
        }
    }
    if (count == 0 || s.size() < 2 || s.front() != '<' || s.back() != '>')
        return std::nullopt;
    const std::vector<Sv> values = Split(s.substr(1, s.size() - 2), ',');
    if (static_cast<int>(values.size()) != count)
        return std::nullopt;
    double v[4] = {};
    for (int i = 0; i < count; ++i) {
        const auto x = ReadDecimal(values[i], true, true);
        if (!x || *x > 1)
            return std::nullopt;
        v[i] = *x;
    }
    return RGB(ByteOfFraction(v[0]), ByteOfFraction(v[1]), ByteOfFraction(v[2]));
}

std::optional<TColor> ParseThreeNumbers(Sv s)
{
    if (s.find_first_of("\r\n\f\v") != Sv::npos)
        return std::nullopt; // one line only: spaces and tabs separate
    std::vector<Sv> parts = s.find(',') != Sv::npos ? Split(s, ',') : SplitBlanks(s);
    if (parts.size() != 3)
        return std::nullopt;
    for (Sv p : parts)
        if (p.empty() || HasBlank(p))
            return std::nullopt;
    const bool fractions = std::any_of(parts.begin(), parts.end(), [](Sv p) { return p.find('.') != Sv::npos; });
    int c[3];
    if (fractions) {
        for (int i = 0; i < 3; ++i) {
            const auto v = ReadDecimal(parts[i], false, false);
            if (!v || *v > 1)
                return std::nullopt;
            c[i] = ByteOfFraction(*v);
        }
    } else {
        bool onlyZeroOne = true, allZero = true;
        for (int i = 0; i < 3; ++i) {
            const auto v = ReadByteInteger(parts[i]);
            if (!v)
                return std::nullopt;
            c[i] = *v;
            onlyZeroOne = onlyZeroOne && *v <= 1;
            allZero = allZero && *v == 0;
        }
        if (onlyZeroOne && !allZero)
            return std::nullopt; // 0-255 or 0-1: either reading would be a guess
    }
    return RGB(c[0], c[1], c[2]);
}

} // namespace

std::span<const TCssName> CssColorNames()
{
    return CssNames;
}

std::optional<TColor> ParseAnyColor(QStringView text)
{
    if (text.size() > MaxTextLength)
        return std::nullopt;
    qsizetype from = 0, to = text.size();
    const auto blank = [](QChar c) { return c.unicode() <= 32 || c.isSpace(); };
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    if (to == from || to - from > MaxNotationLength)
        return std::nullopt;
    std::string ascii;
    ascii.reserve(static_cast<size_t>(to - from));
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = text[i].unicode();
        if (c > 126)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    const Sv s = ascii;
    if (s.front() == '#')
        return ParseHash(s.substr(1));
    if (s.front() == '$')
        return ParseConstant(s.substr(1));
    if (Lower(s.front()) >= 'a' && Lower(s.front()) <= 'z') {
        const size_t wordEnd = std::min(s.size(), s.find_first_not_of(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        if (wordEnd == s.size())
            return ParseName(s);
        if (s[wordEnd] == '(')
            return ParseCssFunction(s);
        return ParsePov(s);
    }
    return ParseThreeNumbers(s);
}
