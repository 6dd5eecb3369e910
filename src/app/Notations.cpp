#include "app/Notations.h"

#include "framework/Colors.h"
#include "framework/NumberText.h"

QString ChangeColorF(const QString &colorText)
{
    if (colorText.startsWith(QLatin1String("cl"))) {
        for (const auto &n : StandardColors)
            if (colorText == QLatin1String(n.ident))
                return QString::fromLatin1(n.ident + 2);
        return QStringLiteral("windows system");
    }
    return QStringLiteral("#") + colorText.mid(7, 2) + colorText.mid(5, 2) + colorText.mid(3, 2);
}

std::int32_t HexToInt(const QString &text)
{
    bool ok = !text.isEmpty() && text.size() <= 8;
    std::uint32_t value = 0;
    for (QChar ch : text) {
        if (!ok)
            break;
        const int d = HexDigitValue(ch.unicode());
        ok = d >= 0;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    if (!ok)
        throw Exception(QStringLiteral("not change"));
    return static_cast<std::int32_t>(value);
}

bool IsFloat(const QString &text)
{
    for (QChar ch : text)
        if (!((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || ch == QLatin1Char('.')))
            return false;
    return true;
}

QString StandardColorHexText(const QString &colorText)
{
    for (const auto &n : StandardColors)
        if (colorText == QLatin1String(n.ident))
            return QStringLiteral("$%1").arg(n.value, 8, 16, QLatin1Char('0')).toUpper();
    return {};
}

int ChannelTenths(int channel)
{
    const double first = static_cast<double>(RoundHalfAway(channel * 100.0 / 255.0 * 100.0));
    return static_cast<int>(RoundHalfAway(first / 10.0));
}

QString FilterValueText(const QString &typed)
{
    if (!IsFloat(typed))
        return QStringLiteral("0");
    const double v = StrToFloat(typed);
    if (v < 0)
        return QStringLiteral("0");
    if (v > 1)
        return QStringLiteral("1");
    return typed;
}

QString PovNotation(const QString &kind, const TPovValues &v, const QString &filter, bool pigment)
{
    QString body = kind + QStringLiteral(" <") + v.R + QStringLiteral(", ") + v.G + QStringLiteral(", ") + v.B;
    if (!filter.isEmpty())
        body += QStringLiteral(", ") + filter;
    body += QLatin1Char('>');
    return pigment ? QStringLiteral("pigment{ ") + body + QStringLiteral(" }") : body;
}
