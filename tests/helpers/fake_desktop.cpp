// Stand-ins for the desktop's services around a program out of sight, on the session bus it is
// started on. Each argument adds one:
//   notifications     org.freedesktop.Notifications; prints "notify SUMMARY|BODY|WxH|#RRGGBB"
//                     (the image-data hint's size and first pixel) for each Notify
//   shortcuts         the portal's GlobalShortcuts: sessions and bindings are granted; prints
//                     "bind TRIGGER"; org.pigmora.Fake.Fire on /org/pigmora/Fake activates "pick"
//   shortcuts-refuse  the same portal, which refuses every binding (Response 2)
//   watcher           org.kde.StatusNotifierWatcher with a host; prints "item SERVICE" for each
//                     item registered
// It prints "ready" once every name is owned. As a client instead:
//   menu SERVICE [LABEL]  prints the labels of the item's menu, one a line (a submenu's entries
//                         indented), or clicks the entry of that label; exit 1 if there is none
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QTimer>

#include <cstdio>

namespace {

void Print(const QString &line)
{
    std::puts(line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

// At namespace scope: QtDBus matches a slot's argument types by their names.
struct Shortcut {
    QString Id;
    QVariantMap Options;
};

struct ImageData {
    int Width = 0, Height = 0, Stride = 0;
    bool Alpha = false;
    int Bits = 0, Channels = 0;
    QByteArray Data;
};

// A dbusmenu layout node: id, properties, children (each a variant holding a node).
struct MenuNode {
    int Id = 0;
    QVariantMap Properties;
    QVariantList Children;
};

Q_DECLARE_METATYPE(Shortcut)
Q_DECLARE_METATYPE(ImageData)
Q_DECLARE_METATYPE(MenuNode)

QDBusArgument &operator<<(QDBusArgument &arg, const Shortcut &s)
{
    arg.beginStructure();
    arg << s.Id << s.Options;
    arg.endStructure();
    return arg;
}
const QDBusArgument &operator>>(const QDBusArgument &arg, Shortcut &s)
{
    arg.beginStructure();
    arg >> s.Id >> s.Options;
    arg.endStructure();
    return arg;
}
QDBusArgument &operator<<(QDBusArgument &arg, const ImageData &i)
{
    arg.beginStructure();
    arg << i.Width << i.Height << i.Stride << i.Alpha << i.Bits << i.Channels << i.Data;
    arg.endStructure();
    return arg;
}
const QDBusArgument &operator>>(const QDBusArgument &arg, ImageData &i)
{
    arg.beginStructure();
    arg >> i.Width >> i.Height >> i.Stride >> i.Alpha >> i.Bits >> i.Channels >> i.Data;
    arg.endStructure();
    return arg;
}
QDBusArgument &operator<<(QDBusArgument &arg, const MenuNode &n)
{
    arg.beginStructure();
    arg << n.Id << n.Properties << n.Children;
    arg.endStructure();
    return arg;
}
const QDBusArgument &operator>>(const QDBusArgument &arg, MenuNode &n)
{
    arg.beginStructure();
    arg >> n.Id >> n.Properties;
    arg.beginArray();
    n.Children.clear();
    while (!arg.atEnd()) {
        QDBusVariant child;
        arg >> child;
        n.Children << child.variant();
    }
    arg.endArray();
    arg.endStructure();
    return arg;
}

namespace {

QString RequestPath(const QDBusMessage &call, const QString &token)
{
    QString sender = call.service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void AnswerLater(QObject *context, const QString &path, uint response, const QVariantMap &results)
{
    QTimer::singleShot(20, context, [path, response, results] {
        QDBusMessage signal =
            QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << results;
        QDBusConnection::sessionBus().send(signal);
    });
}

} // namespace

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        Q_UNUSED(app);
        Q_UNUSED(replaces);
        Q_UNUSED(icon);
        Q_UNUSED(actions);
        Q_UNUSED(timeout);
        ImageData image;
        const QVariant hint = hints.value(QStringLiteral("image-data"));
        if (hint.canConvert<QDBusArgument>())
            hint.value<QDBusArgument>() >> image;
        QString pixel = QStringLiteral("none");
        if (image.Data.size() >= 3)
            pixel = QStringLiteral("#%1%2%3")
                        .arg(uchar(image.Data[0]), 2, 16, QLatin1Char('0'))
                        .arg(uchar(image.Data[1]), 2, 16, QLatin1Char('0'))
                        .arg(uchar(image.Data[2]), 2, 16, QLatin1Char('0'))
                        .toUpper();
        Print(QStringLiteral("notify %1|%2|%3x%4|%5").arg(summary, body).arg(image.Width).arg(image.Height).arg(pixel));
        return ++FLast;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }

private:
    uint FLast = 0;
};

class Shortcuts : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
public:
    explicit Shortcuts(bool refuse) : FRefuse(refuse) {}

signals:
    void Activated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp, const QVariantMap &options);

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options)
    {
        FSession = QStringLiteral("/org/freedesktop/portal/desktop/session/fake/%1")
                       .arg(options.value(QStringLiteral("session_handle_token")).toString());
        const QString path = RequestPath(message(), options.value(QStringLiteral("handle_token")).toString());
        AnswerLater(this, path, 0, {{QStringLiteral("session_handle"), FSession}});
        return QDBusObjectPath(path);
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &session, const QList<Shortcut> &shortcuts,
                                  const QString &parentWindow, const QVariantMap &options)
    {
        Q_UNUSED(session);
        Q_UNUSED(parentWindow);
        const QString path = RequestPath(message(), options.value(QStringLiteral("handle_token")).toString());
        QList<Shortcut> bound;
        for (const Shortcut &s : shortcuts) {
            const QString trigger = s.Options.value(QStringLiteral("preferred_trigger")).toString();
            Print(QStringLiteral("bind %1").arg(trigger));
            bound << Shortcut{s.Id, {{QStringLiteral("trigger_description"), QStringLiteral("Fake+%1").arg(trigger)}}};
        }
        if (FRefuse)
            AnswerLater(this, path, 2, {});
        else
            AnswerLater(this, path, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
        return QDBusObjectPath(path);
    }

public:
    void Fire() { emit Activated(QDBusObjectPath(FSession), QStringLiteral("pick"), 1, {}); }

private:
    bool FRefuse;
    QString FSession = QStringLiteral("/");
};

