#include "desktop/PortalKey.h"

#include "desktop/PortalPick.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QTimer>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString SessionInterface = QStringLiteral("org.freedesktop.portal.Session");

struct TShortcut {
    QString Id;
    QVariantMap Options;
};

int NextToken()
{
    static int token = 0;
    return ++token;
}

} // namespace

Q_DECLARE_METATYPE(TShortcut)

namespace {

QDBusArgument &operator<<(QDBusArgument &arg, const TShortcut &s)
{
    arg.beginStructure();
    arg << s.Id << s.Options;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, TShortcut &s)
{
    arg.beginStructure();
    arg >> s.Id >> s.Options;
    arg.endStructure();
    return arg;
}

// The trigger the portal describes for the shortcut in BindShortcuts' results.
QString TriggerDescription(const QVariantMap &results)
{
    const QVariant shortcuts = results.value(QStringLiteral("shortcuts"));
    if (!shortcuts.canConvert<QDBusArgument>())
        return {};
    const QDBusArgument arg = shortcuts.value<QDBusArgument>();
    if (arg.currentSignature() != QLatin1String("a(sa{sv})"))
        return {};
    QList<TShortcut> list;
    arg >> list;
    for (const TShortcut &s : list)
        if (s.Id == TPortalKey::ShortcutId)
            return s.Options.value(QStringLiteral("trigger_description")).toString();
    return {};
}

} // namespace

TPortalKey::TPortalKey(QDBusConnection bus, QString trigger, QObject *parent)
    : QObject(parent), FBus(std::move(bus)), FTrigger(std::move(trigger))
{
    qDBusRegisterMetaType<TShortcut>();
    qDBusRegisterMetaType<QList<TShortcut>>();
}

TPortalKey::~TPortalKey()
{
    StopListening();
    if (!FSession.isEmpty() && FBus.isConnected()) {
        FBus.disconnect(PortalService, FSession, SessionInterface, QStringLiteral("Closed"), this,
                        SLOT(SessionClosed(QVariantMap)));
        FBus.disconnect(PortalService, PortalObject, ShortcutsInterface, QStringLiteral("Activated"), this,
                        SLOT(ShortcutActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        // The session ends with the program anyway; closing it lets go of the key at once.
        FBus.asyncCall(QDBusMessage::createMethodCall(PortalService, FSession, SessionInterface, QStringLiteral("Close")));
    }
}

void TPortalKey::Start()
{
    if (!FBus.isConnected()) {
        QTimer::singleShot(0, this, [this] {
            End(TStep::Over);
            emit NoPortal();
        });
        return;
    }
    FWatcher = new QDBusServiceWatcher(PortalService, FBus, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(FWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        const TStep was = FStep;
        End(TStep::Over);
        if (was == TStep::Bound)
            emit Gone();
        else if (was != TStep::Over)
            emit NoPortal();
    });
    FStep = TStep::Session;
    const QString token = QStringLiteral("pigmora%1").arg(NextToken());
    Ask(QStringLiteral("CreateSession"),
        {QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("session_handle_token"), token}}}, token);
}

void TPortalKey::Bind()
{
    FStep = TStep::Binding;
    QVariantMap options{{QStringLiteral("description"), QStringLiteral("Pick from screen")}};
    if (!FTrigger.isEmpty())
        options.insert(QStringLiteral("preferred_trigger"), FTrigger);
    const QList<TShortcut> shortcuts{{ShortcutId, options}};
    const QString token = QStringLiteral("pigmora%1").arg(NextToken());
    Ask(QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(FSession)), QVariant::fromValue(shortcuts), QString(),
         QVariantMap{{QStringLiteral("handle_token"), token}}},
        token);
}

void TPortalKey::Ask(const QString &method, const QVariantList &arguments, const QString &token)
{
    // Listen before asking, so that an answer sent at once is not missed.
    Listen(PortalRequestPath(FBus.baseService(), token));
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalObject, ShortcutsInterface, method);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(FBus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &TPortalKey::Called);
}

void TPortalKey::Listen(const QString &path)
{
    StopListening();
    FRequestPath = path;
    FBus.connect(PortalService, FRequestPath, RequestInterface, QStringLiteral("Response"), this,
                 SLOT(Response(uint, QVariantMap)));
}

void TPortalKey::StopListening()
{
    if (FRequestPath.isEmpty())
        return;
    FBus.disconnect(PortalService, FRequestPath, RequestInterface, QStringLiteral("Response"), this,
                    SLOT(Response(uint, QVariantMap)));
    FRequestPath.clear();
}

void TPortalKey::Called(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (FStep != TStep::Session && FStep != TStep::Binding)
        return;
    if (reply.isError()) {
        const bool absent = FStep == TStep::Session && PortalErrorMeansNoPortal(reply.error().name());
        End(TStep::Over);
        if (absent)
            emit NoPortal();
        else
            emit Refused();
        return;
    }
    // Portals older than handle_token answer on a path of their own choosing.
    if (reply.value().path() != FRequestPath)
        Listen(reply.value().path());
}

void TPortalKey::Response(uint response, const QVariantMap &results)
{
    StopListening();
    if (FStep == TStep::Session) {
        FSession = results.value(QStringLiteral("session_handle")).toString();
        if (response != 0 || !QDBusObjectPath(FSession).path().startsWith(QLatin1Char('/'))) {
            FSession.clear();
            End(TStep::Over);
            emit Refused();
            return;
        }
        FBus.connect(PortalService, FSession, SessionInterface, QStringLiteral("Closed"), this,
                     SLOT(SessionClosed(QVariantMap)));
        FBus.connect(PortalService, PortalObject, ShortcutsInterface, QStringLiteral("Activated"), this,
                     SLOT(ShortcutActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        Bind();
    } else if (FStep == TStep::Binding) {
        if (response != 0) {
            End(TStep::Over);
            emit Refused();
            return;
        }
        FStep = TStep::Bound;
        emit Bound(TriggerDescription(results));
    }
}

void TPortalKey::ShortcutActivated(const QDBusObjectPath &session, const QString &id, qulonglong, const QVariantMap &)
{
    if (FStep == TStep::Bound && session.path() == FSession && id == ShortcutId)
        emit Activated();
}

void TPortalKey::SessionClosed(const QVariantMap &)
{
    if (FStep == TStep::Over)
        return;
    End(TStep::Over);
    emit Gone();
}

void TPortalKey::End(TStep step)
{
    FStep = step;
    StopListening();
}
