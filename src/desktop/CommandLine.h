#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for, GNU style: options before or after the colour.
struct TCommandLine {
    enum class TAction { Window, Help, Version, Convert, Pick, Error };
    TAction Action = TAction::Window;
    QString Colour;      // the window's colour to start (or raise) with; empty for none
    QString ConvertText; // --convert's text
    QStringList To;      // --to's notation names; empty for the default
    bool Srgb = false;   // --srgb: the POV-Ray forms with srgb, srgbf and srgbt
    bool AsShown = false; // --as-shown: --pick takes the colour as the monitor shows it
    bool Open = false;    // --open: --pick opens (or raises) the window with the colour instead
    QString Error;       // for Error: what to print on standard error
};

// `args` as main() gets them, the program's name first. Never touches the display.
TCommandLine ParseCommandLine(const QStringList &args);

// --help's text, with every option and every notation name; --version's text.
QString HelpText(const QStringList &notationNames);
QString VersionText();

// The exit codes: 1 for a colour that does not read or no display, 2 for a wrong command line,
// 3 for a desktop without a way to pick from the screen.
constexpr int ExitUnreadable = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNoPick = 3;
