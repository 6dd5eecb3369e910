#include "app/ColourState.h"

TColourState::TColourState(QObject *parent) : QObject(parent)
{
    Set(TExactColour::FromRgb8({}));
}

void TColourState::Set(const TExactColour &c)
{
    FExact = c;
    FRgb8 = c.Rgb8();
    FOutside = !c.InSrgb();
}

void TColourState::Start(const TExactColour &c)
{
    Set(c);
}

void TColourState::Change(const TExactColour &c)
{
    if (c == FExact)
        return;
    // The colour it replaces enters too, so that the start colour is there to go back to.
    FHistory.Add(FExact);
    FHistory.Add(c);
    FHistoryKept = true;
    Set(c);
    emit ColourChanged();
    emit HistoryChanged();
}

void TColourState::Take(const TExactColour &c)
{
    Change(c);
    if (Render)
        Render(RGB(FRgb8.R, FRgb8.G, FRgb8.B));
}

void TColourState::Adjust(const TExactColour &c)
{
    if (c.Rgb8() == FRgb8)
        Change(c);
    else
        Take(c);
}

void TColourState::Preview(const TExactColour &c)
{
    if (c == FExact)
        return;
    const TRgb8 before = FRgb8;
    Set(c);
    emit ColourChanged();
    if (FRgb8 != before && Render)
        Render(RGB(FRgb8.R, FRgb8.G, FRgb8.B));
}

void TColourState::Settle(const TExactColour &from)
{
    if (from == FExact)
        return;
    FHistory.Add(from);
    FHistory.Add(FExact);
    FHistoryKept = true;
    emit HistoryChanged();
}

void TColourState::Follow(const TRgb8 &shown)
{
    if (shown != FRgb8)
        Change(TExactColour::FromRgb8(shown));
}

std::optional<QString> TColourState::ExactToStore() const
{
    if (IsEightBit(FExact))
        return std::nullopt;
    return ExactColourText(FExact);
}

bool TColourState::RestoreExact(const QString &text, TColor stored)
{
    FExactKeyHeld = !text.isEmpty();
    const auto c = ReadStoredColour(text);
    if (!c)
        return false;
    const TRgb8 rgb = c->Rgb8();
    if (RGB(rgb.R, rgb.G, rgb.B) != stored)
        return false;
    Set(*c);
    return true;
}

void TColourState::ClearHistory()
{
    FHistory.Clear();
    emit HistoryChanged();
}

void TColourState::LoadHistory(const QString &text)
{
    FHistory = TColourHistory::FromText(text);
    FHistoryKept = !text.isEmpty();
}

std::optional<QString> TColourState::HistoryToStore() const
{
    if (!FHistoryKept)
        return std::nullopt;
    return FHistory.Text();
}

void TColourState::SetComparison(const TExactColour &c)
{
    FComparisonKept = true;
    if (c == FComparison)
        return;
    FComparison = c;
    emit ComparisonChanged();
}

void TColourState::LoadComparison(const QString &text)
{
    // White is the default the file holds when it holds none; anything that reads no colour
    // leaves white, and the key as it was.
    const auto c = ReadStoredColour(text);
    FComparisonKept = text != QLatin1String("#FFFFFF") && c.has_value();
    if (FComparisonKept)
        FComparison = *c;
}

std::optional<QString> TColourState::ComparisonToStore() const
{
    if (!FComparisonKept)
        return std::nullopt;
    return StoredColourText(FComparison);
}
