#include "colour/ColourHistory.h"

#include <QStringList>

#include <algorithm>
#include <cctype>

bool TColourHistory::Add(const TRgb8 &c)
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

QString HtmlText(const TRgb8 &c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.R, 2, 16, QLatin1Char('0'))
        .arg(c.G, 2, 16, QLatin1Char('0'))
        .arg(c.B, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString TColourHistory::Text() const
{
    QStringList texts;
    for (const TRgb8 &c : FColours)
        texts << HtmlText(c);
    return texts.join(QLatin1Char(','));
}

TColourHistory TColourHistory::FromText(const QString &text)
{
    TColourHistory history;
    // Oldest first, so that the newest ends in front; a colour named twice keeps its newest place.
    QStringList parts = text.left(Limit * 16).split(QLatin1Char(','));
    std::reverse(parts.begin(), parts.end());
    for (const QString &part : parts) {
        const QString t = part.trimmed();
        const bool ok = t.size() == 7 && t.startsWith(QLatin1Char('#'))
                         && std::all_of(t.begin() + 1, t.end(), [](QChar ch) { return std::isxdigit(ch.unicode() < 128 ? ch.unicode() : 0); });
        const uint v = ok ? t.mid(1).toUInt(nullptr, 16) : 0;
        if (ok)
            history.Add({static_cast<int>(v >> 16) & 0xFF, static_cast<int>(v >> 8) & 0xFF, static_cast<int>(v) & 0xFF});
    }
    while (static_cast<int>(history.FColours.size()) > Limit)
        history.FColours.pop_back();
    return history;
}
