#include "colour/CssTokens.h"

#include "colour/TextScan.h"

#include <charconv>
#include <cmath>

namespace css {
namespace {

using textscan::IsDigitChar;
using textscan::IsLetter;
using textscan::Lower;

bool IsDigit(char c) { return IsDigitChar(c); }
bool IsNameStart(char c) { return IsLetter(c) || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c) || c == '-'; }
bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Whether a number starts at i: digits, a point and a digit, or a sign before either.
bool NumberStarts(std::string_view s, size_t i)
{
    const auto digitAt = [&](size_t j) { return j < s.size() && IsDigit(s[j]); };
    if (digitAt(i))
        return true;
    if (s[i] == '.')
        return digitAt(i + 1);
    if (s[i] == '+' || s[i] == '-')
        return digitAt(i + 1) || (i + 1 < s.size() && s[i + 1] == '.' && digitAt(i + 2));
    return false;
}

// Whether an identifier starts at i: a name start, or "-" before a name start or another "-".
bool IdentStarts(std::string_view s, size_t i)
{
    if (IsNameStart(s[i]))
        return true;
    return s[i] == '-' && i + 1 < s.size() && (IsNameStart(s[i + 1]) || s[i + 1] == '-');
}

// The end of the number starting at i, as CSS's tokenizer takes it.
size_t NumberEnd(std::string_view s, size_t i)
{
    if (s[i] == '+' || s[i] == '-')
        ++i;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    if (i + 1 < s.size() && s[i] == '.' && IsDigit(s[i + 1])) {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
    }
    if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

std::optional<double> NumberValue(std::string_view s)
{
    const bool negative = s.front() == '-';
    if (s.front() == '+' || s.front() == '-')
        s.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

} // namespace

bool NameIs(std::string_view name, std::string_view lowerCase)
{
    if (name.size() != lowerCase.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (Lower(name[i]) != lowerCase[i])
            return false;
    }
    return true;
}

std::optional<std::vector<TToken>> Tokenize(std::string_view s)
{
    std::vector<TToken> tokens;
    tokens.reserve(s.size() / 2 + 2);
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        TToken t;
        if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            // A comment is nothing at all; one left open runs to the end.
            const size_t end = s.find("*/", i + 2);
            i = end == std::string_view::npos ? s.size() : end + 2;
            continue;
        }
        if (IsWhitespace(c)) {
            while (i < s.size() && IsWhitespace(s[i]))
                ++i;
            t.Type = TTokenType::Whitespace;
        } else if (NumberStarts(s, i)) {
            const size_t end = NumberEnd(s, i);
            const auto v = NumberValue(s.substr(i, end - i));
            if (!v)
                return std::nullopt;
            t.Value = *v;
            i = end;
            if (i < s.size() && s[i] == '%') {
                t.Type = TTokenType::Percentage;
                ++i;
            } else if (i < s.size() && IdentStarts(s, i)) {
                const size_t from = i;
                while (i < s.size() && IsNameChar(s[i]))
                    ++i;
                t.Type = TTokenType::Dimension;
                t.Text = s.substr(from, i - from);
            } else {
                t.Type = TTokenType::Number;
            }
        } else if (IdentStarts(s, i)) {
            const size_t from = i;
            while (i < s.size() && IsNameChar(s[i]))
                ++i;
            t.Text = s.substr(from, i - from);
            t.Type = TTokenType::Ident;
            if (i < s.size() && s[i] == '(') {
                t.Type = TTokenType::Function;
                ++i;
            }
        } else if (c == '#' && i + 1 < s.size() && IsNameChar(s[i + 1])) {
            const size_t from = ++i;
            while (i < s.size() && IsNameChar(s[i]))
                ++i;
            t.Type = TTokenType::Hash;
            t.Text = s.substr(from, i - from);
        } else if (c == '"' || c == '\'' || c == '\\' || c == '[' || c == ']' || c == '{' || c == '}') {
            return std::nullopt;
        } else {
            t.Type = c == ',' ? TTokenType::Comma
                     : c == '/' ? TTokenType::Slash
                     : c == '(' ? TTokenType::OpenParen
                     : c == ')' ? TTokenType::CloseParen
                                : TTokenType::Delim;
            t.Text = s.substr(i, 1);
            ++i;
        }
        tokens.push_back(t);
    }
    tokens.push_back(TToken{});
    return tokens;
}

void TTokenStream::SkipWhitespace()
{
    while (Peek().Type == TTokenType::Whitespace)
        Next();
}

bool TTokenStream::Take(TTokenType type)
{
    SkipWhitespace();
    if (Peek().Type != type)
        return false;
    Next();
    return true;
}

bool TTokenStream::TakeIdent(std::string_view lowerCase)
{
    SkipWhitespace();
    if (Peek().Type != TTokenType::Ident || !NameIs(Peek().Text, lowerCase))
        return false;
    Next();
    return true;
}

} // namespace css
