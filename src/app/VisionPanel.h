#pragma once

#include "colour/ContrastFix.h"
#include "colour/Vision.h"

#include <QWidget>

#include <vector>

class QDoubleSpinBox;
class QLabel;

// The current and the comparison colour as each colour vision sees them: per vision a swatch of
// each, "Aa" in the one on the other, and the simulated pair's figures (WCAG ratio, APCA Lc and
// whether it reaches the chosen target). A pair that reaches the target with normal vision and
// fails with a simulated one is marked "FAILS here". One severity 0-1 for the anomalous
// trichromacies; a typed severity that reads no number in range changes nothing.
class TVisionPanel : public QWidget {
    Q_OBJECT
public:
    explicit TVisionPanel(QWidget *parent);

    void Show(const TExactColour &current, const TExactColour &comparison, TContrastTarget target);
    double Severity() const;
    QDoubleSpinBox *SeverityBox() const { return FSeverity; }
    int RowCount() const { return static_cast<int>(FRows.size()); }
    // A vision's figures ("Deuteranomaly 0.6: 3.12:1, APCA Lc 48.2; AA fails — FAILS here, passes
    // with normal vision").
    QLabel *Figures(int row) const { return FRows[row].Figures; }
    // Whether the row is marked as failing where normal vision passes.
    bool Marked(int row) const { return FRows[row].Marked; }

private:
    struct TRow {
        TVision Vision;
        QLabel *Caption = nullptr, *Current = nullptr, *Comparison = nullptr, *Preview = nullptr, *Figures = nullptr;
        bool Marked = false;
    };
    void Refresh();

    std::vector<TRow> FRows;
    QDoubleSpinBox *FSeverity;
    TExactColour FCurrent, FComparison;
    TContrastTarget FTarget = TContrastTarget::WcagAa;
};

// The figures of one simulated pair as the panel writes them; `marked` tells whether the pair
// fails the target although the unsimulated pair reaches it.
QString VisionFigures(const QString &caption, const TExactColour &current, const TExactColour &comparison,
                      TContrastTarget target, bool normalPasses, bool *marked = nullptr);
