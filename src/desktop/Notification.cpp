#include "desktop/Notification.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>

namespace {

// The "image-data" hint: width, height, row stride, alpha, bits per sample, channels, bytes.
struct TImageData {
    int Width = 0, Height = 0, Stride = 0;
    bool Alpha = false;
    int Bits = 8, Channels = 3;
    QByteArray Data;
};

constexpr int SwatchSide = 64;

} // namespace

Q_DECLARE_METATYPE(TImageData)

namespace {

QDBusArgument &operator<<(QDBusArgument &arg, const TImageData &i)
{
    arg.beginStructure();
    arg << i.Width << i.Height << i.Stride << i.Alpha << i.Bits << i.Channels << i.Data;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, TImageData &i)
{
    arg.beginStructure();
    arg >> i.Width >> i.Height >> i.Stride >> i.Alpha >> i.Bits >> i.Channels >> i.Data;
    arg.endStructure();
    return arg;
}

TImageData Swatch(TColor colour)
{
    TImageData image;
    image.Width = image.Height = SwatchSide;
    image.Stride = SwatchSide * 3;
    const char rgb[3] = {static_cast<char>(GetRValue(colour)), static_cast<char>(GetGValue(colour)),
                         static_cast<char>(GetBValue(colour))};
    image.Data.reserve(image.Stride * SwatchSide);
    for (int i = 0; i < SwatchSide * SwatchSide; ++i)
        image.Data.append(rgb, 3);
    return image;
}

} // namespace

void NotifyColour(const QDBusConnection &bus, const QString &summary, const QString &body, TColor colour)
{
    if (!bus.isConnected())
        return;
    qDBusRegisterMetaType<TImageData>();
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("image-data"), QVariant::fromValue(Swatch(colour))},
                            {QStringLiteral("desktop-entry"), QStringLiteral("pigmora")},
                            {QStringLiteral("transient"), true}};
    call << QStringLiteral("Pigmora") << 0u << QString() << summary << body << QStringList() << hints << -1;
    call.setAutoStartService(true);
    bus.asyncCall(call);
}
