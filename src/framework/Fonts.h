#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

// A face named by the window descriptions and the installed faces that stand in for it, best
// first, with the Debian package that brings the first of them.
struct TFontSubstitute {
    QString Family;
    QStringList Faces;
    QString Package;
};

// The faces the descriptions name that a Linux desktop lacks: the Japanese proportional gothic
// (a face with the same narrow Latin widths, so that every caption fits its control, and full
// Japanese coverage), the serif metric twin and a bold display face.
const std::vector<TFontSubstitute> &FontSubstitutes();

// Makes Qt draw the named faces with their substitutes. Safe to call more than once.
void InstallFontSubstitutions();

// A font of the given family at a height in pixels (character height, as the descriptions give it).
QFont MakeFont(const QString &family, int pixelHeight, bool bold = false);

// The window font of the descriptions: "ＭＳ Ｐゴシック", 15 pixels.
QFont DefaultWindowFont();
