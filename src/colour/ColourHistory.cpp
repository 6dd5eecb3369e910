#include "colour/ColourHistory.h"

#include <QStringList>

#include <algorithm>

namespace {

// A stored text beyond this is no text this program wrote; it is not read.
constexpr qsizetype MaxStoredText = 256;

// "#RRGGBB" exactly, as 8 bits.
std::optional<TRgb8> HexBytes(QStringView t)
{
    if (t.size() != 7 || t[0] != QLatin1Char('#'))
        return std::nullopt;
    int v[6];
    for (int i = 0; i < 6; ++i) {
        const char16_t ch = t[i + 1].unicode();
        v[i] = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
        if (v[i] < 0)
            return std::nullopt;
    }
    return TRgb8{v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]};
}

// The parts of a list separated by commas outside parentheses.
QStringList SplitTopLevel(QStringView text)
{
    QStringList parts;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('('))
            ++depth;
        else if (ch == QLatin1Char(')') && depth > 0)
            --depth;
        else if (ch == QLatin1Char(',') && depth == 0) {
            parts << text.mid(start, i - start).toString();
            start = i + 1;
        }
    }
    parts << text.mid(start).toString();
    // An unclosed parenthesis (a cut or hand-edited list) does not swallow the colours after it.
    if (depth > 0)
        return text.toString().split(QLatin1Char(','));
    return parts;
}

} // namespace

QString HtmlText(const TRgb8 &c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.R, 2, 16, QLatin1Char('0'))
        .arg(c.G, 2, 16, QLatin1Char('0'))
        .arg(c.B, 2, 16, QLatin1Char('0'))
        .toUpper();
}

bool IsEightBit(const TExactColour &c)
{
    return c == TExactColour::FromRgb8(c.Rgb8());
}

QString StoredColourText(const TExactColour &c)
{
    return IsEightBit(c) ? HtmlText(c.Rgb8()) : ExactColourText(c);
}

std::optional<TExactColour> ReadStoredColour(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > MaxStoredText)
        return std::nullopt;
    if (const auto bytes = HexBytes(t))
        return TExactColour::FromRgb8(*bytes);
    if (const auto reading = ReadExactColour(t))
        return reading->Colour;
    return std::nullopt;
}

bool TColourHistory::Add(const TExactColour &c)
{
    if (!FColours.empty() && FColours.front() == c)
        return false;
    const auto held = std::find(FColours.begin(), FColours.end(), c);
    if (held != FColours.end())
        FColours.erase(held);
    else if (static_cast<int>(FColours.size()) == Limit)
        FColours.pop_back();
    FColours.insert(FColours.begin(), c);
    return true;
}

QString TColourHistory::Text() const
{
    QStringList texts;
    for (const TExactColour &c : FColours)
        texts << StoredColourText(c);
    return texts.join(QLatin1Char(','));
}

TColourHistory TColourHistory::FromText(const QString &text)
{
    TColourHistory history;
    // Oldest first, so that the newest ends in front; a colour named twice keeps its newest place.
    QStringList parts = SplitTopLevel(QStringView(text).left(Limit * (MaxStoredText + 1)));
    std::reverse(parts.begin(), parts.end());
    for (const QString &part : parts)
        if (const auto c = ReadStoredColour(part))
            history.Add(*c);
    return history;
}
