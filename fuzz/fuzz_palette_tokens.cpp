// Feeds arbitrary bytes to the design tokens reader (its JSON reader too), and checks that a
// palette it reads writes and reads back with the same names and 8-bit colours.
#include "FuzzPalette.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return FuzzPaletteReader(TPaletteFormat::DesignTokens, data, size);
}
