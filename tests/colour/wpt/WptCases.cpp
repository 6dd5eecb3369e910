#include "WptCases.h"

#include "colour/ExactColour.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>

QString TWptCase::File() const
{
    return Source.section(QLatin1Char('/'), -1);
}

QString UnescapeWptField(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 1 < field.size()) {
            const QChar next = field[++i];
            out += next == QLatin1Char('t') ? QChar(u'\t') : next == QLatin1Char('n') ? QChar(u'\n') : next;
        } else {
            out += field[i];
        }
    }
    return out;
}

QString EscapeWptField(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return out;
}

std::vector<TWptCase> ReadWptTable(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1").arg(path);
        return {};
    }
    std::vector<TWptCase> cases;
    int lineNo = 0;
    while (!file.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() != 7) {
            *error = QStringLiteral("%1:%2: %3 fields instead of 7").arg(path).arg(lineNo).arg(f.size());
            return {};
        }
        cases.push_back({f[0], UnescapeWptField(f[1]), UnescapeWptField(f[2]), f[3], f[4], f[5],
                         UnescapeWptField(f[6])});
    }
    return cases;
}

QHash<QString, QString> ReadKnownFailures(const QString &path)
{
    QHash<QString, QString> known;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return known;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        known.insert(UnescapeWptField(line.section(QLatin1Char('\t'), 0, 0)), line.section(QLatin1Char('\t'), 1));
    }
    return known;
}

namespace {

// What the input is made of, most telling first, for grouping failures.
QString FeatureOf(const QString &input)
{
    const QString t = input.trimmed().toLower();
    if (t.contains(QLatin1String("color-mix(")))
        return QStringLiteral("color-mix()");
    if (t.contains(QLatin1String("from ")))
        return QStringLiteral("relative colour");
    static const QRegularExpression math(QStringLiteral(
        "\\b(calc|min|max|clamp|round|mod|rem|abs|sign|sin|cos|tan|asin|acos|atan|atan2|pow|sqrt|hypot|log|exp)\\("));
    if (math.match(t).hasMatch())
        return QStringLiteral("calc()");
    for (const char *fn : {"color", "oklab", "oklch", "lab", "lch", "hwb", "hsl", "rgb"}) {
        if (t.startsWith(QLatin1String(fn)) && t.indexOf(QLatin1Char('(')) >= 0)
            return QLatin1String(fn) + QStringLiteral("()");
    }
    if (t.startsWith(QLatin1Char('#')))
        return QStringLiteral("hex");
    return QStringLiteral("keyword");
}

int HueIndex(TColourSpace space)
{
    switch (space) {
    case TColourSpace::Hsl:
    case TColourSpace::Hwb:
        return 0;
    case TColourSpace::Lch:
    case TColourSpace::Oklch:
        return 2;
    default:
        return -1;
    }
}

// Half a unit in the sixth significant digit: the precision browsers serialize with.
double DigitsTolerance(double v)
{
    if (v == 0 || !std::isfinite(v))
        return 5e-7;
    return 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 5) + 1e-12;
}

bool Near(double got, double want, double tol, bool hue)
{
    if (std::isinf(got) || std::isinf(want))
        return got == want;
    if (!std::isfinite(got) || !std::isfinite(want))
        return false;
    double d = std::fabs(got - want);
    if (hue) {
        d = std::fmod(d, 360.0);
        d = std::min(d, 360.0 - d);
    }
    return d <= tol;
}

QString Num(double v)
{
    return QString::number(v, 'g', 9);
}

TWptVerdict Fail(const QString &feature, const QString &fault, const QString &got, const QString &detail)
{
    return {false, feature + QStringLiteral(": ") + fault, got, detail};
}

