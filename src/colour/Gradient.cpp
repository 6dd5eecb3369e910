#include "colour/Gradient.h"

#include "colour/Notations.h"

#include <QStringList>

std::optional<TPalette> MakeGradient(const TExactColour &from, const TExactColour &to, const TGradientPlan &plan)
{
    if (plan.Steps < MinGradientSteps || plan.Steps > MaxGradientSteps)
        return std::nullopt;
    TPalette gradient;
    gradient.Entries.reserve(static_cast<size_t>(plan.Steps));
    for (int i = 0; i < plan.Steps; ++i) {
        const double t = static_cast<double>(i) / (plan.Steps - 1);
        gradient.Entries.push_back({QString::number(i + 1), Interpolate(from, to, t, plan.Space, plan.Method)});
    }
    return gradient;
}

std::optional<TGradientForm> GradientFormNamed(QStringView name)
{
    if (name.compare(QLatin1String("css"), Qt::CaseInsensitive) == 0)
        return TGradientForm::Css;
    if (name.compare(QLatin1String("pov"), Qt::CaseInsensitive) == 0)
        return TGradientForm::PovColorMap;
    if (name.compare(QLatin1String("glsl"), Qt::CaseInsensitive) == 0)
        return TGradientForm::Glsl;
    return std::nullopt;
}

QString GradientCss(const TPalette &steps, const TGradientPlan &plan)
{
    QString text = QStringLiteral("linear-gradient(in ") + QLatin1String(InterpolationSpaceName(plan.Space));
    if (HueIndex(plan.Space) >= 0 && plan.Method != THueMethod::Shorter)
        text += QLatin1Char(' ') + QLatin1String(HueMethodName(plan.Method)) + QStringLiteral(" hue");
    for (const TPaletteEntry &e : steps.Entries)
        text += QStringLiteral(", ") + ExactColourText(e.Colour);
    return text + QLatin1Char(')');
}

QString GradientPovColorMap(const TPalette &steps, bool srgb)
{
    QString text = QStringLiteral("color_map {\n");
    const size_t n = steps.Entries.size();
    for (size_t i = 0; i < n; ++i) {
        const TVec3 rgb = steps.Entries[i].Colour.SrgbFallback();
        const double place = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0;
        text += QStringLiteral("  [%1 color %2 <%3, %4, %5>]\n")
                    .arg(NumberText(place, 4), srgb ? QStringLiteral("srgb") : QStringLiteral("rgb"), NumberText(rgb[0], 4),
                         NumberText(rgb[1], 4), NumberText(rgb[2], 4));
    }
    return text + QLatin1Char('}');
}

QString GradientGlsl(const TPalette &steps)
{
    QStringList parts;
    for (const TPaletteEntry &e : steps.Entries) {
        TExactColour opaque = e.Colour;
        opaque.Alpha = 1;
        opaque.Missing[3] = false;
        parts << WriteNotation(TNotationKind::Glsl, opaque).Text;
    }
    return QStringLiteral("vec3[%1](").arg(steps.Entries.size()) + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString WriteGradient(TGradientForm form, const TPalette &steps, const TGradientPlan &plan, bool srgb)
{
    switch (form) {
    case TGradientForm::Css: return GradientCss(steps, plan);
    case TGradientForm::PovColorMap: return GradientPovColorMap(steps, srgb);
    case TGradientForm::Glsl: return GradientGlsl(steps);
    }
    return {};
}

std::optional<TGradientPlan> ReadInterpolation(QStringView text, TGradientPlan plan)
{
    const QStringList words = text.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 3)
        return std::nullopt;
    const auto latin = [](const QString &w) { return w.toLatin1().toStdString(); };
    const auto space = InterpolationSpace(latin(words[0]));
    if (!space)
        return std::nullopt;
    plan.Space = *space;
    plan.Method = THueMethod::Shorter;
    if (words.size() >= 2) {
        const auto method = HueMethodNamed(latin(words[1]));
        if (!method || HueIndex(*space) < 0)
            return std::nullopt;
        plan.Method = *method;
        if (words.size() == 3 && words[2].compare(QLatin1String("hue"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
    }
    return plan;
}
