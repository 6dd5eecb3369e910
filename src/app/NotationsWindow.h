#pragma once

#include "app/ColourState.h"
#include "colour/Notations.h"
#include "framework/Colors.h"

#include <QWidget>

#include <functional>
#include <optional>
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
    // Makes a colour current: one of the history, an edited row's or the alpha row's.
    std::function<void(const TExactColour &)> Choose;
    // Makes current the colour with another alpha (the alpha row); the main window has no alpha.
    std::function<void(const TExactColour &)> Adjust;
    std::function<void()> Beep; // an edited row's text reads no colour
};

// The Notations window: the current colour exactly, in every notation beyond the main window's
// own, one row each (caption, the text, a mark for a row that shows the sRGB fallback, a copy
// button), then its alpha. Every row can be edited: Return on a row whose text was edited reads
// it and makes its colour current (a text that reads no colour beeps and stays for correction
// until the colour next changes; Escape puts the row's text back); Return on a row as written
// copies its text, as its button and Ctrl+C without a selection do. While the colour lies outside
// sRGB a note above the rows says so and the rows that can hold only sRGB are marked. Below
// them: the colour's contrast, the colour history, and the palette commands.
class TNotationsWindow : public QWidget {
    Q_OBJECT
public:
    TNotationsWindow(QWidget *owner, TNotationsActions actions);

    // Writes every row, the note and the contrast for the current colour.
    void ShowColour(const TColourState &state);
    void ShowHistory(const TColourHistory &history);
    TContrastPanel *Contrast() const { return FContrast; }
    THistoryRow *History() const { return FHistory; }

    int RowCount() const { return static_cast<int>(FRows.size()); }
    QLineEdit *RowEdit(int row) const { return FRows[row].Edit; }
    QPushButton *RowCopyButton(int row) const { return FRows[row].Copy; }
    QLabel *RowCaption(int row) const { return FRows[row].Caption; }
    // The row's fallback mark, shown while the row shows the sRGB fallback of a colour outside it.
    QLabel *RowMark(int row) const { return FRows[row].Mark; }
    // The alpha row: the row after the last notation (RowCount()), with no mark.
    QLineEdit *AlphaEdit() const { return FAlpha.Edit; }
    QLabel *Note() const { return FNote; }
    // Copies the row's text, as its button does; RowCount() is the alpha row.
    void CopyRow(int row);
    // Reads the row's text as Return after an edit does.
    void ReadRow(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TRow {
        QLabel *Caption = nullptr;
        QLineEdit *Edit = nullptr;
        QLabel *Mark = nullptr;
        QPushButton *Copy = nullptr;
        QString Written; // the text as the colour wrote it
        bool Edited = false;
    };
    TRow MakeRow(const QString &caption, const QString &key, int line);
    TRow &Row(int row) { return row == RowCount() ? FAlpha : FRows[row]; }
    void Write(TRow &row, const QString &text);

    TNotationsActions FActions;
    std::vector<TRow> FRows;
    TRow FAlpha;
    QLabel *FNote;
    TContrastPanel *FContrast;
    THistoryRow *FHistory;
    std::vector<TExactColour> FHistoryColours;
    std::optional<TExactColour> FShown;
    // The pair the contrast panel shows.
    std::optional<TExactColour> FContrastColour, FContrastComparison;
};

// What the alpha row reads: a number 0-1 or a percentage, clamped to 0-1, or "none".
struct TAlphaReading {
    double Alpha = 1;
    bool Missing = false;
};
std::optional<TAlphaReading> ReadAlphaText(QStringView text);
// The alpha row's text: "none", or the alpha with at most 6 decimals.
QString AlphaText(const TExactColour &c);

// The settings items that keep the window's open state and place, in a section of their own.
void AddNotationsRegItems(TRegItems &items);
// The settings items of the colour history and the comparison colour, each in a section of its own.
void AddPaletteRegItems(TRegItems &items);
// The settings items of the user's palette (Unit1PaletteWindow.cpp), in a section of their own.
void AddPaletteWindowRegItems(TRegItems &items);

// The 8-bit sRGB that the swatch shows for a colour value (a theme colour resolved).
TRgb8 ShownRgb(TColor color);
