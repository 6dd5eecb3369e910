#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// What the command line asks for, GNU style: options before or after the colour.
struct TCommandLine {
    enum class TAction { Window, Help, Version, Convert, Pick, Error, Simulate, Contrast, Delta, PaletteConvert, Make };
    TAction Action = TAction::Window;
    QString Colour;      // the window's colour to start (or raise) with; empty for none
    QString ConvertText; // --convert's text
    QStringList To;      // --to's notation names; empty for the default
    bool Srgb = false;   // --srgb: the POV-Ray forms with srgb, srgbf and srgbt
    bool AsShown = false; // --as-shown: --pick takes the colour as the monitor shows it
    bool Open = false;    // --open: --pick opens (or raises) the window with the colour instead
    int Average = 1;      // --average N: --pick takes the mean of the N × N square (N of PickSizes)
    bool Background = false; // --background: no window, the desktop-wide key and the tray on
    QString Error;       // for Error: what to print on standard error
    QStringList Colours; // --simulate's colour, --contrast's and --delta's two (text, background)
    QString Vision;      // --simulate's NAME[:SEVERITY], as given
    QString FixTarget;   // --fix's target, as given; empty for none
    // For Make: a palette made from colours and printed (see app/MakePalettes.h).
    enum class TMake { Scale, Harmony, Gradient };
    TMake Make = TMake::Scale;
    QStringList MakeColours; // the colour of --scale and --harmony; --gradient's two
    QString Harmony;         // --harmony's name
    QString Space;           // --in's text ("oklch longer hue"); empty for the default
    QString Gamut;           // --gamut's name; empty for sRGB
    int Steps = 0;           // --steps
    QString PaletteIn, PaletteOut; // --palette-convert's files
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

// --help's text, with every option and every notation name (and every colour vision and contrast
// target); --version's text.
QString HelpText(const QStringList &notationNames);
QString VersionText();

// The exit codes: 1 for a colour that does not read or no display, 2 for a wrong command line,
// 3 for a desktop without a way to pick from the screen.
constexpr int ExitUnreadable = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNoPick = 3;
