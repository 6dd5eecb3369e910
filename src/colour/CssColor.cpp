#include "colour/CssColor.h"

#include "colour/AnyColor.h"
#include "colour/CssCalc.h"
#include "colour/TextScan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace css {
namespace {

enum class TKind { Number, Percent, Angle, None };

struct TComponent {
    TKind Kind = TKind::Number;
    double Value = 0; // an angle in degrees
};

// How one value of a colour function is read: what 100% means, whether it is a hue, and the
// origin colour's channel keywords in a relative colour.
struct TSlot {
    double Hundred = 1;
    bool Hue = false;
};

std::optional<TComponent> ReadComponent(TTokenStream &ts, const TSlot &slot, std::span<const TChannelKeyword> keywords)
{
    ts.SkipWhitespace();
    const TToken t = ts.Peek();
    switch (t.Type) {
    case TTokenType::Number: ts.Next(); return TComponent{TKind::Number, t.Value};
    case TTokenType::Percentage: ts.Next(); return TComponent{TKind::Percent, t.Value};
    case TTokenType::Dimension: {
        ts.Next();
        const auto unit = DegreesPerUnit(t.Text);
        return unit ? std::optional(TComponent{TKind::Angle, t.Value * *unit}) : std::nullopt;
    }
    case TTokenType::Ident:
        ts.Next();
        if (NameIs(t.Text, "none"))
            return TComponent{TKind::None};
        for (const TChannelKeyword &k : keywords)
            if (NameIs(t.Text, k.Name))
                return k.Missing ? TComponent{TKind::None} : TComponent{TKind::Number, k.Value};
        return std::nullopt;
    case TTokenType::Function: {
        if (!IsMathFunction(t.Text))
            return std::nullopt;
        const auto v = ReadMathFunction(ts, TCalcContext{slot.Hundred, slot.Hue, keywords});
        if (!v)
            return std::nullopt;
        const TKind kind = v->Type == TNumericType::Number    ? TKind::Number
                           : v->Type == TNumericType::Percent ? TKind::Percent
                                                              : TKind::Angle;
        return TComponent{kind, v->Value};
    }
    default: return std::nullopt;
    }
}

// The value a component stands for in its slot; empty for a kind the slot does not take.
std::optional<double> SlotValue(const TComponent &c, const TSlot &slot)
{
    switch (c.Kind) {
    case TKind::Number: return c.Value;
    case TKind::Percent: return slot.Hue ? std::nullopt : std::optional(c.Value * slot.Hundred / 100);
    case TKind::Angle: return slot.Hue ? std::optional(c.Value) : std::nullopt;
    case TKind::None: return 0.0;
    }
    return std::nullopt;
}

double WrappedHue(double h)
{
    if (!std::isfinite(h))
        return 0;
    h = std::fmod(h, 360);
    if (h < 0)
        h += 360;
    return h >= 360 ? 0 : h;
}

// An infinite value where CSS keeps values unclamped: the largest finite one, as CSS clamps it.
double Finite(double v)
{
    return std::clamp(v, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
}

// What a colour function is: its space, its values' slots, the names of its channel keywords and
// its clamps.
struct TFunction {
    TColourSpace Space;
    std::array<TSlot, 3> Slots;
    std::array<std::string_view, 3> Keywords;
    bool Legacy = false;        // rgb(), hsl() and hwb(): a legacy colour
    bool CommasAllowed = false; // rgb() and hsl() also take the comma syntax
    bool IsColor = false;       // color(): its space named first
};

constexpr TSlot Hue{1, true};

std::optional<TFunction> FunctionNamed(std::string_view name)
{
    if (NameIs(name, "rgb") || NameIs(name, "rgba"))
        return TFunction{TColourSpace::Srgb, {{{255}, {255}, {255}}}, {"r", "g", "b"}, true, true};
    if (NameIs(name, "hsl") || NameIs(name, "hsla"))
        return TFunction{TColourSpace::Hsl, {{Hue, {100}, {100}}}, {"h", "s", "l"}, true, true};
    if (NameIs(name, "hwb"))
        return TFunction{TColourSpace::Hwb, {{Hue, {100}, {100}}}, {"h", "w", "b"}, true, false};
    if (NameIs(name, "lab"))
        return TFunction{TColourSpace::Lab, {{{100}, {125}, {125}}}, {"l", "a", "b"}};
    if (NameIs(name, "lch"))
        return TFunction{TColourSpace::Lch, {{{100}, {150}, Hue}}, {"l", "c", "h"}};
    if (NameIs(name, "oklab"))
        return TFunction{TColourSpace::Oklab, {{{1}, {0.4}, {0.4}}}, {"l", "a", "b"}};
    if (NameIs(name, "oklch"))
        return TFunction{TColourSpace::Oklch, {{{1}, {0.4}, Hue}}, {"l", "c", "h"}};
    if (NameIs(name, "color"))
        return TFunction{TColourSpace::Srgb, {{{1}, {1}, {1}}}, {"r", "g", "b"}, false, false, true};
    return std::nullopt;
}

// Clamps an absolute colour's values as CSS does when it reads them.
void ClampAbsolute(TExactColour &c)
{
    auto &v = c.Coords;
    switch (c.Space) {
    case TColourSpace::Srgb:
        if (c.Legacy)
            for (double &x : v)
                x = std::clamp(x, 0.0, 1.0);
        break;
    case TColourSpace::Hsl:
    case TColourSpace::Hwb:
        v[1] = std::clamp(v[1], 0.0, 100.0);
        v[2] = std::clamp(v[2], 0.0, 100.0);
        break;
    case TColourSpace::Lab: v[0] = std::clamp(v[0], 0.0, 100.0); break;
    case TColourSpace::Lch:
        v[0] = std::clamp(v[0], 0.0, 100.0);
        v[1] = std::max(v[1], 0.0);
        break;
    case TColourSpace::Oklab: v[0] = std::clamp(v[0], 0.0, 1.0); break;
    case TColourSpace::Oklch:
        v[0] = std::clamp(v[0], 0.0, 1.0);
        v[1] = std::max(v[1], 0.0);
        break;
    default: break;
    }
}

std::optional<TExactColour> ReadFunction(TTokenStream &ts, TFunction f)
{
    std::optional<TExactColour> origin;
    if (ts.TakeIdent("from")) {
        origin = ReadColour(ts);
        if (!origin)
            return std::nullopt;
    }
    if (f.IsColor) {
        ts.SkipWhitespace();
        const TToken t = ts.Next();
        const auto space = t.Type == TTokenType::Ident ? PredefinedSpace(t.Text) : std::nullopt;
        if (!space)
            return std::nullopt;
        f.Space = *space;
        if (f.Space == TColourSpace::XyzD50 || f.Space == TColourSpace::XyzD65)
            f.Keywords = {"x", "y", "z"};
    }

    // The origin's channels in this function's space. A missing one (the origin's own "none",
    // or a hue the conversion made powerless) is 0 in a calculation and "none" on its own.
    std::vector<TChannelKeyword> keywords;
    if (origin) {
        const TExactColour o = origin->To(f.Space);
        for (size_t i = 0; i < 3; ++i) {
            double v = o.Missing[i] ? 0 : o.Coords[i];
            if (f.Space == TColourSpace::Srgb && !f.IsColor)
                v *= 255;
            if (f.Slots[i].Hue)
                v = WrappedHue(v);
            keywords.push_back({f.Keywords[i], v, o.Missing[i]});
        }
        keywords.push_back({"alpha", o.Missing[3] ? 0 : o.Alpha, o.Missing[3]});
    }

    std::array<TComponent, 3> values;
    bool commas = false;
    for (size_t i = 0; i < 3; ++i) {
        if (i > 0 && commas && !ts.Take(TTokenType::Comma))
            return std::nullopt;
        const auto c = ReadComponent(ts, f.Slots[i], keywords);
        if (!c)
            return std::nullopt;
        values[i] = *c;
        if (i == 0 && f.CommasAllowed && !origin) {
            const size_t mark = ts.Mark();
            commas = ts.Take(TTokenType::Comma);
            ts.Reset(mark);
        }
    }
    std::optional<TComponent> alpha;
    if (commas ? ts.Take(TTokenType::Comma) : ts.Take(TTokenType::Slash)) {
        alpha = ReadComponent(ts, TSlot{1}, keywords);
        if (!alpha || alpha->Kind == TKind::Angle)
            return std::nullopt;
    }
    if (!ts.Take(TTokenType::CloseParen))
        return std::nullopt;

    if (commas) {
        // The comma syntax: no "none"; rgb() takes three numbers or three percentages, hsl() a hue
        // and two percentages.
        for (size_t i = 0; i < 3; ++i) {
            const TKind k = values[i].Kind;
            if (k == TKind::None || (f.Space == TColourSpace::Srgb && k != values[0].Kind)
                || (f.Space == TColourSpace::Hsl && i > 0 && k != TKind::Percent))
                return std::nullopt;
        }
        if (alpha && alpha->Kind == TKind::None)
            return std::nullopt;
    }

    TExactColour c;
    c.Space = f.Space;
    c.Legacy = f.Legacy && !origin;
    for (size_t i = 0; i < 3; ++i) {
        const auto v = SlotValue(values[i], f.Slots[i]);
        if (!v)
            return std::nullopt;
        c.Missing[i] = values[i].Kind == TKind::None;
        double x = *v;
        if (f.Slots[i].Hue)
            x = WrappedHue(x);
        if (f.Space == TColourSpace::Srgb && !f.IsColor)
            x /= 255;
        c.Coords[i] = c.Missing[i] ? 0 : Finite(x);
    }
    if (alpha) {
        c.Missing[3] = alpha->Kind == TKind::None;
        const double a = alpha->Kind == TKind::Percent ? alpha->Value / 100 : alpha->Value;
        c.Alpha = c.Missing[3] ? 0 : std::clamp(a, 0.0, 1.0);
    } else if (origin) {
        // The origin's alpha, where none is given.
        c.Alpha = keywords.back().Value;
        c.Missing[3] = keywords.back().Missing;
    }
    if (!origin)
        ClampAbsolute(c);
    return c;
}

} // namespace

std::optional<TColourSpace> PredefinedSpace(std::string_view name)
{
    static constexpr struct {
        std::string_view Name;
        TColourSpace Space;
    } spaces[] = {
        {"srgb", TColourSpace::Srgb},           {"srgb-linear", TColourSpace::SrgbLinear},
        {"display-p3", TColourSpace::DisplayP3}, {"a98-rgb", TColourSpace::A98Rgb},
        {"prophoto-rgb", TColourSpace::ProPhotoRgb}, {"rec2020", TColourSpace::Rec2020},
        {"xyz", TColourSpace::XyzD65},          {"xyz-d65", TColourSpace::XyzD65},
        {"xyz-d50", TColourSpace::XyzD50},
    };
    for (const auto &s : spaces)
        if (NameIs(name, s.Name))
            return s.Space;
    return std::nullopt;
}

std::optional<TExactColour> HexColour(std::string_view digits)
{
    unsigned v = 0;
    for (char d : digits) {
        const int x = d >= '0' && d <= '9' ? d - '0' : d >= 'a' && d <= 'f' ? d - 'a' + 10 : d >= 'A' && d <= 'F' ? d - 'A' + 10 : -1;
        if (x < 0)
            return std::nullopt;
        v = v << 4 | static_cast<unsigned>(x);
    }
    const auto nibble = [&](int shift) { return static_cast<int>((v >> shift) & 0xF) * 17; };
    const auto byte = [&](int shift) { return static_cast<int>((v >> shift) & 0xFF); };
    switch (digits.size()) {
    case 3: return TExactColour::FromRgb8({nibble(8), nibble(4), nibble(0)});
    case 4: return TExactColour::FromRgb8({nibble(12), nibble(8), nibble(4)}, nibble(0) / 255.0);
    case 6: return TExactColour::FromRgb8({byte(16), byte(8), byte(0)});
    case 8: return TExactColour::FromRgb8({byte(24), byte(16), byte(8)}, byte(0) / 255.0);
    default: return std::nullopt;
    }
}

std::optional<TExactColour> NamedColour(std::string_view word)
{
    if (NameIs(word, "transparent"))
        return TExactColour::FromRgb8({0, 0, 0}, 0);
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(), textscan::Lower);
    const auto names = CssColorNames();
    const auto it = std::lower_bound(names.begin(), names.end(), lower,
                                     [](const TCssName &n, const std::string &w) { return std::string_view(n.name) < w; });
    if (it == names.end() || std::string_view(it->name) != lower)
        return std::nullopt;
    return TExactColour::FromRgb8({static_cast<int>(it->rgb >> 16) & 0xFF, static_cast<int>(it->rgb >> 8) & 0xFF,
                                   static_cast<int>(it->rgb) & 0xFF});
}

