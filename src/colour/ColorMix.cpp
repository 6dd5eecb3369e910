// color-mix(): one or more colours interpolated in a colour space, as CSS Color 4 interpolates
// (missing components taken from the other colour, hues along the chosen arc, premultiplied
// alpha) with CSS Color 5's percentage normalisation.
#include "colour/CssCalc.h"
#include "colour/CssColor.h"
#include "colour/Interpolation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace css {
namespace {

struct TMixItem {
    TExactColour Colour;
    std::optional<double> Percent;
};

// A percentage 0-100: a literal outside the range is refused, a calculation clamped to it.
std::optional<double> ReadPercent(TTokenStream &ts)
{
    ts.SkipWhitespace();
    const TToken t = ts.Peek();
    if (t.Type == TTokenType::Percentage) {
        ts.Next();
        return t.Value >= 0 && t.Value <= 100 ? std::optional(t.Value) : std::nullopt;
    }
    const auto v = ReadMathFunction(ts, TCalcContext{});
    if (!v || v->Type != TNumericType::Percent)
        return std::nullopt;
    return std::clamp(v->Value, 0.0, 100.0);
}

bool PercentNext(TTokenStream &ts)
{
    ts.SkipWhitespace();
    const TToken &t = ts.Peek();
    return t.Type == TTokenType::Percentage || (t.Type == TTokenType::Function && IsMathFunction(t.Text));
}

// A colour and an optional percentage, in either order.
std::optional<TMixItem> ReadItem(TTokenStream &ts)
{
    TMixItem item;
    if (PercentNext(ts)) {
        item.Percent = ReadPercent(ts);
        if (!item.Percent)
            return std::nullopt;
    }
    const auto c = ReadColour(ts);
    if (!c)
        return std::nullopt;
    item.Colour = *c;
    if (!item.Percent && PercentNext(ts)) {
        item.Percent = ReadPercent(ts);
        if (!item.Percent)
            return std::nullopt;
    }
    return item;
}

// A colour in the interpolation space. HSL and HWB take a colour outside sRGB unmapped, as the
// browsers do, so a mix there keeps it.
TExactColour InSpace(const TExactColour &c, TColourSpace space)
{
    return c.To(space);
}

// The two hues brought onto the arc the method asks for.
void FixHues(double &a, double &b, THueMethod method)
{
    const double d = b - a;
    switch (method) {
    case THueMethod::Shorter:
        if (d > 180)
            a += 360;
        else if (d < -180)
            b += 360;
        break;
    case THueMethod::Longer:
        if (d > 0 && d < 180)
            a += 360;
        else if (d > -180 && d <= 0)
            b += 360;
        break;
    case THueMethod::Increasing:
        if (b < a)
            b += 360;
        break;
    case THueMethod::Decreasing:
        if (a < b)
            a += 360;
        break;
    }
}

} // namespace
} // namespace css

using css::FixHues;
using css::InSpace;
using css::NameIs;

std::optional<TColourSpace> InterpolationSpace(std::string_view name)
{
    if (NameIs(name, "lab"))
        return TColourSpace::Lab;
    if (NameIs(name, "oklab"))
        return TColourSpace::Oklab;
    if (NameIs(name, "hsl"))
        return TColourSpace::Hsl;
    if (NameIs(name, "hwb"))
        return TColourSpace::Hwb;
    if (NameIs(name, "lch"))
        return TColourSpace::Lch;
    if (NameIs(name, "oklch"))
        return TColourSpace::Oklch;
    return css::PredefinedSpace(name);
}

const char *InterpolationSpaceName(TColourSpace space)
{
    if (const char *name = PredefinedName(space))
        return name;
    switch (space) {
    case TColourSpace::Lab: return "lab";
    case TColourSpace::Lch: return "lch";
    case TColourSpace::Oklch: return "oklch";
    case TColourSpace::Hsl: return "hsl";
    case TColourSpace::Hwb: return "hwb";
    default: return "oklab";
    }
}

namespace {

constexpr struct {
    std::string_view Name;
    THueMethod Method;
} HueMethods[] = {{"shorter", THueMethod::Shorter}, {"longer", THueMethod::Longer},
                  {"increasing", THueMethod::Increasing}, {"decreasing", THueMethod::Decreasing}};

} // namespace

std::optional<THueMethod> HueMethodNamed(std::string_view name)
{
    for (const auto &m : HueMethods)
        if (NameIs(name, m.Name))
            return m.Method;
    return std::nullopt;
}

const char *HueMethodName(THueMethod method)
{
    for (const auto &m : HueMethods)
        if (m.Method == method)
            return m.Name.data();
    return "shorter";
}

