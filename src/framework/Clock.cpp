#include "framework/Clock.h"

#include <QDateTime>
#include <QTime>

std::uint32_t TSystemClock::TimeOfDayMs() const
{
    const QTime now = QDateTime::currentDateTimeUtc().time();
    return static_cast<std::uint32_t>(now.msecsSinceStartOfDay());
}
