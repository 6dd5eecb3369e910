#include "colour/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

// A channel 0-1; beyond the cube (a fallback a hair outside it, or garbage) counts as its edge.
double Unit(double v) { return std::isnan(v) ? 0 : std::clamp(v, 0.0, 1.0); }

double WcagLinear(double channel)
{
    const double c = Unit(channel);
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// sRGB values gamma-encoded 0-1, in double precision.
double Luminance(const TVec3 &srgb)
{
    return 0.2126 * WcagLinear(srgb[0]) + 0.7152 * WcagLinear(srgb[1]) + 0.0722 * WcagLinear(srgb[2]);
}

double Ratio(const TVec3 &a, const TVec3 &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// APCA-W3 0.0.98G-4g.
constexpr double MainTrc = 2.4;
constexpr double SRco = 0.2126729, SGco = 0.7151522, SBco = 0.0721750;
constexpr double NormBg = 0.56, NormTxt = 0.57, RevTxt = 0.62, RevBg = 0.65;
constexpr double BlkThrs = 0.022, BlkClmp = 1.414;
constexpr double ScaleBoW = 1.14, ScaleWoB = 1.14, LoBoWoffset = 0.027, LoWoBoffset = 0.027;
constexpr double DeltaYmin = 0.0005, LoClip = 0.1;

double ScreenY(const TVec3 &srgb)
{
    const auto channel = [](double v) { return std::pow(Unit(v), MainTrc); };
    return SRco * channel(srgb[0]) + SGco * channel(srgb[1]) + SBco * channel(srgb[2]);
}

double SoftClampBlack(double y) { return y > BlkThrs ? y : y + std::pow(BlkThrs - y, BlkClmp); }

// The fewest decimals up to `decimals`, "." whatever the locale.
QString Decimals(double v, int decimals)
{
    QString s = QString::number(v, 'f', decimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

} // namespace

double RelativeLuminance(const TExactColour &c)
{
    return Luminance(c.SrgbFallback());
}

double RelativeLuminance(const TRgb8 &c)
{
    return Luminance(SrgbOf(c));
}

double ContrastRatio(const TExactColour &a, const TExactColour &b)
{
    return Ratio(a.SrgbFallback(), b.SrgbFallback());
}

double ContrastRatio(const TRgb8 &a, const TRgb8 &b)
{
    return Ratio(SrgbOf(a), SrgbOf(b));
}

QString RatioText(double ratio)
{
    // The small allowance keeps a ratio that is exactly a hundredth, such as 4.5, from showing as
    // one hundredth less through the binary fraction.
    const double cut = std::floor(ratio * 100 + 1e-9) / 100;
    return QString::number(cut, 'f', 2);
}

TWcagVerdict WcagVerdict(double ratio)
{
    return {ratio >= 4.5, ratio >= 3, ratio >= 7, ratio >= 4.5};
}

double ApcaY(const TExactColour &c)
{
    return ScreenY(c.SrgbFallback());
}

double ApcaY(const TRgb8 &c)
{
    return ScreenY(SrgbOf(c));
}

double ApcaContrast(double textY, double backgroundY)
{
    if (std::isnan(textY) || std::isnan(backgroundY) || std::min(textY, backgroundY) < 0
        || std::max(textY, backgroundY) > 1.1)
        return 0;
    const double txt = SoftClampBlack(textY), bg = SoftClampBlack(backgroundY);
    if (std::abs(bg - txt) < DeltaYmin)
        return 0;
    double output;
    if (bg > txt) {
        const double sapc = (std::pow(bg, NormBg) - std::pow(txt, NormTxt)) * ScaleBoW;
        output = sapc < LoClip ? 0 : sapc - LoBoWoffset;
    } else {
        const double sapc = (std::pow(bg, RevBg) - std::pow(txt, RevTxt)) * ScaleWoB;
        output = sapc > -LoClip ? 0 : sapc + LoWoBoffset;
    }
    return output * 100;
}

double ApcaLc(const TExactColour &text, const TExactColour &background)
{
    return ApcaContrast(ApcaY(text), ApcaY(background));
}

double ApcaLc(const TRgb8 &text, const TRgb8 &background)
{
    return ApcaContrast(ApcaY(text), ApcaY(background));
}

QString LcText(double lc)
{
    return Decimals(lc, 1);
}
