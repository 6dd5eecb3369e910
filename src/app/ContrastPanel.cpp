#include "app/ContrastPanel.h"

#include "colour/ColourHistory.h"
#include "colour/Contrast.h"

#include <QGridLayout>
#include <QLabel>

namespace {

QString Verdict(const char *level, bool pass)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(level), pass ? QStringLiteral("passes") : QStringLiteral("fails"));
}

QColor ToQ(const TRgb8 &c) { return QColor(c.R, c.G, c.B); }

} // namespace

QString ContrastFigures(const QString &caption, const TExactColour &current, const TExactColour &other)
{
    const double ratio = ContrastRatio(current, other);
    const TWcagVerdict v = WcagVerdict(ratio);
    return QStringLiteral("%1 %2: %3:1, %4, %5, %6, %7\nAPCA Lc %8 as text, %9 as background")
        .arg(caption, StoredColourText(other), RatioText(ratio), Verdict("AA", v.AaNormal), Verdict("AA large", v.AaLarge),
             Verdict("AAA", v.AaaNormal), Verdict("AAA large", v.AaaLarge), LcText(ApcaLc(current, other)),
             LcText(ApcaLc(other, current)));
}

TContrastPanel::TContrastPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ContrastPanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        FPreviews[i] = new QLabel(QStringLiteral("Aa"), this);
        FPreviews[i]->setAutoFillBackground(true);
        FPreviews[i]->setAlignment(Qt::AlignCenter);
        FPreviews[i]->setMinimumWidth(FPreviews[i]->fontMetrics().horizontalAdvance(QStringLiteral("Aa")) * 2);
        QFont f = FPreviews[i]->font();
        f.setBold(true);
        FPreviews[i]->setFont(f);
        FFigures[i] = new QLabel(this);
        FFigures[i]->setTextFormat(Qt::PlainText);
        FFigures[i]->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        FFigures[i]->setFocusPolicy(Qt::StrongFocus);
        grid->addWidget(FPreviews[i], i, 0);
        grid->addWidget(FFigures[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
}

void TContrastPanel::Show(const TExactColour &current, const TExactColour &comparison)
{
    const TExactColour others[3] = {TExactColour::FromRgb8({255, 255, 255}), TExactColour::FromRgb8({0, 0, 0}), comparison};
    const QString captions[3] = {QStringLiteral("on white"), QStringLiteral("on black"),
                                 QStringLiteral("on the comparison colour")};
    for (int i = 0; i < 3; ++i) {
        QPalette p = FPreviews[i]->palette();
        p.setColor(QPalette::Window, ToQ(others[i].Rgb8()));
        p.setColor(QPalette::WindowText, ToQ(current.Rgb8()));
        FPreviews[i]->setPalette(p);
        FPreviews[i]->setAccessibleName(QStringLiteral("Preview of text %1").arg(captions[i]));
        const QString figures = ContrastFigures(captions[i], current, others[i]);
        FFigures[i]->setText(figures);
        FFigures[i]->setAccessibleName(figures);
    }
}
