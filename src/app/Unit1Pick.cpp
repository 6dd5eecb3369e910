// The main window's screen eyedropper with its "as the monitor shows it" switch, and the
// keyboard's way to every command: each one in the command menu with its shortcut, and the same
// commands in a submenu of every edit's own menu.
#include "app/Unit1.h"

#include "app/CommandMenu.h"
#include "app/PickAsShown.h"
#include "app/WindowCommands.h"
#include "app/ColorDrop.h"
#include "desktop/PickAverage.h"
#include "framework/Dispatch.h"
#include "settings/RegMng.h"

#include <QAction>
#include <QMenu>

TScreenPicker &TForm1::ScreenPicker()
{
    if (!FScreenPicker) {
        TScreenPickEnv env = FEnv.ScreenPick;
        env.Messages = FEnv.Messages;
        env.AsShown = [this] { return fAsShown; };
        env.AverageSize = [this] { return fPickAverage; };
        env.AverageSizeChanged = [this](int side) { PickAverageChanged(side); };
        FScreenPicker = new TScreenPicker(std::move(env), this);
    }
    return *FScreenPicker;
}

void TForm1::ScreenPickClick()
{
    ScreenPicker().PickExact(this, [this](const TExactColour &colour) {
        RunCommand(*FEnv.Messages, [this, colour] {
            // 8 bits go the design's way; a colour kept exactly from a wide-gamut monitor is taken
            // as a pasted one is, its Notations shown when it lies outside sRGB.
            if (colour.FromBytes) {
                const TRgb8 rgb = colour.Rgb8();
                SetColor(static_cast<TColor>(rgb.R | (rgb.G << 8) | (rgb.B << 16)));
            } else {
                Take(TTakenColor{colour, !colour.InSrgb()});
            }
        });
    });
}

void TForm1::PickAverageChanged(int side)
{
    fPickAverage = side;
    FPickAverageChanged = true;
}

void TForm1::LoadAverageSetting()
{
    // Anything but a listed size (a hand-edited file) is one pixel, and stays in the file as it is.
    const int stored = RegManager1->Filer(AverageItemName)->ReadInteger();
    fPickAverage = IsPickSize(stored) ? stored : 1;
}

void TForm1::StoreAverageSetting()
{
    if (FPickAverageChanged)
        RegManager1->Filer(AverageItemName)->WriteInteger(fPickAverage);
}

void TForm1::AsShownSwitchClick()
{
    fAsShown = !fAsShown;
}

void TForm1::LoadAsShownSetting()
{
    FAsShownStored = RegManager1->Filer(AsShownItemName)->ReadBool();
    fAsShown = FAsShownStored;
}

void TForm1::StoreAsShownSetting()
{
    StoreSwitch(AsShownItemName, fAsShown, FAsShownStored);
}

void TForm1::CreateKeyboardCommands()
{
    for (const TWindowCommand &command : MainWindowCommands()) {
        const auto handler = command.Handler;
        CommandMenu->AddCommand({command.Text, command.Shortcut, [this, handler] { Command(handler); }, {}, {}});
    }
    for (QLineEdit *edit : {PovEdit, Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, FTEdit, KanjiEdit,
                            UniCodeEdit}) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
                [this, edit](const QPoint &pos) { EditMenu(edit)->popup(edit->mapToGlobal(pos)); });
    }
}

QMenu *TForm1::EditMenu(QLineEdit *edit)
{
    QMenu *menu = edit->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("EditMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QMenu *commands = menu->addMenu(QStringLiteral("Commands"));
    commands->setObjectName(QStringLiteral("CommandsSubmenu"));
    CommandMenu->Refresh();
    commands->addActions(CommandMenu->Commands());
    return menu;
}
