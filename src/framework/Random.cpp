#include "framework/Random.h"

std::uint32_t TRandom::Random(std::uint32_t n)
{
    FSeed = FSeed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(FSeed) * n) >> 32);
}
