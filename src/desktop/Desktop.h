#pragma once

#include <QByteArray>

class QApplication;
class QLocale;
class QString;
class QTranslator;

// What of the environment decides the platform plugin.
struct TSessionEnv {
    QByteArray QtQpaPlatform;  // QT_QPA_PLATFORM
    QByteArray WaylandDisplay; // WAYLAND_DISPLAY
    QByteArray Display;        // DISPLAY
    QByteArray SessionType;    // XDG_SESSION_TYPE
};

TSessionEnv CurrentSessionEnv();

// The platform plugin to ask Qt for, or empty to leave Qt its own choice. The user's
// QT_QPA_PLATFORM always wins; on a Wayland session that also offers X11 (XWayland) the program
// runs on X11, where it can place its windows and balloons and read the screen; on Wayland alone
// it runs natively.
QByteArray PlatformFor(const TSessionEnv &env);

// Whether windows on this platform plugin can be placed and report where they are. Native
// Wayland can do neither: a window's position there reads as whatever the compositor's
// decorations leave, and setting it does nothing.
bool PlatformPlacesWindows(const QString &platformName);

// Loads Qt's own translations (qtbase) for `locale`, the desktop's language, into `translator`
// and installs it, so Qt's dialogs, menus and message-box buttons speak that language. The
// program's own texts are not translated. False when there are none for that language.
bool InstallQtTranslations(QApplication &app, QTranslator &translator, const QLocale &locale);

// The program's icon for its windows, from the PNGs built into the executable.
void SetProgramIcon(QApplication &app);
