#pragma once

#include "colour/ContrastFix.h"

#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

// The nearest colour that reaches a chosen contrast target on the comparison colour, with its
// figures and a button that makes it current; said plainly when the colour passes already or no
// lightness passes. Below it, the differences between the current and the comparison colour
// (CIEDE2000, deltaEOK, CIE76) with their contrast.
class TContrastFixPanel : public QWidget {
    Q_OBJECT
public:
    // `use` makes the fixed colour current.
    TContrastFixPanel(QWidget *parent, std::function<void(const TExactColour &)> use);

    void Show(const TExactColour &current, const TExactColour &comparison);
    TContrastTarget Target() const;
    void SetTarget(TContrastTarget target);
    // Makes the fixed colour current, as the button does; false when there is none to take.
    bool UseFix();

    QComboBox *TargetBox() const { return FTarget; }
    QLabel *Result() const { return FResult; }
    QPushButton *UseButton() const { return FUse; }
    QLabel *Differences() const { return FDifferences; }
    const std::optional<TContrastFix> &Fix() const { return FFix; }

signals:
    void TargetChanged();

private:
    void Refresh();

    std::function<void(const TExactColour &)> FUseFix;
    QComboBox *FTarget;
    QLabel *FSwatch, *FResult, *FDifferences;
    QPushButton *FUse;
    TExactColour FCurrent, FComparison;
    std::optional<TContrastFix> FFix;
};

// What the panel says of a fix: "Nearest passing colour: oklch(...) #RRGGBB, 4.54:1, APCA Lc
// 61.2 (lightness 0.5693 from 0.5999)", "The current colour passes WCAG AA (4.5) already", or
// "No lightness passes ... on #FFFFFF".
QString FixText(const TExactColour &current, const TExactColour &comparison, TContrastTarget target,
                const TContrastFix &fix);
// "Difference from #FFFFFF: CIEDE2000 12.34, deltaEOK 0.1234, CIE76 15.67; contrast 4.47:1, APCA
// Lc 63.1".
QString DifferenceText(const TExactColour &current, const TExactColour &comparison);
