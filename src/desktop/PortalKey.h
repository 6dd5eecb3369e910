#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

// The desktop portal's global shortcuts: a session, the one shortcut "pick" bound in it with
// the key the program prefers (the desktop may let the user choose another), and its
// activations. Nothing blocks; each outcome is one signal.
class TPortalKey : public QObject {
    Q_OBJECT
public:
    static inline const QString ShortcutId = QStringLiteral("pick");

    TPortalKey(QDBusConnection bus, QString trigger, QObject *parent = nullptr);
    ~TPortalKey() override;
    void Start();

signals:
    // The shortcut is bound; text: its key as the desktop describes it (may be empty).
    void Bound(const QString &text);
    void Activated();
    // Nobody on the bus offers global shortcuts.
    void NoPortal();
    // The portal refused the session or the shortcut.
    void Refused();
    // The portal went away or closed the session after the shortcut was bound.
    void Gone();

private slots:
    void Response(uint response, const QVariantMap &results);
    void ShortcutActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                           const QVariantMap &options);
    void SessionClosed(const QVariantMap &details);

private:
    enum class TStep { Idle, Session, Binding, Bound, Over };
    void Ask(const QString &method, const QVariantList &arguments, const QString &token);
    void Listen(const QString &path);
    void StopListening();
    void Called(QDBusPendingCallWatcher *watcher);
    void Bind();
    void End(TStep step);

    QDBusConnection FBus;
    QString FTrigger;
    QString FRequestPath;
    QString FSession;
    TStep FStep = TStep::Idle;
    QDBusServiceWatcher *FWatcher = nullptr;
};
