#include "colour/PaletteFile.h"

#include "colour/ColourHistory.h"
#include "colour/TextScan.h"

#include <string_view>

using namespace textscan;

QByteArray WriteGimpPalette(const QString &name, const std::vector<TExactColour> &colours)
{
    QByteArray out = "GIMP Palette\nName: " + name.toUtf8() + "\nColumns: 11\n#\n";
    for (const TExactColour &exact : colours) {
        const TRgb8 c = exact.Rgb8();
        out += QStringLiteral("%1 %2 %3\t%4\n")
                   .arg(c.R, 3)
                   .arg(c.G, 3)
                   .arg(c.B, 3)
                   .arg(HtmlText(c))
                   .toUtf8();
    }
    return out;
}

QByteArray WriteCssPalette(const std::vector<TExactColour> &colours)
{
    QByteArray out = ":root {\n";
    for (size_t i = 0; i < colours.size(); ++i)
        out += QStringLiteral("  --pigmora-%1: %2;\n").arg(i + 1).arg(ExactColourText(colours[i])).toUtf8();
    out += "}\n";
    return out;
}

namespace {

// The next line without its line end (LF, CR LF or a lone CR), and the rest after it.
Sv NextLine(Sv &rest)
{
    const size_t end = rest.find_first_of("\r\n");
    const Sv line = rest.substr(0, end);
    if (end == Sv::npos) {
        rest = {};
        return line;
    }
    const char lineEnd = rest[end];
    rest.remove_prefix(end + 1);
    if (lineEnd == '\r' && !rest.empty() && rest.front() == '\n')
        rest.remove_prefix(1);
    return line;
}

std::optional<TRgb8> ColourLine(Sv line)
{
    const std::vector<Sv> tokens = SplitBlanks(line);
    if (tokens.size() < 3)
        return std::nullopt;
    int c[3];
    for (int i = 0; i < 3; ++i) {
        const auto v = ReadByteInteger(tokens[i]);
        if (!v)
            return std::nullopt;
        c[i] = *v;
    }
    return TRgb8{c[0], c[1], c[2]};
}

} // namespace

std::optional<std::vector<TRgb8>> ReadGimpPalette(const QByteArray &bytes, int wanted)
{
    Sv rest(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (rest.substr(0, 3) == "\xEF\xBB\xBF")
        rest.remove_prefix(3);
    if (Trim(NextLine(rest)) != "GIMP Palette")
        return std::nullopt;
    std::vector<TRgb8> colours;
    while (!rest.empty() && static_cast<int>(colours.size()) < wanted)
        if (const auto c = ColourLine(NextLine(rest)))
            colours.push_back(*c);
    return colours;
}
