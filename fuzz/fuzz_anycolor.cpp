// Feeds arbitrary text to the colour reading of the paste, the drop and the command line, and
// checks that whatever it reads writes back, in every notation, to a text that reads as the same
// colour: the 8-bit colour through the 8-bit readings, and the exact colour (color-mix(),
// relative colours and calc() included) through its own text.
#include "colour/AnyColor.h"
#include "colour/ExactColour.h"
#include "colour/Notations.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Six significant digits per number: the colour read back lies within a small fraction of it,
// measured in XYZ relative to the colour's largest value (far outside any gamut, a small XYZ
// value is the difference of large ones).
bool SameColour(const TExactColour &a, const TExactColour &b)
{
    const TVec3 xa = a.To(TColourSpace::XyzD65).Coords, xb = b.To(TColourSpace::XyzD65).Coords;
    double scale = 1;
    for (size_t i = 0; i < 3; ++i)
        scale = std::max({scale, std::abs(xa[i]), std::abs(xb[i])});
    for (size_t i = 0; i < 3; ++i)
        if (std::abs(xa[i] - xb[i]) > 1e-4 * scale)
            return false;
    return std::abs(a.Alpha - b.Alpha) < 1e-6 && a.Missing[3] == b.Missing[3];
}

void CheckEightBits(const QString &text)
{
    const auto reading = ReadAnyColor(text);
    if (!reading)
        return;
    if (ParseAnyColor(text) != reading->Color)
        std::abort();
    const TColor c = reading->Color;
    const TRgb8 rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    for (const TNotationRow &row : WriteNotations(rgb)) {
        if (row.Kind == TNotationKind::Linear || (row.Kind == TNotationKind::Name && row.Caption != QLatin1String("CSS name")))
            continue;
        const auto back = ReadAnyColor(row.Text);
        if (!back || back->Mapped || back->Color != RGB(rgb.R, rgb.G, rgb.B))
            std::abort();
    }
}

void CheckExact(const QString &text)
{
    const auto reading = ReadExactColour(text);
    if (!reading)
        return;
    const TExactColour &colour = reading->Colour;
    const auto back = ReadExactColour(ExactColourText(colour));
    if (!back || !SameColour(colour, back->Colour) || back->Colour.Rgb8() != colour.Rgb8())
        std::abort();
    for (const TNotationRow &row : WriteNotations(colour)) {
        if (row.Text.isEmpty())
            std::abort();
        // A row that holds the colour itself reads back as it; one of a colour from bytes, as
        // those bytes.
        if (!row.Fallback && !HoldsOnlySrgb(row.Kind) && !colour.Missing[0] && !colour.Missing[1] && !colour.Missing[2]) {
            const auto rowBack = ReadExactColour(row.Text);
            if (!rowBack)
                std::abort();
            if (colour.FromBytes ? rowBack->Colour.Rgb8() != colour.Rgb8() : !SameColour(colour, rowBack->Colour))
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    CheckEightBits(text);
    CheckExact(text);
    return 0;
}
