#pragma once

#include "desktop/CommandLine.h"

// `pigmora --pick`: the desktop's eyedropper without the window; the colour goes to standard
// output in the notations --to names (#RRGGBB by default), or with --open to a window started (or
// raised) with it. Returns the exit status: 0 taken, 1
// cancelled or failed, 2 an unknown notation, 3 no way to pick on this desktop. Needs the
// QApplication made; touches no settings file.
int RunPickCommand(const TCommandLine &cl);
