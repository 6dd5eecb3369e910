#include "desktop/Desktop.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
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
    // PNGs read by Qt's own PNG reader: no image plugin is loaded at start-up (a reader left to
    // detect the format, as QIcon::addFile's is, opens every installed one to ask it).
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QImageReader reader(QStringLiteral(":/icons/pigmora-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    app.setWindowIcon(icon);
}

bool PlatformPlacesWindows(const QString &platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}
