#include "desktop/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QTimer>

namespace {

QDBusConnection SessionBus() { return QDBusConnection::sessionBus(); }

// How long a later start waits for the first one's answer; the first may still be making its
// window, which a loaded machine can take seconds for.
constexpr int HandOverTimeoutMs = 15000;

} // namespace

TSingleInstance::TSingleInstance(std::function<QDBusConnection()> bus) : FBus(bus ? std::move(bus) : SessionBus)
{
    FRequest = std::async(std::launch::async, [connect = FBus, this] {
        QDBusConnection c = connect();
        if (!c.isConnected() || !c.interface())
            return -1;
        // Calls that arrive meanwhile wait in this object's thread until the window is ready.
        c.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = c.interface()->registerService(
            ServiceName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid())
            return -1;
        return reply.value() == QDBusConnectionInterface::ServiceRegistered ? 1 : 0;
    });
}

TSingleInstance::~TSingleInstance()
{
    if (FRequest.valid())
        FRequest.wait();
    QDBusConnection c = FBus();
    if (c.isConnected())
        c.unregisterObject(ObjectPath);
}

TSingleInstance::TOutcome TSingleInstance::Settle(const QString &colour, THandlers handlers, QString *refusal)
{
    const int answer = FRequest.valid() ? FRequest.get() : -1;
    QDBusConnection c = FBus();
    if (answer == 1) {
        FHandlers = std::move(handlers);
        FSettled = true;
        for (auto &[call, text] : std::exchange(FEarly, {}))
            Answer(call, text);
        return TOutcome::First;
    }
    if (c.isConnected())
        c.unregisterObject(ObjectPath);
    for (const auto &early : std::exchange(FEarly, {}))
        c.send(early.first.createErrorReply(QDBusError::UnknownObject, QStringLiteral("this start gave the window up")));
    if (answer < 0)
        return TOutcome::Alone;
    QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, ServiceName, QStringLiteral("Activate"));
    call << colour.left(MaxColourLength + 1);
    const QDBusMessage reply = c.call(call, QDBus::Block, HandOverTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return TOutcome::HandedOver;
    if (reply.type() == QDBusMessage::ErrorMessage && (reply.errorName() == UnreadableError || reply.errorName() == TooLongError)) {
        if (refusal)
            *refusal = reply.errorMessage();
        return TOutcome::Refused;
    }
    // A first program that does not answer (hung, or going away) leaves this one to run alone.
    return TOutcome::Alone;
}

void TSingleInstance::Activate(const QString &colour)
{
    if (!calledFromDBus())
        return;
    setDelayedReply(true);
    // The connection stops reading while its received messages hold more than libdbus allows at
    // once (63 MiB), and reads on when they are let go; let go in this thread, that restart would
    // not reach the connection's own thread, and it would read nothing ever again. So the last
    // reference is let go there, once this thread is surely done with the message.
    if (QObject *busThread = FBus().interface())
        QTimer::singleShot(200, busThread, [held = message()] {});
    if (!FSettled) {
        FEarly.emplace_back(message(), colour.left(MaxColourLength + 1));
        return;
    }
    Answer(message(), colour);
}

void TSingleInstance::Answer(const QDBusMessage &call, const QString &colour)
{
    QDBusConnection c = FBus();
    if (colour.size() > MaxColourLength) {
        c.send(call.createErrorReply(TooLongError, QStringLiteral("a colour text is at most %1 characters").arg(MaxColourLength)));
        return;
    }
    const QString problem = FHandlers.Check ? FHandlers.Check(colour) : QString();
    if (!problem.isEmpty()) {
        c.send(call.createErrorReply(UnreadableError, problem));
        return;
    }
    c.send(call.createReply());
    if (FHandlers.Activate)
        QTimer::singleShot(0, this, [this, colour] { FHandlers.Activate(colour); });
}
