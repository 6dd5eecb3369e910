#include "app/PickAsShown.h"

#include "settings/RegMng.h"

void AddAsShownRegItem(TRegItems &items)
{
    items.Add(AsShownItemName, QStringLiteral("Form\\PickAsShown"), QStringLiteral("Bool"), QStringLiteral("0"));
}