std::optional<TExactColour> ReadColour(TTokenStream &ts)
{
    ts.SkipWhitespace();
    const TToken t = ts.Next();
    switch (t.Type) {
    case TTokenType::Hash: return HexColour(t.Text);
    case TTokenType::Ident: return NamedColour(t.Text);
    case TTokenType::Function: {
        if (!ts.Enter())
            return std::nullopt;
        std::optional<TExactColour> c;
        if (NameIs(t.Text, "color-mix"))
            c = ReadColorMix(ts);
        else if (const auto f = FunctionNamed(t.Text))
            c = ReadFunction(ts, *f);
        ts.Leave();
        return c;
    }
    default: return std::nullopt;
    }
}

} // namespace css

std::optional<TExactColour> ParseCssColour(std::string_view text)
{
    const auto tokens = css::Tokenize(text);
    if (!tokens)
        return std::nullopt;
    css::TTokenStream ts(*tokens);
    auto c = css::ReadColour(ts);
    ts.SkipWhitespace();
    if (!c || !ts.AtEnd())
        return std::nullopt;
    return c;
}

bool StartsAsCssFunction(std::string_view text)
{
    const size_t open = text.find('(');
    if (open == std::string_view::npos)
        return false;
    const std::string_view name = text.substr(0, open);
    return css::NameIs(name, "color-mix") || css::FunctionNamed(name).has_value();
}
