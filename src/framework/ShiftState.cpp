#include "framework/ShiftState.h"

#include <QGuiApplication>
#include <QMouseEvent>

namespace {

TShiftState Of(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys)
{
    TShiftState s = 0;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    if (keys & Qt::ShiftModifier)
        s |= ssShift;
    if (keys & Qt::ControlModifier)
        s |= ssCtrl;
    if (keys & Qt::AltModifier)
        s |= ssAlt;
    return s;
}

} // namespace

TShiftState ShiftOf(const QInputEvent *e)
{
    const Qt::MouseButtons buttons = e->isSinglePointEvent() ? static_cast<const QSinglePointEvent *>(e)->buttons() : Qt::NoButton;
    return Of(buttons, e->modifiers());
}

TShiftState CurrentShiftState()
{
    return Of(QGuiApplication::mouseButtons(), QGuiApplication::queryKeyboardModifiers());
}
