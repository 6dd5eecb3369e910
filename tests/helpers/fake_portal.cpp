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

class Screenshot : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    Screenshot(QString mode, Rgb color) : FMode(std::move(mode)), FColor(color) {}

public slots:
    QDBusObjectPath PickColor(const QString &parentWindow, const QVariantMap &options)
    {
        Q_UNUSED(parentWindow);
        if (FMode == QLatin1String("error")) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.Failed"), QStringLiteral("refused"));
            return {};
        }
        QString sender = message().service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString token = FMode == QLatin1String("ownpath") ? QStringLiteral("chosen_by_portal")
                                                                : options.value(QStringLiteral("handle_token")).toString();
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);

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
        // The answer comes after the call's reply, as it does when a person picks.
        QTimer::singleShot(50, this, [path, response, results] {
            QDBusMessage signal =
                QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            signal << response << results;
            QDBusConnection::sessionBus().send(signal);
        });
        return QDBusObjectPath(path);
    }

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
    Screenshot screenshot(mode, color);
    if (mode != QLatin1String("noscreenshot")
        && !bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &screenshot,
                               QDBusConnection::ExportAllSlots))
        return 2;
    if (!bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 3;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_portal.moc"
