#pragma once

#include "colour/GamutMap.h"

#include <QWidget>

class QLabel;

// The current colour's text contrast against white, black and the comparison colour: the WCAG 2
// ratio with its AA and AAA verdicts, the APCA Lc with the colour as text and as background, and
// a preview of "Aa" in each pairing.
class TContrastPanel : public QWidget {
    Q_OBJECT
public:
    explicit TContrastPanel(QWidget *parent);
    void Show(const TRgb8 &current, const TRgb8 &comparison);
    // The figures of pairing 0 (white), 1 (black) or 2 (the comparison colour).
    QLabel *Figures(int pairing) const { return FFigures[pairing]; }
    QLabel *Preview(int pairing) const { return FPreviews[pairing]; }

private:
    QLabel *FPreviews[3];
    QLabel *FFigures[3];
};

// One pairing's figures as the panel shows them, in two lines, for example
// "on white #FFFFFF: 4.47:1, AA fails, AA large passes, AAA fails, AAA large fails" and
// "APCA Lc 63.1 as text, -68.5 as background".
QString ContrastFigures(const QString &caption, const TRgb8 &current, const TRgb8 &other);
