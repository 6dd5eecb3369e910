#pragma once

#include "framework/Clock.h"

#include <cstdint>

// The 32-bit linear congruential generator of the random commands. Each draw steps the seed
// (seed x 134775813 + 1, modulo 2^32) and returns the upper 32 bits of the 64-bit product
// of the new seed and n, so Random(n) lies in 0 .. n - 1 (0 when n is 0).
class TRandom {
public:
    explicit TRandom(std::uint32_t seed = 0) : FSeed(seed) {}

    std::uint32_t Seed() const { return FSeed; }
    void SetSeed(std::uint32_t seed) { FSeed = seed; }
    // Reseeds from the time of day in milliseconds.
    void Randomize(const TClock &clock) { FSeed = clock.TimeOfDayMs(); }

    std::uint32_t Random(std::uint32_t n);

private:
    std::uint32_t FSeed;
};
