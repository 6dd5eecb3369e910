#include "colour/Vision.h"

#include "colour/NumberWriting.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace colour;

namespace {

using TMatrix = std::array<TVec3, 3>;

constexpr TVision Visions[] = {TVision::Normal,      TVision::Protanopia,    TVision::Deuteranopia, TVision::Tritanopia,
                               TVision::Protanomaly, TVision::Deuteranomaly, TVision::Tritanomaly,  TVision::Achromatopsia};

struct TVisionNames {
    TVision Vision;
    const char *Name;
    const char *Title;
};
constexpr TVisionNames Names[] = {
    {TVision::Normal, "normal", "Normal vision"},
    {TVision::Protanopia, "protanopia", "Protanopia"},
    {TVision::Deuteranopia, "deuteranopia", "Deuteranopia"},
    {TVision::Tritanopia, "tritanopia", "Tritanopia"},
    {TVision::Protanomaly, "protanomaly", "Protanomaly"},
    {TVision::Deuteranomaly, "deuteranomaly", "Deuteranomaly"},
    {TVision::Tritanomaly, "tritanomaly", "Tritanomaly"},
    {TVision::Achromatopsia, "achromatopsia", "Achromatopsia"},
};

// Machado, Oliveira and Fernandes 2009: the simulation matrices on linear RGB for severities
// 0, 0.1, ..., 1 (the authors' published table; severity 0 is the identity).
constexpr TMatrix Identity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr TMatrix Protanomaly[11] = {
    Identity,
    {{{0.856167, 0.182038, -0.038205}, {0.029342, 0.955115, 0.015544}, {-0.002880, -0.001563, 1.004443}}},
    {{{0.734766, 0.334872, -0.069637}, {0.051840, 0.919198, 0.028963}, {-0.004928, -0.004209, 1.009137}}},
    {{{0.630323, 0.465641, -0.095964}, {0.069181, 0.890046, 0.040773}, {-0.006308, -0.007724, 1.014032}}},
    {{{0.539009, 0.579343, -0.118352}, {0.082546, 0.866121, 0.051332}, {-0.007136, -0.011959, 1.019095}}},
    {{{0.458064, 0.679578, -0.137642}, {0.092785, 0.846313, 0.060902}, {-0.007494, -0.016807, 1.024301}}},
    {{{0.385450, 0.769005, -0.154455}, {0.100526, 0.829802, 0.069673}, {-0.007442, -0.022190, 1.029632}}},
    {{{0.319627, 0.849633, -0.169261}, {0.106241, 0.815969, 0.077790}, {-0.007025, -0.028051, 1.035076}}},
    {{{0.259411, 0.923008, -0.182420}, {0.110296, 0.804340, 0.085364}, {-0.006276, -0.034346, 1.040622}}},
    {{{0.203876, 0.990338, -0.194214}, {0.112975, 0.794542, 0.092483}, {-0.005222, -0.041043, 1.046265}}},
    {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}},
};
constexpr TMatrix Deuteranomaly[11] = {
    Identity,
    {{{0.866435, 0.177704, -0.044139}, {0.049567, 0.939063, 0.011370}, {-0.003453, 0.007233, 0.996220}}},
    {{{0.760729, 0.319078, -0.079807}, {0.090568, 0.889315, 0.020117}, {-0.006027, 0.013325, 0.992702}}},
    {{{0.675425, 0.433850, -0.109275}, {0.125303, 0.847755, 0.026942}, {-0.007950, 0.018572, 0.989378}}},
    {{{0.605511, 0.528560, -0.134071}, {0.155318, 0.812366, 0.032316}, {-0.009376, 0.023176, 0.986200}}},
    {{{0.547494, 0.607765, -0.155259}, {0.181692, 0.781742, 0.036566}, {-0.010410, 0.027275, 0.983136}}},
    {{{0.498864, 0.674741, -0.173604}, {0.205199, 0.754872, 0.039929}, {-0.011131, 0.030969, 0.980162}}},
    {{{0.457771, 0.731899, -0.189670}, {0.226409, 0.731012, 0.042579}, {-0.011595, 0.034333, 0.977261}}},
    {{{0.422823, 0.781057, -0.203881}, {0.245752, 0.709602, 0.044646}, {-0.011843, 0.037423, 0.974421}}},
    {{{0.392952, 0.823610, -0.216562}, {0.263559, 0.690210, 0.046232}, {-0.011910, 0.040281, 0.971630}}},
    {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}},
};
constexpr TMatrix Tritanomaly[11] = {
    Identity,
    {{{0.926670, 0.092514, -0.019184}, {0.021191, 0.964503, 0.014306}, {0.008437, 0.054813, 0.936750}}},
    {{{0.895720, 0.133330, -0.029050}, {0.029997, 0.945400, 0.024603}, {0.013027, 0.104707, 0.882266}}},
    {{{0.905871, 0.127791, -0.033662}, {0.026856, 0.941251, 0.031893}, {0.013410, 0.148296, 0.838294}}},
    {{{0.948035, 0.089490, -0.037526}, {0.014364, 0.946792, 0.038844}, {0.010853, 0.193991, 0.795156}}},
    {{{1.017277, 0.027029, -0.044306}, {-0.006113, 0.958479, 0.047634}, {0.006379, 0.248708, 0.744913}}},
    {{{1.104996, -0.046633, -0.058363}, {-0.032137, 0.971635, 0.060503}, {0.001336, 0.317922, 0.680742}}},
    {{{1.193214, -0.109812, -0.083402}, {-0.058496, 0.979410, 0.079086}, {-0.002346, 0.403492, 0.598854}}},
    {{{1.257728, -0.139648, -0.118081}, {-0.078003, 0.975409, 0.102594}, {-0.003316, 0.501214, 0.502102}}},
    {{{1.278864, -0.125333, -0.153531}, {-0.084748, 0.957674, 0.127074}, {-0.000989, 0.601151, 0.399838}}},
    {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}},
};

