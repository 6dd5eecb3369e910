#include "colour/AnyColor.h"

#include "colour/CssColor.h"
#include "colour/ExactColour.h"
#include "colour/TextScan.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace textscan;

namespace {

// No notation is longer than this; a longer text (a whole document pasted) is refused at once.
constexpr qsizetype MaxNotationLength = 300;
// Except a CSS function, where relative colours and color-mix() nest colours and calculations.
constexpr qsizetype MaxCssFunctionLength = 64 * 1024;
// Blanks around a notation are skipped up to this length of the whole text; anything longer is
// refused without a look, so that no paste or drop costs more than a moment.
constexpr qsizetype MaxTextLength = 1 << 20;

using TResult = std::optional<TExactColour>;

TResult Plain(int r, int g, int b, double alpha = 1) { return TExactColour::FromRgb8({r, g, b}, alpha); }
TResult FromValue(TColor c) { return Plain(GetRValue(c), GetGValue(c), GetBValue(c)); }

// sRGB 0-1 as written (shader and scene code), not legacy CSS.
TResult Fractions(double r, double g, double b, double alpha = 1)
{
    TExactColour c;
    c.Coords = {r, g, b};
    c.Alpha = alpha;
    return c;
}

TResult ParseConstant(Sv digits)
{
    const auto v = ReadHex(digits);
    if (!v)
        return std::nullopt;
    if (digits.size() == 6)
        return FromValue(static_cast<TColor>(*v));
    if (digits.size() == 8 && (*v >> 24) <= 2)
        return FromValue(static_cast<TColor>(*v));
    return std::nullopt;
}

// 0xAARRGGBB or 0xRRGGBB, as C, C++, Java and Qt write colours.
TResult ParseHexInteger(Sv digits)
{
    const auto v = ReadHex(digits);
    if (!v || (digits.size() != 6 && digits.size() != 8))
        return std::nullopt;
    const double alpha = digits.size() == 8 ? (*v >> 24) / 255.0 : 1;
    return Plain((*v >> 16) & 0xFF, (*v >> 8) & 0xFF, *v & 0xFF, alpha);
}

TResult ParseName(Sv word)
{
    if (const auto css = css::NamedColour(word))
        return css;
    for (const auto &n : StandardColors)
        if (EqualsNoCase(word, n.ident))
            return FromValue(n.value);
    return std::nullopt;
}

// Numbers separated by commas: three 0-1 (`bytes` false) or three integers 0-255 (`bytes` true)
// make the colour, and a fourth, when `alphaAllowed`, is an alpha in the same scale.
TResult ParseNumberList(Sv inner, bool bytes, bool alphaAllowed)
{
    const std::vector<Sv> parts = Split(inner, ',');
    if (parts.size() != 3 && !(alphaAllowed && parts.size() == 4))
        return std::nullopt;
    double c[4] = {0, 0, 0, bytes ? 255.0 : 1.0};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (bytes) {
            const auto v = ReadByteInteger(parts[i]);
            if (!v)
                return std::nullopt;
            c[i] = *v;
        } else {
            const auto v = ReadDecimal(parts[i], false, false);
            if (!v || *v > 1)
                return std::nullopt;
            c[i] = *v;
        }
    }
    if (bytes)
        return Plain(static_cast<int>(c[0]), static_cast<int>(c[1]), static_cast<int>(c[2]), c[3] / 255);
    return Fractions(c[0], c[1], c[2], c[3]);
}

// The colour constructors of shader and toolkit code: GLSL's vec3()/vec4(), Qt's QColor() and
// QML's Qt.rgba(), by the name before the parenthesis and what stands between them.
TResult ParseCodeFunction(Sv name, Sv inner)
{
    if (name == "vec3")
        return ParseNumberList(inner, false, false);
    if (name == "vec4" || name == "Qt.rgba")
        return ParseNumberList(inner, false, true);
    if (name == "QColor")
        return ParseNumberList(inner, true, true);
    return std::nullopt;
}

// \definecolor{name}{model}{values} of LaTeX's xcolor with the models HTML, rgb and RGB.
TResult ParseLatex(Sv s)
{
    constexpr Sv command = "\\definecolor";
    if (s.substr(0, command.size()) != command)
        return std::nullopt;
    s.remove_prefix(command.size());
    Sv groups[3];
    for (Sv &g : groups) {
        s = Trim(s);
        const size_t close = s.find('}');
        if (s.empty() || s.front() != '{' || close == Sv::npos)
            return std::nullopt;
        g = Trim(s.substr(1, close - 1));
        s.remove_prefix(close + 1);
    }
    if (!Trim(s).empty() || groups[0].empty())
        return std::nullopt;
    if (groups[1] == "HTML")
        return groups[2].size() == 6 ? ParseHexInteger(groups[2]) : std::nullopt;
    if (groups[1] == "rgb")
        return ParseNumberList(groups[2], false, false);
    if (groups[1] == "RGB")
        return ParseNumberList(groups[2], true, false);
    return std::nullopt;
}