// The 8-bit comparison of an rgb()/rgba() serialization. Browsers write "none" there as 0.
TWptVerdict CompareBytes(const TExactColour &got, const TExactColour &want, int tolerance,
                         const QString &feature, const QString &gotText)
{
    const TRgb8 g = got.Rgb8(), w = want.Rgb8();
    const int worst = std::max({std::abs(g.R - w.R), std::abs(g.G - w.G), std::abs(g.B - w.B)});
    if (worst > tolerance)
        return Fail(feature, QStringLiteral("wrong 8-bit value"), gotText,
                    QStringLiteral("rgb(%1, %2, %3) instead of rgb(%4, %5, %6)")
                        .arg(g.R).arg(g.G).arg(g.B).arg(w.R).arg(w.G).arg(w.B));
    const double ga = got.Missing[3] ? 0 : got.Alpha, wa = want.Missing[3] ? 0 : want.Alpha;
    if (!Near(ga, wa, 0.5 / 255 + 1e-9, false))
        return Fail(feature, QStringLiteral("wrong alpha"), gotText,
                    QStringLiteral("alpha %1 instead of %2").arg(Num(ga), Num(wa)));
    return {true, {}, gotText, {}};
}

TWptVerdict CompareComponents(const TExactColour &read, const TExactColour &want, double eps, bool digits,
                              const QString &feature, const QString &gotText)
{
    const bool converted = read.Space != want.Space;
    const TExactColour got = converted ? read.To(want.Space) : read;
    const int hue = HueIndex(want.Space);
    for (int i = 0; i < 4; ++i) {
        const double w = i < 3 ? want.Coords[size_t(i)] : want.Alpha;
        const double g = i < 3 ? got.Coords[size_t(i)] : got.Alpha;
        const bool wMissing = want.Missing[size_t(i)], gMissing = got.Missing[size_t(i)];
        const QString which = i < 3 ? QStringLiteral("component %1").arg(i + 1) : QStringLiteral("alpha");
        if (wMissing && gMissing)
            continue;
        if (wMissing != gMissing) {
            // A conversion makes the hue of an achromatic colour powerless; its value is moot.
            if (converted && i == hue && gMissing)
                continue;
            return Fail(feature, QStringLiteral("none mismatch"), gotText,
                        QStringLiteral("%1 is %2, expected %3").arg(which, gMissing ? QStringLiteral("none") : Num(g),
                                                                    wMissing ? QStringLiteral("none") : Num(w)));
        }
        const double tol = digits ? DigitsTolerance(w) : eps;
        if (!Near(g, w, tol, i == hue))
            return Fail(feature, i < 3 ? QStringLiteral("wrong value") : QStringLiteral("wrong alpha"), gotText,
                        QStringLiteral("%1 is %2, expected %3 (within %4)").arg(which, Num(g), Num(w), Num(tol)));
    }
    return {true, {}, gotText, {}};
}

} // namespace

TWptVerdict JudgeWptCase(const TWptCase &c)
{
    const QString feature = FeatureOf(c.Input);
    const std::optional<TExactReading> got = ReadExactColour(c.Input);
    const QString gotText = got ? ExactColourText(got->Colour) : QStringLiteral("(no colour)");
    if (c.Check == QLatin1String("refused")) {
        if (got)
            return Fail(feature, QStringLiteral("reads an invalid text"), gotText, {});
        return {true, {}, gotText, {}};
    }
    if (!got)
        return Fail(feature, QStringLiteral("refused"), gotText, {});
    if (c.Check == QLatin1String("parses"))
        return {true, {}, gotText, {}};

    const std::optional<TExactReading> want = ReadExactColour(c.Expected);
    if (!want)
        return Fail(FeatureOf(c.Expected), QStringLiteral("expected text unreadable"), gotText,
                    QStringLiteral("the reader reads no colour in \"%1\"").arg(c.Expected));
    if (c.Check.startsWith(QLatin1String("bytes=")))
        return CompareBytes(got->Colour, want->Colour, c.Check.mid(6).toInt(), feature, gotText);
    if (c.Check.startsWith(QLatin1String("eps=")))
        return CompareComponents(got->Colour, want->Colour, c.Check.mid(4).toDouble(), false, feature, gotText);
    if (c.Check == QLatin1String("digits"))
        return CompareComponents(got->Colour, want->Colour, 0, true, feature, gotText);
    return Fail(feature, QStringLiteral("unknown check"), gotText, c.Check);
}
