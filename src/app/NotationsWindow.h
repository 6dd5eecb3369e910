#pragma once

#include "colour/Notations.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class TRegItems;
class QLineEdit;
class QPushButton;

// The Notations window: the current colour in every notation beyond the main window's own, one
// row each (caption, the text read-only, a copy button). A row's text is copied by its button or
// by Return on the row. A note above the rows says when the colour was brought into sRGB.
class TNotationsWindow : public QWidget {
    Q_OBJECT
public:
    // `copy` puts a row's text on the clipboard.
    TNotationsWindow(QWidget *owner, std::function<void(const QString &)> copy);

    // Writes every row for the colour; `note` (empty for none) shows above them.
    void ShowColour(const TRgb8 &rgb, const QString &note);

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
    std::function<void(const QString &)> FCopy;
    std::vector<TRow> FRows;
    QLabel *FNote;
    TRgb8 FShown{-1, -1, -1};
};

// The settings items that keep the window's open state and place, in a section of their own.
void AddNotationsRegItems(TRegItems &items);
