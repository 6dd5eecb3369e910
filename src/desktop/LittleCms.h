#pragma once

#include "colour/OpenOnFirstUse.h"

#include <QString>

#include <lcms2.h>

// Little CMS, opened the first time a monitor's profile is read: most starts never pick from the
// screen, and linked to the program it would be loaded at every one.
#define PIGMORA_LCMS_FUNCTIONS(X)                                                                      \
    X(cmsCloseProfile) X(cmsCreateContext) X(cmsCreateTransformTHR) X(cmsCreateXYZProfileTHR)            \
    X(cmsCreate_sRGBProfileTHR) X(cmsD50_XYZ) X(cmsDeleteTransform) X(cmsDoTransform) X(cmsGetColorSpace) \
    X(cmsGetDeviceClass) X(cmsGetProfileInfo) X(cmsOpenProfileFromMemTHR) X(cmsSetLogErrorHandlerTHR)

struct TLittleCms {
    PIGMORA_FUNCTION_TABLE(PIGMORA_LCMS_FUNCTIONS)
};

// The library's functions, or null with the reason in `why` where it cannot be loaded.
const TLittleCms *LittleCms(QString &why);