class Control : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.pigmora.Fake")
public:
    explicit Control(Shortcuts &shortcuts) : FShortcuts(shortcuts) {}
public slots:
    void Fire() { FShortcuts.Fire(); }

private:
    Shortcuts &FShortcuts;
};

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
public:
    bool HostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }
    QStringList Items() const { return FItems; }

signals:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierHostRegistered();

public slots:
    void RegisterStatusNotifierItem(const QString &service)
    {
        const QString name = service.startsWith(QLatin1Char('/')) ? message().service() : service;
        FItems << name;
        Print(QStringLiteral("item %1").arg(name));
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString &) {}

private:
    QStringList FItems;
};

namespace {

void PrintMenu(const MenuNode &node, int depth)
{
    for (const QVariant &child : node.Children) {
        MenuNode n;
        child.value<QDBusArgument>() >> n;
        const QString label = n.Properties.value(QStringLiteral("label")).toString();
        if (!label.isEmpty())
            Print(QString(depth * 2, QLatin1Char(' ')) + label);
        PrintMenu(n, depth + 1);
    }
}

int FindLabel(const MenuNode &node, const QString &label)
{
    for (const QVariant &child : node.Children) {
        MenuNode n;
        child.value<QDBusArgument>() >> n;
        QString text = n.Properties.value(QStringLiteral("label")).toString();
        text.remove(QLatin1Char('_'));
        if (text == label)
            return n.Id;
        if (const int id = FindLabel(n, label))
            return id;
    }
    return 0;
}

int Menu(const QString &service, const QString &label)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusInterface item(service, QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"), bus);
    const QVariant menuPath = item.property("Menu");
    const QString path = menuPath.value<QDBusObjectPath>().path();
    if (path.isEmpty()) {
        Print(QStringLiteral("no menu"));
        return 1;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, QStringLiteral("com.canonical.dbusmenu"),
                                                       QStringLiteral("GetLayout"));
    call << 0 << -1 << QStringList();
    const QDBusMessage reply = bus.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2) {
        Print(QStringLiteral("no layout: %1").arg(reply.errorMessage()));
        return 1;
    }
    MenuNode root;
    reply.arguments().at(1).value<QDBusArgument>() >> root;
    if (label.isEmpty()) {
        PrintMenu(root, 0);
        return 0;
    }
    const int id = FindLabel(root, label);
    if (!id) {
        Print(QStringLiteral("no entry %1").arg(label));
        return 1;
    }
    QDBusMessage event = QDBusMessage::createMethodCall(service, path, QStringLiteral("com.canonical.dbusmenu"),
                                                        QStringLiteral("Event"));
    event << id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
    const QDBusMessage done = bus.call(event);
    return done.type() == QDBusMessage::ReplyMessage ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    qDBusRegisterMetaType<ImageData>();
    qDBusRegisterMetaType<MenuNode>();
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("menu"))
        return Menu(args.value(1), args.value(2));

    QDBusConnection bus = QDBusConnection::sessionBus();
    Notifications notifications;
    Shortcuts shortcuts(args.contains(QStringLiteral("shortcuts-refuse")));
    Control control(shortcuts);
    Watcher watcher;
    const auto own = [&](const QString &path, QObject *object, const QString &name) {
        return bus.registerObject(path, object, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                                                    | QDBusConnection::ExportAllProperties)
               && bus.registerService(name);
    };
    for (const QString &arg : args) {
        bool ok = true;
        if (arg == QLatin1String("notifications"))
            ok = own(QStringLiteral("/org/freedesktop/Notifications"), &notifications, QStringLiteral("org.freedesktop.Notifications"));
        else if (arg.startsWith(QLatin1String("shortcuts")))
            ok = own(QStringLiteral("/org/freedesktop/portal/desktop"), &shortcuts, QStringLiteral("org.freedesktop.portal.Desktop"))
                 && bus.registerObject(QStringLiteral("/org/pigmora/Fake"), &control, QDBusConnection::ExportAllSlots);
        else if (arg == QLatin1String("watcher"))
            ok = own(QStringLiteral("/StatusNotifierWatcher"), &watcher, QStringLiteral("org.kde.StatusNotifierWatcher"));
        if (!ok) {
            Print(QStringLiteral("could not own %1").arg(arg));
            return 2;
        }
    }
    Print(QStringLiteral("ready"));
    return app.exec();
}

#include "fake_desktop.moc"