// A CSS colour function, or "name(...)" of program code with nothing after the closing
// parenthesis and no parenthesis inside.
TResult ParseFunction(Sv s)
{
    if (StartsAsCssFunction(s))
        return ParseCssColour(s);
    if (s.size() > MaxNotationLength)
        return std::nullopt;
    const size_t open = s.find('(');
    if (s.back() != ')' || s.find('(', open + 1) != Sv::npos || s.find(')') != s.size() - 1)
        return std::nullopt;
    return ParseCodeFunction(s.substr(0, open), Trim(s.substr(open + 1, s.size() - open - 2)));
}

// Takes a lower-case word followed by the end or a non-letter.
bool TakeWord(Sv &s, Sv word)
{
    if (s.substr(0, word.size()) != word)
        return false;
    if (s.size() > word.size() && IsLetter(s[word.size()]))
        return false;
    s.remove_prefix(word.size());
    s = Trim(s);
    return true;
}

TResult ParsePov(Sv s)
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
    return Fractions(v[0], v[1], v[2]);
}

TResult ParseThreeNumbers(Sv s)
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
        double f[3];
        for (int i = 0; i < 3; ++i) {
            const auto v = ReadDecimal(parts[i], false, false);
            if (!v || *v > 1)
                return std::nullopt;
            f[i] = *v;
        }
        return Fractions(f[0], f[1], f[2]);
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
    return Plain(c[0], c[1], c[2]);
}

TResult ParseAscii(Sv s)
{
    // CSS comments before the colour are nothing.
    while (s.size() >= 2 && s[0] == '/' && s[1] == '*') {
        const size_t end = s.find("*/", 2);
        if (end == Sv::npos)
            return std::nullopt;
        s.remove_prefix(end + 2);
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
            s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    // Only CSS functions (relative colours and color-mix() nest) may be longer than a notation.
    if (s.size() > MaxNotationLength && !IsLetter(s.front()))
        return std::nullopt;
    if (s.front() == '#')
        return css::HexColour(s.substr(1));
    if (s.front() == '$')
        return ParseConstant(s.substr(1));
    if (s.front() == '\\')
        return ParseLatex(s);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        return ParseHexInteger(s.substr(2));
    if (IsLetter(s.front())) {
        size_t wordEnd = 0;
        while (wordEnd < s.size() && IsLetter(s[wordEnd]))
            ++wordEnd;
        if (wordEnd == s.size())
            return ParseName(s);
        // A function's name may hold digits, dots and hyphens (vec3, Qt.rgba, color-mix).
        size_t nameEnd = wordEnd;
        while (nameEnd < s.size()
               && (IsLetter(s[nameEnd]) || IsDigitChar(s[nameEnd]) || s[nameEnd] == '.' || s[nameEnd] == '-'))
            ++nameEnd;
        if (nameEnd < s.size() && s[nameEnd] == '(')
            return ParseFunction(s);
        if (s.size() > MaxNotationLength)
            return std::nullopt;
        return ParsePov(s);
    }
    return ParseThreeNumbers(s);
}

// The text without blanks around it, when it is short enough and plain ASCII.
std::optional<std::string> TrimmedAscii(QStringView text)
{
    if (text.size() > MaxTextLength)
        return std::nullopt;
    qsizetype from = 0, to = text.size();
    const auto blank = [](QChar c) { return c.unicode() <= 32 || c.isSpace(); };
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    if (to == from || to - from > MaxCssFunctionLength)
        return std::nullopt;
    std::string ascii;
    ascii.reserve(static_cast<size_t>(to - from));
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = text[i].unicode();
        if (c > 126)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    return ascii;
}

std::optional<TExactReading> ReadAscii(Sv ascii)
{
    const auto colour = ParseAscii(ascii);
    if (!colour)
        return std::nullopt;
    // A colour that no finite number describes in XYZ or sRGB (a coordinate near the largest
    // double, as an infinite calculation gives) is refused.
    const auto finite = [](const TVec3 &v) {
        return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
    };
    if (!finite(ToSrgb(colour->Space, colour->Coords)) || !finite(ToXyzD65(colour->Space, colour->Coords)))
        return std::nullopt;
    return TExactReading{*colour, !colour->InSrgb()};
}

} // namespace

std::optional<TExactReading> ReadExactColour(QStringView text)
{
    const auto ascii = TrimmedAscii(text);
    return ascii ? ReadAscii(*ascii) : std::nullopt;
}

std::optional<TColourReading> ReadAnyColor(QStringView text)
{
    const auto ascii = TrimmedAscii(text);
    if (!ascii)
        return std::nullopt;
    const auto reading = ReadAscii(*ascii);
    if (!reading)
        return std::nullopt;
    // The 8-bit reading has no alpha, so "transparent", which is nothing but alpha, is refused.
    if (EqualsNoCase(*ascii, "transparent"))
        return std::nullopt;
    // $01BBGGRR and $02BBGGRR keep their high byte, as the constant restore takes them.
    if (ascii->front() == '$')
        if (const auto v = ReadHex(Sv(*ascii).substr(1)))
            return TColourReading{static_cast<TColor>(*v), false};
    const TRgb8 rgb = reading->Colour.Rgb8();
    return TColourReading{RGB(rgb.R, rgb.G, rgb.B), reading->Mapped};
}

std::optional<TColor> ParseAnyColor(QStringView text)
{
    const auto reading = ReadAnyColor(text);
    return reading ? std::optional(reading->Color) : std::nullopt;
}
