#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <future>

// One window per user: the first program registers a well-known name on the session bus; a
// later one hands its colour to the first, which comes to the front, and ends. Without a session
// bus, or when the name cannot be had, every program runs on its own as if alone.
class TSingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.pigmora.Pigmora")
public:
    static inline const QString ServiceName = QStringLiteral("org.pigmora.Pigmora");
    static inline const QString ObjectPath = QStringLiteral("/org/pigmora/Pigmora");

    // Starts asking the bus for the name on a thread of its own, so that the window can be made
    // meanwhile. `bus` makes the connection; empty for the session bus.
    explicit TSingleInstance(std::function<QDBusConnection()> bus = {});
    ~TSingleInstance() override;

    enum class TOutcome { First, HandedOver, Alone };
    // Waits for the answer. First: this program holds the name and now serves Activate, which runs
    // `activate` with the colour text (empty for none). HandedOver: another program holds it and
    // took `colour`. Alone: no bus, or no answer.
    TOutcome Settle(const QString &colour, std::function<void(const QString &)> activate);

public slots:
    // Called over the bus by a later start: the window comes to the front with the colour.
    Q_SCRIPTABLE void Activate(const QString &colour);

private:
    std::function<QDBusConnection()> FBus;
    std::future<int> FRequest; // the name request's answer: 1 owner, 0 another owns it, -1 no bus
    std::function<void(const QString &)> FActivate;
};
