#pragma once

#include "app/ColourState.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class TContrastFixPanel;
class TOklchAdjust;
class TVisionPanel;

// What the window's controls ask of the colour's owner.
struct TJudgeActions {
    // A step of an OKLCH move (current at once, into the history only at Settle).
    std::function<void(const TExactColour &)> Preview;
    // The move that began at this colour is over.
    std::function<void(const TExactColour &)> Settle;
    // Makes a colour current as any command does (the nearest passing colour).
    std::function<void(const TExactColour &)> Take;
};

// The judging window: the current colour adjusted in OKLCH, seen through every colour vision,
// its contrast on the comparison colour fixed in one step, and its differences from it. Each
// part in a titled group; the whole scrolls when the screen is too small for it.
class TJudgeWindow : public QWidget {
    Q_OBJECT
public:
    TJudgeWindow(QWidget *owner, TJudgeActions actions);

    // Shows the current colour and the comparison colour in every part.
    void ShowColour(const TColourState &state);
    // Sizes the window to its content, within the screen.
    void FitToScreen();

    TOklchAdjust *Adjust() const { return FAdjust; }
    TVisionPanel *Vision() const { return FVision; }
    TContrastFixPanel *Fix() const { return FFix; }
    QLabel *Heading() const { return FHeading; }

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void Moved(const TExactColour &c);
    void Stopped();
    void ShowParts();

    TJudgeActions FActions;
    QWidget *FContent;
    QLabel *FHeading;
    TOklchAdjust *FAdjust;
    TVisionPanel *FVision;
    TContrastFixPanel *FFix;
    TExactColour FCurrent, FComparison;
    // Where the move under way began.
    std::optional<TExactColour> FMoveStart;
};
