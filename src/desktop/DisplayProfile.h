#pragma once

#include "colour/ExactColour.h"
#include "framework/Colors.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// A monitor's ICC profile as the eyedropper uses it: the conversion of the monitor's own RGB
// values to sRGB (relative colorimetric, no black point compensation), which gives the colour
// as the monitor shows it. A profile that cannot be used converts nothing and says why.
class TDisplayProfile {
public:
    // No profile at all.
    TDisplayProfile() = default;
    // The profile these bytes hold. Anything may come in: the bytes are checked by Little CMS's
    // own reader, and a profile that is not an RGB display profile it can transform is unusable.
    static TDisplayProfile FromBytes(const QByteArray &bytes);
    // A profile that could not be read at all, for this reason.
    static TDisplayProfile Unusable(QString why);

    bool Usable() const { return FTransform != nullptr; }
    // The profile's description, empty when unusable.
    const QString &Name() const { return FName; }
    // Why a profile the desktop gave cannot be used; empty when usable or when there was none.
    const QString &Why() const { return FWhy; }
    // What the magnifier says under the colour: "as shown: display profile NAME", or "no display
    // profile" with the reason when there was one that could not be used.
    QString Caption() const;
    // The colour the monitor shows for a device value; the device value itself when unusable.
    TColor AsShown(TColor device) const;

    // Whether the monitor shows colours beyond sRGB: one of its primaries lies outside it.
    bool Wide() const { return FWide; }
    // The colour the monitor shows for these device pixels, averaged in linear light (the mean of
    // what they show, in XYZ). On a wide monitor it is kept exactly, in display-p3 where it lies
    // within it, else in XYZ D65; elsewhere it is rounded once to 8-bit sRGB (one pixel exactly
    // as AsShown gives it). Without a usable profile the device values are averaged as sRGB.
    // Black for no pixels.
    TExactColour Taken(const std::vector<QRgb> &pixels) const;
    // The colour the monitor shows for a device value in XYZ D50 (CSS's white), relative
    // colorimetric; unusable profiles give sRGB's.
    TVec3 Xyz(TColor device) const;

private:
    TVec3 MeanXyz(const std::vector<QRgb> &pixels) const;

    std::shared_ptr<void> FTransform;
    std::shared_ptr<void> FToXyz;
    bool FWide = false;
    QString FName;
    QString FWhy;
};

// Largest profile read from the desktop; real monitor profiles stay far below it.
constexpr qint64 MaxDisplayProfileBytes = 4 * 1024 * 1024;

// The root window property that holds a monitor's profile under X11: _ICC_PROFILE for the first
// monitor of an X screen, _ICC_PROFILE_n for monitor n.
QByteArray DisplayProfileProperty(int monitor);
// The profile X11 gives a monitor (see DisplayProfileProperty); no profile when it gives none.
TDisplayProfile X11DisplayProfile(int screen, int monitor);

// The profiles of the monitors one pick passes over, each read once, from the desktop or from
// a source of the caller's (tests hand in their own profiles).
class TDisplayProfiles {
public:
    using TSource = std::function<TDisplayProfile(int screen, int monitor)>;
    explicit TDisplayProfiles(TSource source = {});
    const TDisplayProfile &For(int screen, int monitor);

private:
    TSource FSource;
    std::map<std::pair<int, int>, TDisplayProfile> FRead;
};
