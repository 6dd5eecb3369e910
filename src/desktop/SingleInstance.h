#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <functional>
#include <future>
#include <vector>

// One window per user: the first program registers a well-known name on the session bus; a
// later one hands its colour to the first, which comes to the front, and ends. Without a session
// bus, or when the name cannot be had, every program runs on its own as if alone.
//
// The service answers every call at once and never runs an event loop inside one: Activate
// checks its text, replies, and only then queues the window's work.
class TSingleInstance : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.pigmora.Pigmora")
public:
    static inline const QString ServiceName = QStringLiteral("org.pigmora.Pigmora");
    static inline const QString ObjectPath = QStringLiteral("/org/pigmora/Pigmora");
    // The error replies: a text that is no colour, and one longer than any colour text can be.
    static inline const QString UnreadableError = QStringLiteral("org.pigmora.Pigmora.Error.Unreadable");
    static inline const QString TooLongError = QStringLiteral("org.pigmora.Pigmora.Error.TooLong");
    // Longer colour texts are refused unread.
    static constexpr qsizetype MaxColourLength = 64 * 1024;

    // Starts asking the bus for the name on a thread of its own, so that the window can be made
    // meanwhile; the object is on the bus before the name is asked for, so a later start never
    // finds the name without it. `bus` makes the connection; empty for the session bus.
    explicit TSingleInstance(std::function<QDBusConnection()> bus = {});
    ~TSingleInstance() override;

    enum class TOutcome { First, HandedOver, Refused, Alone };
    // What the window does with a text: `check` says why it is no colour it can take (empty when
    // it is one) and must not block; `activate` brings the window to the front with it (the text
    // is empty for none), run from the event loop after the reply.
    struct THandlers {
        std::function<QString(const QString &)> Check;
        std::function<void(const QString &)> Activate;
    };
    // Waits for the answer. First: this program holds the name and now serves Activate.
    // HandedOver: another program holds it and took `colour`. Refused: that program answered
    // that `colour` is no colour (or too long); `refusal` then holds its message. Alone: no bus,
    // or no answer.
    TOutcome Settle(const QString &colour, THandlers handlers, QString *refusal = nullptr);

public slots:
    // Called over the bus by a later start: the window comes to the front with the colour.
    Q_SCRIPTABLE void Activate(const QString &colour);

private:
    void Answer(const QDBusMessage &call, const QString &colour);

    std::function<QDBusConnection()> FBus;
    std::future<int> FRequest; // the name request's answer: 1 owner, 0 another owns it, -1 no bus
    THandlers FHandlers;
    bool FSettled = false;
    // Calls that came before the window was ready; answered when it is.
    std::vector<std::pair<QDBusMessage, QString>> FEarly;
};
