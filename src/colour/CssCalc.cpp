#include "colour/CssCalc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace css {
namespace {

using TResult = std::optional<TNumeric>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double DegreesPerRadian = 180 / std::numbers::pi;

// Two operands brought to one type: a percentage meeting a number becomes the number it means,
// and in a hue a number meeting an angle is degrees. Empty where the types cannot meet.
bool Unify(TNumeric &a, TNumeric &b, const TCalcContext &c)
{
    if (a.Type == b.Type)
        return true;
    const auto toNumber = [&](TNumeric &x) {
        x.Value = x.Value * c.PercentScale / 100;
        x.Type = TNumericType::Number;
    };
    if (a.Type == TNumericType::Percent && b.Type == TNumericType::Number) {
        toNumber(a);
        return true;
    }
    if (b.Type == TNumericType::Percent && a.Type == TNumericType::Number) {
        toNumber(b);
        return true;
    }
    if (c.Hue && (a.Type == TNumericType::Number || b.Type == TNumericType::Number)
        && (a.Type == TNumericType::Angle || b.Type == TNumericType::Angle)) {
        a.Type = b.Type = TNumericType::Angle;
        return true;
    }
    return false;
}

class TReader {
public:
    TReader(TTokenStream &ts, const TCalcContext &c) : Ts(ts), C(c) {}

    TResult Function();

private:
    TResult Sum();
    TResult Product();
    TResult Value();
    // Comma-separated sums up to the closing parenthesis, which is taken.
    std::optional<std::vector<TNumeric>> Arguments();
    // The arguments unified to one type.
    std::optional<std::vector<TNumeric>> SameTypeArguments(size_t min, size_t max);
    TResult Round();
    TResult Named(std::string_view name);

