// The main window's screen eyedropper.
#include "app/Unit1.h"

#include "app/WindowCommands.h"
#include "framework/Dispatch.h"

#include <QAction>

TScreenPicker &TForm1::ScreenPicker()
{
    if (!FScreenPicker) {
        TScreenPickEnv env = FEnv.ScreenPick;
        env.Messages = FEnv.Messages;
        FScreenPicker = new TScreenPicker(std::move(env), this);
    }
    return *FScreenPicker;
}

void TForm1::ScreenPickClick()
{
    ScreenPicker().Pick(this, [this](TColor color) { RunCommand(*FEnv.Messages, [this, color] { SetColor(color); }); });
}

void TForm1::CreateKeyboardCommands()
{
    for (const TWindowCommand &command : MainWindowCommands()) {
        auto *action = new QAction(command.Text, this);
        action->setShortcut(command.Shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        const auto handler = command.Handler;
        connect(action, &QAction::triggered, this, [this, handler] { Command(handler); });
        addAction(action);
    }
}
