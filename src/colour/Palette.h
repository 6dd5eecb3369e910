#pragma once

#include "colour/ExactColour.h"

#include <QString>

#include <vector>

// A named, ordered list of named exact colours: the user's own palette, what a scale, a
// harmony, a gradient or an image makes, and what every palette file holds.
struct TPaletteEntry {
    QString Name;
    TExactColour Colour;

    friend bool operator==(const TPaletteEntry &, const TPaletteEntry &) = default;
};

struct TPalette {
    QString Name;
    std::vector<TPaletteEntry> Entries;

    friend bool operator==(const TPalette &, const TPalette &) = default;
};
