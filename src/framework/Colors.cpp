#include "framework/Colors.h"

#include "framework/NumberText.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <memory>

namespace {

const char *const ThemeIdents[ThemeColorCount] = {
    "clScrollBar",     "clBackground",  "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow",        "clWindowFrame", "clMenuText",      "clWindowText",      "clCaptionText",
    "clActiveBorder",  "clInactiveBorder", "clAppWorkSpace", "clHighlight",     "clHighlightText",
    "clBtnFace",       "clBtnShadow",   "clGrayText",      "clBtnText",         "clInactiveCaptionText",
    "clBtnHighlight",  "cl3DDkShadow",  "cl3DLight",       "clInfoText",        "clInfoBk",
};

// Palette role standing in for each theme colour on this platform (the active group's, whatever
// state the palette's widget is in).
QColor ThemeQColor(int index, const QPalette &pal)
{
    using P = QPalette;
    const P::ColorGroup a = P::Active;
    switch (index) {
    case 0: return pal.color(a, P::Button);                // clScrollBar
    case 1: return pal.color(a, P::Window);                // clBackground
    case 2: return pal.color(a, P::Highlight);             // clActiveCaption
    case 3: return pal.color(P::Inactive, P::Highlight);   // clInactiveCaption
    case 4: return pal.color(a, P::Window);                // clMenu
    case 5: return pal.color(a, P::Base);                  // clWindow
    case 6: return pal.color(a, P::Shadow);                // clWindowFrame
    case 7: return pal.color(a, P::WindowText);            // clMenuText
    case 8: return pal.color(a, P::Text);                  // clWindowText
    case 9: return pal.color(a, P::HighlightedText);       // clCaptionText
    case 10: return pal.color(a, P::Button);               // clActiveBorder
    case 11: return pal.color(a, P::Button);               // clInactiveBorder
    case 12: return pal.color(a, P::Mid);                  // clAppWorkSpace
    case 13: return pal.color(a, P::Highlight);            // clHighlight
    case 14: return pal.color(a, P::HighlightedText);      // clHighlightText
    case 15: return pal.color(a, P::Button);               // clBtnFace
    case 16: return pal.color(a, P::Dark);                 // clBtnShadow
    case 17: return pal.color(P::Disabled, P::Text);       // clGrayText
    case 18: return pal.color(a, P::ButtonText);           // clBtnText
    case 19: return pal.color(P::Inactive, P::HighlightedText); // clInactiveCaptionText
    case 20: return pal.color(a, P::Light);                // clBtnHighlight
    case 21: return pal.color(a, P::Shadow);               // cl3DDkShadow
    case 22: return pal.color(a, P::Midlight);             // cl3DLight
    case 23: return pal.color(a, P::ToolTipText);          // clInfoText
    default: return pal.color(a, P::ToolTipBase);          // clInfoBk
    }
}

} // namespace

QString ColorToIdent(TColor c)
{
    for (const auto &n : StandardColors)
        if (n.value == c)
            return QString::fromLatin1(n.ident);
    if (IsThemeColor(c))
        return QString::fromLatin1(ThemeIdents[c & 0xFF]);
    if (c == clNone)
        return QStringLiteral("clNone");
    return {};
}

QString ColorToString(TColor c)
{
    QString ident = ColorToIdent(c);
    if (!ident.isEmpty())
        return ident;
    return QStringLiteral("$%1").arg(static_cast<std::uint32_t>(c), 8, 16, QLatin1Char('0')).toUpper();
}

bool TryStringToColor(const QString &text, TColor &out)
{
    for (const auto &n : StandardColors)
        if (text.compare(QLatin1String(n.ident), Qt::CaseInsensitive) == 0) {
            out = n.value;
            return true;
        }
    for (int i = 0; i < ThemeColorCount; ++i)
        if (text.compare(QLatin1String(ThemeIdents[i]), Qt::CaseInsensitive) == 0) {
            out = ThemeColor(i);
            return true;
        }
    if (text.compare(QLatin1String("clNone"), Qt::CaseInsensitive) == 0) {
        out = clNone;
        return true;
    }
    std::int32_t v = 0;
    if (!TryReadInteger(text, v))
        return false;
    out = v;
    return true;
}

TColor StringToColor(const QString &text)
{
    TColor c = 0;
    if (!TryStringToColor(text, c))
        throw EConvertError(QStringLiteral("'%1' は整数ではありません").arg(text));
    return c;
}

const QPalette &LightPalette()
{
    static const QPalette light = [] {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        return fusion ? fusion->standardPalette() : QPalette(QColor(0xEF, 0xEF, 0xEF));
    }();
    return light;
}

TColor ColorToRGB(TColor c, const QPalette &palette)
{
    if (IsThemeColor(c))
        return FromQColor(ThemeQColor(c & 0xFF, palette));
    if (c == clNone)
        return clBlack;
    return c & 0xFFFFFF;
}

TColor ColorToRGB(TColor c)
{
    if (IsThemeColor(c))
        return ColorToRGB(c, QApplication::palette());
    return c == clNone ? clBlack : c & 0xFFFFFF;
}

QColor ToQColor(TColor c, const QPalette &palette)
{
    const TColor rgb = ColorToRGB(c, palette);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor &c)
{
    return RGB(c.red(), c.green(), c.blue());
}
