#pragma once

#include "framework/Colors.h"

#include <cstdint>

// Hue, saturation and brightness packed into one integer: brightness in bits 0-7, saturation in
// bits 8-15, hue in bits 16-25 (768 steps for the full circle, 128 per sixth: 0 red, 128 yellow,
// 256 green, 384 cyan, 512 blue, 640 magenta; 768 is red again). Everything here is integer
// arithmetic with truncating division and never allocates.
using THSB = std::uint32_t;

constexpr int HueSteps = 768;

constexpr THSB PackHSB(int hue, int saturation, int brightness)
{
    return static_cast<THSB>(hue) * 65536u + static_cast<THSB>(saturation) * 256u + static_cast<THSB>(brightness);
}
constexpr int HSBHue(THSB value) { return static_cast<int>((value >> 16) & 1023u); }
constexpr int HSBSaturation(THSB value) { return static_cast<int>((value >> 8) & 255u); }
constexpr int HSBBrightness(THSB value) { return static_cast<int>(value & 255u); }

// The fully saturated, fully bright colour of a hue already reduced to 0..767. The varying
// component runs in steps of 2 and stops at 254, so no hue has two components of 255.
struct TPureHue {
    int R, G, B;
};
constexpr TPureHue PureHue(int h)
{
    if (h < 128)
        return {255, 2 * h, 0};
    if (h < 256)
        return {2 * (255 - h), 255, 0};
    if (h < 384)
        return {0, 255, 2 * (h - 256)};
    if (h < 512)
        return {0, 2 * (511 - h), 255};
    if (h < 640)
        return {2 * (h - 512), 0, 255};
    return {255, 0, 2 * (767 - h)};
}

// One channel of a pure-hue component X scaled by saturation s and brightness b.
constexpr int ScaleChannel(int x, int s, int b)
{
    const unsigned k = static_cast<unsigned>(255 - s) * 255u;
    return static_cast<int>(((k + static_cast<unsigned>(x * s)) * static_cast<unsigned>(b) + 32640u) / 65025u);
}

// A plain colour (top byte 0). Any hue 0..1023 is accepted and reduced modulo 768.
constexpr TColor HSBToRGB(THSB value)
{
    const int h = HSBHue(value) % HueSteps;
    const int s = HSBSaturation(value);
    const int b = HSBBrightness(value);
    const TPureHue p = PureHue(h);
    return ScaleChannel(p.B, s, b) * 65536 + ScaleChannel(p.G, s, b) * 256 + ScaleChannel(p.R, s, b);
}

// The top byte of the colour is ignored; theme colours must be resolved by the caller. Black
// gets brightness 1 (and saturation 255), so it does not convert back to black.
THSB RGBToHSB(TColor value);

// The units the picker's edits show: hue in degrees, saturation and brightness in percent. The
// two directions do not invert each other, which is why the window keeps the raw values.
constexpr int HueToDegrees(int hue) { return hue * 360 / 767; }
constexpr int DegreesToHue(int degrees) { return degrees * 767 / 360; }
constexpr int LevelToPercent(int level) { return level * 100 / 255; }
constexpr int PercentToLevel(int percent) { return percent * 255 / 100; }
