#include "colour/Vision.h"

// Stub bodies: the simulation follows.
namespace {
constexpr TVision Visions[] = {TVision::Normal, TVision::Protanopia, TVision::Deuteranopia, TVision::Tritanopia,
                               TVision::Protanomaly, TVision::Deuteranomaly, TVision::Tritanomaly,
                               TVision::Achromatopsia};
}

std::span<const TVision> AllVisions() { return Visions; }
bool HasSeverity(TVision vision)
{
    return vision == TVision::Protanomaly || vision == TVision::Deuteranomaly || vision == TVision::Tritanomaly;
}
TExactColour SimulateVision(const TExactColour &colour, TVision, double) { return colour; }
TExactColour SimulateVision(const TExactColour &colour, const TVisionChoice &choice)
{
    return SimulateVision(colour, choice.Vision, choice.Severity);
}
TVec3 SimulateLinearSrgb(const TVec3 &linear, TVision, double) { return linear; }
QString VisionName(TVision) { return QStringLiteral("normal"); }
QString VisionTitle(TVision) { return QStringLiteral("Normal"); }
QString VisionChoiceText(const TVisionChoice &choice) { return VisionName(choice.Vision); }
std::optional<TVisionChoice> ReadVisionChoice(QStringView) { return std::nullopt; }
