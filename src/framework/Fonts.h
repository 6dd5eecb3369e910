#pragma once

#include <QFont>
#include <QString>

// Maps the font names the window descriptions use to faces that exist on this desktop
// (the Japanese proportional gothic, the serif metric twin, a bold display face).
void InstallFontSubstitutions();

// A font of the given family at a height in pixels (character height, as the descriptions give it).
QFont MakeFont(const QString &family, int pixelHeight, bool bold = false);

// The window font of the descriptions: "ＭＳ Ｐゴシック", 15 pixels.
QFont DefaultWindowFont();
