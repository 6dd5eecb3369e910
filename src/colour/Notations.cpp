#include "colour/Notations.h"

#include "colour/AnyColor.h"
#include "colour/NumberWriting.h"

#include <array>
#include <charconv>
#include <cmath>
#include <algorithm>
#include <functional>
#include <optional>

namespace {

constexpr TNotationInfo Infos[] = {
    {TNotationKind::CssHex, "css-hex", "CSS hex"},
    {TNotationKind::CssRgb, "css-rgb", "CSS rgb()"},
    {TNotationKind::Hsl, "hsl", "CSS hsl()"},
    {TNotationKind::Hwb, "hwb", "CSS hwb()"},
    {TNotationKind::Lab, "lab", "CSS lab()"},
    {TNotationKind::Lch, "lch", "CSS lch()"},
    {TNotationKind::Oklab, "oklab", "CSS oklab()"},
    {TNotationKind::Oklch, "oklch", "CSS oklch()"},
    {TNotationKind::DisplayP3, "p3", "CSS display-p3"},
    {TNotationKind::SrgbLinear, "srgb-linear", "CSS srgb-linear"},
    {TNotationKind::Srgb, "srgb", "CSS srgb"},
    {TNotationKind::Rec2020, "rec2020", "CSS rec2020"},
    {TNotationKind::A98Rgb, "a98-rgb", "CSS a98-rgb"},
    {TNotationKind::ProPhotoRgb, "prophoto-rgb", "CSS prophoto-rgb"},
    {TNotationKind::XyzD65, "xyz-d65", "CSS xyz-d65"},
    {TNotationKind::XyzD50, "xyz-d50", "CSS xyz-d50"},
    {TNotationKind::Linear, "linear", "Linear 0-1 (Blender, Godot, Unity)"},
    {TNotationKind::Floats, "float", "sRGB 0-1"},
    {TNotationKind::Glsl, "glsl", "GLSL vec3"},
    {TNotationKind::Qt, "qt", "Qt QColor"},
    {TNotationKind::Qml, "qml", "QML Qt.rgba"},
    {TNotationKind::Argb, "argb", "ARGB integer"},
    {TNotationKind::Latex, "latex", "LaTeX xcolor"},
    {TNotationKind::Name, "name", "CSS name"},
};

constexpr int MaxNumberDecimals = 4;
constexpr int MaxPercentDecimals = 2;

std::string Fixed(double value, int decimals) { return FixedText(value, decimals); }

double ReadBack(const std::string &text)
{
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

struct TNumber {
    double Value;    // NaN for a powerless hue
    int MaxDecimals;
};

using TReadsBack = std::function<bool(const TVec3 &)>;

// Near the edge of sRGB the rounding of each number to its most decimals can together step out
// of the 8-bit colour; a neighbour one last decimal up or down often steps back in. Takes the
// first such neighbour, the fewest numbers moved first; leaves the texts as they are if none is.
void NearestThatReadsBack(const std::array<TNumber, 3> &numbers, const TReadsBack &readsBack,
                          std::array<std::string, 3> &texts, TVec3 &read)
{
    for (int moved = 1; moved <= 3; ++moved)
        for (int combo = 0; combo < 27; ++combo) {
            int offsets[3] = {combo % 3 - 1, combo / 3 % 3 - 1, combo / 9 - 1};
            int count = 0;
            for (int i = 0; i < 3; ++i) {
                if (colour::IsPowerless(numbers[i].Value))
                    offsets[i] = 0;
                count += offsets[i] != 0;
            }
            if (count != moved)
                continue;
            std::array<std::string, 3> candidateTexts = texts;
            TVec3 candidate = read;
            for (int i = 0; i < 3; ++i) {
                if (offsets[i] == 0)
                    continue;
                const double step = std::pow(10.0, -numbers[i].MaxDecimals);
                candidateTexts[i] = Fixed(ReadBack(texts[i]) + offsets[i] * step, numbers[i].MaxDecimals);
                candidate[i] = ReadBack(candidateTexts[i]);
            }
            if (readsBack(candidate)) {
                texts = candidateTexts;
                read = candidate;
                return;
            }
        }
}

// The texts of three numbers, each with the fewest decimals that keep `readsBack` true of the
// values the texts read as, taken first to last; where even the most decimals fail, the most.
std::array<std::string, 3> FewestDigits(const std::array<TNumber, 3> &numbers, const TReadsBack &readsBack)
{
    std::array<std::string, 3> texts;
    TVec3 read;
    for (int i = 0; i < 3; ++i) {
        if (colour::IsPowerless(numbers[i].Value)) {
            texts[i] = "none";
            read[i] = 0;
        } else {
            texts[i] = Fixed(numbers[i].Value, numbers[i].MaxDecimals);
            read[i] = ReadBack(texts[i]);
        }
    }
    if (!readsBack(read))
        NearestThatReadsBack(numbers, readsBack, texts, read);
    for (int i = 0; i < 3; ++i) {
        if (colour::IsPowerless(numbers[i].Value))
            continue;
        for (int d = 0; d < numbers[i].MaxDecimals; ++d) {
            const std::string text = Fixed(numbers[i].Value, d);
            TVec3 candidate = read;
            candidate[i] = ReadBack(text);
            if (readsBack(candidate)) {
                texts[i] = text;
                read = candidate;
                break;
            }
        }
    }
    return texts;
}

TReadsBack SameIn(TColourSpace space, const TRgb8 &target)
{
    return [space, target](const TVec3 &v) {
        const auto r = ToRgb8(space, v);
        return r && !r->Mapped && r->Rgb == target;
    };
}

std::string Hex2(int v)
{
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

std::string HexUpper(const TRgb8 &c) { return Hex2(c.R) + Hex2(c.G) + Hex2(c.B); }

std::string Lowered(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A whole number as "1.0", so that a bare triple reads as fractions.
std::string AsFraction(std::string s)
{
    return s.find('.') == std::string::npos ? s + ".0" : s;
}

// Three 0-1 numbers joined by ", ", from sRGB or linear sRGB values.
std::array<std::string, 3> UnitTriple(const TVec3 &values, TColourSpace space, const TRgb8 &target)
{
    const std::array<TNumber, 3> n = {{{values[0], MaxNumberDecimals},
                                       {values[1], MaxNumberDecimals},
                                       {values[2], MaxNumberDecimals}}};
    return FewestDigits(n, SameIn(space, target));
}

std::string Join(const std::array<std::string, 3> &t, const char *sep)
{
    return t[0] + sep + t[1] + sep + t[2];
}

std::string Text(TNotationKind kind, const TRgb8 &c)
{
    const TVec3 srgb = SrgbOf(c);
    const auto spaceNumbers = [&](TColourSpace space, std::array<int, 3> decimals) {
        const TVec3 v = FromSrgb(space, srgb);
        return FewestDigits({{{v[0], decimals[0]}, {v[1], decimals[1]}, {v[2], decimals[2]}}}, SameIn(space, c));
    };
    const int n = MaxNumberDecimals, p = MaxPercentDecimals;
    switch (kind) {
    case TNotationKind::CssHex: return Lowered("#" + HexUpper(c));
    case TNotationKind::CssRgb:
        return "rgb(" + std::to_string(c.R) + " " + std::to_string(c.G) + " " + std::to_string(c.B) + ")";
    case TNotationKind::Hsl: {
        const TVec3 v = colour::SrgbToHsl(srgb);
        const auto t = FewestDigits({{{v[0], p}, {v[1], p}, {v[2], p}}}, SameIn(TColourSpace::Hsl, c));
        return "hsl(" + t[0] + " " + t[1] + "% " + t[2] + "%)";
    }
    case TNotationKind::Hwb: {
        const auto t = spaceNumbers(TColourSpace::Hwb, {p, p, p});
        return "hwb(" + t[0] + " " + t[1] + "% " + t[2] + "%)";
    }
    case TNotationKind::Lab: return "lab(" + Join(spaceNumbers(TColourSpace::Lab, {n, n, n}), " ") + ")";
    case TNotationKind::Lch: return "lch(" + Join(spaceNumbers(TColourSpace::Lch, {n, n, p}), " ") + ")";
    case TNotationKind::Oklab: return "oklab(" + Join(spaceNumbers(TColourSpace::Oklab, {n, n, n}), " ") + ")";
    case TNotationKind::Oklch: return "oklch(" + Join(spaceNumbers(TColourSpace::Oklch, {n, n, p}), " ") + ")";
    case TNotationKind::DisplayP3:
        return "color(display-p3 " + Join(spaceNumbers(TColourSpace::DisplayP3, {n, n, n}), " ") + ")";
    case TNotationKind::SrgbLinear:
        return "color(srgb-linear " + Join(spaceNumbers(TColourSpace::SrgbLinear, {n, n, n}), " ") + ")";
    // The color() rows beyond the first set write every colour with six digits (WriteNotation).
    case TNotationKind::Srgb:
    case TNotationKind::Rec2020:
    case TNotationKind::A98Rgb:
    case TNotationKind::ProPhotoRgb:
    case TNotationKind::XyzD65:
    case TNotationKind::XyzD50: break;
    case TNotationKind::Linear: {
        auto t = UnitTriple(colour::LinSrgb(srgb), TColourSpace::SrgbLinear, c);
        return AsFraction(t[0]) + ", " + AsFraction(t[1]) + ", " + AsFraction(t[2]);
    }
    case TNotationKind::Floats:
    case TNotationKind::Glsl:
    case TNotationKind::Qml: {
        const auto t = UnitTriple(srgb, TColourSpace::Srgb, c);
        if (kind == TNotationKind::Qml)
            return "Qt.rgba(" + Join(t, ", ") + ", 1)";
        const std::string triple = AsFraction(t[0]) + ", " + AsFraction(t[1]) + ", " + AsFraction(t[2]);
        return kind == TNotationKind::Glsl ? "vec3(" + triple + ")" : triple;
    }
    case TNotationKind::Qt:
        return "QColor(" + std::to_string(c.R) + ", " + std::to_string(c.G) + ", " + std::to_string(c.B) + ")";
    case TNotationKind::Argb: return "0xFF" + HexUpper(c);
    case TNotationKind::Latex: return "\\definecolor{pigmora}{HTML}{" + HexUpper(c) + "}";
    case TNotationKind::Name: break; // written by WriteNotation with its caption
    }
    return {};
}

} // namespace

std::span<const TNotationInfo> NotationInfos()
{
    return Infos;
}

QString NumberText(double value, int decimals)
{
    return QString::fromStdString(Fixed(value, decimals));
}

TNearestName NearestCssName(const TRgb8 &rgb)
{
    struct TNameLab {
        const char *Name;
        TRgb8 Rgb;
        TVec3 Oklab;
    };
    static const std::vector<TNameLab> names = [] {
        std::vector<TNameLab> result;
        for (const TCssName &n : CssColorNames()) {
            const TRgb8 c{static_cast<int>(n.rgb >> 16) & 0xFF, static_cast<int>(n.rgb >> 8) & 0xFF,
                          static_cast<int>(n.rgb) & 0xFF};
            result.push_back({n.name, c, FromSrgb(TColourSpace::Oklab, SrgbOf(c))});
        }
        return result;
    }();
    const TVec3 lab = FromSrgb(TColourSpace::Oklab, SrgbOf(rgb));
    const TNameLab *best = &names.front();
    double bestDistance = INFINITY;
    for (const TNameLab &n : names) {
        if (n.Rgb == rgb)
            return {n.Name, 0};
        const double d = colour::DeltaEOK(lab, n.Oklab);
        if (d < bestDistance) {
            bestDistance = d;
            best = &n;
        }
    }
    return {best->Name, bestDistance};
}

bool HoldsOnlySrgb(TNotationKind kind)
{
    switch (kind) {
    case TNotationKind::Lab:
    case TNotationKind::Lch:
    case TNotationKind::Oklab:
    case TNotationKind::Oklch:
    case TNotationKind::DisplayP3:
    case TNotationKind::SrgbLinear:
    case TNotationKind::Srgb:
    case TNotationKind::Rec2020:
    case TNotationKind::A98Rgb:
    case TNotationKind::ProPhotoRgb:
    case TNotationKind::XyzD65:
    case TNotationKind::XyzD50: return false;
    default: return true;
    }
}

namespace {

std::optional<TColourSpace> OwnSpace(TNotationKind kind)
{
    switch (kind) {
    case TNotationKind::Lab: return TColourSpace::Lab;
    case TNotationKind::Lch: return TColourSpace::Lch;
    case TNotationKind::Oklab: return TColourSpace::Oklab;
    case TNotationKind::Oklch: return TColourSpace::Oklch;
    case TNotationKind::DisplayP3: return TColourSpace::DisplayP3;
    case TNotationKind::SrgbLinear: return TColourSpace::SrgbLinear;
    case TNotationKind::Srgb: return TColourSpace::Srgb;
    case TNotationKind::Rec2020: return TColourSpace::Rec2020;
    case TNotationKind::A98Rgb: return TColourSpace::A98Rgb;
    case TNotationKind::ProPhotoRgb: return TColourSpace::ProPhotoRgb;
    case TNotationKind::XyzD65: return TColourSpace::XyzD65;
    case TNotationKind::XyzD50: return TColourSpace::XyzD50;
    case TNotationKind::CssRgb: return TColourSpace::Srgb;
    case TNotationKind::Hsl: return TColourSpace::Hsl;
    case TNotationKind::Hwb: return TColourSpace::Hwb;
    default: return std::nullopt;
    }
}

// The colour's CSS text in a space, its alpha left to WithAlpha.
std::string CssIn(const TExactColour &c, TColourSpace space, bool legacy)
{
    TExactColour t = c.To(space);
    // Converted once, straight from the colour, where this notation cannot hold it.
    if (const TColourSpace home = WrittenSpace(t); home != space)
        t = c.To(home);
    t.Legacy = legacy;
    t.FromBytes = false;
    t.Alpha = 1;
    t.Missing[3] = false;
    if (legacy) {
        // Within half an 8-bit step of sRGB: brought onto its surface.
        const double top = space == TColourSpace::Srgb ? 1 : 100;
        for (size_t i = space == TColourSpace::Srgb ? 0 : 1; i < 3; ++i)
            t.Coords[i] = std::clamp(t.Coords[i], 0.0, top);
    }
    return ExactCssText(t);
}

// A colour not set from 8 bits, exactly in the notation's own terms; empty where the notation
// writes the 8-bit colour (the fallback of a colour outside sRGB, hex and the other byte forms).
std::optional<std::string> ExactText(TNotationKind kind, const TExactColour &c)
{
    const auto space = OwnSpace(kind);
    if (space && !HoldsOnlySrgb(kind))
        return CssIn(c, *space, false);
    if (!c.InSrgb())
        return std::nullopt;
    if (space)
        return CssIn(c, *space, true);
    const TExactColour srgb = c.To(TColourSpace::Srgb);
    TVec3 rgb;
    for (size_t i = 0; i < 3; ++i)
        rgb[i] = std::clamp(srgb.Coords[i], 0.0, 1.0);
    const auto texts = [](const TVec3 &v) {
        return std::array<std::string, 3>{SignificantText(v[0]), SignificantText(v[1]), SignificantText(v[2])};
    };
    const auto fractions = [](const std::array<std::string, 3> &t) {
        return AsFraction(t[0]) + ", " + AsFraction(t[1]) + ", " + AsFraction(t[2]);
    };
    switch (kind) {
    case TNotationKind::Linear: return fractions(texts(colour::LinSrgb(rgb)));
    case TNotationKind::Floats: return fractions(texts(rgb));
    case TNotationKind::Glsl: return "vec3(" + fractions(texts(rgb)) + ")";
    case TNotationKind::Qml: return "Qt.rgba(" + Join(texts(rgb), ", ") + ", 1)";
    default: return std::nullopt;
    }
}

// The notation's text with the colour's alpha, where it carries one and the alpha is below 1.
std::string WithAlpha(TNotationKind kind, std::string text, const TExactColour &c)
{
    if (c.Alpha >= 1 && !c.Missing[3])
        return text;
    const double alpha = c.Missing[3] ? 0 : std::max(c.Alpha, 0.0);
    const auto beforeClose = [&](const std::string &part) {
        text.insert(text.size() - 1, part);
        return text;
    };
    switch (kind) {
    case TNotationKind::CssHex: return text + Lowered(Hex2(ByteOfUnit(alpha)));
    case TNotationKind::Qt: return beforeClose(", " + std::to_string(ByteOfUnit(alpha)));
    case TNotationKind::Qml: return text.substr(0, text.size() - 2) + SignificantText(alpha) + ")";
    case TNotationKind::Glsl: return "vec4" + beforeClose(", " + AsFraction(SignificantText(alpha))).substr(4);
    case TNotationKind::Argb: return "0x" + Hex2(ByteOfUnit(alpha)) + text.substr(4);
    case TNotationKind::Linear:
    case TNotationKind::Floats:
    case TNotationKind::Latex:
    case TNotationKind::Name: return text;
    default: return beforeClose(AlphaSuffix(c));
    }
}

QString Caption(TNotationKind kind)
{
    for (const TNotationInfo &info : Infos)
        if (info.Kind == kind)
            return QString::fromLatin1(info.Caption);
    return {};
}

} // namespace

TNotationRow WriteNotation(TNotationKind kind, const TExactColour &colour)
{
    QString caption = Caption(kind);
    const TRgb8 rgb = colour.Rgb8();
    const bool fallback = HoldsOnlySrgb(kind) && !colour.InSrgb();
    if (kind == TNotationKind::Name) {
        const TNearestName nearest = NearestCssName(rgb);
        if (nearest.Distance > 0)
            caption = QStringLiteral("Nearest CSS name (\u0394EOK %1)").arg(NumberText(nearest.Distance, 4));
        return {kind, caption, QString::fromLatin1(nearest.Name), fallback};
    }
    // The color() rows beyond the first set write a colour from bytes with six digits too: a
    // search for the fewest digits costs there more than all the other rows together.
    const bool beyondFirstSet = kind == TNotationKind::Srgb || kind == TNotationKind::Rec2020
                                || kind == TNotationKind::A98Rgb || kind == TNotationKind::ProPhotoRgb
                                || kind == TNotationKind::XyzD65 || kind == TNotationKind::XyzD50;
    std::optional<std::string> exact;
    if (!colour.FromBytes || beyondFirstSet)
        exact = ExactText(kind, colour);
    const std::string text = exact ? *exact : Text(kind, rgb);
    return {kind, caption, QString::fromStdString(WithAlpha(kind, text, colour)), fallback};
}

std::vector<TNotationRow> WriteNotations(const TExactColour &colour)
{
    std::vector<TNotationRow> rows;
    rows.reserve(std::size(Infos));
    for (const TNotationInfo &info : Infos)
        rows.push_back(WriteNotation(info.Kind, colour));
    return rows;
}

TNotationRow WriteNotation(TNotationKind kind, const TRgb8 &rgb)
{
    return WriteNotation(kind, TExactColour::FromRgb8(rgb));
}

std::vector<TNotationRow> WriteNotations(const TRgb8 &rgb)
{
    return WriteNotations(TExactColour::FromRgb8(rgb));
}