TExactColour Interpolate(const TExactColour &first, const TExactColour &second, double t, TColourSpace space,
                         THueMethod method)
{
    TExactColour a = InSpace(first, space), b = InSpace(second, space);
    TExactColour r;
    r.Space = space;
    // A component missing in one colour takes the other's; missing in both, it stays missing.
    for (size_t i = 0; i < 4; ++i) {
        double &va = i < 3 ? a.Coords[i] : a.Alpha;
        double &vb = i < 3 ? b.Coords[i] : b.Alpha;
        if (a.Missing[i] && !b.Missing[i])
            va = vb;
        else if (b.Missing[i] && !a.Missing[i])
            vb = va;
        r.Missing[i] = a.Missing[i] && b.Missing[i];
    }
    const int hue = HueIndex(space);
    if (hue >= 0 && !r.Missing[static_cast<size_t>(hue)]) {
        double &ha = a.Coords[static_cast<size_t>(hue)], &hb = b.Coords[static_cast<size_t>(hue)];
        ha = std::fmod(std::fmod(ha, 360) + 360, 360);
        hb = std::fmod(std::fmod(hb, 360) + 360, 360);
        FixHues(ha, hb, method);
    }
    const double alphaA = r.Missing[3] ? 1 : a.Alpha, alphaB = r.Missing[3] ? 1 : b.Alpha;
    const double alpha = alphaA * (1 - t) + alphaB * t;
    for (size_t i = 0; i < 3; ++i) {
        if (r.Missing[i])
            continue;
        const bool isHue = static_cast<int>(i) == hue;
        const double pa = isHue ? a.Coords[i] : a.Coords[i] * alphaA;
        const double pb = isHue ? b.Coords[i] : b.Coords[i] * alphaB;
        double v = pa * (1 - t) + pb * t;
        if (!isHue && alpha != 0)
            v /= alpha;
        if (isHue)
            v = std::fmod(std::fmod(v, 360) + 360, 360);
        r.Coords[i] = v;
    }
    r.Alpha = r.Missing[3] ? 0 : alpha;
    return r;
}

namespace css {

std::optional<TExactColour> ReadColorMix(TTokenStream &ts)
{
    TColourSpace space = TColourSpace::Oklab;
    THueMethod method = THueMethod::Shorter;
    if (ts.TakeIdent("in")) {
        ts.SkipWhitespace();
        const TToken t = ts.Next();
        const auto s = t.Type == TTokenType::Ident ? InterpolationSpace(t.Text) : std::nullopt;
        if (!s)
            return std::nullopt;
        space = *s;
        for (const auto &m : HueMethods)
            if (ts.TakeIdent(m.Name)) {
                // Only a space with a hue has a hue interpolation method.
                if (HueIndex(space) < 0 || !ts.TakeIdent("hue"))
                    return std::nullopt;
                method = m.Method;
                break;
            }
        if (!ts.Take(TTokenType::Comma))
            return std::nullopt;
    }
    // One or more colours, each with an optional percentage.
    std::vector<TMixItem> items;
    for (;;) {
        auto item = ReadItem(ts);
        if (!item)
            return std::nullopt;
        items.push_back(std::move(*item));
        if (ts.Take(TTokenType::CloseParen))
            break;
        if (!ts.Take(TTokenType::Comma))
            return std::nullopt;
    }

    // Omitted percentages share what the given ones leave of 100%.
    double given = 0;
    size_t omitted = 0;
    for (const TMixItem &item : items) {
        if (item.Percent)
            given += *item.Percent;
        else
            ++omitted;
    }
    const double share = omitted ? std::max(0.0, 100 - given) / static_cast<double>(omitted) : 0;
    double sum = 0;
    for (TMixItem &item : items) {
        if (!item.Percent)
            item.Percent = share;
        sum += *item.Percent;
    }
    // Under 100% in all, the shortfall thins the alpha (to nothing at 0%).
    const double alphaMultiplier = sum < 100 ? sum / 100 : 1;

    // Each colour in turn is mixed into the mix of those before it, weighted by its share of the
    // percentages so far; colours whose percentages are all 0 weigh the same.
    TExactColour r = InSpace(items.front().Colour, space);
    const int hue = HueIndex(space);
    if (hue >= 0 && !r.Missing[static_cast<size_t>(hue)]) {
        double &h = r.Coords[static_cast<size_t>(hue)];
        h = std::fmod(std::fmod(h, 360) + 360, 360);
    }
    double weight = *items.front().Percent;
    for (size_t i = 1; i < items.size(); ++i) {
        const double p = *items[i].Percent;
        const double t = weight + p > 0 ? p / (weight + p) : 0.5;
        r = Interpolate(r, items[i].Colour, t, space, method);
        weight += p;
    }
    r.Alpha *= alphaMultiplier;
    return r;
}

} // namespace css
