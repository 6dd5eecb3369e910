#include "app/ColourState.h"
#include "app/ConvertNotations.h"
#include "app/JudgeCommands.h"
#include "app/MakePalettes.h"
#include "app/PaletteFiles.h"
#include "app/PickCommand.h"
#include "app/Unit1.h"
#include "colour/ExactColour.h"
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

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <optional>

namespace {

// Messages go to standard error; a message that cannot be written there leaves only the exit status.
void Say(const QString &text) { WriteText(stderr, QStringLiteral("pigmora: ") + text + QLatin1Char('\n')); }

// The output on standard output; a failed write (a full disk, a closed pipe) is exit status 1.
int Output(const QString &text)
{
    if (WriteText(stdout, text))
        return 0;
    Say(QStringLiteral("the output could not be written: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    return ExitUnreadable;
}

// What a text that reads as no colour is told, its characters shown as they were.
QString UnreadableText(const QString &text)
{
    return QStringLiteral("'%1' is no colour Pigmora can read").arg(ShownText(text.left(200)));
}

// --convert: the colour in the notations asked for, on standard output.
int Convert(const TCommandLine &cl)
{
    const auto reading = ReadExactColour(cl.ConvertText);
    if (!reading) {
        Say(UnreadableText(cl.ConvertText));
        return ExitUnreadable;
    }
    const TConversion conversion = ConvertColour(reading->Colour, cl.To, cl.Srgb);
    if (!conversion.UnknownName.isEmpty()) {
        Say(QStringLiteral("'%1' is no notation; the notations are: %2")
                .arg(ShownText(conversion.UnknownName.left(200)), NotationNames().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    return Output(conversion.Lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

// --palette-convert: the palette file IN written to OUT, each in the format its suffix names.
int PaletteConvert(const TCommandLine &cl, int &argc, char **argv)
{
    QString why;
    const auto palette = ReadPaletteFile(cl.PaletteIn, &why);
    // A PNG sheet draws text, which takes a GUI application; an off-screen one needs no display.
    std::optional<QApplication> gui;
    if (palette && PaletteFormatForFile(cl.PaletteOut) == TPaletteFormat::Png) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        gui.emplace(argc, argv);
    }
    if (!palette || !WritePaletteFile(cl.PaletteOut, *palette, &why)) {
        Say(ShownText(why));
        return ExitUsage;
    }
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
        args << ArgumentText(argv[i]);
    const TCommandLine cl = ParseCommandLine(args);
    switch (cl.Action) {
    case TCommandLine::TAction::Help: return Output(HelpText(NotationNames()));
    case TCommandLine::TAction::Version: return Output(VersionText());
    case TCommandLine::TAction::Error:
        Say(QStringLiteral("%1\nTry 'pigmora --help' for more information.").arg(ShownText(cl.Error)));
        return ExitUsage;
    case TCommandLine::TAction::Convert: return Convert(cl);
    case TCommandLine::TAction::Simulate:
    case TCommandLine::TAction::Contrast:
    case TCommandLine::TAction::Delta: {
        const TJudgeOutput judged = RunJudgeCommand(cl);
        if (!judged.Error.isEmpty()) {
            Say(judged.Error);
            return judged.Status;
        }
        return Output(judged.Text);
    }
    case TCommandLine::TAction::Make: {
        const TMadeOutput made = RunMakeCommand(cl);
        if (made.Status != 0)
            Say(made.Message);
        return made.Status != 0 ? made.Status : Output(made.Text);
    }
    case TCommandLine::TAction::PaletteConvert: return PaletteConvert(cl, argc, argv);
    case TCommandLine::TAction::Pick:
    case TCommandLine::TAction::Window: break;
    }

    const QByteArray platform = PlatformFor(CurrentSessionEnv());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    const bool pick = cl.Action == TCommandLine::TAction::Pick;
    if (!HasDisplay()) {
        Say(pick ? QStringLiteral("no display to pick a colour from (DISPLAY and WAYLAND_DISPLAY are unset)")
                 : QStringLiteral("no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)"));
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
        // A program in the tray or the background stores its settings as its window's close does.
        if (form.isVisible() || form.OutOfSight())
            form.close();
        QCoreApplication::exit(0);
    });
    // A colour given on the command line becomes current; one that does not read is said in a box.
    const auto takeColour = [&](const QString &text) {
        if (text.isEmpty())
            return;
        RunCommand(messages, [&] {
            const auto reading = ReadExactColour(text);
            if (!reading)
                throw Exception(UnreadableText(text));
            form.Colour().Take(reading->Colour);
        });
    };
    // A later start's colour was checked before its call was answered; the window comes to the front.
    TSingleInstance::THandlers handlers;
    handlers.Check = [](const QString &text) { return text.isEmpty() || ReadExactColour(text) ? QString() : UnreadableText(text); };
    handlers.Activate = [&](const QString &text) {
        form.show();
        form.raise();
        form.activateWindow();
        takeColour(text);
    };
    QString refusal;
    switch (instance.Settle(cl.Colour, std::move(handlers), &refusal)) {
    // The window of another start took the colour: this one ends before it shows or stores anything.
    case TSingleInstance::TOutcome::HandedOver: return 0;
    case TSingleInstance::TOutcome::Refused:
        Say(ReadExactColour(cl.Colour) ? ShownText(refusal) : UnreadableText(cl.Colour));
        return ExitUnreadable;
    case TSingleInstance::TOutcome::First:
    case TSingleInstance::TOutcome::Alone: break;
    }
    // In the background the window waits, hidden, for the tray or a later start to show it.
    if (cl.Background) {
        SetProgramIcon(app);
        form.RunInBackground();
        return app.exec();
    }
    form.show();
    // The icon's images are read once the window is on its way to the screen; the window
    // manager takes the icon from the window's property whenever it is set.
    QTimer::singleShot(0, &app, [&app] { SetProgramIcon(app); });
    // The start's own colour comes before any a later start hands over (those wait for the event
    // loop); one that does not read is said in a box from the event loop, so that the end of the
    // session ends the box too.
    if (!cl.Colour.isEmpty() && ReadExactColour(cl.Colour))
        takeColour(cl.Colour);
    else
        QTimer::singleShot(0, &form, [&] { takeColour(cl.Colour); });
    return app.exec();
}
