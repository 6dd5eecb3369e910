#pragma once

#include "colour/ColourHistory.h"
#include "colour/ExactColour.h"
#include "framework/Colors.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The current colour beside the main window: the exact colour, whose sRGB fallback's 8 bits are
// the main window's colour, and the state of the additions around it (history, comparison colour,
// the Notations window's stored place). Each change is signalled once.
//
// A text that reads sets the exact colour through Take, which then renders its 8 bits through
// the main window's public handler (Render). Whatever the main window renders from 8 bits comes
// back through Follow: 8 bits other than the exact colour's fallback make the exact colour those
// bytes; a rendering of the same 8 bits (repre, the switches) keeps it.
class TColourState : public QObject {
    Q_OBJECT
public:
    explicit TColourState(QObject *parent = nullptr);

    // Shows 8 bits in the main window (its SetColor); set once by the window that owns the 8 bits.
    std::function<void(TColor)> Render;

    const TExactColour &Exact() const { return FExact; }
    // The 8 bits of its sRGB fallback, the colour the main window shows.
    const TRgb8 &Rgb8() const { return FRgb8; }
    bool OutsideSrgb() const { return FOutside; }

    // The colour at start: current without entering the history or signalling.
    void Start(const TExactColour &c);
    // Makes a colour current and renders its 8 bits.
    void Take(const TExactColour &c);
    // Makes current a colour whose 8 bits are those shown (another alpha) without rendering them
    // again, so the main window keeps its texts; any other colour as Take.
    void Adjust(const TExactColour &c);
    // 8 bits the main window rendered.
    void Follow(const TRgb8 &shown);
    // A step of a move that goes on (a slider dragged or stepped by keys): the colour becomes
    // current and is rendered when its 8 bits differ, but enters the history only at Settle.
    void Preview(const TExactColour &c);
    // The move that began at `from` is over: it and the colour now current enter the history.
    void Settle(const TExactColour &from);

    // The exact colour's stored text when it says more than the 8 bits; empty otherwise.
    std::optional<QString> ExactToStore() const;
    // Whether the close removes the exact colour's key: the file held one (read or not) and the
    // colour now says no more than its 8 bits.
    bool ExactKeyToRemove() const { return FExactKeyHeld && !ExactToStore(); }
    // Takes the stored exact colour when it reads and its fallback is still `stored` (the 8 bits
    // stored beside it); false for anything else, which leaves the colour as it is.
    bool RestoreExact(const QString &text, TColor stored);

    const TColourHistory &History() const { return FHistory; }
    void ClearHistory();
    // The history as the settings file held it; kept at the close once there was one.
    void LoadHistory(const QString &text);
    // The history's text to store, once the file held one or a colour entered it.
    std::optional<QString> HistoryToStore() const;

    // The colour the contrast is measured against, exactly as it was set.
    const TExactColour &Comparison() const { return FComparison; }
    void SetComparison(const TExactColour &c);
    // The comparison colour as the settings file held it (stored as a history entry is).
    void LoadComparison(const QString &text);
    std::optional<QString> ComparisonToStore() const;

    // The Notations window's place and open state as the settings file held them at start.
    QRect NotationsStoredRect;
    bool NotationsStoredOpen = false;

signals:
    void ColourChanged();
    void HistoryChanged();
    void ComparisonChanged();

private:
    void Set(const TExactColour &c);
    // A new current colour: into the history, signalled.
    void Change(const TExactColour &c);

    TExactColour FExact;
    TRgb8 FRgb8;
    bool FOutside = false;
    TColourHistory FHistory;
    TExactColour FComparison = TExactColour::FromRgb8({255, 255, 255});
    // Whether the file held a history or a comparison colour at start, or one was made since.
    bool FHistoryKept = false, FComparisonKept = false;
    // Whether the file held the exact colour's key at start.
    bool FExactKeyHeld = false;
};
