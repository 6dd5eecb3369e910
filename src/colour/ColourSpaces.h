#pragma once

#include <array>

// The colour spaces of CSS Color 4, each step one small function with the sample code's name
// and matrix, composed through CIE XYZ. Every value is a double; sRGB-like values are 0-1 in
// gamut, Lab L 0-100, OKLab L 0-1, hues in degrees. The transfer functions extend to negative
// values by reflection, so out-of-gamut colours pass through unharmed.
using TVec3 = std::array<double, 3>;

namespace colour {

// Hues are NaN where they are powerless (an achromatic colour).
bool IsPowerless(double hue);

TVec3 LinSrgb(const TVec3 &rgb);
TVec3 GamSrgb(const TVec3 &rgb);
TVec3 LinSrgbToXyz(const TVec3 &rgb); // D65
TVec3 XyzToLinSrgb(const TVec3 &xyz);

TVec3 LinP3(const TVec3 &rgb);
TVec3 GamP3(const TVec3 &rgb);
TVec3 LinP3ToXyz(const TVec3 &rgb);
TVec3 XyzToLinP3(const TVec3 &xyz);

TVec3 LinProPhoto(const TVec3 &rgb);
TVec3 GamProPhoto(const TVec3 &rgb);
TVec3 LinProPhotoToXyz(const TVec3 &rgb); // D50
TVec3 XyzToLinProPhoto(const TVec3 &xyz);

TVec3 LinA98Rgb(const TVec3 &rgb);
TVec3 GamA98Rgb(const TVec3 &rgb);
TVec3 LinA98RgbToXyz(const TVec3 &rgb);
TVec3 XyzToLinA98Rgb(const TVec3 &xyz);

TVec3 Lin2020(const TVec3 &rgb);
TVec3 Gam2020(const TVec3 &rgb);
TVec3 Lin2020ToXyz(const TVec3 &rgb);
TVec3 XyzToLin2020(const TVec3 &xyz);

// Bradford chromatic adaptation.
TVec3 D65ToD50(const TVec3 &xyz);
TVec3 D50ToD65(const TVec3 &xyz);

TVec3 XyzToLab(const TVec3 &xyzD50);
TVec3 LabToXyz(const TVec3 &lab);
TVec3 LabToLch(const TVec3 &lab);
TVec3 LchToLab(const TVec3 &lch);

TVec3 XyzToOklab(const TVec3 &xyzD65);
TVec3 OklabToXyz(const TVec3 &oklab);
TVec3 OklabToOklch(const TVec3 &oklab);
TVec3 OklchToOklab(const TVec3 &oklch);

// HSL and HWB over gamma-encoded sRGB 0-1; saturation, lightness, whiteness and blackness in
// percent.
TVec3 HslToSrgb(const TVec3 &hsl);
TVec3 SrgbToHsl(const TVec3 &rgb);
TVec3 HwbToSrgb(const TVec3 &hwb);
TVec3 SrgbToHwb(const TVec3 &rgb);

// The colour difference in OKLab: the root of the summed squares.
double DeltaEOK(const TVec3 &reference, const TVec3 &sample);

} // namespace colour

// Every space a CSS colour can be written in.
enum class TColourSpace {
    Srgb, SrgbLinear, DisplayP3, A98Rgb, ProPhotoRgb, Rec2020, XyzD50, XyzD65, Lab, Lch, Oklab, Oklch, Hsl, Hwb
};

// A colour's coordinates in a space converted to XYZ D65 and back.
TVec3 ToXyzD65(TColourSpace space, const TVec3 &c);
TVec3 FromXyzD65(TColourSpace space, const TVec3 &xyz);
// Gamma-encoded sRGB of a colour in any space (unbounded: out-of-gamut values leave 0-1).
TVec3 ToSrgb(TColourSpace space, const TVec3 &c);
// A gamma-encoded sRGB colour in any space.
TVec3 FromSrgb(TColourSpace space, const TVec3 &rgb);
