#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

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
    bool Background = false; // --background: no window, the desktop-wide key and the tray on
    QString Error;       // for Error: what to print on standard error
};

// `args` as main() gets them, the program's name first. Never touches the display.
TCommandLine ParseCommandLine(const QStringList &args);

// One argument's bytes as text: UTF-8, each byte that is no part of valid UTF-8 kept as the lone
// surrogate U+DC80 + its value, so that messages can show it as it was (see ShownText).
QString ArgumentText(const char *bytes);
// A text from outside as a message shows it: control characters, invisible direction marks and
// the bytes ArgumentText kept as \xHH (\uHHHH above U+00FF); everything else as it is.
QString ShownText(const QString &text);
// Writes the text (UTF-8) and flushes the stream; false when any of it could not be written.
bool WriteText(std::FILE *to, const QString &text);

// --help's text, with every option and every notation name; --version's text.
QString HelpText(const QStringList &notationNames);
QString VersionText();

// The exit codes: 1 for a colour that does not read or no display, 2 for a wrong command line,
// 3 for a desktop without a way to pick from the screen.
constexpr int ExitUnreadable = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNoPick = 3;
