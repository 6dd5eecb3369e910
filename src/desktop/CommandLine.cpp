#include "desktop/CommandLine.h"

#include <QCommandLineParser>

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
};

} // namespace

TCommandLine ParseCommandLine(const QStringList &args)
{
    TOptions o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions({o.Help, o.Version, o.Convert, o.To, o.Pick, o.Srgb, o.AsShown, o.Open});
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
    if (parser.isSet(o.Convert) && parser.isSet(o.Pick))
        return error(QStringLiteral("--convert and --pick do not go together"));
    if (colours.size() > 1 || (!colours.isEmpty() && (parser.isSet(o.Convert) || parser.isSet(o.Pick))))
        return error(QStringLiteral("one colour at most, and none with --convert or --pick"));
    cl.Srgb = parser.isSet(o.Srgb);
    cl.AsShown = parser.isSet(o.AsShown);
    cl.Open = parser.isSet(o.Open);
    if ((cl.AsShown || cl.Open) && !parser.isSet(o.Pick))
        return error(QStringLiteral("--as-shown and --open go with --pick"));
    if (parser.isSet(o.To)) {
        for (const QString &name : parser.value(o.To).split(QLatin1Char(',')))
            if (!name.trimmed().isEmpty())
                cl.To << name.trimmed();
        if (cl.To.isEmpty())
            return error(QStringLiteral("--to names no notation"));
    }
    if (parser.isSet(o.Convert)) {
        cl.Action = TCommandLine::TAction::Convert;
        cl.ConvertText = parser.value(o.Convert);
    } else if (parser.isSet(o.Pick)) {
        cl.Action = TCommandLine::TAction::Pick;
    } else if (!cl.To.isEmpty() || cl.Srgb) {
        return error(QStringLiteral("--to and --srgb go with --convert or --pick"));
    } else if (!colours.isEmpty()) {
        cl.Colour = colours.front();
    }
    return cl;
}

QString HelpText(const QStringList &notationNames)
{
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
               "                        prints every notation as 'name: text' and --pick prints html\n"
               "      --srgb            write the POV-Ray notations with srgb, srgbf and srgbt\n"
               "      --as-shown        with --pick: the colour as the monitor shows it (its ICC profile)\n"
               "      --open            with --pick: open (or raise) the window with the colour instead\n"
               "\n"
               "Notations: %1\n"
               "\n"
               "Exit status: 0 done, 1 a colour that does not read (or no display for the window, or a\n"
               "cancelled pick), 2 a wrong command line, 3 no way to pick from this desktop.\n")
        .arg(notationNames.join(QStringLiteral(", ")));
}

QString VersionText()
{
    return QStringLiteral("pigmora " PIGMORA_VERSION "\n");
}
