#pragma once

// A session bus of the test's own for the eyedropper's portal tests, with the in-house fake
// portal on it when asked (tests/helpers/fake_portal.cpp says what it answers).
#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A bus daemon of the test's own, with nothing on it that the test did not start.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString config = FDir.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                  "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                                  "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>")
                       .arg(FDir.path())
                       .toUtf8());
        file.close();
        FDaemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                      QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        if (!FDaemon.waitForStarted(5000) || !QTest::qWaitFor([&] { return FDaemon.canReadLine(); }, 5000))
            return;
        Address = QString::fromUtf8(FDaemon.readLine()).trimmed();
        static int n = 0;
        Connection = QDBusConnection::connectToBus(Address, QStringLiteral("pigmora-test-%1").arg(++n));
    }
    ~PrivateBus()
    {
        if (FPortal.state() != QProcess::NotRunning) {
            FPortal.kill();
            FPortal.waitForFinished(2000);
        }
        QDBusConnection::disconnectFromBus(Connection.name());
        FDaemon.kill();
        FDaemon.waitForFinished(2000);
    }

    // program: another stand-in than the fake portal (tests/helpers/fake_desktop.cpp).
    bool StartPortal(const QStringList &args, const QString &program = QStringLiteral(PIGMORA_FAKE_PORTAL))
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), Address);
        FPortal.setProcessEnvironment(env);
        FPortal.start(program, args);
        return FPortal.waitForStarted(5000) && QTest::qWaitFor([&] { return FPortal.canReadLine(); }, 5000);
    }

    // Ends the stand-in, as a desktop service that goes away.
    void StopPortal()
    {
        FPortal.kill();
        FPortal.waitForFinished(2000);
    }

    QString Address;
    QDBusConnection Connection{QString()};

private:
    QTemporaryDir FDir;
    QProcess FDaemon;
    QProcess FPortal;
};

