#include "colour/ColourSpaces.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace colour {
namespace {

using TMat3 = std::array<TVec3, 3>;

TVec3 Multiply(const TMat3 &m, const TVec3 &v)
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

template <typename F>
TVec3 EachChannel(const TVec3 &v, F f)
{
    return {f(v[0]), f(v[1]), f(v[2])};
}

// The sign of a value carried over to a function of its magnitude.
template <typename F>
double Reflected(double v, F f)
{
    return v < 0 ? -f(-v) : f(v);
}

// Reference whites from their 4-figure chromaticities.
constexpr TVec3 D50 = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};

constexpr TMat3 LinSrgbToXyzM = {{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr TMat3 XyzToLinSrgbM = {{
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
}};
constexpr TMat3 LinP3ToXyzM = {{
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0, 32229.0 / 714400, 5220557.0 / 5000800},
}};
constexpr TMat3 XyzToLinP3M = {{
    {446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
    {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
    {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415},
}};
// ProPhoto's matrices have no rational form; these are computed to double precision.
constexpr TMat3 LinProPhotoToXyzM = {{
    {0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
    {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
    {0.0, 0.0, 0.82510460251046020},
}};
constexpr TMat3 XyzToLinProPhotoM = {{
    {1.34578688164715830, -0.25557208737979464, -0.05110186497554526},
    {-0.54463070512490190, 1.50824774284514680, 0.02052744743642139},
    {0.0, 0.0, 1.21196754563894520},
}};
constexpr TMat3 LinA98RgbToXyzM = {{
    {573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
    {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
    {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835},
}};
constexpr TMat3 XyzToLinA98RgbM = {{
    {1829569.0 / 896150, -506331.0 / 896150, -308931.0 / 896150},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {16779.0 / 1248040, -147721.0 / 1248040, 1266979.0 / 1248040},
}};
constexpr TMat3 Lin2020ToXyzM = {{
    {63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
    {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
    {0.0, 19567812.0 / 697040785, 295819943.0 / 278816314},
}};
constexpr TMat3 XyzToLin2020M = {{
    {30757411.0 / 17917100, -6372589.0 / 17917100, -4539589.0 / 17917100},
    {-19765991.0 / 29648200, 47925759.0 / 29648200, 467509.0 / 29648200},
    {792561.0 / 44930125, -1921689.0 / 44930125, 42328811.0 / 44930125},
}};
constexpr TMat3 D65ToD50M = {{
    {1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
    {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
    {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371},
}};
constexpr TMat3 D50ToD65M = {{
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
}};
// OKLab's matrices, recalculated for the same D65 white as the others.
constexpr TMat3 XyzToLmsM = {{
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
}};
constexpr TMat3 LmsToOklabM = {{
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
}};
constexpr TMat3 LmsToXyzM = {{
    {1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816},
}};
constexpr TMat3 OklabToLmsM = {{
    {1.0, 0.3963377773761749, 0.2158037573099136},
    {1.0, -0.1055613458156586, -0.0638541728258133},
    {1.0, -0.0894841775298119, -1.2914855480194092},
}};

constexpr double Radians = std::numbers::pi / 180;

// A hue in degrees from a and b, in [0, 360); NaN when the chroma is at most epsilon.
TVec3 ToPolar(const TVec3 &lab, double epsilon)
{
    const double chroma = std::sqrt(lab[1] * lab[1] + lab[2] * lab[2]);
    double hue = std::atan2(lab[2], lab[1]) / Radians;
    if (hue < 0)
        hue += 360;
    // Within epsilon of grey the colour is grey, as the browsers take it: no chroma, no hue.
    if (chroma <= epsilon)
        return {lab[0], 0, std::numeric_limits<double>::quiet_NaN()};
    return {lab[0], chroma, hue};
}

TVec3 FromPolar(const TVec3 &lch)
{
    const double hue = IsPowerless(lch[2]) ? 0 : lch[2];
    return {lch[0], lch[1] * std::cos(hue * Radians), lch[1] * std::sin(hue * Radians)};
}

} // namespace

bool IsPowerless(double hue) { return std::isnan(hue); }

TVec3 LinSrgb(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) {
        return Reflected(v, [](double a) { return a <= 0.04045 ? a / 12.92 : std::pow((a + 0.055) / 1.055, 2.4); });
    });
}

TVec3 GamSrgb(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) {
        return Reflected(v, [](double a) { return a > 0.0031308 ? 1.055 * std::pow(a, 1 / 2.4) - 0.055 : 12.92 * a; });
    });
}

TVec3 LinSrgbToXyz(const TVec3 &rgb) { return Multiply(LinSrgbToXyzM, rgb); }
TVec3 XyzToLinSrgb(const TVec3 &xyz) { return Multiply(XyzToLinSrgbM, xyz); }

TVec3 LinP3(const TVec3 &rgb) { return LinSrgb(rgb); }
TVec3 GamP3(const TVec3 &rgb) { return GamSrgb(rgb); }
TVec3 LinP3ToXyz(const TVec3 &rgb) { return Multiply(LinP3ToXyzM, rgb); }
TVec3 XyzToLinP3(const TVec3 &xyz) { return Multiply(XyzToLinP3M, xyz); }

TVec3 LinProPhoto(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) {
        return Reflected(v, [](double a) { return a <= 16.0 / 512 ? a / 16 : std::pow(a, 1.8); });
    });
}

TVec3 GamProPhoto(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) {
        return Reflected(v, [](double a) { return a >= 1.0 / 512 ? std::pow(a, 1 / 1.8) : 16 * a; });
    });
}

TVec3 LinProPhotoToXyz(const TVec3 &rgb) { return Multiply(LinProPhotoToXyzM, rgb); }
TVec3 XyzToLinProPhoto(const TVec3 &xyz) { return Multiply(XyzToLinProPhotoM, xyz); }

TVec3 LinA98Rgb(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) { return Reflected(v, [](double a) { return std::pow(a, 563.0 / 256); }); });
}

