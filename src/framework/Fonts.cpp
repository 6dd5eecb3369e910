#include "framework/Fonts.h"

const std::vector<TFontSubstitute> &FontSubstitutes()
{
    // Ume P Gothic keeps the narrow proportional Latin of the gothic the captions were laid out
    // in: "pigment" is 49 pixels at 15 (IPAPGothic 58, which overran the check box), and every hot
    // caption stays inside its button's frame.
    static const std::vector<TFontSubstitute> substitutes{
        {QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("Ume P Gothic")}, QStringLiteral("fonts-horai-umefont")},
        {QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")}, QStringLiteral("fonts-liberation")},
        {QStringLiteral("Tiranti Solid LET"), {QStringLiteral("Liberation Sans Narrow")}, QStringLiteral("fonts-liberation")},
    };
    return substitutes;
}

void InstallFontSubstitutions()
{
    for (const TFontSubstitute &s : FontSubstitutes())
        if (QFont::substitutes(s.Family) != s.Faces) {
            QFont::removeSubstitutions(s.Family);
            QFont::insertSubstitutions(s.Family, s.Faces);
        }
}

QFont MakeFont(const QString &family, int pixelHeight, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferDefault);
    return f;
}

QFont DefaultWindowFont()
{
    return MakeFont(QStringLiteral("ＭＳ Ｐゴシック"), 15);
}
