#include "app/JudgeWindow.h"

#include "app/ContrastFixPanel.h"
#include "app/OklchAdjust.h"
#include "app/VisionPanel.h"
#include "colour/ColourHistory.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QGroupBox *Group(QWidget *parent, const QString &title, QWidget *content)
{
    auto *box = new QGroupBox(title, parent);
    box->setAccessibleName(title);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

TJudgeWindow::TJudgeWindow(QWidget *owner, TJudgeActions actions) : QWidget(owner, Qt::Window), FActions(std::move(actions))
{
    setObjectName(QStringLiteral("JudgeWindow"));
    setWindowTitle(QStringLiteral("Pigmora Judge"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(scroll);
    auto *content = new QWidget(scroll);
    auto *layout = new QVBoxLayout(content);

    FHeading = new QLabel(content);
    FHeading->setObjectName(QStringLiteral("JudgeHeading"));
    FHeading->setTextFormat(Qt::PlainText);
    FHeading->setFocusPolicy(Qt::StrongFocus);
    FHeading->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(FHeading);

    FAdjust = new TOklchAdjust(content);
    FVision = new TVisionPanel(content);
    FFix = new TContrastFixPanel(content, [this](const TExactColour &c) {
        if (FActions.Take)
            FActions.Take(c);
    });
    layout->addWidget(Group(content, QStringLiteral("Adjust in OKLCH"), FAdjust));
    layout->addWidget(Group(content, QStringLiteral("Contrast fix and difference"), FFix));
    layout->addWidget(Group(content, QStringLiteral("Colour vision"), FVision));
    layout->addStretch(1);
    scroll->setWidget(content);

    connect(FAdjust, &TOklchAdjust::Moved, this, &TJudgeWindow::Moved);
    connect(FAdjust, &TOklchAdjust::Stopped, this, &TJudgeWindow::Stopped);
    connect(FFix, &TContrastFixPanel::TargetChanged, this,
            [this] { FVision->Show(FCurrent, FComparison, FFix->Target()); });

    FContent = content;
}

void TJudgeWindow::FitToScreen()
{
    // As large as the content wants with its texts written, within the screen's room; the rest
    // scrolls. The texts' new sizes reach the layouts as posted requests: those are handled first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The content at its own size (the wrapped texts broken at its width), the scroll bar's room
    // beside it, and no narrower than the longest figures want.
    FContent->adjustSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    QSize size(std::max(FContent->width(), fontMetrics().averageCharWidth() * 120) + bar, FContent->height() + bar);
    if (const QScreen *s = parentWidget() ? parentWidget()->screen() : screen())
        size = size.boundedTo(s->availableGeometry().size() - QSize(16, 48));
    resize(size);
}

void TJudgeWindow::ShowColour(const TColourState &state)
{
    const bool same = state.Exact() == FCurrent && state.Comparison() == FComparison;
    FCurrent = state.Exact();
    FComparison = state.Comparison();
    FAdjust->Show(FCurrent);
    if (!same || FHeading->text().isEmpty())
        ShowParts();
}

void TJudgeWindow::ShowParts()
{
    const QString heading = QStringLiteral("Current colour %1 (%2)%3; comparison colour %4")
                                .arg(ExactColourText(FCurrent), HtmlText(FCurrent.Rgb8()),
                                     FCurrent.InSrgb() ? QString() : QStringLiteral(", outside sRGB"),
                                     StoredColourText(FComparison));
    FHeading->setText(heading);
    FHeading->setAccessibleName(heading);
    FFix->Show(FCurrent, FComparison);
    FVision->Show(FCurrent, FComparison, FFix->Target());
}

void TJudgeWindow::Moved(const TExactColour &c)
{
    if (!FMoveStart)
        FMoveStart = FCurrent;
    if (FActions.Preview)
        FActions.Preview(c);
}

void TJudgeWindow::Stopped()
{
    if (!FMoveStart)
        return;
    const TExactColour start = *FMoveStart;
    FMoveStart.reset();
    if (FActions.Settle)
        FActions.Settle(start);
}

void TJudgeWindow::hideEvent(QHideEvent *event)
{
    // A move under way when the window goes enters the history as it is.
    FAdjust->Stop();
    QWidget::hideEvent(event);
}