TVec3 GamA98Rgb(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) { return Reflected(v, [](double a) { return std::pow(a, 256.0 / 563); }); });
}

TVec3 LinA98RgbToXyz(const TVec3 &rgb) { return Multiply(LinA98RgbToXyzM, rgb); }
TVec3 XyzToLinA98Rgb(const TVec3 &xyz) { return Multiply(XyzToLinA98RgbM, xyz); }

// Rec. 2020 as CSS now writes it: BT.1886's pure power of 2.4, extended to negative values.
TVec3 Lin2020(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) { return Reflected(v, [](double a) { return std::pow(a, 2.4); }); });
}

TVec3 Gam2020(const TVec3 &rgb)
{
    return EachChannel(rgb, [](double v) { return Reflected(v, [](double a) { return std::pow(a, 1 / 2.4); }); });
}

TVec3 Lin2020ToXyz(const TVec3 &rgb) { return Multiply(Lin2020ToXyzM, rgb); }
TVec3 XyzToLin2020(const TVec3 &xyz) { return Multiply(XyzToLin2020M, xyz); }

TVec3 D65ToD50(const TVec3 &xyz) { return Multiply(D65ToD50M, xyz); }
TVec3 D50ToD65(const TVec3 &xyz) { return Multiply(D50ToD65M, xyz); }

namespace {
constexpr double LabEpsilon = 216.0 / 24389; // 6^3 / 29^3
constexpr double LabKappa = 24389.0 / 27;    // 29^3 / 3^3
} // namespace

