#include "desktop/Desktop.h"
#include "desktop/WindowIconPixels.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
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
    // Pixels built into the program, wrapped without a copy: no PNG decoder, no image plugin.
    QIcon icon;
    for (const TIconPixels &image : WindowIconPixels())
        icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar *>(image.Pixels), image.Size,
                                                 image.Size, QImage::Format_ARGB32_Premultiplied)));
    app.setWindowIcon(icon);
}

bool PlatformPlacesWindows(const QString &platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}
