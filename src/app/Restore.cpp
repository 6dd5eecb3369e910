#include "app/Restore.h"

#include "framework/NumberText.h"

#include <cmath>

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool IsUpperHexLetter(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('F'); }

template <typename Pred>
bool EachChar(const QString &text, Pred pred)
{
    for (const QChar c : text)
        if (!pred(c))
            return false;
    return true;
}

// Value of a text already known to hold only upper-case hexadecimal digits (at most eight).
std::uint32_t HexValue(const QString &digits)
{
    std::uint32_t v = 0;
    for (const QChar c : digits)
        v = v * 16 + static_cast<std::uint32_t>(HexDigitValue(c.unicode()));
    return v;
}

// A channel fraction (0 = none, 1 = full) as 0-255: rounded half away from zero, anything
// from 255 on is 255. Huge and infinite fractions are held back before the rounding.
int ChannelByte(double fraction)
{
    const double scaled = fraction * 255;
    if (!(scaled > 0))
        return 0;
    if (!(scaled < 255))
        return 255;
    return static_cast<int>(RoundHalfAway(scaled));
}

// The real text of a fraction in percent, "100" for anything above 100 (an infinite value
// included). The decision is taken on the value, not on its text: a tiny value such as 1E-6 is
// written in scientific form, which the number reading does not take, yet it is far below 100.
QString PercentText(double fraction)
{
    const double percent = fraction * 100;
    if (!(percent <= 100))
        return QStringLiteral("100");
    return FloatToStr(percent);
}

// The 0-255 fields, decimal value, constant and HTML fields and colour of three channel bytes.
TFieldWrites ChannelWrites(int r, int g, int b)
{
    TFieldWrites w;
    w.Edit6 = FloatToStr(r);
    w.Edit7 = FloatToStr(g);
    w.Edit8 = FloatToStr(b);
    // The colour is read back from the fields as they now stand.
    const TColor red = StrToInt(*w.Edit6), green = StrToInt(*w.Edit7), blue = StrToInt(*w.Edit8);
    w.MyColor = red + 256 * green + 65536 * blue;
    w.Label7 = IntToStr(w.MyColor);
    w.Edit4 = QStringLiteral("$00") + Hex2(blue) + Hex2(green) + Hex2(red);
    w.Edit5 = QLatin1Char('#') + Hex2(red) + Hex2(green) + Hex2(blue);
    return w;
}

// Splits off the text before the first comma (steps 6 and 7 of the POV-Ray reading): the rest
// becomes the text after that comma, unless nothing follows it.
QString TakeValue(QString &inner)
{
    const qsizetype comma = inner.indexOf(QLatin1Char(','));
    if (comma < 0)
        return QString();
    const QString value = inner.left(comma);
    if (comma + 1 < inner.size())
        inner = inner.mid(comma + 1);
    return value;
}

} // namespace

bool IsDigit(const QString &text)
{
    return EachChar(text, IsAsciiDigit);
}

bool IsDigitHx(const QString &text)
{
    return EachChar(text, [](QChar c) { return IsAsciiDigit(c) || IsUpperHexLetter(c); });
}

bool IsDigitFL(const QString &text)
{
    return EachChar(text, [](QChar c) {
        return IsAsciiDigit(c) || c == QLatin1Char('.') || c == QLatin1Char(',') || c == QLatin1Char(' ');
    });
}

bool IsDot(const QString &text)
{
    return text.count(QLatin1Char('.')) <= 1;
}

bool IsCom(const QString &text)
{
    return !text.contains(QLatin1Char(','));
}

QString IsEmp(const QString &text)
{
    QString out = text;
    out.remove(QLatin1Char(' '));
    return out;
}

QString IsRe(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('.') && i > 0 && (text[i - 1] == QLatin1Char(',') || text[i - 1] == QLatin1Char('<')))
            out += QLatin1Char('0');
        out += text[i];
    }
    return out;
}

QString ChangeColorD(const QString &text)
{
    return QStringLiteral("$00") + text.mid(4, 2) + text.mid(2, 2) + text.mid(0, 2);
}