    TTokenStream &Ts;
    const TCalcContext &C;
};

TResult TReader::Sum()
{
    auto left = Product();
    if (!left)
        return std::nullopt;
    for (;;) {
        const size_t mark = Ts.Mark();
        const bool spaceBefore = Ts.Peek().Type == TTokenType::Whitespace;
        Ts.SkipWhitespace();
        const TToken &op = Ts.Peek();
        if (op.Type != TTokenType::Delim || (op.Text != "+" && op.Text != "-")) {
            Ts.Reset(mark);
            return left;
        }
        const bool minus = op.Text == "-";
        Ts.Next();
        // CSS wants whitespace on both sides of + and -.
        if (!spaceBefore || Ts.Peek().Type != TTokenType::Whitespace)
            return std::nullopt;
        Ts.SkipWhitespace();
        auto right = Product();
        if (!right || !Unify(*left, *right, C))
            return std::nullopt;
        left->Value = minus ? left->Value - right->Value : left->Value + right->Value;
    }
}

TResult TReader::Product()
{
    auto left = Value();
    if (!left)
        return std::nullopt;
    for (;;) {
        const size_t mark = Ts.Mark();
        Ts.SkipWhitespace();
        const TToken &op = Ts.Peek();
        const bool times = op.Type == TTokenType::Delim && op.Text == "*";
        if (!times && op.Type != TTokenType::Slash) {
            Ts.Reset(mark);
            return left;
        }
        Ts.Next();
        Ts.SkipWhitespace();
        auto right = Value();
        if (!right)
            return std::nullopt;
        if (times) {
            // One side of a product is a plain number.
            if (left->Type == TNumericType::Number)
                std::swap(left, right);
            if (right->Type != TNumericType::Number)
                return std::nullopt;
            left->Value *= right->Value;
        } else {
            if (right->Type != TNumericType::Number)
                return std::nullopt;
            left->Value /= right->Value; // by 0: an infinity or NaN, as CSS has it
        }
    }
}

TResult TReader::Value()
{
    const TToken t = Ts.Peek();
    switch (t.Type) {
    case TTokenType::Number: Ts.Next(); return TNumeric{t.Value, TNumericType::Number};
    case TTokenType::Percentage: Ts.Next(); return TNumeric{t.Value, TNumericType::Percent};
    case TTokenType::Dimension: {
        Ts.Next();
        const auto unit = DegreesPerUnit(t.Text);
        return unit ? TResult(TNumeric{t.Value * *unit, TNumericType::Angle}) : std::nullopt;
    }
    case TTokenType::Ident: {
        Ts.Next();
        if (NameIs(t.Text, "e"))
            return TNumeric{std::numbers::e};
        if (NameIs(t.Text, "pi"))
            return TNumeric{std::numbers::pi};
        if (NameIs(t.Text, "infinity"))
            return TNumeric{Infinity};
        if (NameIs(t.Text, "-infinity"))
            return TNumeric{-Infinity};
        if (NameIs(t.Text, "nan"))
            return TNumeric{NaN};
        for (const TChannelKeyword &k : C.Keywords)
            if (NameIs(t.Text, k.Name))
                return TNumeric{k.Value};
        return std::nullopt;
    }
    case TTokenType::OpenParen: {
        Ts.Next();
        if (!Ts.Enter())
            return std::nullopt;
        Ts.SkipWhitespace();
        auto v = Sum();
        Ts.Leave();
        return v && Ts.Take(TTokenType::CloseParen) ? v : std::nullopt;
    }
    case TTokenType::Function: return Function();
    default: return std::nullopt;
    }
}

std::optional<std::vector<TNumeric>> TReader::Arguments()
{
    std::vector<TNumeric> args;
    for (;;) {
        Ts.SkipWhitespace();
        auto v = Sum();
        if (!v)
            return std::nullopt;
        args.push_back(*v);
        if (Ts.Take(TTokenType::CloseParen))
            return args;
        if (!Ts.Take(TTokenType::Comma))
            return std::nullopt;
    }
}

std::optional<std::vector<TNumeric>> TReader::SameTypeArguments(size_t min, size_t max)
{
    auto args = Arguments();
    if (!args || args->size() < min || args->size() > max)
        return std::nullopt;
    for (size_t pass = 0; pass < 2; ++pass) // a change of type late in the list reaches the first
        for (size_t i = 1; i < args->size(); ++i)
            if (!Unify((*args)[0], (*args)[i], C))
                return std::nullopt;
    return args;
}

TResult TReader::Round()
{
    enum { Nearest, Up, Down, ToZero } strategy = Nearest;
    bool named = true;
    if (Ts.TakeIdent("nearest"))
        strategy = Nearest;
    else if (Ts.TakeIdent("up"))
        strategy = Up;
    else if (Ts.TakeIdent("down"))
        strategy = Down;
    else if (Ts.TakeIdent("to-zero"))
        strategy = ToZero;
    else
        named = false;
    if (named && !Ts.Take(TTokenType::Comma))
        return std::nullopt;
    auto args = SameTypeArguments(1, 2);
    if (!args)
        return std::nullopt;
    if (args->size() == 1) {
        if ((*args)[0].Type != TNumericType::Number)
            return std::nullopt;
        args->push_back(TNumeric{1});
    }
    const double a = (*args)[0].Value, b = (*args)[1].Value;
    double r;
    if (b == 0 || std::isnan(a) || std::isnan(b))
        r = NaN;
    else if (std::isinf(a))
        r = std::isinf(b) ? NaN : a;
    else if (std::isinf(b))
        r = strategy == Up ? (a > 0 ? Infinity : std::copysign(0.0, a))
            : strategy == Down ? (a < 0 ? -Infinity : std::copysign(0.0, a))
                               : std::copysign(0.0, a);
    else {
        const double q = a / b;
        const double n = strategy == Up ? std::ceil(q) : strategy == Down ? std::floor(q)
                         : strategy == ToZero ? std::trunc(q) : std::floor(q + 0.5);
        r = n * b;
    }
    return TNumeric{r, (*args)[0].Type};
}

TResult TReader::Named(std::string_view name)
{
    const auto one = [&](bool numberOnly) -> std::optional<TNumeric> {
        auto args = Arguments();
        if (!args || args->size() != 1 || (numberOnly && (*args)[0].Type != TNumericType::Number))
            return std::nullopt;
        return (*args)[0];
    };
    const auto number = [](double v) { return TResult(TNumeric{v}); };
    const auto angle = [](double radians) { return TResult(TNumeric{radians * DegreesPerRadian, TNumericType::Angle}); };

    if (NameIs(name, "calc")) {
        auto args = Arguments();
        return args && args->size() == 1 ? TResult((*args)[0]) : std::nullopt;
    }
    if (NameIs(name, "min") || NameIs(name, "max")) {
        const auto args = SameTypeArguments(1, SIZE_MAX);
        if (!args)
            return std::nullopt;
        TNumeric r = (*args)[0];
        for (const TNumeric &v : *args) {
            if (std::isnan(v.Value) || std::isnan(r.Value))
                r.Value = NaN;
            else
                r.Value = NameIs(name, "min") ? std::min(r.Value, v.Value) : std::max(r.Value, v.Value);
        }
        return r;
    }
    if (NameIs(name, "clamp")) {
        const auto args = SameTypeArguments(3, 3);
        if (!args)
            return std::nullopt;
        const double lo = (*args)[0].Value, v = (*args)[1].Value, hi = (*args)[2].Value;
        const double r = std::isnan(lo) || std::isnan(v) || std::isnan(hi) ? NaN : std::max(lo, std::min(v, hi));
        return TNumeric{r, (*args)[0].Type};
    }
    if (NameIs(name, "round"))
        return Round();
    if (NameIs(name, "mod") || NameIs(name, "rem")) {
        const auto args = SameTypeArguments(2, 2);
        if (!args)
            return std::nullopt;
        const double a = (*args)[0].Value, b = (*args)[1].Value;
        double r;
        if (b == 0 || std::isinf(a) || std::isnan(a) || std::isnan(b))
            r = NaN;
        else if (std::isinf(b))
            r = NameIs(name, "rem") || std::signbit(a) == std::signbit(b) ? a : NaN;
        else if (NameIs(name, "rem"))
            r = std::fmod(a, b);
        else
            r = a - b * std::floor(a / b);
        return TNumeric{r, (*args)[0].Type};
    }
    if (NameIs(name, "abs")) {
        auto v = one(false);
        if (v)
            v->Value = std::abs(v->Value);
        return v;
    }
    if (NameIs(name, "sign")) {
        const auto v = one(false);
        if (!v)
            return std::nullopt;
        const double x = v->Value;
        return number(std::isnan(x) ? NaN : x > 0 ? 1 : x < 0 ? -1 : x);
    }
    if (NameIs(name, "sin") || NameIs(name, "cos") || NameIs(name, "tan")) {
        const auto v = one(false);
        if (!v || v->Type == TNumericType::Percent)
            return std::nullopt;
        const double radians = v->Type == TNumericType::Angle ? v->Value / DegreesPerRadian : v->Value;
        return number(NameIs(name, "sin") ? std::sin(radians) : NameIs(name, "cos") ? std::cos(radians) : std::tan(radians));
    }
    if (NameIs(name, "asin") || NameIs(name, "acos") || NameIs(name, "atan")) {
        const auto v = one(true);
        if (!v)
            return std::nullopt;
        return angle(NameIs(name, "asin") ? std::asin(v->Value) : NameIs(name, "acos") ? std::acos(v->Value) : std::atan(v->Value));
    }
    if (NameIs(name, "atan2")) {
        const auto args = SameTypeArguments(2, 2);
        return args ? angle(std::atan2((*args)[0].Value, (*args)[1].Value)) : std::nullopt;
    }
    if (NameIs(name, "pow")) {
        const auto args = Arguments();
        if (!args || args->size() != 2 || (*args)[0].Type != TNumericType::Number || (*args)[1].Type != TNumericType::Number)
            return std::nullopt;
        return number(std::pow((*args)[0].Value, (*args)[1].Value));
    }
    if (NameIs(name, "sqrt")) {
        const auto v = one(true);
        return v ? number(std::sqrt(v->Value)) : std::nullopt;
    }
    if (NameIs(name, "exp")) {
        const auto v = one(true);
        return v ? number(std::exp(v->Value)) : std::nullopt;
    }
    if (NameIs(name, "log")) {
        const auto args = Arguments();
        if (!args || args->empty() || args->size() > 2)
            return std::nullopt;
        for (const TNumeric &v : *args)
            if (v.Type != TNumericType::Number)
                return std::nullopt;
        const double l = std::log((*args)[0].Value);
        return number(args->size() == 2 ? l / std::log((*args)[1].Value) : l);
    }
    if (NameIs(name, "hypot")) {
        const auto args = SameTypeArguments(1, SIZE_MAX);
        if (!args)
            return std::nullopt;
        double sum = 0;
        bool infinite = false;
        for (const TNumeric &v : *args) {
            infinite = infinite || std::isinf(v.Value);
            sum += v.Value * v.Value;
        }
        return TNumeric{infinite ? Infinity : std::sqrt(sum), (*args)[0].Type};
    }
    return std::nullopt;
}

TResult TReader::Function()
{
    const TToken t = Ts.Next();
    if (t.Type != TTokenType::Function || !IsMathFunction(t.Text) || !Ts.Enter())
        return std::nullopt;
    auto v = Named(t.Text);
    Ts.Leave();
    return v;
}

} // namespace

bool IsMathFunction(std::string_view name)
{
    static constexpr std::string_view names[] = {"calc", "min", "max", "clamp", "round", "mod", "rem",
                                                 "abs", "sign", "sin", "cos", "tan", "asin", "acos",
                                                 "atan", "atan2", "pow", "sqrt", "hypot", "log", "exp"};
    return std::any_of(std::begin(names), std::end(names), [&](std::string_view n) { return NameIs(name, n); });
}

std::optional<double> DegreesPerUnit(std::string_view unit)
{
    if (NameIs(unit, "deg"))
        return 1.0;
    if (NameIs(unit, "rad"))
        return DegreesPerRadian;
    if (NameIs(unit, "grad"))
        return 0.9;
    if (NameIs(unit, "turn"))
        return 360.0;
    return std::nullopt;
}

std::optional<TNumeric> ReadMathFunction(TTokenStream &ts, const TCalcContext &context)
{
    auto v = TReader(ts, context).Function();
    if (v && std::isnan(v->Value))
        v->Value = 0;
    return v;
}

} // namespace css
