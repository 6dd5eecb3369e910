#include "picker/ColorSpace.h"

#include <algorithm>

THSB RGBToHSB(TColor value)
{
    const int red = value & 255;
    const int green = (value >> 8) & 255;
    const int blue = (value >> 16) & 255;
    const int mn = std::min({red, green, blue});
    const int mx = std::max({red, green, blue});
    const int v = mx == 0 ? 1 : mx;
    const int s = 255 - (mn * 255) / v;

    // Scaled to full brightness, then the common grey part removed: at least one is 0.
    const int rs = (red * 255) / v;
    const int gs = (green * 255) / v;
    const int bs = (blue * 255) / v;
    const int ms = std::min({rs, gs, bs});
    const int r = rs - ms;
    const int g = gs - ms;
    const int b = bs - ms;

    int h = 0;
    if (r > 0 && g > 0)
        h = r > g ? (g * 128) / r : 256 - (r * 128) / g;
    else if (g > 0 && b > 0)
        h = g > b ? 256 + (b * 128) / g : 512 - (g * 128) / b;
    else if (b > 0 && r > 0)
        h = r < b ? 512 + (r * 128) / b : 768 - (b * 128) / r;
    else if (r > 0)
        h = 0;
    else if (g > 0)
        h = 256;
    else if (b > 0)
        h = 512;
    return PackHSB(h, s, v);
}
