#pragma once

#include <cstdint>

// Time of day as the random commands see it: milliseconds since midnight UTC,
// ((hour x 60 + minute) x 60 + second) x 1000 + millisecond, 0 to 86,399,999.
class TClock {
public:
    virtual ~TClock() = default;
    virtual std::uint32_t TimeOfDayMs() const = 0;
};

// The machine's clock.
class TSystemClock : public TClock {
public:
    std::uint32_t TimeOfDayMs() const override;
};

// A clock that always tells the same time; tests pin it.
class TFixedClock : public TClock {
public:
    explicit TFixedClock(std::uint32_t ms = 0) : Ms(ms) {}
    std::uint32_t TimeOfDayMs() const override { return Ms; }
    std::uint32_t Ms;
};

// Milliseconds since midnight of a time of day.
constexpr std::uint32_t TimeOfDayMs(int hour, int minute, int second, int millisecond)
{
    return ((static_cast<std::uint32_t>(hour) * 60 + static_cast<std::uint32_t>(minute)) * 60
            + static_cast<std::uint32_t>(second)) * 1000
           + static_cast<std::uint32_t>(millisecond);
}
