#pragma once

#include <cstdint>
#include <vector>

// The window icon's sizes as premultiplied ARGB32 pixels, row by row, made at build time from
// the PNGs under data/icons.
struct TIconPixels {
    int Size;
    const std::uint32_t *Pixels;
};

const std::vector<TIconPixels> &WindowIconPixels();
