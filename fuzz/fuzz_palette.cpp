// Feeds arbitrary bytes to the GIMP palette reading of the palette import, and checks that what
// it reads is at most the wanted colours, each 0-255, and that a palette written from them reads
// back the same.
#include "colour/PaletteFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto colours = ReadGimpPalette(bytes, 11);
    if (!colours)
        return 0;
    if (colours->size() > 11)
        std::abort();
    for (const TRgb8 &c : *colours)
        if (c.R < 0 || c.R > 255 || c.G < 0 || c.G > 255 || c.B < 0 || c.B > 255)
            std::abort();
    if (ReadGimpPalette(WriteGimpPalette(QStringLiteral("x"), *colours), 11) != colours)
        std::abort();
    return 0;
}
