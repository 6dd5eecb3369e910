#pragma once

#include <QString>

class TRegItems;

// The eyedropper's "Pick as the monitor shows it" switch, kept in a section of its own; a file
// without it reads off.
inline const QString AsShownItemName = QStringLiteral("PickAsShown");
void AddAsShownRegItem(TRegItems &items);
