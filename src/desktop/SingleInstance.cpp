#include "desktop/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

QDBusConnection SessionBus() { return QDBusConnection::sessionBus(); }

} // namespace

TSingleInstance::TSingleInstance(std::function<QDBusConnection()> bus) : FBus(bus ? std::move(bus) : SessionBus)
{
    FRequest = std::async(std::launch::async, [connect = FBus] {
        QDBusConnection c = connect();
        if (!c.isConnected() || !c.interface())
            return -1;
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
}

TSingleInstance::TOutcome TSingleInstance::Settle(const QString &colour, std::function<void(const QString &)> activate)
{
    const int answer = FRequest.valid() ? FRequest.get() : -1;
    QDBusConnection c = FBus();
    if (answer == 1) {
        FActivate = std::move(activate);
        c.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
        return TOutcome::First;
    }
    if (answer < 0)
        return TOutcome::Alone;
    QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, ServiceName, QStringLiteral("Activate"));
    call << colour;
    const QDBusMessage reply = c.call(call, QDBus::Block, 5000);
    // A first program that does not answer (hung, or going away) leaves this one to run alone.
    return reply.type() == QDBusMessage::ReplyMessage ? TOutcome::HandedOver : TOutcome::Alone;
}

void TSingleInstance::Activate(const QString &colour)
{
    if (FActivate)
        FActivate(colour);
}
