#pragma once

#include "framework/Colors.h"

#include <QDBusConnection>
#include <QString>

// Shows a desktop notification (org.freedesktop.Notifications) with a square swatch of the
// colour as its image; nothing blocks, and a desktop without a notification server shows nothing.
void NotifyColour(const QDBusConnection &bus, const QString &summary, const QString &body, TColor colour);
