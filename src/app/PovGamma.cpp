#include "app/PovGamma.h"

#include "settings/RegMng.h"

QString WithSrgb(const QString &notation, bool srgb)
{
    if (!srgb)
        return notation;
    static const QString wrapper = QStringLiteral("pigment{ ");
    const qsizetype at = notation.startsWith(wrapper) ? wrapper.size() : 0;
    QString result = notation;
    result.insert(at, QLatin1Char('s'));
    return result;
}

void AddSrgbRegItem(TRegItems &items)
{
    items.Add(SrgbItemName, QStringLiteral("Form\\PovSrgb"), QStringLiteral("Bool"), QStringLiteral("0"));
}
