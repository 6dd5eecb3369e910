#include "app/Desktop.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

TSessionEnv CurrentSessionEnv()
{
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"), qgetenv("XDG_SESSION_TYPE")};
}

QByteArray PlatformFor(const TSessionEnv &env)
{
    if (!env.QtQpaPlatform.isEmpty())
        return {};
    const bool wayland = !env.WaylandDisplay.isEmpty() || env.SessionType == "wayland";
    if (wayland && !env.Display.isEmpty())
        return QByteArrayLiteral("xcb");
    if (!env.WaylandDisplay.isEmpty())
        return QByteArrayLiteral("wayland");
    return {};
}

bool InstallQtTranslations(QApplication &app, QTranslator &translator, const QLocale &locale)
{
    if (!translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return app.installTranslator(&translator);
}

void SetProgramIcon(QApplication &app)
{
    // PNGs rather than the SVG: no image plugin to load at start-up.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/icons/pigmora-%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
}
