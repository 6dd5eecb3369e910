#pragma once

#include <QString>

class TRegItems;

// The POV-Ray 3.7 gamma switch. POV-Ray 3.7 scenes assume gamma 1.0 and read sRGB-encoded
// colours through the keywords srgb, srgbf and srgbt; with the switch on, every POV-Ray notation
// the window writes uses them in place of rgb, rgbf and rgbt, with the same numbers.

// The notation ("rgb <...>", "rgbf <...>", "pigment{ rgbt <...> }") with "s" put before its
// keyword when srgb is true; unchanged otherwise.
QString WithSrgb(const QString &notation, bool srgb);

// Name of the settings item that keeps the switch (its own section; a file without it reads off).
inline const QString SrgbItemName = QStringLiteral("PovSrgb");
void AddSrgbRegItem(TRegItems &items);
