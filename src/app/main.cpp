#include "app/ConvertNotations.h"
#include "app/PickCommand.h"
#include "app/Unit1.h"
#include "colour/AnyColor.h"
#include "desktop/CommandLine.h"
#include "desktop/Desktop.h"
#include "desktop/FontPreload.h"
#include "desktop/SessionEnd.h"
#include "desktop/SettingsPath.h"
#include "desktop/SingleInstance.h"
#include "framework/Dispatch.h"
#include "framework/Failure.h"
#include "framework/Fonts.h"
#include "framework/MessageBoxes.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <malloc.h>

namespace {

void Print(std::FILE *to, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

// --convert: the colour in the notations asked for, on standard output.
int Convert(const TCommandLine &cl)
{
    const auto colour = ParseAnyColor(cl.ConvertText);
    if (!colour) {
        Print(stderr, QStringLiteral("pigmora: '%1' is no colour Pigmora can read\n").arg(cl.ConvertText.left(200)));
        return ExitUnreadable;
    }
    const TConversion conversion = ConvertColour(*colour, cl.To, cl.Srgb);
    if (!conversion.UnknownName.isEmpty()) {
        Print(stderr, QStringLiteral("pigmora: '%1' is no notation; the notations are: %2\n")
                          .arg(conversion.UnknownName.left(200), NotationNames().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    Print(stdout, conversion.Lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return 0;
}

// Whether the platform plug-in Qt will load has a display to talk to; without one Qt would abort.
bool HasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool wayland = platform.startsWith("wayland");
    if (!platform.isEmpty() && !wayland && !platform.startsWith("xcb"))
        return true; // offscreen, vnc and the like need no display
    if (wayland)
        return !qgetenv("WAYLAND_DISPLAY").isEmpty();
    return !qgetenv("DISPLAY").isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const TCommandLine cl = ParseCommandLine(args);
    switch (cl.Action) {
    case TCommandLine::TAction::Help: Print(stdout, HelpText(NotationNames())); return 0;
    case TCommandLine::TAction::Version: Print(stdout, VersionText()); return 0;
    case TCommandLine::TAction::Error:
        Print(stderr, QStringLiteral("pigmora: %1\nTry 'pigmora --help' for more information.\n").arg(cl.Error));
        return ExitUsage;
    case TCommandLine::TAction::Convert: return Convert(cl);
    case TCommandLine::TAction::Pick:
    case TCommandLine::TAction::Window: break;
    }

    const QByteArray platform = PlatformFor(CurrentSessionEnv());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    const bool pick = cl.Action == TCommandLine::TAction::Pick;
    if (!HasDisplay()) {
        Print(stderr, pick ? QStringLiteral("pigmora: no display to pick a colour from (DISPLAY and WAYLAND_DISPLAY are unset)\n")
                           : QStringLiteral("pigmora: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)\n"));
        return pick ? ExitNoPick : ExitUnreadable;
    }
    if (pick) {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Pigmora"));
        return RunPickCommand(cl);
    }
    // One malloc arena for every thread: the font worker's allocations (the font configuration,
    // its first font engines) are freed into the heap the window then builds in, rather than into
    // an arena of their own that only adds to the peak.
    mallopt(M_ARENA_MAX, 1);
    TFontPreload fontPreload;
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    // The window's fields lay out first in the application's font, then in the window's.
    fontPreload.ApplicationReady({QGuiApplication::font(), DefaultWindowFont()});
    QApplication::setApplicationName(QStringLiteral("Pigmora"));
    QApplication::setDesktopFileName(QStringLiteral("pigmora"));
    QTranslator qtTranslations;
    InstallQtTranslations(app, qtTranslations, QLocale::system());

    // Asks the session bus meanwhile whether a window of this user already runs.
    TSingleInstance instance;
    TQtMessageSink messages(QStringLiteral("Pigmora"));
    TForm1Env env;
    env.Messages = &messages;
    const TSettingsFiles settings = SettingsFilesFor(QApplication::applicationFilePath(), UserConfigDir());
    env.IniFileName = settings.Read;
    env.IniStoreFileName = settings.Write;
    TForm1 form(env);
    messages.SetWindow(&form);
    fontPreload.Finish();
    // The end of the session closes the window as "Exit" does, then ends every event loop, a
    // dialog's too. Not QApplication::quit(): it asks each window to close and gives up on the
    // first that stays, and the session manager asks only once.
    TSessionEnd sessionEnd([&form] {
        if (form.isVisible())
            form.close();
        QCoreApplication::exit(0);
    });
    // A colour given on the command line, here or by a later start, becomes current.
    const auto takeColour = [&](const QString &text) {
        if (text.isEmpty())
            return;
        RunCommand(messages, [&] {
            const auto colour = ParseAnyColor(text);
            if (!colour)
                throw Exception(QStringLiteral("'%1' is no colour Pigmora can read").arg(text.left(200)));
            form.SetColor(*colour);
        });
    };
    const auto raise = [&](const QString &colour) {
        form.show();
        form.raise();
        form.activateWindow();
        takeColour(colour);
    };
    // The window of another start took the colour: this one ends before it shows or stores anything.
    if (instance.Settle(cl.Colour, raise) == TSingleInstance::TOutcome::HandedOver)
        return 0;
    form.show();
    // The icon's images are read once the window is on its way to the screen; the window
    // manager takes the icon from the window's property whenever it is set.
    QTimer::singleShot(0, &app, [&app] { SetProgramIcon(app); });
    takeColour(cl.Colour);
    return app.exec();
}
