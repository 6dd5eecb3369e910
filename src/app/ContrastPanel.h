#pragma once

#include "colour/ExactColour.h"

#include <QWidget>

class QLabel;

// The current colour's text contrast against white, black and the comparison colour: the WCAG 2
// ratio with its AA and AAA verdicts, the APCA Lc with the colour as text and as background, and
// a preview of "Aa" in each pairing. The figures come from the colours' sRGB values in double
// precision (a colour outside sRGB by its fallback), the preview from their 8 bits.
class TContrastPanel : public QWidget {
    Q_OBJECT
public:
    explicit TContrastPanel(QWidget *parent);
    void Show(const TExactColour &current, const TExactColour &comparison);
    // The figures of pairing 0 (white), 1 (black) or 2 (the comparison colour).
    QLabel *Figures(int pairing) const { return FFigures[pairing]; }
    QLabel *Preview(int pairing) const { return FPreviews[pairing]; }

private:
    QLabel *FPreviews[3];
    QLabel *FFigures[3];
};

// One pairing's figures as the panel shows them, in two lines, for example
// "on white #FFFFFF: 4.47:1, AA fails, AA large passes, AAA fails, AAA large fails" and
// "APCA Lc 63.1 as text, -68.5 as background"; the other colour named by its stored text.
QString ContrastFigures(const QString &caption, const TExactColour &current, const TExactColour &other);