// Smith and Pokorny's 1975 cone fundamentals from CIE XYZ, as Viénot, Brettel and Mollon use them.
constexpr TMatrix XyzToLms{{{0.15514, 0.54312, -0.03286}, {-0.15514, 0.45684, 0.03286}, {0, 0, 0.01608}}};
// CIE 1931 2° colour matching functions at 485 nm and 660 nm: the monochromatic colours a
// tritanope sees as a normal observer does, the anchors of Brettel's two half-planes.
constexpr TVec3 Xyz485{0.05795, 0.16930, 0.61620};
constexpr TVec3 Xyz660{0.16490, 0.06100, 0.00000};

TVec3 Apply(const TMatrix &m, const TVec3 &v)
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

TMatrix Multiply(const TMatrix &a, const TMatrix &b)
{
    TMatrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return m;
}

TMatrix Inverse(const TMatrix &m)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
                       + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    TMatrix r{};
    r[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    r[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    r[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return r;
}

TVec3 Cross(const TVec3 &a, const TVec3 &b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const TVec3 &a, const TVec3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The matrix of a linear map, from the images of the unit vectors.
TMatrix MatrixOf(TVec3 (*map)(const TVec3 &))
{
    TMatrix m{};
    for (int j = 0; j < 3; ++j) {
        TVec3 unit{};
        unit[j] = 1;
        const TVec3 column = map(unit);
        for (int i = 0; i < 3; ++i)
            m[i][j] = column[i];
    }
    return m;
}

// A cone response replaced by a combination of the other two: the projection along that cone's
// axis onto the plane through black with normal `normal`.
TMatrix ProjectionAlong(int cone, const TVec3 &normal)
{
    TMatrix p = Identity;
    for (int j = 0; j < 3; ++j)
        p[cone][j] = j == cone ? 0 : -normal[j] / normal[cone];
    return p;
}

// Everything the dichromacies need, worked out once from the constants above.
struct TDichromacy {
    TMatrix LmsOfRgb, RgbOfLms;
    // Viénot 1999: linear RGB to linear RGB; the plane holds black, white and the blue primary
    // (so the yellow too), which a protanope and a deuteranope see as everyone does.
    TMatrix Protan, Deutan;
    // Brettel 1997: which side of the plane through the neutral axis and the S axis a colour
    // lies on picks the half-plane it goes to.
    TVec3 Separation;
    TMatrix TritanOnSide[2]; // [0]: the side where the separation product is at least 0
};

TDichromacy MakeDichromacy()
{
    TDichromacy d;
    d.LmsOfRgb = Multiply(XyzToLms, MatrixOf(LinSrgbToXyz));
    d.RgbOfLms = Inverse(d.LmsOfRgb);
    const TVec3 white = Apply(d.LmsOfRgb, {1, 1, 1});
    const TVec3 blue = Apply(d.LmsOfRgb, {0, 0, 1});
    const TVec3 planeNormal = Cross(white, blue);
    d.Protan = Multiply(d.RgbOfLms, Multiply(ProjectionAlong(0, planeNormal), d.LmsOfRgb));
    d.Deutan = Multiply(d.RgbOfLms, Multiply(ProjectionAlong(1, planeNormal), d.LmsOfRgb));

    d.Separation = Cross(white, {0, 0, 1});
    const TVec3 anchors[2] = {Apply(XyzToLms, Xyz485), Apply(XyzToLms, Xyz660)};
    for (const TVec3 &anchor : anchors) {
        const int side = Dot(anchor, d.Separation) >= 0 ? 0 : 1;
        d.TritanOnSide[side] = Multiply(d.RgbOfLms, Multiply(ProjectionAlong(2, Cross(white, anchor)), d.LmsOfRgb));
    }
    return d;
}

const TDichromacy &Dichromacy()
{
    static const TDichromacy d = MakeDichromacy();
    return d;
}

TVec3 Anomalous(const TMatrix (&table)[11], const TVec3 &rgb, double severity)
{
    const double scaled = severity * 10;
    const int low = std::min(static_cast<int>(scaled), 9);
    const double t = scaled - low;
    const TVec3 a = Apply(table[low], rgb), b = Apply(table[low + 1], rgb);
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

const TVisionNames *NamesOf(TVision vision)
{
    for (const TVisionNames &n : Names)
        if (n.Vision == vision)
            return &n;
    return &Names[0];
}

} // namespace

std::span<const TVision> AllVisions() { return Visions; }

bool HasSeverity(TVision vision)
{
    return vision == TVision::Protanomaly || vision == TVision::Deuteranomaly || vision == TVision::Tritanomaly;
}

TVec3 SimulateLinearSrgb(const TVec3 &rgb, TVision vision, double severity)
{
    severity = std::isnan(severity) ? 1 : std::clamp(severity, 0.0, 1.0);
    switch (vision) {
    case TVision::Normal: return rgb;
    case TVision::Protanopia: return Apply(Dichromacy().Protan, rgb);
    case TVision::Deuteranopia: return Apply(Dichromacy().Deutan, rgb);
    case TVision::Tritanopia: {
        const TDichromacy &d = Dichromacy();
        const int side = Dot(Apply(d.LmsOfRgb, rgb), d.Separation) >= 0 ? 0 : 1;
        return Apply(d.TritanOnSide[side], rgb);
    }
    case TVision::Protanomaly: return Anomalous(Protanomaly, rgb, severity);
    case TVision::Deuteranomaly: return Anomalous(Deuteranomaly, rgb, severity);
    case TVision::Tritanomaly: return Anomalous(Tritanomaly, rgb, severity);
    case TVision::Achromatopsia: {
        // WCAG's weights, so that the grey keeps the colour's contrast figures to the last digit.
        const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
        return {y, y, y};
    }
    }
    return rgb;
}

TExactColour SimulateVision(const TExactColour &colour, TVision vision, double severity)
{
    if (vision == TVision::Normal)
        return colour;
    const TVec3 linear = colour.Space == TColourSpace::SrgbLinear && colour.Missing == std::array<bool, 4>{}
                             ? colour.Coords
                             : colour.To(TColourSpace::SrgbLinear).Coords;
    TExactColour seen;
    seen.Space = TColourSpace::Srgb;
    seen.Coords = GamSrgb(SimulateLinearSrgb(linear, vision, severity));
    seen.Alpha = colour.Alpha;
    seen.Missing[3] = colour.Missing[3];
    return seen;
}

TExactColour SimulateVision(const TExactColour &colour, const TVisionChoice &choice)
{
    return SimulateVision(colour, choice.Vision, choice.Severity);
}

QString VisionName(TVision vision) { return QLatin1String(NamesOf(vision)->Name); }

QString VisionTitle(TVision vision) { return QLatin1String(NamesOf(vision)->Title); }

QString VisionChoiceText(const TVisionChoice &choice)
{
    if (!HasSeverity(choice.Vision) || choice.Severity == 1)
        return VisionName(choice.Vision);
    return VisionName(choice.Vision) + QLatin1Char(':') + QString::fromStdString(FixedText(choice.Severity, 3));
}

std::optional<TVisionChoice> ReadVisionChoice(QStringView text)
{
    text = text.trimmed();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QStringView name = (colon < 0 ? text : text.left(colon)).trimmed();
    const TVisionNames *found = nullptr;
    for (const TVisionNames &n : Names)
        if (name.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0)
            found = &n;
    if (!found)
        return std::nullopt;
    TVisionChoice choice{found->Vision, 1};
    if (colon < 0)
        return choice;
    if (!HasSeverity(found->Vision))
        return std::nullopt;
    // A plain decimal: no sign, exponent, NaN or infinity, and at most 1.
    static const QRegularExpression decimal(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    const QStringView severity = text.sliced(colon + 1).trimmed();
    if (severity.size() > 40 || !decimal.match(severity.toString()).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = severity.toDouble(&ok);
    if (!ok || value > 1)
        return std::nullopt;
    choice.Severity = value;
    return choice;
}
