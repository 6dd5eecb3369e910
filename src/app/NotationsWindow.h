#pragma once

#include "colour/ColourHistory.h"
#include "colour/Notations.h"
#include "framework/Colors.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class TRegItems;
class TContrastPanel;
class THistoryRow;

// What the window's buttons and history ask of the main window.
struct TNotationsActions {
    std::function<void(const QString &)> Copy; // puts a row's text on the clipboard
    std::function<void()> SetComparison, ExportPalette, ImportPalette, ClearHistory;
    std::function<void(const TRgb8 &)> Choose; // makes a colour of the history current
};

// The Notations window: the current colour in every notation beyond the main window's own, one
// row each (caption, the text read-only, a copy button). A row's text is copied by its button or
// by Return on the row. A note above the rows says when the colour was brought into sRGB. Below
// them: the colour's contrast, the colour history, and the palette commands.
class TNotationsWindow : public QWidget {
    Q_OBJECT
public:
    TNotationsWindow(QWidget *owner, TNotationsActions actions);

    // Writes every row and the contrast for the colour; `note` (empty for none) shows above them.
    void ShowColour(const TRgb8 &rgb, const QString &note, const TRgb8 &comparison);
    void ShowHistory(const TColourHistory &history);
    TContrastPanel *Contrast() const { return FContrast; }
    THistoryRow *History() const { return FHistory; }

    int RowCount() const { return static_cast<int>(FRows.size()); }
    QLineEdit *RowEdit(int row) const { return FRows[row].Edit; }
    QPushButton *RowCopyButton(int row) const { return FRows[row].Copy; }
    QLabel *RowCaption(int row) const { return FRows[row].Caption; }
    QLabel *Note() const { return FNote; }
    // Copies the row's text, as its button does.
    void CopyRow(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TRow {
        QLabel *Caption;
        QLineEdit *Edit;
        QPushButton *Copy;
    };
    TNotationsActions FActions;
    std::vector<TRow> FRows;
    QLabel *FNote;
    TContrastPanel *FContrast;
    THistoryRow *FHistory;
    TRgb8 FShown{-1, -1, -1}, FShownComparison{-1, -1, -1};
};

// The settings items that keep the window's open state and place, in a section of their own.
void AddNotationsRegItems(TRegItems &items);
// The settings items of the colour history and the comparison colour, each in a section of its own.
void AddPaletteRegItems(TRegItems &items);

// The 8-bit sRGB that the swatch shows for a colour value (a theme colour resolved).
TRgb8 ShownRgb(TColor color);
