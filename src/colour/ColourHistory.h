#pragma once

#include "colour/ExactColour.h"
#include "colour/GamutMap.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// "#RRGGBB", upper case.
QString HtmlText(const TRgb8 &c);

// Whether the colour is exactly its 8 bits: set from bytes, opaque.
bool IsEightBit(const TExactColour &c);

// The text the settings file keeps for a colour: "#RRGGBB" for one that is exactly its 8 bits
// (set from bytes, opaque), else its CSS text.
QString StoredColourText(const TExactColour &c);
// Reads such a text back; empty for anything that is not one colour.
std::optional<TExactColour> ReadStoredColour(QStringView text);

// The colours that became current, exactly as they were, newest first, each once, at most Limit.
class TColourHistory {
public:
    static constexpr int Limit = 32;

    // Puts the colour in front; one already held moves there. False when it was in front already.
    bool Add(const TExactColour &c);
    void Clear() { FColours.clear(); }
    const std::vector<TExactColour> &Colours() const { return FColours; }

    // The stored texts separated by commas, as the settings file keeps them.
    QString Text() const;
    // Reads such a text; parts that read no colour are skipped, and past Limit nothing is read.
    static TColourHistory FromText(const QString &text);

private:
    std::vector<TExactColour> FColours;
};
