#pragma once

#include <QString>

class TRegItems;

// The eyedropper's "Pick as the monitor shows it" switch, kept in a section of its own; a file
// without it reads off.
inline const QString AsShownItemName = QStringLiteral("PickAsShown");
void AddAsShownRegItem(TRegItems &items);

// The side of the square the eyedropper averages, in a section of its own; a file without it
// reads 1 (one pixel), and it is written only once the user has changed it.
inline const QString AverageItemName = QStringLiteral("PickAverage");
void AddAverageRegItem(TRegItems &items);
