// A stand-in for the desktop portal's colour picking, for the eyedropper's tests. It owns
// org.freedesktop.portal.Desktop on the session bus it is started on and answers PickColor as
// the first argument says:
//   color R G B   Response 0 with "color" = (R, G, B)
//   cancel        Response 1
//   ended         Response 2
//   nocolor       Response 0 without a colour
//   error         an error reply to the call itself
//   ownpath       ignores handle_token, answers on a request path of its own with (0.5, 0.25, 1)
//   noscreenshot  owns the name but offers no Screenshot interface
//   nopick URI    offers Screenshot but no PickColor; Screenshot answers Response 0 with "uri" URI
// With any other mode a Screenshot call is unknown, as on a portal of PickColor alone; after
// "ended", a last argument "shot=URI" makes Screenshot answer with that uri.
// It prints "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QTimer>

#include <cstdio>

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

QDBusArgument &operator<<(QDBusArgument &arg, const Rgb &c)
{
    arg.beginStructure();
    arg << c.r << c.g << c.b;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, Rgb &c)
{
    arg.beginStructure();
    arg >> c.r >> c.g >> c.b;
    arg.endStructure();
    return arg;
}

} // namespace

Q_DECLARE_METATYPE(Rgb)

// The path of the request a call answers on, for its handle_token (or a path of the portal's own).
QString RequestPath(const QDBusMessage &call, const QString &token)
{
    QString sender = call.service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

// The answer comes after the call's reply, as it does when a person picks.
void AnswerLater(QObject *context, const QString &path, uint response, const QVariantMap &results)
{
    QTimer::singleShot(50, context, [path, response, results] {
        QDBusMessage signal =
            QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << results;
        QDBusConnection::sessionBus().send(signal);
    });
}

// A portal that takes screenshots and picks no colour.
class ShotOnly : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    explicit ShotOnly(QString uri) : FUri(std::move(uri)) {}

public slots:
    QDBusObjectPath Screenshot(const QString &parentWindow, const QVariantMap &options)
    {
        Q_UNUSED(parentWindow);
        const QString path = RequestPath(message(), options.value(QStringLiteral("handle_token")).toString());
        AnswerLater(this, path, 0, {{QStringLiteral("uri"), FUri}});
        return QDBusObjectPath(path);
    }

private:
    QString FUri;
};

// A portal that picks colours, and takes screenshots too when given a uri to answer with.
class PickPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    PickPortal(QString mode, Rgb color) : FMode(std::move(mode)), FColor(color) {}

public slots:
    QDBusObjectPath PickColor(const QString &parentWindow, const QVariantMap &options)
    {
        Q_UNUSED(parentWindow);
        if (FMode == QLatin1String("error")) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.Failed"), QStringLiteral("refused"));
            return {};
        }
        const QString token = FMode == QLatin1String("ownpath") ? QStringLiteral("chosen_by_portal")
                                                                : options.value(QStringLiteral("handle_token")).toString();
        const QString path = RequestPath(message(), token);

        uint response = 0;
        QVariantMap results;
        if (FMode == QLatin1String("cancel"))
            response = 1;
        else if (FMode == QLatin1String("ended"))
            response = 2;
        else if (FMode == QLatin1String("ownpath"))
            results.insert(QStringLiteral("color"), QVariant::fromValue(Rgb{0.5, 0.25, 1.0}));
        else if (FMode != QLatin1String("nocolor"))
            results.insert(QStringLiteral("color"), QVariant::fromValue(FColor));
        AnswerLater(this, path, response, results);
        return QDBusObjectPath(path);
    }

    QDBusObjectPath Screenshot(const QString &parentWindow, const QVariantMap &options)
    {
        Q_UNUSED(parentWindow);
        if (FShot.isEmpty()) {
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), QStringLiteral("no Screenshot"));
            return {};
        }
        const QString path = RequestPath(message(), options.value(QStringLiteral("handle_token")).toString());
        AnswerLater(this, path, 0, {{QStringLiteral("uri"), FShot}});
        return QDBusObjectPath(path);
    }

public:
    // The uri Screenshot answers with; empty: Screenshot is unknown.
    QString FShot;

private:
    QString FMode;
    Rgb FColor;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Rgb>();
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    Rgb color;
    if (mode == QLatin1String("color") && args.size() >= 5)
        color = {args[2].toDouble(), args[3].toDouble(), args[4].toDouble()};

    QDBusConnection bus = QDBusConnection::sessionBus();
    PickPortal screenshot(mode, color);
    if (args.last().startsWith(QLatin1String("shot=")))
        screenshot.FShot = args.last().mid(5);
    ShotOnly shotOnly(args.value(2));
    QObject *portal = mode == QLatin1String("nopick") ? static_cast<QObject *>(&shotOnly) : &screenshot;
    if (mode != QLatin1String("noscreenshot")
        && !bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), portal, QDBusConnection::ExportAllSlots))
        return 2;
    if (!bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 3;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_portal.moc"
