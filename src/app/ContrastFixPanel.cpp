#include "app/ContrastFixPanel.h"

#include "colour/ColourDifference.h"
#include "colour/ColourHistory.h"
#include "colour/Contrast.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

double OklchLightness(const TExactColour &c)
{
    return c.To(TColourSpace::Oklch).Coords[0];
}

QLabel *FocusableText(QWidget *parent, const QString &name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setFocusPolicy(Qt::StrongFocus);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return l;
}

} // namespace

QString FixText(const TExactColour &current, const TExactColour &comparison, TContrastTarget target,
                const TContrastFix &fix)
{
    const QString title = ContrastTargetTitle(target);
    if (!fix.Found)
        return QStringLiteral("No lightness passes %1 on %2.").arg(title, StoredColourText(comparison));
    if (fix.Colour == current)
        return QStringLiteral("The current colour passes %1 on %2 already.").arg(title, StoredColourText(comparison));
    return QStringLiteral("Nearest passing colour: %1 %2, %3:1, APCA Lc %4 (lightness %5 from %6)")
        .arg(ExactColourText(fix.Colour), HtmlText(fix.Colour.Rgb8()), RatioText(fix.Ratio), LcText(fix.Lc),
             QString::number(OklchLightness(fix.Colour), 'f', 4), QString::number(OklchLightness(current), 'f', 4));
}

QString DifferenceText(const TExactColour &current, const TExactColour &comparison)
{
    const TColourDifferences d = ColourDifferences(current, comparison);
    return QStringLiteral("Difference from %1: CIEDE2000 %2, deltaEOK %3, CIE76 %4; contrast %5:1, APCA Lc %6")
        .arg(StoredColourText(comparison), QString::number(d.De2000, 'f', 2), QString::number(d.DeOk, 'f', 4),
             QString::number(d.De76, 'f', 2), RatioText(ContrastRatio(current, comparison)),
             LcText(ApcaLc(current, comparison)));
}

TContrastFixPanel::TContrastFixPanel(QWidget *parent, std::function<void(const TExactColour &)> use)
    : QWidget(parent), FUseFix(std::move(use))
{
    setObjectName(QStringLiteral("ContrastFixPanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto *targetLabel = new QLabel(QStringLiteral("&Target on the comparison colour:"), this);
    FTarget = new QComboBox(this);
    FTarget->setObjectName(QStringLiteral("TargetBox"));
    FTarget->setAccessibleName(QStringLiteral("Contrast target"));
    for (TContrastTarget t : AllContrastTargets())
        FTarget->addItem(ContrastTargetTitle(t), static_cast<int>(t));
    targetLabel->setBuddy(FTarget);
    FSwatch = new QLabel(QStringLiteral("Aa"), this);
    FSwatch->setAutoFillBackground(true);
    FSwatch->setAlignment(Qt::AlignCenter);
    FSwatch->setFrameShape(QFrame::Box);
    FSwatch->setMinimumWidth(FSwatch->fontMetrics().horizontalAdvance(QStringLiteral("Aa")) * 3);
    QFont bold = FSwatch->font();
    bold.setBold(true);
    FSwatch->setFont(bold);
    FResult = FocusableText(this, QStringLiteral("FixResult"));
    FUse = new QPushButton(QStringLiteral("&Use the nearest passing colour"), this);
    FUse->setObjectName(QStringLiteral("UseFix"));
    FUse->setAccessibleName(QStringLiteral("Use the nearest passing colour"));
    FDifferences = FocusableText(this, QStringLiteral("Differences"));
    grid->addWidget(targetLabel, 0, 0);
    grid->addWidget(FTarget, 0, 1, Qt::AlignLeft);
    grid->addWidget(FSwatch, 1, 0, Qt::AlignLeft);
    grid->addWidget(FResult, 1, 1);
    grid->addWidget(FUse, 2, 1, Qt::AlignLeft);
    grid->addWidget(FDifferences, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(FTarget, &QComboBox::currentIndexChanged, this, [this] {
        Refresh();
        emit TargetChanged();
    });
    connect(FUse, &QPushButton::clicked, this, &TContrastFixPanel::UseFix);
}

TContrastTarget TContrastFixPanel::Target() const
{
    return static_cast<TContrastTarget>(FTarget->currentData().toInt());
}

void TContrastFixPanel::SetTarget(TContrastTarget target)
{
    FTarget->setCurrentIndex(FTarget->findData(static_cast<int>(target)));
}

void TContrastFixPanel::Show(const TExactColour &current, const TExactColour &comparison)
{
    FCurrent = current;
    FComparison = comparison;
    Refresh();
}

void TContrastFixPanel::Refresh()
{
    FFix = FixContrast(FCurrent, FComparison, Target());
    const QString result = FixText(FCurrent, FComparison, Target(), *FFix);
    FResult->setText(result);
    FResult->setAccessibleName(result);
    const bool usable = FFix->Found && !(FFix->Colour == FCurrent);
    FUse->setEnabled(usable);
    QPalette p = FSwatch->palette();
    const TRgb8 back = FComparison.Rgb8(), text = (FFix->Found ? FFix->Colour : FCurrent).Rgb8();
    p.setColor(QPalette::Window, QColor(back.R, back.G, back.B));
    p.setColor(QPalette::WindowText, QColor(text.R, text.G, text.B));
    FSwatch->setPalette(p);
    FSwatch->setAccessibleName(usable ? QStringLiteral("Preview of the nearest passing colour on the comparison colour")
                                      : QStringLiteral("Preview of the current colour on the comparison colour"));
    const QString differences = DifferenceText(FCurrent, FComparison);
    FDifferences->setText(differences);
    FDifferences->setAccessibleName(differences);
}

bool TContrastFixPanel::UseFix()
{
    if (!FFix || !FFix->Found || FFix->Colour == FCurrent || !FUseFix)
        return false;
    FUseFix(FFix->Colour);
    return true;
}
