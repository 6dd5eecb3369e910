#include "app/NotationsWindow.h"

#include "app/ContrastPanel.h"
#include "app/HistoryRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString OutsideNote = QStringLiteral("outside sRGB: the marked rows show the sRGB fallback");
const QString MarkText = QStringLiteral("sRGB fallback");
const QString MarkDescription = QStringLiteral("sRGB fallback: the colour lies outside sRGB");

} // namespace

std::optional<TAlphaReading> ReadAlphaText(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return TAlphaReading{0, true};
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d{1,20}(\\.\\d{0,20})?|\\.\\d{1,20})(%?)$"));
    const QRegularExpressionMatch m = number.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    const bool percent = !m.capturedView(3).isEmpty();
    const double v = t.left(t.size() - (percent ? 1 : 0)).toDouble() / (percent ? 100 : 1);
    return TAlphaReading{std::clamp(v, 0.0, 1.0), false};
}

QString AlphaText(const TExactColour &c)
{
    return c.Missing[3] ? QStringLiteral("none") : NumberText(c.Alpha, 6);
}

TNotationsWindow::TNotationsWindow(QWidget *owner, TNotationsActions actions)
    : QWidget(owner, Qt::Tool), FActions(std::move(actions))
{
    setObjectName(QStringLiteral("NotationsWindow"));
    setWindowTitle(QStringLiteral("Pigmora Notations"));
    setAccessibleName(windowTitle());
    auto *grid = new QGridLayout(this);
    FNote = new QLabel(this);
    FNote->setObjectName(QStringLiteral("MappedNote"));
    FNote->setWordWrap(true);
    FNote->setTextFormat(Qt::PlainText);
    // Selectable, so that the note can be read and copied from the keyboard too.
    FNote->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    FNote->setFocusPolicy(Qt::StrongFocus);
    FNote->hide();
    grid->addWidget(FNote, 0, 0, 1, 4);
    const auto infos = NotationInfos();
    for (size_t i = 0; i < infos.size(); ++i)
        FRows.push_back(MakeRow(QString::fromLatin1(infos[i].Caption), QLatin1String(infos[i].Key), static_cast<int>(i) + 1));
    int line = static_cast<int>(FRows.size()) + 1;
    FAlpha = MakeRow(QStringLiteral("Alpha (0-1 or %)"), QStringLiteral("alpha"), line++);
    FAlpha.Caption->setText(QStringLiteral("&Alpha (0-1 or %)"));
    for (size_t i = 1; i <= FRows.size(); ++i) {
        const TRow &next = i < FRows.size() ? FRows[i] : FAlpha;
        setTabOrder(FRows[i - 1].Edit, FRows[i - 1].Copy);
        setTabOrder(FRows[i - 1].Copy, next.Edit);
    }
    setTabOrder(FAlpha.Edit, FAlpha.Copy);
    auto *contrastCaption = new QLabel(QStringLiteral("Contrast (WCAG 2, APCA)"), this);
    FContrast = new TContrastPanel(this);
    grid->addWidget(contrastCaption, line++, 0, 1, 4);
    grid->addWidget(FContrast, line++, 0, 1, 4);
    auto *historyCaption = new QLabel(QStringLiteral("Histor&y"), this);
    FHistory = new THistoryRow(this);
    FHistory->setAccessibleName(QStringLiteral("Colour history"));
    historyCaption->setBuddy(FHistory);
    connect(FHistory, &THistoryRow::ChosenAt, this, [this](int index) {
        if (FActions.Choose && index >= 0 && index < static_cast<int>(FHistoryColours.size()))
            FActions.Choose(FHistoryColours[static_cast<size_t>(index)]);
    });
    grid->addWidget(historyCaption, line++, 0, 1, 4);
    grid->addWidget(FHistory, line++, 0, 1, 4);
    auto *buttons = new QHBoxLayout;
    const auto button = [&](const QString &text, const std::function<void()> &run) {
        auto *b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [run] {
            if (run)
                run();
        });
        buttons->addWidget(b);
    };
    button(QStringLiteral("Set as comparison colour"), FActions.SetComparison);
    button(QStringLiteral("Export palette\u2026"), FActions.ExportPalette);
    button(QStringLiteral("Import palette\u2026"), FActions.ImportPalette);
    button(QStringLiteral("Clear history"), FActions.ClearHistory);
    buttons->addStretch();
    grid->addLayout(buttons, line++, 0, 1, 4);
}

