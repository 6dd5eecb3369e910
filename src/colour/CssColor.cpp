#include "colour/CssColor.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace textscan;

namespace {

enum class TTokenKind { Number, Percent, Angle, None };

struct TToken {
    TTokenKind Kind;
    double Value = 0; // the number, the percentage's number, or the angle in degrees
};

std::optional<TToken> ReadToken(Sv s)
{
    if (s.empty())
        return std::nullopt;
    if (EqualsNoCase(s, "none"))
        return TToken{TTokenKind::None};
    if (s.back() == '%') {
        const auto v = ReadCssNumber(s.substr(0, s.size() - 1));
        return v ? std::optional(TToken{TTokenKind::Percent, *v}) : std::nullopt;
    }
    size_t unitAt = s.size();
    while (unitAt > 0 && IsLetter(s[unitAt - 1]))
        --unitAt;
    const auto v = ReadCssNumber(s.substr(0, unitAt));
    if (!v)
        return std::nullopt;
    const Sv unit = s.substr(unitAt);
    if (unit.empty())
        return TToken{TTokenKind::Number, *v};
    constexpr double pi = std::numbers::pi;
    if (EqualsNoCase(unit, "deg"))
        return TToken{TTokenKind::Angle, *v};
    if (EqualsNoCase(unit, "rad"))
        return TToken{TTokenKind::Angle, *v * 180 / pi};
    if (EqualsNoCase(unit, "grad"))
        return TToken{TTokenKind::Angle, *v * 0.9};
    if (EqualsNoCase(unit, "turn"))
        return TToken{TTokenKind::Angle, *v * 360};
    return std::nullopt;
}

struct TArguments {
    std::vector<TToken> Values; // three
    std::optional<TToken> Alpha;
    bool Legacy = false;        // written with commas
    Sv Space;                   // color()'s space name
};

bool IsAlphaToken(const TToken &t, bool legacy)
{
    return t.Kind == TTokenKind::Number || t.Kind == TTokenKind::Percent || (!legacy && t.Kind == TTokenKind::None);
}

std::optional<TArguments> ReadArguments(Sv inner, bool legacyAllowed, bool withSpace)
{
    TArguments args;
    std::vector<Sv> texts;
    std::optional<Sv> alpha;
    if (inner.find(',') != Sv::npos) {
        if (!legacyAllowed || inner.find('/') != Sv::npos)
            return std::nullopt;
        args.Legacy = true;
        texts = Split(inner, ',');
        if (texts.size() == 4) {
            alpha = texts.back();
            texts.pop_back();
        }
        for (Sv t : texts)
            if (HasBlank(t))
                return std::nullopt;
    } else {
        const std::vector<Sv> halves = Split(inner, '/');
        if (halves.size() > 2)
            return std::nullopt;
        texts = SplitBlanks(halves[0]);
        if (halves.size() == 2) {
            if (halves[1].empty() || HasBlank(halves[1]))
                return std::nullopt;
            alpha = halves[1];
        }
        if (withSpace) {
            if (texts.empty())
                return std::nullopt;
            args.Space = texts.front();
            texts.erase(texts.begin());
        }
    }
    if (texts.size() != 3)
        return std::nullopt;
    for (Sv t : texts) {
        const auto token = ReadToken(t);
        if (!token || (args.Legacy && token->Kind == TTokenKind::None))
            return std::nullopt;
        args.Values.push_back(*token);
    }
    if (alpha) {
        const auto token = ReadToken(*alpha);
        if (!token || !IsAlphaToken(*token, args.Legacy))
            return std::nullopt;
        args.Alpha = token;
    }
    return args;
}

// A hue as a number of degrees or an angle, wrapped into [0, 360); "none" reads 0.
std::optional<double> Hue(const TToken &t)
{
    if (t.Kind == TTokenKind::Percent)
        return std::nullopt;
    if (t.Kind == TTokenKind::None)
        return 0.0;
    double h = std::fmod(t.Value, 360);
    if (h < 0)
        h += 360;
    return h == 360 ? 0 : h;
}

// A number, or a percentage scaled so that 100% is `hundred`; "none" reads 0.
std::optional<double> Value(const TToken &t, double hundred)
{
    switch (t.Kind) {
    case TTokenKind::Number: return t.Value;
    case TTokenKind::Percent: return t.Value * hundred / 100;
    case TTokenKind::None: return 0.0;
    case TTokenKind::Angle: return std::nullopt;
    }
    return std::nullopt;
}

// The colour of three coordinates and the arguments' alpha (clamped to 0-1), "none" marked missing.
TExactColour Colour(TColourSpace space, const TArguments &args, const TVec3 &coords, bool legacy)
{
    TExactColour c;
    c.Space = space;
    c.Coords = coords;
    c.Legacy = legacy;
    for (size_t i = 0; i < 3; ++i)
        if (args.Values[i].Kind == TTokenKind::None) {
            c.Missing[i] = true;
            c.Coords[i] = 0;
        }
    if (args.Alpha) {
        if (args.Alpha->Kind == TTokenKind::None) {
            c.Missing[3] = true;
            c.Alpha = 0;
        } else {
            const double a = args.Alpha->Kind == TTokenKind::Percent ? args.Alpha->Value / 100 : args.Alpha->Value;
            c.Alpha = std::clamp(a, 0.0, 1.0);
        }
    }
    return c;
}

std::optional<TExactColour> ParseRgb(Sv inner)
{
    const auto args = ReadArguments(inner, true, false);
    if (!args)
        return std::nullopt;
    TVec3 c;
    for (size_t i = 0; i < 3; ++i) {
        const TToken &t = args->Values[i];
        // The comma syntax takes three numbers or three percentages, never a mix.
        if (args->Legacy && t.Kind != args->Values[0].Kind)
            return std::nullopt;
        switch (t.Kind) {
        case TTokenKind::Number: c[i] = std::clamp(t.Value / 255, 0.0, 1.0); break;
        case TTokenKind::Percent: c[i] = std::clamp(t.Value / 100, 0.0, 1.0); break;
        case TTokenKind::None: c[i] = 0; break;
        case TTokenKind::Angle: return std::nullopt;
        }
    }
    return Colour(TColourSpace::Srgb, *args, c, true);
}

// hsl() and hwb(): a hue, then two percentages (or, in the space syntax, numbers meaning
// percentages), clamped to 0-100.
std::optional<TExactColour> HueAndTwoPercentages(Sv inner, TColourSpace space)
{
    const auto args = ReadArguments(inner, space == TColourSpace::Hsl, false);
    if (!args)
        return std::nullopt;
    const auto h = Hue(args->Values[0]);
    if (!h)
        return std::nullopt;
    TVec3 v = {*h, 0, 0};
    for (size_t i = 1; i < 3; ++i) {
        const TToken &t = args->Values[i];
        if (args->Legacy && t.Kind != TTokenKind::Percent)
            return std::nullopt;
        const auto x = Value(t, 100);
        if (!x)
            return std::nullopt;
        v[i] = std::clamp(*x, 0.0, 100.0);
    }
    return Colour(space, *args, v, true);
}

// lab(), lch(), oklab() and oklch(): lightness clamped to 0 - `lightness`, then either a and b
// or a chroma (at least 0) and a hue. `percent` is what 100% means for a, b or the chroma.
std::optional<TExactColour> ParseLabLike(Sv inner, TColourSpace space, double lightness, double percent, bool polar)
{
    const auto args = ReadArguments(inner, false, false);
    if (!args)
        return std::nullopt;
    const auto l = Value(args->Values[0], lightness);
    const auto second = Value(args->Values[1], percent);
    const auto third = polar ? Hue(args->Values[2]) : Value(args->Values[2], percent);
    if (!l || !second || !third)
        return std::nullopt;
    return Colour(space, *args, {std::clamp(*l, 0.0, lightness), polar ? std::max(0.0, *second) : *second, *third},
                  false);
}

std::optional<TColourSpace> PredefinedSpace(Sv name)
{
    static constexpr struct {
        Sv Name;
        TColourSpace Space;
    } spaces[] = {
        {"srgb", TColourSpace::Srgb},           {"srgb-linear", TColourSpace::SrgbLinear},
        {"display-p3", TColourSpace::DisplayP3}, {"a98-rgb", TColourSpace::A98Rgb},
        {"prophoto-rgb", TColourSpace::ProPhotoRgb}, {"rec2020", TColourSpace::Rec2020},
        {"xyz", TColourSpace::XyzD65},          {"xyz-d65", TColourSpace::XyzD65},
        {"xyz-d50", TColourSpace::XyzD50},
    };
    for (const auto &s : spaces)
        if (EqualsNoCase(name, s.Name))
            return s.Space;
    return std::nullopt;
}

std::optional<TExactColour> ParseColorFunction(Sv inner)
{
    const auto args = ReadArguments(inner, false, true);
    if (!args)
        return std::nullopt;
    const auto space = PredefinedSpace(args->Space);
    if (!space)
        return std::nullopt;
    TVec3 v;
    for (size_t i = 0; i < 3; ++i) {
        const auto x = Value(args->Values[i], 1);
        if (!x)
            return std::nullopt;
        v[i] = *x;
    }
    return Colour(*space, *args, v, false);
}

} // namespace

std::optional<TExactColour> ParseCssFunction(Sv name, Sv inner)
{
    if (EqualsNoCase(name, "rgb") || EqualsNoCase(name, "rgba"))
        return ParseRgb(inner);
    if (EqualsNoCase(name, "hsl") || EqualsNoCase(name, "hsla"))
        return HueAndTwoPercentages(inner, TColourSpace::Hsl);
    if (EqualsNoCase(name, "hwb"))
        return HueAndTwoPercentages(inner, TColourSpace::Hwb);
    if (EqualsNoCase(name, "lab"))
        return ParseLabLike(inner, TColourSpace::Lab, 100, 125, false);
    if (EqualsNoCase(name, "lch"))
        return ParseLabLike(inner, TColourSpace::Lch, 100, 150, true);
    if (EqualsNoCase(name, "oklab"))
        return ParseLabLike(inner, TColourSpace::Oklab, 1, 0.4, false);
    if (EqualsNoCase(name, "oklch"))
        return ParseLabLike(inner, TColourSpace::Oklch, 1, 0.4, true);
    if (EqualsNoCase(name, "color"))
        return ParseColorFunction(inner);
    return std::nullopt;
}