QString TrimLow(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString Hex2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

std::optional<TFieldWrites> RestorePov(const QString &povText)
{
    if (povText.isEmpty())
        return std::nullopt;

    QString inner;
    const qsizetype open = povText.indexOf(QLatin1Char('<'));
    if (open >= 0) {
        const qsizetype close = povText.indexOf(QLatin1Char('>'));
        if (close > open)
            inner = povText.mid(open + 1, close - open - 1);
    }
    if (!IsDigitFL(inner))
        return std::nullopt;
    inner = IsRe(IsEmp(inner));
    if (inner.isEmpty())
        return std::nullopt;

    QString values[3];
    values[0] = TakeValue(inner);
    values[1] = TakeValue(inner);
    const qsizetype comma = inner.indexOf(QLatin1Char(','));
    values[2] = comma < 0 ? inner : inner.left(comma); // a fourth value (rgbf, rgbt) is dropped

    for (QString &v : values) {
        v = TrimLow(v);
        if (!IsDot(v))
            return std::nullopt;
    }
    double fraction[3];
    for (int i = 0; i < 3; ++i)
        fraction[i] = StrToFloat(values[i]);

    TFieldWrites w = ChannelWrites(ChannelByte(fraction[0]), ChannelByte(fraction[1]), ChannelByte(fraction[2]));
    w.Edit1 = PercentText(fraction[0]);
    w.Edit2 = PercentText(fraction[1]);
    w.Edit3 = PercentText(fraction[2]);
    return w;
}

std::optional<TColor> RestoreConstant(const QString &constantText)
{
    if (constantText.size() != 9 || constantText[0] != QLatin1Char('$') || constantText[1] != QLatin1Char('0'))
        return std::nullopt;
    const QChar high = constantText[2];
    if (high != QLatin1Char('0') && high != QLatin1Char('1') && high != QLatin1Char('2'))
        return std::nullopt;
    const QString digits = constantText.mid(1);
    if (!IsDigitHx(digits))
        return std::nullopt;
    return static_cast<TColor>(HexValue(digits));
}

std::optional<TColor> RestoreHtml(const QString &htmlText)
{
    if (htmlText.size() != 7 || htmlText[0] != QLatin1Char('#'))
        return std::nullopt;
    const QString digits = htmlText.mid(1);
    if (!IsDigitHx(digits))
        return std::nullopt;
    return static_cast<TColor>(HexValue(ChangeColorD(digits).mid(1)));
}

std::optional<TColor> RestoreBytes(const QString &red, const QString &green, const QString &blue)
{
    int channel[3];
    const QString *texts[3] = {&red, &green, &blue};
    for (int i = 0; i < 3; ++i) {
        const QString s = texts[i]->isEmpty() ? QStringLiteral("0") : *texts[i];
        if (!IsDigit(s))
            return std::nullopt;
        const std::int32_t v = StrToInt(s);
        if (v > 255)
            return std::nullopt;
        channel[i] = v;
    }
    const QString constant = QStringLiteral("00") + Hex2(channel[2]) + Hex2(channel[1]) + Hex2(channel[0]);
    return static_cast<TColor>(HexValue(constant));
}

QString PercentFieldText(const QString &fieldText)
{
    return fieldText.isEmpty() ? QStringLiteral("0") : fieldText;
}

std::optional<TFieldWrites> RestorePercent(const QString &red, const QString &green, const QString &blue,
                                           bool pigment)
{
    const QString texts[3] = {TrimLow(PercentFieldText(red)), TrimLow(PercentFieldText(green)),
                              TrimLow(PercentFieldText(blue))};
    double percent[3];
    for (int i = 0; i < 3; ++i) {
        if (!IsDigitFL(texts[i]) || !IsDot(texts[i]))
            return std::nullopt;
        percent[i] = StrToFloat(texts[i]);
        if (percent[i] > 100)
            return std::nullopt;
    }
    const double fraction[3] = {percent[0] / 100, percent[1] / 100, percent[2] / 100};

    TFieldWrites w = ChannelWrites(ChannelByte(fraction[0]), ChannelByte(fraction[1]), ChannelByte(fraction[2]));
    w.ColorText = w.Edit4;
    const QString rgb = FloatToStr(fraction[0]) + QStringLiteral(", ") + FloatToStr(fraction[1])
                        + QStringLiteral(", ") + FloatToStr(fraction[2]);
    if (pigment) {
        w.PovEdit = QStringLiteral("pigment{ rgb <") + rgb + QStringLiteral("> }");
        w.RgbfText = QStringLiteral("pigment{ rgbf <") + rgb + QStringLiteral(", 0> }");
    } else {
        w.PovEdit = QStringLiteral("rgb <") + rgb + QStringLiteral(">");
        w.RgbfText = QStringLiteral("rgbf <") + rgb + QStringLiteral(", 0>");
    }
    return w;
}
