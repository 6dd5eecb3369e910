#include "colour/PaletteFile.h"

#include "colour/ColourHistory.h"
#include "colour/PaletteCodecs.h"

QByteArray WriteGimpPalette(const QString &name, const std::vector<TExactColour> &colours)
{
    TPalette palette{name, {}};
    palette.Entries.reserve(colours.size());
    for (const TExactColour &c : colours)
        palette.Entries.push_back({HtmlText(c.Rgb8()), c});
    return palettecodecs::WriteGpl(palette);
}

QByteArray WriteCssPalette(const std::vector<TExactColour> &colours)
{
    TPalette palette;
    palette.Entries.reserve(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
        palette.Entries.push_back({QStringLiteral("pigmora-%1").arg(i + 1), colours[i]});
    return palettecodecs::WriteCss(palette);
}

std::optional<std::vector<TRgb8>> ReadGimpPalette(const QByteArray &bytes, int wanted)
{
    QString why;
    const auto palette = palettecodecs::ReadGpl(bytes, why);
    if (!palette)
        return std::nullopt;
    std::vector<TRgb8> colours;
    for (const TPaletteEntry &e : palette->Entries) {
        if (static_cast<int>(colours.size()) >= wanted)
            break;
        colours.push_back(e.Colour.Rgb8());
    }
    return colours;
}
