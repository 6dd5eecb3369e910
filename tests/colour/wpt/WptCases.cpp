#include "WptCases.h"

#include "colour/ExactColour.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

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
    if (t.startsWith(QLatin1String("color-mix("))) {
        // The colours of the outermost mix: its commas outside parentheses, less the method's.
        int depth = 0, commas = 0;
        for (const QChar ch : t) {
            depth += ch == QLatin1Char('(') ? 1 : ch == QLatin1Char(')') ? -1 : 0;
            commas += depth == 1 && ch == QLatin1Char(',');
        }
        const int colours = commas + (t.startsWith(QLatin1String("color-mix(in ")) ? 0 : 1);
        if (colours == 1)
            return QStringLiteral("color-mix() of one colour");
        if (colours > 2)
            return QStringLiteral("color-mix() of three or more colours");
        static const QRegularExpression zero(QStringLiteral(" 0%\\s*,[^,]* 0%\\)$"));
        if (zero.match(t).hasMatch())
            return QStringLiteral("color-mix() of percentages summing to 0%");
    }
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

// The expected colours are browsers' serializations in a few canonical forms; they are read here
// rather than with the reader under test, so that a fault shared by the input and the expected
// text cannot hide. Percentages scale as CSS Color 4 says for each space. Empty for anything else
// (a keyword, which the reader then reads).
std::optional<TExactColour> ParseCanonical(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(rgba?|hsl|hwb|lab|lch|oklab|oklch|color)\\(\\s*([a-z0-9-]+\\s+)?([^/]*?)\\s*(?:/\\s*(\\S+)\\s*)?\\)\\s*$"));
    const QRegularExpressionMatch m = form.match(text.toLower());
    if (!m.hasMatch())
        return std::nullopt;
    const QString fn = m.captured(1);
    QString spaceName = m.captured(2).trimmed();
    QStringList parts = m.captured(3).split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    QString alpha = m.captured(4);
    TExactColour c;
    const bool legacy = fn.startsWith(QLatin1String("rgb"));
    if (legacy && parts.size() == 4 && alpha.isEmpty())
        alpha = parts.takeLast();
    if (fn == QLatin1String("color")) {
        static const QHash<QString, TColourSpace> spaces{
            {QStringLiteral("srgb"), TColourSpace::Srgb}, {QStringLiteral("srgb-linear"), TColourSpace::SrgbLinear},
            {QStringLiteral("display-p3"), TColourSpace::DisplayP3}, {QStringLiteral("a98-rgb"), TColourSpace::A98Rgb},
            {QStringLiteral("prophoto-rgb"), TColourSpace::ProPhotoRgb}, {QStringLiteral("rec2020"), TColourSpace::Rec2020},
            {QStringLiteral("xyz"), TColourSpace::XyzD65}, {QStringLiteral("xyz-d65"), TColourSpace::XyzD65},
            {QStringLiteral("xyz-d50"), TColourSpace::XyzD50}};
        if (!spaces.contains(spaceName))
            return std::nullopt;
        c.Space = spaces[spaceName];
    } else {
        if (!spaceName.isEmpty())
            parts.prepend(spaceName);
        static const QHash<QString, TColourSpace> fns{
            {QStringLiteral("rgb"), TColourSpace::Srgb}, {QStringLiteral("rgba"), TColourSpace::Srgb},
            {QStringLiteral("hsl"), TColourSpace::Hsl}, {QStringLiteral("hwb"), TColourSpace::Hwb},
            {QStringLiteral("lab"), TColourSpace::Lab}, {QStringLiteral("lch"), TColourSpace::Lch},
            {QStringLiteral("oklab"), TColourSpace::Oklab}, {QStringLiteral("oklch"), TColourSpace::Oklch}};
        c.Space = fns[fn];
    }
    if (parts.size() != 3)
        return std::nullopt;
    // What 100% is for each coordinate of the space.
    auto hundred = [&](int i) -> double {
        switch (c.Space) {
        case TColourSpace::Lab: return i == 0 ? 100 : 125;
        case TColourSpace::Lch: return i == 0 ? 100 : 150;
        case TColourSpace::Oklab: return i == 0 ? 1 : 0.4;
        case TColourSpace::Oklch: return i == 0 ? 1 : 0.4;
        case TColourSpace::Hsl:
        case TColourSpace::Hwb: return 100;
        default: return legacy ? 255 : 1;
        }
    };
    auto value = [](QString t, double percentOf, bool *ok) {
        *ok = true;
        if (t == QLatin1String("calc(infinity)"))
            return std::numeric_limits<double>::infinity();
        if (t == QLatin1String("calc(-infinity)"))
            return -std::numeric_limits<double>::infinity();
        if (t == QLatin1String("calc(nan)"))
            return 0.0;
        const bool percent = t.endsWith(QLatin1Char('%'));
        if (percent)
            t.chop(1);
        const double v = t.toDouble(ok);
        return percent ? v * percentOf / 100 : v;
    };
    for (int i = 0; i < 3; ++i) {
        if (parts[i] == QLatin1String("none")) {
            c.Missing[size_t(i)] = true;
            continue;
        }
        bool ok = false;
        c.Coords[size_t(i)] = value(parts[i], hundred(i), &ok) / (legacy ? 255.0 : 1.0);
        if (!ok)
            return std::nullopt;
    }
    if (alpha == QLatin1String("none")) {
        c.Missing[3] = true;
        c.Alpha = 0;
    } else if (!alpha.isEmpty()) {
        bool ok = false;
        c.Alpha = value(alpha, 1, &ok);
        if (!ok)
            return std::nullopt;
    }
    return c;
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

    std::optional<TExactColour> want = ParseCanonical(c.Expected);
    if (!want) {
        const std::optional<TExactReading> keyword = ReadExactColour(c.Expected);
        if (!keyword)
            return Fail(FeatureOf(c.Expected), QStringLiteral("expected text unreadable"), gotText,
                        QStringLiteral("the reader reads no colour in \"%1\"").arg(c.Expected));
        want = keyword->Colour;
    }
    if (c.Check.startsWith(QLatin1String("bytes=")))
        return CompareBytes(got->Colour, *want, c.Check.mid(6).toInt(), feature, gotText);
    if (c.Check.startsWith(QLatin1String("eps=")))
        return CompareComponents(got->Colour, *want, c.Check.mid(4).toDouble(), false, feature, gotText);
    if (c.Check == QLatin1String("digits"))
        return CompareComponents(got->Colour, *want, 0, true, feature, gotText);
    return Fail(feature, QStringLiteral("unknown check"), gotText, c.Check);
}
