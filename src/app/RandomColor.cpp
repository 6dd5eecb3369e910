#include "app/RandomColor.h"

TColor AnyRandomColor(TRandom &random)
{
    return static_cast<TColor>(random.Random(0x1000000));
}

TColor QuietRandomColor(TRandom &random)
{
    int base = static_cast<int>(random.Random(255));
    if (base >= 168)
        base -= 100;
    if (base <= 70)
        base += 60;
    const int green = base + static_cast<int>(random.Random(40)) - 20;
    const int red = base + static_cast<int>(random.Random(40)) - 20;
    return red + 256 * green + 65536 * base;
}
