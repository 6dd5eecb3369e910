#pragma once

#include "colour/GamutMap.h"

#include <QString>

#include <vector>

// The colours that became current, newest first, each once, at most Limit of them.
class TColourHistory {
public:
    static constexpr int Limit = 32;

    // Puts the colour in front; one already held moves there. False when it was in front already.
    bool Add(const TRgb8 &c);
    void Clear() { FColours.clear(); }
    const std::vector<TRgb8> &Colours() const { return FColours; }

    // "#RRGGBB" texts separated by commas, as the settings file keeps them.
    QString Text() const;
    // Reads such a text; anything that is no #RRGGBB is skipped, and past Limit nothing is read.
    static TColourHistory FromText(const QString &text);

private:
    std::vector<TRgb8> FColours;
};

// "#RRGGBB", upper case.
QString HtmlText(const TRgb8 &c);
