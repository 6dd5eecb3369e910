#include "app/JudgeCommands.h"

#include "app/ConvertNotations.h"
#include "colour/ColourDifference.h"
#include "colour/Contrast.h"
#include "colour/ContrastFix.h"
#include "colour/NumberWriting.h"
#include "colour/Vision.h"

namespace {

TJudgeOutput Failure(const QString &message)
{
    return {QString(), message, ExitUsage};
}

QString Shown(const QString &text) { return QLatin1Char('\'') + ShownText(text.left(200)) + QLatin1Char('\''); }

QString NameList(const QStringList &names) { return names.join(QStringLiteral(", ")); }

QString Verdict(const char *level, bool pass)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(level), pass ? QStringLiteral("passes") : QStringLiteral("fails"));
}

QString Number(double v, int decimals) { return QString::fromStdString(FixedText(v, decimals)); }

// The colour as the figures name it: its CSS text, and its sRGB fallback's hex when it is not hex.
QString Named(const TExactColour &c)
{
    const TRgb8 rgb = c.Rgb8();
    const QString hex = QStringLiteral("#%1%2%3")
                            .arg(rgb.R, 2, 16, QLatin1Char('0'))
                            .arg(rgb.G, 2, 16, QLatin1Char('0'))
                            .arg(rgb.B, 2, 16, QLatin1Char('0'));
    const QString text = ExactColourText(c);
    return text.compare(hex, Qt::CaseInsensitive) == 0 ? text : QStringLiteral("%1 (%2)").arg(text, hex);
}

TJudgeOutput Simulate(const TCommandLine &cl, const TExactColour &colour)
{
    const auto choice = ReadVisionChoice(cl.Vision);
    if (!choice) {
        QStringList names;
        for (const TVision vision : AllVisions())
            names << VisionName(vision);
        return Failure(QStringLiteral("%1 is no colour vision; the visions are: %2 (protanomaly, deuteranomaly and "
                                      "tritanomaly with a severity 0-1 after a colon, as deuteranomaly:0.6)")
                           .arg(Shown(cl.Vision), NameList(names)));
    }
    const TConversion conversion = ConvertColour(SimulateVision(colour, *choice), cl.To, cl.Srgb);
    if (!conversion.UnknownName.isEmpty())
        return Failure(QStringLiteral("%1 is no notation; the notations are: %2")
                           .arg(Shown(conversion.UnknownName), NameList(NotationNames())));
    return {conversion.Lines.join(QLatin1Char('\n')) + QLatin1Char('\n'), QString(), 0};
}

TJudgeOutput Contrast(const TCommandLine &cl, const TExactColour &text, const TExactColour &background)
{
    std::optional<TContrastTarget> target;
    if (!cl.FixTarget.isEmpty() && !(target = ReadContrastTarget(cl.FixTarget))) {
        QStringList names;
        for (const TContrastTarget t : AllContrastTargets())
            names << ContrastTargetName(t);
        return Failure(QStringLiteral("%1 is no contrast target; the targets are: %2").arg(Shown(cl.FixTarget), NameList(names)));
    }
    const double ratio = ContrastRatio(text, background);
    const TWcagVerdict v = WcagVerdict(ratio);
    QString out = QStringLiteral("WCAG 2: %1:1, %2, %3, %4, %5\nAPCA Lc %6 as text, %7 as background\n")
                      .arg(RatioText(ratio), Verdict("AA", v.AaNormal), Verdict("AA large", v.AaLarge),
                           Verdict("AAA", v.AaaNormal), Verdict("AAA large", v.AaaLarge), LcText(ApcaLc(text, background)),
                           LcText(ApcaLc(background, text)));
    if (target) {
        const TContrastFix fix = FixContrast(text, background, *target);
        if (!fix.Found)
            out += QStringLiteral("%1: no colour of this hue and chroma reaches it on this background\n")
                       .arg(ContrastTargetTitle(*target));
        else
            out += QStringLiteral("%1: %2, WCAG 2 %3:1, APCA Lc %4\n")
                       .arg(ContrastTargetTitle(*target), Named(fix.Colour), RatioText(fix.Ratio), LcText(fix.Lc));
    }
    return {out, QString(), 0};
}

TJudgeOutput Delta(const TExactColour &a, const TExactColour &b)
{
    const TColourDifferences d = ColourDifferences(a, b);
    return {QStringLiteral("CIEDE2000: %1\ndeltaEOK: %2\nCIE76: %3\n").arg(Number(d.De2000, 4), Number(d.DeOk, 6), Number(d.De76, 4)),
            QString(), 0};
}

} // namespace

TJudgeOutput RunJudgeCommand(const TCommandLine &cl)
{
    std::vector<TExactColour> colours;
    for (const QString &text : cl.Colours) {
        const auto reading = ReadExactColour(text);
        if (!reading)
            return Failure(QStringLiteral("%1 is no colour Pigmora can read").arg(Shown(text)));
        colours.push_back(reading->Colour);
    }
    const size_t wanted = cl.Action == TCommandLine::TAction::Simulate ? 1 : 2;
    if (colours.size() != wanted)
        return Failure(QStringLiteral("%1 colours given, %2 wanted").arg(colours.size()).arg(wanted));
    switch (cl.Action) {
    case TCommandLine::TAction::Simulate: return Simulate(cl, colours[0]);
    case TCommandLine::TAction::Contrast: return Contrast(cl, colours[0], colours[1]);
    case TCommandLine::TAction::Delta: return Delta(colours[0], colours[1]);
    default: return Failure(QStringLiteral("no colour judgement asked for"));
    }
}
