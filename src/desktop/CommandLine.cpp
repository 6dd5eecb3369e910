#include "desktop/CommandLine.h"

#include "colour/ContrastFix.h"
#include "colour/Vision.h"
#include "desktop/PickAverage.h"

#include <QCommandLineParser>

#include <cstring>

namespace {

struct TOptions {
    QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")};
    QCommandLineOption Version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version and exit.")};
    QCommandLineOption Convert{QStringLiteral("convert"), QStringLiteral("Print TEXT, a colour in any notation the paste reads, in other notations, and exit."),
                               QStringLiteral("TEXT")};
    QCommandLineOption To{QStringLiteral("to"), QStringLiteral("The notations to print, separated by commas (see below)."),
                          QStringLiteral("LIST")};
    QCommandLineOption Pick{QStringLiteral("pick"), QStringLiteral("Take a colour from the screen, print it and exit.")};
    QCommandLineOption Srgb{QStringLiteral("srgb"), QStringLiteral("Write the POV-Ray notations with srgb, srgbf and srgbt.")};
    QCommandLineOption Open{QStringLiteral("open"), QStringLiteral("With --pick, open (or raise) the window with the colour instead of printing it.")};
    QCommandLineOption AsShown{QStringLiteral("as-shown"), QStringLiteral("With --pick, the colour as the monitor shows it.")};
    QCommandLineOption Simulate{QStringLiteral("simulate"), QStringLiteral("Print COLOUR as a colour vision sees it."), QStringLiteral("NAME")};
    QCommandLineOption Contrast{QStringLiteral("contrast"), QStringLiteral("Print the contrast of two colours.")};
    QCommandLineOption Fix{QStringLiteral("fix"), QStringLiteral("With --contrast, the nearest colour that reaches TARGET."), QStringLiteral("TARGET")};
    QCommandLineOption Delta{QStringLiteral("delta"), QStringLiteral("Print the differences of two colours.")};
    QCommandLineOption Scale{QStringLiteral("scale"), QStringLiteral("Print the colour's 11-step scale."), QStringLiteral("COLOUR")};
    QCommandLineOption Harmony{QStringLiteral("harmony"), QStringLiteral("Print a harmony of the colour."), QStringLiteral("NAME")};
    QCommandLineOption Gradient{QStringLiteral("gradient"), QStringLiteral("Print a gradient from this colour to the one given."),
                                QStringLiteral("COLOUR")};
    QCommandLineOption Steps{QStringLiteral("steps"), QStringLiteral("The gradient's number of colours."), QStringLiteral("N")};
    QCommandLineOption In{QStringLiteral("in"), QStringLiteral("The gradient's interpolation space."), QStringLiteral("SPACE")};
    QCommandLineOption Gamut{QStringLiteral("gamut"), QStringLiteral("The gamut of a scale or harmony."), QStringLiteral("GAMUT")};
    QCommandLineOption PaletteConvert{QStringLiteral("palette-convert"), QStringLiteral("Convert the palette file IN to OUT and exit."),
                                      QStringLiteral("IN")};
    QCommandLineOption Average{QStringLiteral("average"), QStringLiteral("With --pick, the mean of an N by N square."),
                               QStringLiteral("N")};
    QCommandLineOption Background{QStringLiteral("background"), QStringLiteral("Run without a window, with the desktop-wide key and the tray icon on.")};
};

// --to's comma-separated notation names, blanks dropped.
QStringList NotationList(const QString &text)
{
    QStringList names;
    for (const QString &name : text.split(QLatin1Char(',')))
        if (!name.trimmed().isEmpty())
            names << name.trimmed();
    return names;
}

// --scale, --harmony and --gradient: which goes with which, the colours and the step count.
// The names (harmony, space, gamut, notations) are checked where the palette is made.
TCommandLine MakeCommand(const QCommandLineParser &parser, const TOptions &o, const QStringList &colours, TCommandLine cl)
{
    const auto error = [&](const QString &text) {
        cl.Action = TCommandLine::TAction::Error;
        cl.Error = text;
        return cl;
    };
    const int makes = int(parser.isSet(o.Scale)) + int(parser.isSet(o.Harmony)) + int(parser.isSet(o.Gradient));
    for (const QCommandLineOption *option : {&o.Scale, &o.Harmony, &o.Gradient, &o.Steps, &o.In, &o.Gamut})
        if (parser.values(*option).size() > 1)
            return error(QStringLiteral("--%1 is given once").arg(option->names().constFirst()));
    if (makes > 1 || parser.isSet(o.Convert) || parser.isSet(o.Pick) || parser.isSet(o.PaletteConvert))
        return error(QStringLiteral("--scale, --harmony, --gradient, --convert, --pick and --palette-convert go one at a time"));
    if (parser.isSet(o.AsShown) || parser.isSet(o.Open))
        return error(QStringLiteral("--as-shown and --open go with --pick"));
    cl.Action = TCommandLine::TAction::Make;
    cl.Srgb = parser.isSet(o.Srgb);
    cl.Gamut = parser.value(o.Gamut);
    cl.Space = parser.value(o.In);
    if (parser.isSet(o.Scale)) {
        cl.Make = TCommandLine::TMake::Scale;
        cl.MakeColours = {parser.value(o.Scale)};
        if (!colours.isEmpty())
            return error(QStringLiteral("--scale takes one colour"));
    } else if (parser.isSet(o.Harmony)) {
        cl.Make = TCommandLine::TMake::Harmony;
        cl.Harmony = parser.value(o.Harmony);
        if (colours.size() != 1)
            return error(QStringLiteral("--harmony takes a name and one colour"));
        cl.MakeColours = colours;
    } else {
        cl.Make = TCommandLine::TMake::Gradient;
        if (colours.size() != 1)
            return error(QStringLiteral("--gradient takes two colours"));
        cl.MakeColours = {parser.value(o.Gradient), colours.front()};
        if (!parser.isSet(o.Steps))
            return error(QStringLiteral("--gradient needs --steps"));
        bool ok = false;
        cl.Steps = parser.value(o.Steps).toInt(&ok);
        if (!ok || cl.Steps < 2 || cl.Steps > 256)
            return error(QStringLiteral("--steps takes a whole number from 2 to 256"));
    }
    if (cl.Make != TCommandLine::TMake::Gradient && (parser.isSet(o.Steps) || parser.isSet(o.In)))
        return error(QStringLiteral("--steps and --in go with --gradient"));
    if (cl.Make == TCommandLine::TMake::Gradient && parser.isSet(o.Gamut))
        return error(QStringLiteral("--gamut goes with --scale and --harmony"));
    if (parser.isSet(o.To) && (cl.To = NotationList(parser.value(o.To))).isEmpty())
        return error(QStringLiteral("--to names no notation"));
    return cl;
}

QString Hex(unsigned value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

TCommandLine ParseCommandLine(const QStringList &args)
{
    TOptions o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions({o.Help, o.Version, o.Convert, o.To, o.Pick, o.Srgb, o.AsShown, o.Open});
    parser.addOptions({o.Simulate, o.Contrast, o.Fix, o.Delta});
    parser.addOptions({o.Scale, o.Harmony, o.Gradient, o.Steps, o.In, o.Gamut});
    parser.addOption(o.PaletteConvert);
    parser.addOption(o.Average);
    parser.addOption(o.Background);
    TCommandLine cl;
    if (!parser.parse(args)) {
        cl.Action = TCommandLine::TAction::Error;
        cl.Error = parser.errorText();
        return cl;
    }
    const QStringList colours = parser.positionalArguments();
    if (parser.isSet(o.Help)) {
        cl.Action = TCommandLine::TAction::Help;
        return cl;
    }
    if (parser.isSet(o.Version)) {
        cl.Action = TCommandLine::TAction::Version;
        return cl;
    }
    const auto error = [&](const QString &text) {
        cl.Action = TCommandLine::TAction::Error;
        cl.Error = text;
        return cl;
    };
    if (parser.values(o.Convert).size() > 1 || parser.values(o.To).size() > 1)
        return error(QStringLiteral("--convert and --to are given once"));
    // Judging colours: --simulate one colour, --contrast (with --fix) or --delta two.
    const int judges = int(parser.isSet(o.Simulate)) + int(parser.isSet(o.Contrast)) + int(parser.isSet(o.Delta));
    if (parser.values(o.Simulate).size() > 1 || parser.values(o.Fix).size() > 1)
        return error(QStringLiteral("--simulate and --fix are given once"));
    if (parser.isSet(o.Fix) && !parser.isSet(o.Contrast))
        return error(QStringLiteral("--fix goes with --contrast"));
    if (judges > 1 || (judges && (parser.isSet(o.Convert) || parser.isSet(o.Pick))))
        return error(QStringLiteral("--simulate, --contrast, --delta, --convert and --pick go one at a time"));
    if (judges && colours.size() != (parser.isSet(o.Simulate) ? 1 : 2))
        return error(parser.isSet(o.Simulate) ? QStringLiteral("--simulate takes one colour")
                                              : QStringLiteral("--contrast and --delta take two colours"));
    if (judges && !parser.isSet(o.Simulate) && (parser.isSet(o.To) || parser.isSet(o.Srgb)))
        return error(QStringLiteral("--to and --srgb go with --convert, --pick or --simulate"));
    const bool makes = parser.isSet(o.Scale) || parser.isSet(o.Harmony) || parser.isSet(o.Gradient);
    if (parser.isSet(o.Background) && (parser.isSet(o.Convert) || parser.isSet(o.Pick) || judges || makes ||
                                       parser.isSet(o.PaletteConvert) || !colours.isEmpty()))
        return error(QStringLiteral("--background takes no colour and goes with no other option"));
    if (parser.isSet(o.Average) && !parser.isSet(o.Pick))
        return error(QStringLiteral("--average goes with --pick"));
    if (judges && makes)
        return error(QStringLiteral("--simulate, --contrast and --delta do not go with --scale, --harmony or --gradient"));
    if (makes)
        return MakeCommand(parser, o, colours, cl);
    if (parser.isSet(o.Steps) || parser.isSet(o.In) || parser.isSet(o.Gamut))
        return error(QStringLiteral("--steps, --in and --gamut go with --scale, --harmony or --gradient"));
    if (parser.isSet(o.PaletteConvert)) {
        if (judges || parser.values(o.PaletteConvert).size() > 1 || colours.size() != 1 || parser.isSet(o.Convert) ||
            parser.isSet(o.Pick) || parser.isSet(o.To) || parser.isSet(o.Srgb) || parser.isSet(o.AsShown) || parser.isSet(o.Open))
            return error(QStringLiteral("--palette-convert takes two files, IN and OUT, and no other option"));
        cl.Action = TCommandLine::TAction::PaletteConvert;
        cl.PaletteIn = parser.value(o.PaletteConvert);
        cl.PaletteOut = colours.front();
        return cl;
    }
    if (parser.isSet(o.Convert) && parser.isSet(o.Pick))
        return error(QStringLiteral("--convert and --pick do not go together"));
    if (!judges && (colours.size() > 1 || (!colours.isEmpty() && (parser.isSet(o.Convert) || parser.isSet(o.Pick)))))
        return error(QStringLiteral("one colour at most, and none with --convert or --pick"));
    cl.Srgb = parser.isSet(o.Srgb);
    cl.AsShown = parser.isSet(o.AsShown);
    cl.Open = parser.isSet(o.Open);
    if ((cl.AsShown || cl.Open) && !parser.isSet(o.Pick))
        return error(QStringLiteral("--as-shown and --open go with --pick"));
    if (parser.isSet(o.Average)) {
        bool number = false;
        const QStringList given = parser.values(o.Average);
        cl.Average = given.size() == 1 ? given.front().trimmed().toInt(&number) : 0;
        if (!number || !IsPickSize(cl.Average))
            return error(QStringLiteral("--average takes one of 1, 3, 5, 9, 15, 31"));
    }
    cl.Background = parser.isSet(o.Background);
    if (parser.isSet(o.To) && (cl.To = NotationList(parser.value(o.To))).isEmpty())
        return error(QStringLiteral("--to names no notation"));
    if (parser.isSet(o.Convert)) {
        cl.Action = TCommandLine::TAction::Convert;
        cl.ConvertText = parser.value(o.Convert);
    } else if (parser.isSet(o.Pick)) {
        cl.Action = TCommandLine::TAction::Pick;
    } else if (judges) {
        cl.Action = parser.isSet(o.Simulate) ? TCommandLine::TAction::Simulate
                    : parser.isSet(o.Contrast) ? TCommandLine::TAction::Contrast
                                               : TCommandLine::TAction::Delta;
        cl.Colours = colours;
        cl.Vision = parser.value(o.Simulate);
        cl.FixTarget = parser.value(o.Fix);
    } else if (!cl.To.isEmpty() || cl.Srgb) {
        return error(QStringLiteral("--to and --srgb go with --convert or --pick"));
    } else if (!colours.isEmpty()) {
        cl.Colour = colours.front();
    }
    return cl;
}

QString HelpText(const QStringList &notationNames)
{
    QStringList visionNames, targetNames;
    for (const TVision vision : AllVisions())
        visionNames << VisionName(vision);
    for (const TContrastTarget target : AllContrastTargets())
        targetNames << ContrastTargetName(target);
    return QStringLiteral(
               "Usage: pigmora [OPTION]... [COLOUR]\n"
               "Show a colour in every notation and copy any of them; start with COLOUR, a colour in any\n"
               "notation the paste reads (#336699, oklch(0.7 0.1 200), rgb <0.2, 0.4, 0.6>, ...).\n"
               "Started while Pigmora runs, it brings the running window to the front with that colour.\n"
               "\n"
               "  -h, --help            show this help and exit\n"
               "  -v, --version         show the version and exit\n"
               "      --convert TEXT    print the colour TEXT in other notations and exit; needs no display\n"
               "      --pick            take a colour from the screen, print it and exit (Escape: exit 1)\n"
               "      --to LIST         the notations to print, separated by commas; without it --convert\n"
               "                        prints every notation as 'name: text' and --pick prints #RRGGBB\n"
               "      --srgb            write the POV-Ray notations with srgb, srgbf and srgbt\n"
               "      --as-shown        with --pick: the colour as the monitor shows it (its ICC profile)\n"
               "      --open            with --pick: open (or raise) the window with the colour instead\n"
               "      --simulate NAME COLOUR\n"
               "                        print COLOUR as the colour vision NAME sees it (see below), in\n"
               "                        the notations of --to (every one without it)\n"
               "      --contrast FG BG  print the WCAG 2 ratio of text FG on BG with its verdicts, and the\n"
               "                        APCA Lc both ways\n"
               "      --fix TARGET      with --contrast: also the nearest colour to FG, same OKLCH hue and\n"
               "                        chroma, that reaches TARGET on BG (see below)\n"
               "      --delta A B       print CIEDE2000, deltaEOK and CIE76 between A and B\n"
               "      --scale COLOUR    print the colour's scale, 50 to 950, and exit\n"
               "      --harmony NAME COLOUR\n"
               "                        print a harmony of the colour and exit; NAME is complementary,\n"
               "                        analogous, triadic, split-complementary, square or monochromatic\n"
               "      --gamut GAMUT     with --scale or --harmony: srgb (the default) or display-p3\n"
               "      --gradient A B    print the gradient from A to B and exit; needs --steps N (2-256)\n"
               "      --in SPACE        with --gradient: the space it is interpolated in, as color-mix()\n"
               "                        takes it (oklab, the default; oklch longer hue; srgb; ...)\n"
               "                        --to takes css (the default), pov or glsl for the gradient as a\n"
               "                        whole, or notations for each colour; with --scale and --harmony\n"
               "                        notations for each colour (the default: its CSS text)\n"
               "      --palette-convert IN OUT\n"
               "                        convert the palette file IN to OUT, each in the format its suffix\n"
               "                        names (.gpl .css .tokens.json .tailwind.css .ase .kpl .soc .xml,\n"
               "                        and .svg .png sheets to write); needs no display\n"
               "      --average N       with --pick: the mean (in linear light) of the N by N square of\n"
               "                        device pixels around the pointer; N is 1, 3, 5, 9, 15 or 31\n"
               "      --background      run without a window, with the desktop-wide key and the tray icon\n"
               "                        on; a later start shows the window\n"
               "\n"
               "Notations: %1\n"
               "\n"
               "Colour visions: %2\n"
               "(protanomaly, deuteranomaly and tritanomaly take a severity 0-1 after a colon, as\n"
               "deuteranomaly:0.6; 1 without it)\n"
               "Contrast targets: %3\n"
               "\n"
               "Exit status: 0 done, 1 a colour that does not read (or no display for the window, or a\n"
               "cancelled pick), 2 a wrong command line (with --simulate, --contrast and --delta also a\n"
               "colour, name or number that does not read) or a palette that cannot be converted, 3 no\n"
               "way to pick from this desktop.\n")
        .arg(notationNames.join(QStringLiteral(", ")), visionNames.join(QStringLiteral(", ")),
             targetNames.join(QStringLiteral(", ")));
}

QString ArgumentText(const char *bytes)
{
    const QByteArrayView in(bytes, static_cast<qsizetype>(std::strlen(bytes)));
    QString text;
    text.reserve(in.size());
    qsizetype i = 0;
    while (i < in.size()) {
        const auto byte = static_cast<unsigned char>(in[i]);
        // The length of a well-formed sequence starting here (RFC 3629), 0 for none.
        qsizetype length = byte < 0x80 ? 1 : byte >= 0xC2 && byte <= 0xDF ? 2 : byte >= 0xE0 && byte <= 0xEF ? 3
                                           : byte >= 0xF0 && byte <= 0xF4 ? 4 : 0;
        if (length > 1) {
            if (i + length > in.size())
                length = 0;
            for (qsizetype k = 1; length && k < length; ++k)
                if ((static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80)
                    length = 0;
            if (length) {
                const auto second = static_cast<unsigned char>(in[i + 1]);
                if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second > 0x9F) || (byte == 0xF0 && second < 0x90)
                    || (byte == 0xF4 && second > 0x8F))
                    length = 0; // overlong, a surrogate, or beyond U+10FFFF
            }
        }
        if (length == 0) {
            text += QChar(0xDC00 + byte);
            ++i;
        } else {
            text += QString::fromUtf8(in.sliced(i, length));
            i += length;
        }
    }
    return text;
}

QString ShownText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            shown += text[i];
            shown += text[++i];
            continue;
        }
        const bool invisible = c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F
                               || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || QChar::isSurrogate(c);
        if (!invisible)
            shown += text[i];
        else if (c >= 0xDC80 && c <= 0xDCFF)
            shown += QStringLiteral("\\x") + Hex(c - 0xDC00u, 2);
        else
            shown += (c <= 0xFF ? QStringLiteral("\\x") : QStringLiteral("\\u")) + Hex(c, c <= 0xFF ? 2 : 4);
    }
    return shown;
}

bool WriteText(std::FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const size_t written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    return std::fflush(to) == 0 && written == static_cast<size_t>(bytes.size()) && !std::ferror(to);
}

QString VersionText()
{
    return QStringLiteral("pigmora " PIGMORA_VERSION "\n");
}
