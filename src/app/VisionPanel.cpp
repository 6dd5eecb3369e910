#include "app/VisionPanel.h"

#include "colour/ColourHistory.h"
#include "colour/Contrast.h"

#include "app/StrictSpinBox.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

namespace {

QColor ToQ(const TRgb8 &c) { return QColor(c.R, c.G, c.B); }

void Paint(QLabel *label, const TRgb8 &background, const TRgb8 &text)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, ToQ(background));
    p.setColor(QPalette::WindowText, ToQ(text));
    label->setPalette(p);
}

QLabel *Swatch(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setAutoFillBackground(true);
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("Aa")) * 2);
    l->setFrameShape(QFrame::Box);
    return l;
}

} // namespace

QString VisionFigures(const QString &caption, const TExactColour &current, const TExactColour &comparison,
                      TContrastTarget target, bool normalPasses, bool *marked)
{
    const double ratio = ContrastRatio(current, comparison);
    const bool passes = PassesContrast(current, comparison, target);
    const bool mark = normalPasses && !passes;
    if (marked)
        *marked = mark;
    QString text = QStringLiteral("%1: %2:1, APCA Lc %3; %4 %5")
                       .arg(caption, RatioText(ratio), LcText(ApcaLc(current, comparison)),
                            ContrastTargetTitle(target), passes ? QStringLiteral("passes") : QStringLiteral("fails"));
    if (mark)
        text += QStringLiteral("\n\u26a0 FAILS here, passes with normal vision");
    return text;
}

TVisionPanel::TVisionPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VisionPanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto *severityLabel = new QLabel(QStringLiteral("&Severity of the anomalies (0-1):"), this);
    FSeverity = new TStrictSpinBox(this);
    FSeverity->setObjectName(QStringLiteral("SeveritySpin"));
    FSeverity->setAccessibleName(QStringLiteral("Severity of the anomalies"));
    FSeverity->setRange(0, 1);
    FSeverity->setDecimals(2);
    FSeverity->setSingleStep(0.1);
    FSeverity->setValue(0.6);
    FSeverity->setKeyboardTracking(false);
    severityLabel->setBuddy(FSeverity);
    grid->addWidget(severityLabel, 0, 0, 1, 4);
    grid->addWidget(FSeverity, 0, 4, Qt::AlignLeft);
    connect(FSeverity, &QDoubleSpinBox::valueChanged, this, &TVisionPanel::Refresh);
    int line = 1;
    for (TVision v : AllVisions()) {
        TRow row;
        row.Vision = v;
        row.Caption = new QLabel(VisionTitle(v), this);
        row.Current = Swatch(this, QString());
        row.Comparison = Swatch(this, QString());
        row.Preview = Swatch(this, QStringLiteral("Aa"));
        QFont f = row.Preview->font();
        f.setBold(true);
        row.Preview->setFont(f);
        row.Figures = new QLabel(this);
        row.Figures->setTextFormat(Qt::PlainText);
        row.Figures->setFocusPolicy(Qt::StrongFocus);
        row.Figures->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        grid->addWidget(row.Caption, line, 0);
        grid->addWidget(row.Current, line, 1);
        grid->addWidget(row.Comparison, line, 2);
        grid->addWidget(row.Preview, line, 3);
        grid->addWidget(row.Figures, line, 4);
        FRows.push_back(row);
        ++line;
    }
    grid->setColumnStretch(4, 1);
}

double TVisionPanel::Severity() const
{
    return FSeverity->value();
}

void TVisionPanel::Show(const TExactColour &current, const TExactColour &comparison, TContrastTarget target)
{
    FCurrent = current;
    FComparison = comparison;
    FTarget = target;
    Refresh();
}

void TVisionPanel::Refresh()
{
    const bool normalPasses = PassesContrast(FCurrent, FComparison, FTarget);
    const double severity = Severity();
    for (TRow &row : FRows) {
        const TVisionChoice choice{row.Vision, HasSeverity(row.Vision) ? severity : 1.0};
        const TExactColour current = SimulateVision(FCurrent, choice), comparison = SimulateVision(FComparison, choice);
        const TRgb8 c = current.Rgb8(), k = comparison.Rgb8();
        const QString title = HasSeverity(row.Vision)
                                  ? QStringLiteral("%1 %2").arg(VisionTitle(row.Vision), QString::number(severity, 'f', 2))
                                  : VisionTitle(row.Vision);
        Paint(row.Current, c, c);
        Paint(row.Comparison, k, k);
        Paint(row.Preview, k, c);
        row.Current->setAccessibleName(QStringLiteral("%1: current colour %2").arg(title, HtmlText(c)));
        row.Comparison->setAccessibleName(QStringLiteral("%1: comparison colour %2").arg(title, HtmlText(k)));
        row.Preview->setAccessibleName(QStringLiteral("%1: preview of the current colour on the comparison colour").arg(title));
        const QString figures = VisionFigures(title, current, comparison, FTarget, normalPasses, &row.Marked);
        row.Figures->setText(figures);
        row.Figures->setAccessibleName(figures);
        QFont f = row.Figures->font();
        f.setBold(row.Marked);
        row.Figures->setFont(f);
        row.Caption->setText(row.Marked ? QStringLiteral("\u26a0 ") + title : title);
    }
}
