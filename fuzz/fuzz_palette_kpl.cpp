// Feeds arbitrary bytes to the .kpl reader (a zip), and checks that a palette it reads writes and
// reads back with the same names and 8-bit colours. The same bytes go to the colour set's XML
// reader alone too, which mutated zips (their checksums fail) would seldom reach.
#include "FuzzPalette.h"

#include "colour/PaletteCodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString why;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (const auto set = palettecodecs::ReadKritaColourSet(bytes, why)) {
        for (const TPaletteEntry &e : set->Entries)
            if (!CleanName(e.Name))
                std::abort();
        const auto back = palettecodecs::ReadKritaColourSet(palettecodecs::WriteKritaColourSet(*set), why);
        if (!back || back->Entries.size() != set->Entries.size())
            std::abort();
    } else if (why.isEmpty()) {
        std::abort();
    }
    return FuzzPaletteReader(TPaletteFormat::Krita, data, size);
}
