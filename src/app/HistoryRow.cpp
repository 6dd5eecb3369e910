#include "app/HistoryRow.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

TSwatchCell::TSwatchCell(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TSwatchCell::SetColour(const TRgb8 &c, const QString &name)
{
    const QString text = name.isEmpty() ? HtmlText(c) : name;
    if (c == FColour && accessibleName() == text)
        return;
    FColour = c;
    setToolTip(text);
    setAccessibleName(text);
    update();
}

void TSwatchCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect().adjusted(2, 2, -2, -2);
    p.fillRect(r, QColor(FColour.R, FColour.G, FColour.B));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        QStyleOptionFocusRect o;
        o.initFrom(this);
        o.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
    }
}

void TSwatchCell::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(e);
}

THistoryRow::THistoryRow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HistoryRow"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    constexpr int perLine = TColourHistory::Limit / 2;
    for (int i = 0; i < TColourHistory::Limit; ++i) {
        auto *cell = new TSwatchCell(this);
        cell->hide();
        connect(cell, &QAbstractButton::clicked, this, [this, cell, i] {
            emit Chosen(cell->Colour());
            emit ChosenAt(i);
        });
        grid->addWidget(cell, i / perLine, i % perLine);
        FCells.push_back(cell);
    }
    grid->setColumnStretch(perLine, 1);
}

void THistoryRow::Show(const TColourHistory &history)
{
    std::vector<TRgb8> swatches;
    QStringList names;
    for (const TExactColour &c : history.Colours()) {
        swatches.push_back(c.Rgb8());
        names << StoredColourText(c);
    }
    Show(swatches, names);
}

void THistoryRow::Show(const std::vector<TRgb8> &colours, const QStringList &names)
{
    FShown = std::min(static_cast<int>(colours.size()), static_cast<int>(FCells.size()));
    for (int i = 0; i < static_cast<int>(FCells.size()); ++i) {
        if (i < FShown)
            FCells[i]->SetColour(colours[static_cast<size_t>(i)], i < names.size() ? names[i] : QString());
        FCells[i]->setVisible(i < FShown);
    }
    // The caption's key focuses the newest colour and chooses nothing; with no colour it does
    // nothing at all.
    setFocusProxy(FShown > 0 ? FCells[0] : nullptr);
    setFocusPolicy(FShown > 0 ? Qt::ClickFocus : Qt::NoFocus);
}
