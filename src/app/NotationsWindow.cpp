#include "app/NotationsWindow.h"

#include "app/ContrastPanel.h"
#include "app/HistoryRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    grid->addWidget(FNote, 0, 0, 1, 3);
    const auto infos = NotationInfos();
    for (size_t i = 0; i < infos.size(); ++i) {
        const QString caption = QString::fromLatin1(infos[i].Caption);
        TRow row;
        row.Caption = new QLabel(caption, this);
        row.Edit = new QLineEdit(this);
        row.Edit->setObjectName(QStringLiteral("Notation_%1").arg(QLatin1String(infos[i].Key)));
        row.Edit->setReadOnly(true);
        row.Edit->setAccessibleName(caption);
        row.Edit->setMinimumWidth(row.Edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 34);
        row.Edit->installEventFilter(this);
        row.Caption->setBuddy(row.Edit);
        row.Copy = new QPushButton(QStringLiteral("Copy"), this);
        row.Copy->setAccessibleName(QStringLiteral("Copy %1").arg(caption));
        row.Copy->setAutoDefault(false);
        const int index = static_cast<int>(i);
        connect(row.Copy, &QPushButton::clicked, this, [this, index] { CopyRow(index); });
        grid->addWidget(row.Caption, index + 1, 0);
        grid->addWidget(row.Edit, index + 1, 1);
        grid->addWidget(row.Copy, index + 1, 2);
        FRows.push_back(row);
    }
    for (size_t i = 1; i < FRows.size(); ++i) {
        setTabOrder(FRows[i - 1].Edit, FRows[i - 1].Copy);
        setTabOrder(FRows[i - 1].Copy, FRows[i].Edit);
    }
    int line = static_cast<int>(FRows.size()) + 1;
    auto *contrastCaption = new QLabel(QStringLiteral("Contrast (WCAG 2, APCA)"), this);
    FContrast = new TContrastPanel(this);
    grid->addWidget(contrastCaption, line++, 0, 1, 3);
    grid->addWidget(FContrast, line++, 0, 1, 3);
    auto *historyCaption = new QLabel(QStringLiteral("Histor&y"), this);
    FHistory = new THistoryRow(this);
    FHistory->setAccessibleName(QStringLiteral("Colour history"));
    historyCaption->setBuddy(FHistory);
    connect(FHistory, &THistoryRow::Chosen, this, [this](const TRgb8 &c) {
        if (FActions.Choose)
            FActions.Choose(c);
    });
    grid->addWidget(historyCaption, line++, 0, 1, 3);
    grid->addWidget(FHistory, line++, 0, 1, 3);
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
    grid->addLayout(buttons, line++, 0, 1, 3);
}

void TNotationsWindow::ShowHistory(const TColourHistory &history)
{
    FHistory->Show(history);
}

void TNotationsWindow::ShowColour(const TRgb8 &rgb, const QString &note, const TRgb8 &comparison)
{
    FNote->setText(note);
    FNote->setVisible(!note.isEmpty());
    if (rgb == FShown && comparison == FShownComparison)
        return;
    FShownComparison = comparison;
    FContrast->Show(rgb, comparison);
    if (rgb == FShown)
        return;
    FShown = rgb;
    const std::vector<TNotationRow> rows = WriteNotations(rgb);
    for (size_t i = 0; i < rows.size() && i < FRows.size(); ++i) {
        FRows[i].Caption->setText(rows[i].Caption);
        FRows[i].Edit->setAccessibleName(rows[i].Caption);
        FRows[i].Edit->setText(rows[i].Text);
        FRows[i].Edit->setCursorPosition(0);
    }
}

void TNotationsWindow::CopyRow(int row)
{
    if (row >= 0 && row < RowCount() && FActions.Copy)
        FActions.Copy(FRows[row].Edit->text());
}

bool TNotationsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *e = static_cast<QKeyEvent *>(event);
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            for (int i = 0; i < RowCount(); ++i)
                if (FRows[i].Edit == watched) {
                    CopyRow(i);
                    return true;
                }
    }
    return QWidget::eventFilter(watched, event);
}
