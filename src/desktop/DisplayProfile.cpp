#include "desktop/DisplayProfile.h"

#include "desktop/X11Screen.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>

namespace {

// Little CMS reports its complaints through a context; the eyedropper has no use for them
// beyond "this profile cannot be used", so they go nowhere.
cmsContext QuietContext()
{
    static const cmsContext context = [] {
        cmsContext c = cmsCreateContext(nullptr, nullptr);
        cmsSetLogErrorHandlerTHR(c, [](cmsContext, cmsUInt32Number, const char *) {});
        return c;
    }();
    return context;
}

struct ProfileCloser {
    void operator()(void *p) const { cmsCloseProfile(p); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

QString Description(cmsHPROFILE profile)
{
    wchar_t text[256] = {};
    const cmsUInt32Number n = cmsGetProfileInfo(profile, cmsInfoDescription, "en", "US", text, sizeof text);
    if (n == 0)
        return {};
    QString name = QString::fromWCharArray(text).trimmed();
    // A description is for people: no control characters, and not a page long.
    name.erase(std::remove_if(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }),
               name.end());
    return name.left(64);
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
    cmsContext context = QuietContext();
    const Profile display(cmsOpenProfileFromMemTHR(context, bytes.constData(), static_cast<cmsUInt32Number>(bytes.size())));
    if (!display)
        return Unusable(QStringLiteral("not an ICC profile"));
    if (cmsGetColorSpace(display.get()) != cmsSigRgbData || cmsGetDeviceClass(display.get()) != cmsSigDisplayClass)
        return Unusable(QStringLiteral("not an RGB display profile"));
    const Profile srgb(cmsCreate_sRGBProfileTHR(context));
    cmsHTRANSFORM transform = cmsCreateTransformTHR(context, display.get(), TYPE_RGB_DBL, srgb.get(), TYPE_RGB_DBL,
                                                    INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
    if (!transform)
        return Unusable(QStringLiteral("damaged"));
    TDisplayProfile profile;
    profile.FTransform = std::shared_ptr<void>(transform, cmsDeleteTransform);
    profile.FName = Description(display.get());
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
    cmsDoTransform(FTransform.get(), in, out, 1);
    return Channel(out[0]) | (Channel(out[1]) << 8) | (Channel(out[2]) << 16);
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
