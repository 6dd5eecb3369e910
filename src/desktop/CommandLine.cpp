#include "desktop/CommandLine.h"

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
    QCommandLineOption Background{QStringLiteral("background"), QStringLiteral("Run without a window, with the desktop-wide key and the tray icon on.")};
};

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
    if (parser.isSet(o.Convert) && parser.isSet(o.Pick))
        return error(QStringLiteral("--convert and --pick do not go together"));
    if (colours.size() > 1 || (!colours.isEmpty() && (parser.isSet(o.Convert) || parser.isSet(o.Pick))))
        return error(QStringLiteral("one colour at most, and none with --convert or --pick"));
    cl.Srgb = parser.isSet(o.Srgb);
    cl.AsShown = parser.isSet(o.AsShown);
    cl.Open = parser.isSet(o.Open);
    if ((cl.AsShown || cl.Open) && !parser.isSet(o.Pick))
        return error(QStringLiteral("--as-shown and --open go with --pick"));
    cl.Background = parser.isSet(o.Background);
    if (cl.Background && (parser.isSet(o.Convert) || parser.isSet(o.Pick) || !colours.isEmpty()))
        return error(QStringLiteral("--background takes no colour and goes with no other option"));
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
               "                        prints every notation as 'name: text' and --pick prints #RRGGBB\n"
               "      --srgb            write the POV-Ray notations with srgb, srgbf and srgbt\n"
               "      --as-shown        with --pick: the colour as the monitor shows it (its ICC profile)\n"
               "      --open            with --pick: open (or raise) the window with the colour instead\n"
               "      --background      run without a window, with the desktop-wide key and the tray icon\n"
               "                        on; a later start shows the window\n"
               "\n"
               "Notations: %1\n"
               "\n"
               "Exit status: 0 done, 1 a colour that does not read (or no display for the window, or a\n"
               "cancelled pick), 2 a wrong command line, 3 no way to pick from this desktop.\n")
        .arg(notationNames.join(QStringLiteral(", ")));
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
