#pragma once

// What the palette readers' fuzzers check: no crash, a reason for each refusal, names within
// their limit and free of control characters, and a round trip through the same format.
#include "colour/PaletteFormats.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline bool CleanName(const QString &name)
{
    if (name.size() > MaxPaletteNameLength)
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return false;
    return true;
}

inline int FuzzPaletteReader(TPaletteFormat format, const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString why;
    const auto palette = ReadPalette(format, bytes, &why);
    if (!palette) {
        if (why.isEmpty())
            std::abort();
        return 0;
    }
    if (palette->Entries.empty() || !CleanName(palette->Name))
        std::abort();
    for (const TPaletteEntry &e : palette->Entries)
        if (!CleanName(e.Name))
            std::abort();
    const auto back = ReadPalette(format, WritePalette(format, *palette), &why);
    if (!back || back->Entries.size() != palette->Entries.size())
        std::abort();
    for (size_t i = 0; i < back->Entries.size(); ++i)
        if (back->Entries[i].Name != palette->Entries[i].Name || back->Entries[i].Colour.Rgb8() != palette->Entries[i].Colour.Rgb8())
            std::abort();
    return 0;
}
