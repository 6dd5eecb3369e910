#pragma once

#include <Qt>

class QInputEvent;

// Mouse buttons and modifier keys held during an input event.
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

// What an input event says: the modifier keys, and for a mouse event the buttons held (a release
// no longer counts the released button).
TShiftState ShiftOf(const QInputEvent *e);
// The live state of the mouse buttons and modifier keys, for notifications without an input event.
TShiftState CurrentShiftState();
