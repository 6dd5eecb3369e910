#include "desktop/PortalPick.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

int Channel(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

int NextToken()
{
    static int token = 0;
    return ++token;
}

} // namespace

bool PortalErrorMeansNoPortal(const QString &errorName)
{
    static const QString names[] = {
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
        QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
    };
    return std::find(std::begin(names), std::end(names), errorName) != std::end(names);
}

std::optional<TColor> PortalResultColor(const QVariantMap &results)
{
    const auto it = results.find(QStringLiteral("color"));
    if (it == results.end() || !it->canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument arg = it->value<QDBusArgument>();
    if (arg.currentSignature() != QLatin1String("(ddd)"))
        return std::nullopt;
    double r = 0, g = 0, b = 0;
    arg.beginStructure();
    arg >> r >> g >> b;
    arg.endStructure();
    return Channel(r) | (Channel(g) << 8) | (Channel(b) << 16);
}

QString PortalRequestPath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

TPortalColorRequest::TPortalColorRequest(QDBusConnection bus, QString parentWindow, QObject *parent, QString method,
                                         QVariantMap options)
    : QObject(parent), FBus(std::move(bus)), FParentWindow(std::move(parentWindow)), FMethod(std::move(method)),
      FOptions(std::move(options))
{
}

TPortalColorRequest::~TPortalColorRequest()
{
    StopListening();
}

void TPortalColorRequest::Start()
{
    if (!FBus.isConnected()) {
        // Reported from the event loop, as every other outcome is.
        QTimer::singleShot(0, this, [this] { Finish(TOutcome::NoPortal); });
        return;
    }
    const QString token = QStringLiteral("pigmora%1").arg(NextToken());
    // Listen before asking, so that an answer sent at once is not missed.
    Listen(PortalRequestPath(FBus.baseService(), token));

    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalObject, ScreenshotInterface, FMethod);
    QVariantMap options = FOptions;
    options.insert(QStringLiteral("handle_token"), token);
    call << FParentWindow << options;
    auto *watcher = new QDBusPendingCallWatcher(FBus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &TPortalColorRequest::CallFinished);
}

void TPortalColorRequest::Listen(const QString &path)
{
    StopListening();
    FPath = path;
    FBus.connect(PortalService, FPath, RequestInterface, QStringLiteral("Response"), this,
                 SLOT(Response(uint, QVariantMap)));
}

void TPortalColorRequest::StopListening()
{
    if (FPath.isEmpty())
        return;
    FBus.disconnect(PortalService, FPath, RequestInterface, QStringLiteral("Response"), this,
                    SLOT(Response(uint, QVariantMap)));
    FPath.clear();
}

void TPortalColorRequest::CallFinished(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (reply.isError()) {
        Finish(PortalErrorMeansNoPortal(reply.error().name()) ? TOutcome::NoPortal : TOutcome::Failed);
        return;
    }
    // Portals older than handle_token answer on a path of their own choosing.
    const QString path = reply.value().path();
    if (!FDone && path != FPath)
        Listen(path);
}

void TPortalColorRequest::Response(uint response, const QVariantMap &results)
{
    if (response == 1) {
        Finish(TOutcome::Cancelled);
        return;
    }
    FResults = results;
    if (FMethod != QLatin1String("PickColor")) {
        Finish(response == 0 ? TOutcome::Picked : TOutcome::Failed);
        return;
    }
    const std::optional<TColor> color = response == 0 ? PortalResultColor(results) : std::nullopt;
    if (color)
        Finish(TOutcome::Picked, *color);
    else
        Finish(TOutcome::Failed);
}

void TPortalColorRequest::Finish(TOutcome outcome, TColor color)
{
    if (FDone)
        return;
    FDone = true;
    StopListening();
    emit Finished(outcome, color);
}
