#include "framework/Fonts.h"

#include <QStringList>

void InstallFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), QStringList{QStringLiteral("Liberation Serif")});
    QFont::insertSubstitutions(QStringLiteral("Tiranti Solid LET"), QStringList{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans")});
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
