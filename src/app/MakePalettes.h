#pragma once

#include "colour/Palette.h"
#include "desktop/CommandLine.h"

#include <QString>
#include <QStringList>

// --scale, --harmony and --gradient: the palette made, as the lines printed.
struct TMadeOutput {
    QString Text;    // what goes to standard output, each line ended
    QString Message; // else what goes to standard error
    int Status = 0;  // 0, ExitUnreadable for a colour that does not read, ExitUsage for a wrong name
};
TMadeOutput RunMakeCommand(const TCommandLine &cl);

// A palette's colours as lines: "name: text" in each of the notations (their CSS text when none is
// given; "name notation: text" for more than one). `unknown` is set to a name that is no notation,
// and then no lines come back.
QStringList PaletteLines(const TPalette &palette, const QStringList &notations, bool srgb, QString *unknown);