TNotationsWindow::TRow TNotationsWindow::MakeRow(const QString &caption, const QString &key, int line)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    TRow row;
    row.Caption = new QLabel(caption, this);
    row.Edit = new QLineEdit(this);
    row.Edit->setObjectName(QStringLiteral("Notation_%1").arg(key));
    row.Edit->setAccessibleName(caption);
    row.Edit->setMinimumWidth(row.Edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 34);
    row.Edit->installEventFilter(this);
    row.Caption->setBuddy(row.Edit);
    row.Mark = new QLabel(MarkText, this);
    row.Mark->setObjectName(QStringLiteral("Fallback_%1").arg(key));
    // The column keeps its width whether a mark shows or not, so the rows do not move.
    QSizePolicy keep = row.Mark->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    row.Mark->setSizePolicy(keep);
    row.Mark->hide();
    row.Copy = new QPushButton(QStringLiteral("Copy"), this);
    row.Copy->setAccessibleName(QStringLiteral("Copy %1").arg(caption));
    row.Copy->setAutoDefault(false);
    const int index = line - 1;
    connect(row.Copy, &QPushButton::clicked, this, [this, index] { CopyRow(index); });
    connect(row.Edit, &QLineEdit::textEdited, this, [this, index] { Row(index).Edited = true; });
    grid->addWidget(row.Caption, line, 0);
    grid->addWidget(row.Edit, line, 1);
    grid->addWidget(row.Mark, line, 2);
    grid->addWidget(row.Copy, line, 3);
    return row;
}

void TNotationsWindow::ShowHistory(const TColourHistory &history)
{
    FHistoryColours = history.Colours();
    FHistory->Show(history);
}

void TNotationsWindow::Write(TRow &row, const QString &text)
{
    row.Written = text;
    row.Edited = false;
    if (row.Edit->text() != text) {
        row.Edit->setText(text);
        row.Edit->setCursorPosition(0);
    }
}

void TNotationsWindow::ShowColour(const TColourState &state)
{
    const TExactColour &colour = state.Exact();
    const bool outside = state.OutsideSrgb();
    FNote->setText(outside ? OutsideNote : QString());
    FNote->setVisible(outside);
    if (colour != FContrastColour || state.Comparison() != FContrastComparison) {
        FContrastColour = colour;
        FContrastComparison = state.Comparison();
        FContrast->Show(colour, state.Comparison());
    }
    if (FShown == colour)
        return;
    FShown = colour;
    const std::vector<TNotationRow> rows = WriteNotations(colour);
    for (size_t i = 0; i < rows.size() && i < FRows.size(); ++i) {
        TRow &row = FRows[i];
        row.Caption->setText(rows[i].Caption);
        row.Edit->setAccessibleName(rows[i].Caption);
        Write(row, rows[i].Text);
        const bool marked = outside && rows[i].Fallback;
        row.Mark->setVisible(marked);
        row.Edit->setAccessibleDescription(marked ? MarkDescription : QString());
    }
    Write(FAlpha, AlphaText(colour));
}

void TNotationsWindow::CopyRow(int row)
{
    if (row >= 0 && row <= RowCount() && FActions.Copy)
        FActions.Copy(Row(row).Edit->text());
}

void TNotationsWindow::ReadRow(int index)
{
    if (index < 0 || index > RowCount())
        return;
    TRow &row = Row(index);
    std::optional<TExactColour> colour;
    if (&row == &FAlpha) {
        if (const auto alpha = ReadAlphaText(row.Edit->text()); alpha && FShown) {
            colour = *FShown;
            colour->Alpha = alpha->Missing ? 0 : alpha->Alpha;
            colour->Missing[3] = alpha->Missing;
        }
    } else if (const auto reading = ReadExactColour(row.Edit->text())) {
        colour = reading->Colour;
    }
    if (!colour) {
        if (FActions.Beep)
            FActions.Beep();
        return;
    }
    const auto &make = &row == &FAlpha ? FActions.Adjust : FActions.Choose;
    if (make)
        make(*colour);
    // The same colour again changes nothing: the row shows its own text once more.
    if (row.Edited)
        Write(row, row.Written);
}

bool TNotationsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *e = static_cast<QKeyEvent *>(event);
        for (int i = 0; i <= RowCount(); ++i) {
            TRow &row = Row(i);
            if (row.Edit != watched)
                continue;
            if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
                if (row.Edited)
                    ReadRow(i);
                else
                    CopyRow(i);
                return true;
            }
            if (e->key() == Qt::Key_Escape && row.Edited) {
                Write(row, row.Written);
                return true;
            }
            if (e->matches(QKeySequence::Copy) && !row.Edit->hasSelectedText()) {
                CopyRow(i);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
