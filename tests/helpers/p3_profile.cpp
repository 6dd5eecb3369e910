// Writes a display-p3 monitor profile (its primaries, D65 white, sRGB's curve), made with Little
// CMS as a calibration tool would, for the eyedropper's real-window checks:
//   p3_profile FILE
#include <lcms2.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: p3_profile FILE\n");
        return 2;
    }
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const double srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve *curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    cmsMLU *description = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(description, "en", "US", "P3 Test Monitor");
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, description);
    cmsMLUfree(description);
    const bool saved = profile && cmsSaveProfileToFile(profile, argv[1]);
    if (profile)
        cmsCloseProfile(profile);
    if (!saved)
        std::fprintf(stderr, "p3_profile: could not write %s\n", argv[1]);
    return saved ? 0 : 1;
}
