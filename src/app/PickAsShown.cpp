#include "app/PickAsShown.h"

#include "settings/RegMng.h"

void AddAsShownRegItem(TRegItems &items)
{
    items.Add(AsShownItemName, QStringLiteral("Form\\PickAsShown"), QStringLiteral("Bool"), QStringLiteral("0"));
}

void AddAverageRegItem(TRegItems &items)
{
    items.Add(AverageItemName, QStringLiteral("Form\\PickAverage"), QStringLiteral("Integer"), QStringLiteral("1"));
}
