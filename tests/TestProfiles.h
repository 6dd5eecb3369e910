#pragma once

// Monitor profiles made for the tests with Little CMS, as a calibration tool would write them.
#include <QByteArray>

#include <lcms2.h>

#include <array>

// The bytes of a profile; the profile is closed.
inline QByteArray SavedProfile(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// An RGB monitor with these primaries, D65 white and one tone curve for all three channels.
inline QByteArray MonitorProfile(const cmsCIExyYTRIPLE &primaries, cmsToneCurve *curve, const char *name,
                                 cmsProfileClassSignature deviceClass = cmsSigDisplayClass)
{
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    cmsToneCurve *curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    cmsSetDeviceClass(profile, deviceClass);
    cmsMLU *description = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(description, "en", "US", name);
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, description);
    cmsMLUfree(description);
    return SavedProfile(profile);
}

// A monitor with a wide green: the primaries of a common wide-gamut space, gamma 2.2.
inline QByteArray WideGamutMonitor(cmsProfileClassSignature deviceClass = cmsSigDisplayClass)
{
    return MonitorProfile({{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}}, cmsBuildGamma(nullptr, 2.2),
                          "Wide Test Monitor", deviceClass);
}

// A monitor whose red and blue primaries are swapped, with sRGB's curve: what it is sent as red
// it shows as blue.
inline QByteArray SwappedMonitor()
{
    const std::array<double, 5> srgbCurve{2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return MonitorProfile({{0.15, 0.06, 1.0}, {0.30, 0.60, 1.0}, {0.64, 0.33, 1.0}},
                          cmsBuildParametricToneCurve(nullptr, 4, srgbCurve.data()), "Swapped Test Monitor");
}

// A display-p3 monitor: its primaries, D65 white and sRGB's curve.
inline QByteArray DisplayP3Monitor()
{
    const std::array<double, 5> srgbCurve{2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return MonitorProfile({{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}},
                          cmsBuildParametricToneCurve(nullptr, 4, srgbCurve.data()), "P3 Test Monitor");
}
