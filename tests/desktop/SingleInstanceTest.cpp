#include "desktop/SingleInstance.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QTest>

namespace {

// The service on a bus of the test's own; calls come from a second connection, as from a later
// start.
class SingleInstanceService : public testing::Test {
protected:
    QDBusPendingCall Call(const QString &text)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(TSingleInstance::ServiceName, TSingleInstance::ObjectPath,
                                                           TSingleInstance::ServiceName, QStringLiteral("Activate"));
        call << text;
        return caller.asyncCall(call, 5000);
    }
    static bool Done(QDBusPendingCall &pending) { return QTest::qWaitFor([&] { return pending.isFinished(); }, 6000); }
    TSingleInstance::THandlers Handlers()
    {
        TSingleInstance::THandlers h;
        h.Check = [](const QString &text) { return text.startsWith(QLatin1Char('#')) ? QString() : QStringLiteral("'%1' is no colour").arg(text); };
        h.Activate = [this](const QString &text) { activated << text; };
        return h;
    }

    void TearDown() override { QDBusConnection::disconnectFromBus(caller.name()); }

    PrivateBus bus;
    QDBusConnection caller = QDBusConnection::connectToBus(bus.Address, QStringLiteral("single-instance-caller-%1").arg(++callers));
    QStringList activated;
    static inline int callers = 0;
};

// A later start that finds the name always finds the object: there is no moment in which a call
// to the name gets "no such object".
TEST_F(SingleInstanceService, TheObjectIsThereAsSoonAsTheName)
{
    ASSERT_TRUE(caller.isConnected());
    TSingleInstance instance([this] { return bus.Connection; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return caller.interface()->isServiceRegistered(TSingleInstance::ServiceName).value(); }, 5000));
    // The window is still being made: the call waits for it, and is then answered.
    QDBusPendingCall early = Call(QStringLiteral("#123456"));
    QTest::qWait(100);
    ASSERT_EQ(instance.Settle(QString(), Handlers()), TSingleInstance::TOutcome::First);
    ASSERT_TRUE(Done(early));
    EXPECT_FALSE(early.isError()) << early.error().name().toStdString() << ": " << early.error().message().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated == QStringList{QStringLiteral("#123456")}; }, 2000)) << activated.join(',').toStdString();
}

// Every call is answered at once: what is no colour and what is longer than any colour text with
// an error, and nothing runs for them; a colour with success, its window work queued in order.
TEST_F(SingleInstanceService, AnswersAtOnceAndTakesTheColoursInTheirOrder)
{
    TSingleInstance instance([this] { return bus.Connection; });
    ASSERT_EQ(instance.Settle(QString(), Handlers()), TSingleInstance::TOutcome::First);

    QDBusPendingCall bad = Call(QStringLiteral("<img src=\"/dev/zero\">"));
    ASSERT_TRUE(Done(bad));
    EXPECT_EQ(bad.error().name(), TSingleInstance::UnreadableError);
    EXPECT_EQ(bad.error().message(), QStringLiteral("'<img src=\"/dev/zero\">' is no colour"));

    QDBusPendingCall longer = Call(QStringLiteral("#") + QString(TSingleInstance::MaxColourLength, QLatin1Char('f')));
    ASSERT_TRUE(Done(longer));
    EXPECT_EQ(longer.error().name(), TSingleInstance::TooLongError);
    EXPECT_TRUE(activated.isEmpty());

    // Many calls at once (as many as the test's bus lets one connection wait for): each answered,
    // the colours taken in the order they came.
    constexpr int Calls = 120;
    std::vector<QDBusPendingCall> calls;
    for (int i = 0; i < Calls; ++i)
        calls.push_back(Call(i % 2 ? QStringLiteral("#%1").arg(i) : QStringLiteral("x%1").arg(i)));
    for (auto &c : calls)
        ASSERT_TRUE(Done(c));
    QStringList expected;
    for (int i = 1; i < Calls; i += 2)
        expected << QStringLiteral("#%1").arg(i);
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated.size() == expected.size(); }, 2000));
    EXPECT_EQ(activated, expected);
    for (int i = 0; i < Calls; ++i)
        EXPECT_EQ(calls[i].isError(), i % 2 == 0) << i << " " << calls[i].error().name().toStdString();
}

} // namespace
