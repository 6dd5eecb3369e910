// The judging window as the main window runs it: its command, and following the colour and the
// comparison colour while it is shown. It keeps no settings: the main window's file is as before.
#include "app/Unit1.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/JudgeWindow.h"
#include "app/OklchAdjust.h"
#include "framework/Dispatch.h"

#include <QScreen>

void TForm1::CreateJudgeCommands()
{
    CommandMenu->AddCommand({QStringLiteral("Judge colour (OKLCH, colour vision, contrast fix)"),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), [this] { Command(&TForm1::JudgeClick); }, {},
                             [this] { return FJudge && FJudge->isVisible(); }});
    connect(FColour, &TColourState::ColourChanged, this, &TForm1::UpdateJudge);
    connect(FColour, &TColourState::ComparisonChanged, this, &TForm1::UpdateJudge);
}

void TForm1::JudgeClick()
{
    if (FJudge && FJudge->isVisible()) {
        FJudge->hide();
        return;
    }
    if (!FJudge) {
        TJudgeActions actions;
        actions.Preview = [this](const TExactColour &c) { RunCommand(*FEnv.Messages, [this, c] { FColour->Preview(c); }); };
        actions.Settle = [this](const TExactColour &from) { FColour->Settle(from); };
        actions.Take = [this](const TExactColour &c) { RunCommand(*FEnv.Messages, [this, c] { FColour->Take(c); }); };
        FJudge = new TJudgeWindow(this, std::move(actions));
        FJudge->ShowColour(*FColour);
        FJudge->FitToScreen();
        // Below the main window when the screen has room there, else where the platform puts it.
        const QPoint below = frameGeometry().bottomLeft() + QPoint(0, 8);
        if (const QScreen *s = screen(); s && s->availableGeometry().contains(QRect(below, FJudge->frameSize())))
            FJudge->move(below);
    }
    FJudge->ShowColour(*FColour);
    FJudge->show();
    FJudge->raise();
    FJudge->activateWindow();
}

void TForm1::UpdateJudge()
{
    if (FJudge && FJudge->isVisible())
        FJudge->ShowColour(*FColour);
}

void TForm1::SettleJudge()
{
    if (FJudge)
        FJudge->Adjust()->Stop();
}
