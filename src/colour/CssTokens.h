#pragma once

// The tokens of CSS's syntax that colour values are made of, over an ASCII text, and a cursor
// over them for the recursive-descent readers of colours and math functions.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace css {

enum class TTokenType {
    Ident,      // Text: the name
    Function,   // Text: the name, without the "("
    Hash,       // Text: what follows "#"
    Number,     // Value
    Percentage, // Value: the number before "%"
    Dimension,  // Value and Text: the unit
    Whitespace,
    Comma,
    Slash,
    OpenParen,
    CloseParen,
    Delim,      // Text: the one character (+ - * and anything else)
    End,
};

struct TToken {
    TTokenType Type = TTokenType::End;
    std::string_view Text;
    double Value = 0;
};

// The tokens of a text, ending with an End token. Empty for a text CSS would not tokenize the
// same way (strings, escapes, comments, brackets, braces, a number too large for a double).
std::optional<std::vector<TToken>> Tokenize(std::string_view text);

bool NameIs(std::string_view name, std::string_view lowerCase);

// A cursor over tokens. Nesting of functions and parentheses is counted; a reader that goes
// deeper than MaxDepth fails, so that no text can exhaust the stack.
class TTokenStream {
public:
    static constexpr int MaxDepth = 200;

    explicit TTokenStream(const std::vector<TToken> &tokens) : FTokens(tokens) {}

    const TToken &Peek() const { return FTokens[FPos]; }
    const TToken &Next() { return FTokens[FPos < FTokens.size() - 1 ? FPos++ : FPos]; }
    void SkipWhitespace();
    // The next token after any whitespace, taken if it has the type.
    bool Take(TTokenType type);
    // The next token after any whitespace, taken if it is the identifier, in any case.
    bool TakeIdent(std::string_view lowerCase);
    bool AtEnd() const { return Peek().Type == TTokenType::End; }
    // A place to come back to, for looking past whitespace.
    size_t Mark() const { return FPos; }
    void Reset(size_t mark) { FPos = mark; }

    // Enters a function's or parenthesis' contents; false when too deep.
    bool Enter() { return ++FDepth <= MaxDepth; }
    void Leave() { --FDepth; }

private:
    const std::vector<TToken> &FTokens;
    size_t FPos = 0;
    int FDepth = 0;
};

} // namespace css
