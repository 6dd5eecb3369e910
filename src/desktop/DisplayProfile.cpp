#include "desktop/DisplayProfile.h"

#include "desktop/LittleCms.h"
#include "desktop/PickAverage.h"
#include "desktop/X11Screen.h"

#include <algorithm>
#include <cmath>

namespace {

// Little CMS reports its complaints through a context; the eyedropper has no use for them
// beyond "this profile cannot be used", so they go nowhere.
cmsContext QuietContext(const TLittleCms &cms)
{
    static const cmsContext context = [&cms] {
        cmsContext c = cms.cmsCreateContext(nullptr, nullptr);
        cms.cmsSetLogErrorHandlerTHR(c, [](cmsContext, cmsUInt32Number, const char *) {});
        return c;
    }();
    return context;
}

// The library where a transform exists: only a loaded library makes one.
const TLittleCms &Loaded()
{
    QString unused;
    return *LittleCms(unused);
}

struct ProfileCloser {
    const TLittleCms *Cms;
    void operator()(void *p) const { Cms->cmsCloseProfile(p); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

QString Description(const TLittleCms &cms, cmsHPROFILE profile)
{
    wchar_t text[256] = {};
    const cmsUInt32Number n = cms.cmsGetProfileInfo(profile, cmsInfoDescription, "en", "US", text, sizeof text);
    if (n == 0)
        return {};
    QString name = QString::fromWCharArray(text).trimmed();
    // A description is for people: no control characters, and not a page long.
    name.erase(std::remove_if(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }),
               name.end());
    return name.left(64);
}

// Little CMS's D50 white is CSS's rounded to four digits; its XYZ is scaled to CSS's, so that
// the monitor's white comes out as exactly white.
TVec3 CssXyz(const cmsCIEXYZ &xyz)
{
    const cmsCIEXYZ *d50 = Loaded().cmsD50_XYZ();
    const TVec3 css{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
    return {xyz.X * css[0] / d50->X, xyz.Y * css[1] / d50->Y, xyz.Z * css[2] / d50->Z};
}

// A coordinate within rounding error of the ends of its range is the end. A profile holds its
// primaries and white to 16 bits after the point, which leaves the colours it gives a few
// ten-thousandths off: a quarter of an 8-bit step is well beyond that and still out of sight.
double Snapped(double v)
{
    constexpr double eps = 1e-3;
    if (std::abs(v) < eps)
        return 0;
    if (std::abs(v - 1) < eps)
        return 1;
    return v;
}

int Channel(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

} // namespace

TDisplayProfile TDisplayProfile::Unusable(QString why)
{
    TDisplayProfile profile;
    profile.FWhy = std::move(why);
    return profile;
}

TDisplayProfile TDisplayProfile::FromBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return Unusable(QStringLiteral("empty"));
    if (bytes.size() > MaxDisplayProfileBytes)
        return Unusable(QStringLiteral("too large"));
    QString why;
    const TLittleCms *cms = LittleCms(why);
    if (!cms)
        return Unusable(why);
    cmsContext context = QuietContext(*cms);
    const Profile display(
        cms->cmsOpenProfileFromMemTHR(context, bytes.constData(), static_cast<cmsUInt32Number>(bytes.size())), {cms});
    if (!display)
        return Unusable(QStringLiteral("not an ICC profile"));
    if (cms->cmsGetColorSpace(display.get()) != cmsSigRgbData || cms->cmsGetDeviceClass(display.get()) != cmsSigDisplayClass)
        return Unusable(QStringLiteral("not an RGB display profile"));
    const Profile srgb(cms->cmsCreate_sRGBProfileTHR(context), {cms});
    cmsHTRANSFORM transform = cms->cmsCreateTransformTHR(context, display.get(), TYPE_RGB_DBL, srgb.get(), TYPE_RGB_DBL,
                                                         INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
    if (!transform)
        return Unusable(QStringLiteral("damaged"));
    TDisplayProfile profile;
    profile.FTransform = std::shared_ptr<void>(transform, cms->cmsDeleteTransform);
    const Profile xyz(cms->cmsCreateXYZProfileTHR(context), {cms});
    cmsHTRANSFORM toXyz = cms->cmsCreateTransformTHR(context, display.get(), TYPE_RGB_DBL, xyz.get(), TYPE_XYZ_DBL,
                                                     INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
    if (!toXyz)
        return Unusable(QStringLiteral("damaged"));
    profile.FToXyz = std::shared_ptr<void>(toXyz, cms->cmsDeleteTransform);
    // Wider than sRGB: a primary beyond sRGB's cube by more than the profile's own rounding.
    for (const TColor primary : {TColor(0xFF), TColor(0xFF00), TColor(0xFF0000)}) {
        const TVec3 linear = colour::XyzToLinSrgb(colour::D50ToD65(profile.Xyz(primary)));
        for (const double v : linear)
            if (!std::isfinite(v) || v < -2e-3 || v > 1 + 2e-3)
                profile.FWide = true;
    }
    profile.FName = Description(*cms, display.get());
    if (profile.FName.isEmpty())
        profile.FName = QStringLiteral("without a name");
    return profile;
}

QString TDisplayProfile::Caption() const
{
    if (Usable())
        return QStringLiteral("as shown: display profile %1").arg(FName);
    if (FWhy.isEmpty())
        return QStringLiteral("no display profile");
    return QStringLiteral("no display profile (%1)").arg(FWhy);
}

TColor TDisplayProfile::AsShown(TColor device) const
{
    if (!Usable())
        return device;
    const double in[3] = {(device & 0xFF) / 255.0, ((device >> 8) & 0xFF) / 255.0, ((device >> 16) & 0xFF) / 255.0};
    double out[3] = {};
    Loaded().cmsDoTransform(FTransform.get(), in, out, 1);
    return Channel(out[0]) | (Channel(out[1]) << 8) | (Channel(out[2]) << 16);
}

TVec3 TDisplayProfile::Xyz(TColor device) const
{
    const TVec3 rgb{(device & 0xFF) / 255.0, ((device >> 8) & 0xFF) / 255.0, ((device >> 16) & 0xFF) / 255.0};
    if (!FToXyz)
        return colour::D65ToD50(colour::LinSrgbToXyz(colour::LinSrgb(rgb)));
    cmsCIEXYZ xyz{};
    Loaded().cmsDoTransform(FToXyz.get(), rgb.data(), &xyz, 1);
    return CssXyz(xyz);
}

TVec3 TDisplayProfile::MeanXyz(const std::vector<QRgb> &pixels) const
{
    std::vector<double> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const QRgb p : pixels)
        rgb.insert(rgb.end(), {qRed(p) / 255.0, qGreen(p) / 255.0, qBlue(p) / 255.0});
    std::vector<cmsCIEXYZ> xyz(pixels.size());
    Loaded().cmsDoTransform(FToXyz.get(), rgb.data(), xyz.data(), static_cast<cmsUInt32Number>(pixels.size()));
    cmsCIEXYZ sum{};
    for (const cmsCIEXYZ &v : xyz) {
        sum.X += v.X;
        sum.Y += v.Y;
        sum.Z += v.Z;
    }
    const double n = static_cast<double>(pixels.size());
    return CssXyz({sum.X / n, sum.Y / n, sum.Z / n});
}

TExactColour TDisplayProfile::Taken(const std::vector<QRgb> &pixels) const
{
    if (pixels.empty())
        return TExactColour::FromRgb8({});
    if (!Usable())
        return TExactColour::FromRgb8(pixels.size() == 1 ? TRgb8{qRed(pixels[0]), qGreen(pixels[0]), qBlue(pixels[0])}
                                                         : LinearMean(pixels));
    if (pixels.size() == 1 && !FWide) {
        const TColor shown = AsShown(static_cast<TColor>(qRed(pixels[0]) | (qGreen(pixels[0]) << 8) | (qBlue(pixels[0]) << 16)));
        return TExactColour::FromRgb8({static_cast<int>(shown & 0xFF), static_cast<int>((shown >> 8) & 0xFF),
                                       static_cast<int>((shown >> 16) & 0xFF)});
    }
    const TVec3 xyz = MeanXyz(pixels);
    TExactColour c;
    c.Space = TColourSpace::XyzD50;
    c.Coords = xyz;
    if (!FWide) {
        const std::optional<TMappedRgb8> rgb = ToRgb8(TColourSpace::XyzD50, xyz);
        return TExactColour::FromRgb8(rgb ? rgb->Rgb : TRgb8{});
    }
    // Kept exactly: in display-p3 where it fits, which reads as the monitor's own kind of value.
    TExactColour p3 = c.To(TColourSpace::DisplayP3);
    bool inP3 = true;
    for (double &v : p3.Coords) {
        v = Snapped(v);
        inP3 = inP3 && std::isfinite(v) && v >= 0 && v <= 1;
    }
    return inP3 ? p3 : c.To(TColourSpace::XyzD65);
}

QByteArray DisplayProfileProperty(int monitor)
{
    return monitor <= 0 ? QByteArrayLiteral("_ICC_PROFILE") : QByteArrayLiteral("_ICC_PROFILE_") + QByteArray::number(monitor);
}

TDisplayProfile X11DisplayProfile(int screen, int monitor)
{
    bool tooLarge = false;
    const std::optional<QByteArray> bytes =
        X11Screen::RootProperty(screen, DisplayProfileProperty(monitor), MaxDisplayProfileBytes, &tooLarge);
    if (tooLarge)
        return TDisplayProfile::Unusable(QStringLiteral("too large"));
    if (!bytes)
        return {};
    return TDisplayProfile::FromBytes(*bytes);
}

TDisplayProfiles::TDisplayProfiles(TSource source) : FSource(source ? std::move(source) : TSource(X11DisplayProfile)) {}

const TDisplayProfile &TDisplayProfiles::For(int screen, int monitor)
{
    const auto key = std::make_pair(screen, monitor);
    auto it = FRead.find(key);
    if (it == FRead.end())
        it = FRead.emplace(key, FSource(screen, monitor)).first;
    return it->second;
}