TVec3 XyzToLab(const TVec3 &xyzD50)
{
    TVec3 f;
    for (int i = 0; i < 3; ++i) {
        const double v = xyzD50[i] / D50[i];
        f[i] = v > LabEpsilon ? std::cbrt(v) : (LabKappa * v + 16) / 116;
    }
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

TVec3 LabToXyz(const TVec3 &lab)
{
    const double f1 = (lab[0] + 16) / 116;
    const double f0 = lab[1] / 500 + f1;
    const double f2 = f1 - lab[2] / 200;
    const TVec3 xyz = {
        std::pow(f0, 3) > LabEpsilon ? std::pow(f0, 3) : (116 * f0 - 16) / LabKappa,
        lab[0] > LabKappa * LabEpsilon ? std::pow((lab[0] + 16) / 116, 3) : lab[0] / LabKappa,
        std::pow(f2, 3) > LabEpsilon ? std::pow(f2, 3) : (116 * f2 - 16) / LabKappa,
    };
    return {xyz[0] * D50[0], xyz[1] * D50[1], xyz[2] * D50[2]};
}

TVec3 LabToLch(const TVec3 &lab) { return ToPolar(lab, 0.0015); }
TVec3 LchToLab(const TVec3 &lch) { return FromPolar(lch); }

TVec3 XyzToOklab(const TVec3 &xyzD65)
{
    const TVec3 lms = Multiply(XyzToLmsM, xyzD65);
    return Multiply(LmsToOklabM, EachChannel(lms, [](double c) { return std::cbrt(c); }));
}

TVec3 OklabToXyz(const TVec3 &oklab)
{
    const TVec3 lms = Multiply(OklabToLmsM, oklab);
    return Multiply(LmsToXyzM, EachChannel(lms, [](double c) { return c * c * c; }));
}

TVec3 OklabToOklch(const TVec3 &oklab) { return ToPolar(oklab, 0.000004); }
TVec3 OklchToOklab(const TVec3 &oklch) { return FromPolar(oklch); }

TVec3 HslToSrgb(const TVec3 &hsl)
{
    const double hue = IsPowerless(hsl[0]) ? 0 : hsl[0];
    const double sat = hsl[1] / 100, light = hsl[2] / 100;
    const auto f = [&](double n) {
        const double k = std::fmod(n + hue / 30, 12);
        const double a = sat * std::min(light, 1 - light);
        return light - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

TVec3 SrgbToHsl(const TVec3 &rgb)
{
    const double red = rgb[0], green = rgb[1], blue = rgb[2];
    const double max = std::max({red, green, blue}), min = std::min({red, green, blue});
    double hue = std::numeric_limits<double>::quiet_NaN(), sat = 0;
    const double light = (min + max) / 2;
    const double d = max - min;
    if (d != 0) {
        sat = (light == 0 || light == 1) ? 0 : (max - light) / std::min(light, 1 - light);
        if (max == red)
            hue = (green - blue) / d + (green < blue ? 6 : 0);
        else if (max == green)
            hue = (blue - red) / d + 2;
        else
            hue = (red - green) / d + 4;
        hue *= 60;
    }
    // Far out of gamut a colour can come out with a negative saturation: the opposite hue.
    if (sat < 0) {
        hue += 180;
        sat = std::abs(sat);
    }
    if (hue >= 360)
        hue -= 360;
    return {hue, sat * 100, light * 100};
}

TVec3 HwbToSrgb(const TVec3 &hwb)
{
    const double white = hwb[1] / 100, black = hwb[2] / 100;
    if (white + black >= 1) {
        const double grey = white / (white + black);
        return {grey, grey, grey};
    }
    TVec3 rgb = HslToSrgb({hwb[0], 100, 50});
    for (double &c : rgb)
        c = c * (1 - white - black) + white;
    return rgb;
}

TVec3 SrgbToHwb(const TVec3 &rgb)
{
    // The hue as HSL has it, but never turned round for a negative saturation: whiteness and
    // blackness carry a colour outside sRGB as it is.
    TVec3 hsl = SrgbToHsl(rgb);
    const double max = std::max({rgb[0], rgb[1], rgb[2]}), min = std::min({rgb[0], rgb[1], rgb[2]});
    const double light = (max + min) / 2;
    if (!IsPowerless(hsl[0]) && light != 0 && light != 1 && (max - light) / std::min(light, 1 - light) < 0)
        hsl[0] = std::fmod(hsl[0] + 180, 360);
    const double white = std::min({rgb[0], rgb[1], rgb[2]});
    const double black = 1 - std::max({rgb[0], rgb[1], rgb[2]});
    return {hsl[0], white * 100, black * 100};
}

double DeltaEOK(const TVec3 &reference, const TVec3 &sample)
{
    const double dl = reference[0] - sample[0], da = reference[1] - sample[1], db = reference[2] - sample[2];
    return std::sqrt(dl * dl + da * da + db * db);
}

} // namespace colour

using namespace colour;

TVec3 ToXyzD65(TColourSpace space, const TVec3 &c)
{
    switch (space) {
    case TColourSpace::Srgb: return LinSrgbToXyz(LinSrgb(c));
    case TColourSpace::SrgbLinear: return LinSrgbToXyz(c);
    case TColourSpace::DisplayP3: return LinP3ToXyz(LinP3(c));
    case TColourSpace::A98Rgb: return LinA98RgbToXyz(LinA98Rgb(c));
    case TColourSpace::ProPhotoRgb: return D50ToD65(LinProPhotoToXyz(LinProPhoto(c)));
    case TColourSpace::Rec2020: return Lin2020ToXyz(Lin2020(c));
    case TColourSpace::XyzD50: return D50ToD65(c);
    case TColourSpace::XyzD65: return c;
    case TColourSpace::Lab: return D50ToD65(LabToXyz(c));
    case TColourSpace::Lch: return D50ToD65(LabToXyz(LchToLab(c)));
    case TColourSpace::Oklab: return OklabToXyz(c);
    case TColourSpace::Oklch: return OklabToXyz(OklchToOklab(c));
    case TColourSpace::Hsl: return LinSrgbToXyz(LinSrgb(HslToSrgb(c)));
    case TColourSpace::Hwb: return LinSrgbToXyz(LinSrgb(HwbToSrgb(c)));
    }
    return c;
}

TVec3 FromXyzD65(TColourSpace space, const TVec3 &xyz)
{
    switch (space) {
    case TColourSpace::Srgb: return GamSrgb(XyzToLinSrgb(xyz));
    case TColourSpace::SrgbLinear: return XyzToLinSrgb(xyz);
    case TColourSpace::DisplayP3: return GamP3(XyzToLinP3(xyz));
    case TColourSpace::A98Rgb: return GamA98Rgb(XyzToLinA98Rgb(xyz));
    case TColourSpace::ProPhotoRgb: return GamProPhoto(XyzToLinProPhoto(D65ToD50(xyz)));
    case TColourSpace::Rec2020: return Gam2020(XyzToLin2020(xyz));
    case TColourSpace::XyzD50: return D65ToD50(xyz);
    case TColourSpace::XyzD65: return xyz;
    case TColourSpace::Lab: return XyzToLab(D65ToD50(xyz));
    case TColourSpace::Lch: return LabToLch(XyzToLab(D65ToD50(xyz)));
    case TColourSpace::Oklab: return XyzToOklab(xyz);
    case TColourSpace::Oklch: return OklabToOklch(XyzToOklab(xyz));
    case TColourSpace::Hsl: return SrgbToHsl(GamSrgb(XyzToLinSrgb(xyz)));
    case TColourSpace::Hwb: return SrgbToHwb(GamSrgb(XyzToLinSrgb(xyz)));
    }
    return xyz;
}

TVec3 ToSrgb(TColourSpace space, const TVec3 &c)
{
    // The sRGB family skips the trip through XYZ, as the sample code's own functions do.
    switch (space) {
    case TColourSpace::Srgb: return c;
    case TColourSpace::SrgbLinear: return GamSrgb(c);
    case TColourSpace::Hsl: return HslToSrgb(c);
    case TColourSpace::Hwb: return HwbToSrgb(c);
    default: return FromXyzD65(TColourSpace::Srgb, ToXyzD65(space, c));
    }
}

TVec3 FromSrgb(TColourSpace space, const TVec3 &rgb)
{
    switch (space) {
    case TColourSpace::Srgb: return rgb;
    case TColourSpace::SrgbLinear: return LinSrgb(rgb);
    case TColourSpace::Hsl: return SrgbToHsl(rgb);
    case TColourSpace::Hwb: return SrgbToHwb(rgb);
    default: return FromXyzD65(space, ToXyzD65(TColourSpace::Srgb, rgb));
    }
}
