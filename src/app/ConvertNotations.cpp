#include "app/ConvertNotations.h"

#include "app/Notations.h"
#include "app/NotationsWindow.h"
#include "app/PovGamma.h"
#include "framework/NumberText.h"

namespace {

const char *const WindowNames[] = {"rgb", "rgbf", "rgbt", "delphi", "html", "bytes", "percent", "decimal"};

QString WindowText(const QString &name, TColor c, bool srgb)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int tr = ChannelTenths(r), tg = ChannelTenths(g), tb = ChannelTenths(b);
    const TPovValues pov{FloatToStr(tr / 1000.0), FloatToStr(tg / 1000.0), FloatToStr(tb / 1000.0)};
    const QString filter = FilterValueText(QStringLiteral("0"));
    if (name == QLatin1String("rgb"))
        return WithSrgb(PovNotation(QStringLiteral("rgb"), pov, {}, false), srgb);
    if (name == QLatin1String("rgbf") || name == QLatin1String("rgbt"))
        return WithSrgb(PovNotation(name, pov, filter, false), srgb);
    if (name == QLatin1String("delphi"))
        return ColorToString(c);
    if (name == QLatin1String("html"))
        return ChangeColorF(ColorToString(c));
    if (name == QLatin1String("bytes"))
        return QStringList{IntToStr(r), IntToStr(g), IntToStr(b)}.join(QStringLiteral(", "));
    if (name == QLatin1String("percent"))
        return QStringList{FloatToStr(tr / 10.0), FloatToStr(tg / 10.0), FloatToStr(tb / 10.0)}.join(QStringLiteral(", "));
    return IntToStr(c);
}

} // namespace

QStringList NotationNames()
{
    QStringList names;
    for (const char *n : WindowNames)
        names << QLatin1String(n);
    for (const TNotationInfo &info : NotationInfos())
        names << QLatin1String(info.Key);
    return names;
}

namespace {

// `eightBits` is the colour value the main window's notations are written from.
TConversion Convert(TColor eightBits, const TExactColour &colour, const QStringList &names, bool srgb)
{
    const QStringList all = NotationNames();
    TConversion result;
    for (const QString &name : names)
        if (!all.contains(name)) {
            result.UnknownName = name;
            return result;
        }
    const auto text = [&](const QString &name) {
        const int index = static_cast<int>(all.indexOf(name));
        if (index < static_cast<int>(std::size(WindowNames)))
            return WindowText(name, eightBits, srgb);
        const TNotationInfo &info = NotationInfos()[static_cast<size_t>(index) - std::size(WindowNames)];
        return WriteNotation(info.Kind, colour).Text;
    };
    if (names.isEmpty())
        for (const QString &name : all)
            result.Lines << name + QStringLiteral(": ") + text(name);
    else
        for (const QString &name : names)
            result.Lines << text(name);
    return result;
}

} // namespace

TConversion ConvertColour(TColor colour, const QStringList &names, bool srgb)
{
    return Convert(colour, TExactColour::FromRgb8({GetRValue(colour), GetGValue(colour), GetBValue(colour)}), names, srgb);
}

TConversion ConvertColour(const TExactColour &colour, const QStringList &names, bool srgb)
{
    const TRgb8 rgb8 = colour.Rgb8();
    return Convert(RGB(rgb8.R, rgb8.G, rgb8.B), colour, names, srgb);
}
