#include "desktop/GlobalKey.h"

#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QSignalSpy>

#include <xcb/xproto.h>

TEST(GlobalKey, KeysAsTheServerAndThePortalName)
{
    const auto chord = X11ChordFor(DefaultGlobalKey);
    ASSERT_TRUE(chord);
    EXPECT_EQ(*chord, (TX11Chord{0x63, XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4}));
    EXPECT_EQ(PortalTriggerFor(DefaultGlobalKey), QStringLiteral("SHIFT+LOGO+c"));
    EXPECT_EQ(KeyText(DefaultGlobalKey), QStringLiteral("Super+Shift+C"));

    const QKeyCombination f7(Qt::CTRL | Qt::ALT, Qt::Key_F7);
    EXPECT_EQ(*X11ChordFor(f7), (TX11Chord{0xffc4, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1}));
    EXPECT_EQ(PortalTriggerFor(f7), QStringLiteral("CTRL+ALT+F7"));
    const QKeyCombination comma(Qt::META, Qt::Key_Comma);
    EXPECT_EQ(X11ChordFor(comma)->Keysym, 0x2cu);
    EXPECT_EQ(PortalTriggerFor(comma), QStringLiteral("LOGO+comma"));
    EXPECT_EQ(X11ChordFor(QKeyCombination(Qt::ALT, Qt::Key_7))->Keysym, 0x37u);
}

TEST(GlobalKey, KeysThatCannotBeDesktopWide)
{
    // Without Ctrl, Alt or Super, a modifier alone, or a key with no keysym here.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_C), QKeyCombination(Qt::SHIFT, Qt::Key_C),
                                      QKeyCombination(Qt::META, Qt::Key_Shift), QKeyCombination(Qt::CTRL, Qt::Key_unknown),
                                      QKeyCombination(Qt::CTRL, Qt::Key_Eacute)}) {
        EXPECT_FALSE(X11ChordFor(key)) << KeyText(key).toStdString();
        EXPECT_TRUE(PortalTriggerFor(key).isEmpty()) << KeyText(key).toStdString();
    }
}

TEST(GlobalKey, TheDefaultsNeighboursAreOtherKeys)
{
    const QList<QKeyCombination> keys = DefaultKeyCandidates();
    ASSERT_FALSE(keys.isEmpty());
    EXPECT_EQ(keys.front(), DefaultGlobalKey);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        EXPECT_TRUE(X11ChordFor(keys[i]));
        for (qsizetype j = i + 1; j < keys.size(); ++j)
            EXPECT_NE(keys[i], keys[j]);
    }
}

namespace {

struct Recorder {
    explicit Recorder(TGlobalKey &key)
        : Bound(&key, &TGlobalKey::Bound), Failed(&key, &TGlobalKey::Failed), Activated(&key, &TGlobalKey::Activated)
    {
    }
    QSignalSpy Bound, Failed, Activated;
};

TGlobalKey::TEnv EnvOn(PrivateBus &bus, bool x11)
{
    TGlobalKey::TEnv env;
    env.Bus = [&bus] { return bus.Connection; };
    env.X11 = x11;
    return env;
}

void Fire(PrivateBus &bus)
{
    bus.Connection.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                                       QStringLiteral("/org/pigmora/Fake"), QStringLiteral("org.pigmora.Fake"),
                                                       QStringLiteral("Fire")));
}

} // namespace

TEST(GlobalKey, ThroughThePortalUntilItGoesAway)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.StartPortal({QStringLiteral("shortcuts")}, QStringLiteral(PIGMORA_FAKE_DESKTOP)));
    TGlobalKey key(EnvOn(bus, false));
    Recorder r(key);
    key.Bind(QKeyCombination(Qt::CTRL | Qt::ALT, Qt::Key_F7), false);
    ASSERT_TRUE(r.Bound.wait(5000));
    EXPECT_EQ(r.Bound.front().front().toString(), QStringLiteral("Fake+CTRL+ALT+F7"));
    EXPECT_TRUE(key.ThroughPortal());

    Fire(bus);
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.Activated.size() == 1; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(r.Activated.size(), 1);

    bus.StopPortal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.Failed.isEmpty(); }, 5000));
    QTest::qWait(100);
    ASSERT_EQ(r.Failed.size(), 1);
    EXPECT_EQ(r.Failed.front().front().toString(), PortalGoneText());
    EXPECT_TRUE(key.BoundText().isEmpty());
}

TEST(GlobalKey, APortalThatRefusesIsSaidOnce)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.StartPortal({QStringLiteral("shortcuts-refuse")}, QStringLiteral(PIGMORA_FAKE_DESKTOP)));
    TGlobalKey key(EnvOn(bus, true));
    Recorder r(key);
    key.Bind(DefaultGlobalKey, true);
    ASSERT_TRUE(r.Failed.wait(5000));
    QTest::qWait(100);
    EXPECT_EQ(r.Failed.size(), 1);
    EXPECT_EQ(r.Failed.front().front().toString(), PortalRefusedKeyText());
    EXPECT_TRUE(r.Bound.isEmpty());
}

TEST(GlobalKey, WithoutPortalOrX11ThereIsNoKey)
{
    PrivateBus bus; // nobody on it offers global shortcuts
    TGlobalKey key(EnvOn(bus, false));
    Recorder r(key);
    key.Bind(DefaultGlobalKey, true);
    ASSERT_TRUE(r.Failed.wait(5000));
    EXPECT_EQ(r.Failed.front().front().toString(), NoGlobalKeyText());

    // A key no desktop-wide key may be is said at once, the portal not asked.
    key.Bind(QKeyCombination(Qt::SHIFT, Qt::Key_C), false);
    ASSERT_EQ(r.Failed.size(), 2);
    EXPECT_EQ(r.Failed.back().front().toString(), KeyUnusableText(QKeyCombination(Qt::SHIFT, Qt::Key_C)));
    EXPECT_TRUE(r.Bound.isEmpty());
}
