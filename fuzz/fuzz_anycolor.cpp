// Feeds arbitrary text to the colour reading of the paste, the drop and the command line, and
// checks that whatever it reads writes back, in every notation, to a text that reads as the same
// colour.
#include "colour/AnyColor.h"
#include "colour/Notations.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto reading = ReadAnyColor(text);
    if (!reading)
        return 0;
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
    return 0;
}
