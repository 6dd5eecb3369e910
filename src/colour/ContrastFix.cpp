#include "colour/ContrastFix.h"

#include "colour/Contrast.h"

// Stub bodies: the search follows.
namespace {
constexpr TContrastTarget Targets[] = {TContrastTarget::WcagAa,   TContrastTarget::WcagAaLarge, TContrastTarget::WcagAaa,
                                       TContrastTarget::WcagAaaLarge, TContrastTarget::ApcaLc45, TContrastTarget::ApcaLc60,
                                       TContrastTarget::ApcaLc75, TContrastTarget::ApcaLc90};
}

std::span<const TContrastTarget> AllContrastTargets() { return Targets; }
QString ContrastTargetName(TContrastTarget) { return QStringLiteral("aa"); }
QString ContrastTargetTitle(TContrastTarget) { return QStringLiteral("WCAG AA (4.5)"); }
std::optional<TContrastTarget> ReadContrastTarget(QStringView) { return std::nullopt; }
bool PassesContrast(const TExactColour &, const TExactColour &, TContrastTarget) { return false; }
TExactColour WithOklchLightness(const TExactColour &colour, double) { return colour; }
TContrastFix FixContrast(const TExactColour &text, const TExactColour &, TContrastTarget) { return {false, text, 0, 0}; }
