#include "app/MakePalettes.h"

#include "app/ConvertNotations.h"
#include "colour/Gradient.h"
#include "colour/Scales.h"

namespace {

QString Unreadable(const QString &text)
{
    return QStringLiteral("'%1' is no colour Pigmora can read").arg(ShownText(text.left(200)));
}

TMadeOutput Usage(const QString &message)
{
    return {{}, message, ExitUsage};
}

QString Names(std::initializer_list<QString> names)
{
    return QStringList(names).join(QStringLiteral(", "));
}

} // namespace

QStringList PaletteLines(const TPalette &palette, const QStringList &notations, bool srgb, QString *unknown)
{
    QStringList lines;
    for (const TPaletteEntry &e : palette.Entries) {
        if (notations.isEmpty()) {
            lines << e.Name + QStringLiteral(": ") + ExactColourText(e.Colour);
            continue;
        }
        const TConversion c = ConvertColour(e.Colour, notations, srgb);
        if (!c.UnknownName.isEmpty()) {
            if (unknown)
                *unknown = c.UnknownName;
            return {};
        }
        for (qsizetype i = 0; i < c.Lines.size(); ++i)
            lines << e.Name + (notations.size() > 1 ? QLatin1Char(' ') + notations[i] : QString()) + QStringLiteral(": ")
                         + c.Lines[i];
    }
    return lines;
}

TMadeOutput RunMakeCommand(const TCommandLine &cl)
{
    std::vector<TExactColour> colours;
    for (const QString &text : cl.MakeColours) {
        const auto reading = ReadExactColour(text);
        if (!reading)
            return {{}, Unreadable(text), ExitUnreadable};
        colours.push_back(reading->Colour);
    }
    TGamut gamut = TGamut::Srgb;
    if (cl.Gamut.compare(QLatin1String("display-p3"), Qt::CaseInsensitive) == 0
        || cl.Gamut.compare(QLatin1String("p3"), Qt::CaseInsensitive) == 0)
        gamut = TGamut::DisplayP3;
    else if (!cl.Gamut.isEmpty() && cl.Gamut.compare(QLatin1String("srgb"), Qt::CaseInsensitive) != 0)
        return Usage(QStringLiteral("'%1' is no gamut; the gamuts are: srgb, display-p3").arg(ShownText(cl.Gamut.left(200))));

    TPalette palette;
    QStringList lines;
    QStringList notations = cl.To;
    switch (cl.Make) {
    case TCommandLine::TMake::Scale: palette = MakeScale(colours[0], gamut); break;
    case TCommandLine::TMake::Harmony: {
        const auto harmony = HarmonyNamed(cl.Harmony.toStdString());
        if (!harmony) {
            QStringList keys;
            for (const THarmonyInfo &info : HarmonyInfos())
                keys << QLatin1String(info.Key);
            return Usage(QStringLiteral("'%1' is no harmony; the harmonies are: %2")
                             .arg(ShownText(cl.Harmony.left(200)), keys.join(QStringLiteral(", "))));
        }
        palette = MakeHarmony(*harmony, colours[0], gamut);
        break;
    }
    case TCommandLine::TMake::Gradient: {
        TGradientPlan plan;
        plan.Steps = cl.Steps;
        if (!cl.Space.isEmpty()) {
            const auto read = ReadInterpolation(cl.Space, plan);
            if (!read)
                return Usage(QStringLiteral("'%1' is no interpolation space as color-mix() takes it (oklab, oklch longer hue, srgb, ...)")
                                 .arg(ShownText(cl.Space.left(200))));
            plan = *read;
        }
        const auto steps = MakeGradient(colours[0], colours[1], plan);
        if (!steps)
            return Usage(QStringLiteral("--steps takes a whole number from 2 to 256"));
        palette = *steps;
        if (notations.isEmpty())
            notations << QStringLiteral("css");
        // The gradient's own forms are written whole; notations give each colour.
        QStringList each;
        for (const QString &name : notations) {
            if (const auto form = GradientFormNamed(name))
                lines << WriteGradient(*form, palette, plan, cl.Srgb);
            else
                each << name;
        }
        if (each.isEmpty())
            return {lines.join(QLatin1Char('\n')) + QLatin1Char('\n'), {}, 0};
        notations = each;
        break;
    }
    }
    QString unknown;
    const QStringList colourLines = PaletteLines(palette, notations, cl.Srgb, &unknown);
    if (!unknown.isEmpty())
        return Usage(QStringLiteral("'%1' is no notation; the notations are: %2")
                         .arg(ShownText(unknown.left(200)), NotationNames().join(QStringLiteral(", "))
                                                                + (cl.Make == TCommandLine::TMake::Gradient
                                                                       ? QStringLiteral("; for the gradient whole: ") + Names({QStringLiteral("css"), QStringLiteral("pov"), QStringLiteral("glsl")})
                                                                       : QString())));
    lines << colourLines;
    return {lines.join(QLatin1Char('\n')) + QLatin1Char('\n'), {}, 0};
}
