// The main window's side of picking from anywhere: the "Desktop-wide key…" command and its
// dialog, the settings of the key and the tray, and the start in the background.
#include "app/Unit1.h"

#include "app/AnywhereDialog.h"
#include "app/CommandMenu.h"
#include "app/PickAnywhere.h"
#include "framework/Dispatch.h"
#include "settings/RegMng.h"

#include <QTimer>

void TForm1::CreateAnywhereCommands()
{
    FAnywhereStored = std::make_unique<TAnywhereSettings>();
    FAnywhere = std::make_unique<TAnywhereSettings>();
    CommandMenu->AddCommand({QStringLiteral("Desktop-wide key…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                             [this] { Command(&TForm1::AnywhereSettingsClick); }, {}, {}});
}

void TForm1::LoadAnywhereSettings()
{
    // While both are off the start reads two switches and nothing else; the rest waits for the
    // dialog. Bound once the window is on its way: the start itself stays as it was.
    if (AnywhereOn(*RegManager1)) {
        ReadAnywhereSettings();
        QTimer::singleShot(0, this, [this] { ApplyAnywhere(false); });
    }
}

void TForm1::ReadAnywhereSettings()
{
    if (FAnywhereRead || FEnv.IniFileName.isEmpty())
        return;
    FAnywhereRead = true;
    *FAnywhereStored = ::ReadAnywhereSettings(*RegManager1);
    *FAnywhere = *FAnywhereStored;
}

void TForm1::StoreAnywhereSettings()
{
    // Never read: never changed.
    if (FAnywhereRead)
        ::StoreAnywhereSettings(*RegManager1, *FAnywhere, *FAnywhereStored);
}

void TForm1::ApplyAnywhere(bool background)
{
    ReadAnywhereSettings();
    if (!FPickAnywhere) {
        if (!background && !FAnywhere->KeyOn && !FAnywhere->Tray)
            return;
        TPickAnywhere::TEnv env;
        env.Messages = FEnv.Messages;
        env.Bus = FEnv.ScreenPick.Bus;
        FPickAnywhere = new TPickAnywhere(*this, std::move(env));
        connect(FPickAnywhere, &TPickAnywhere::KeyStateChanged, this, [this](const QString &text) {
            if (FAnywhereDialog)
                FAnywhereDialog->ShowKeyState(text);
        });
    }
    FPickAnywhere->Apply(*FAnywhere, background);
}

void TForm1::RunInBackground()
{
    // From the event loop: a box it may show ends with the session as every other loop does.
    QTimer::singleShot(0, this, [this] { ApplyAnywhere(true); });
}

bool TForm1::OutOfSight() const
{
    return FPickAnywhere && FPickAnywhere->OutOfSight();
}

void TForm1::AnywhereSettingsClick()
{
    if (FAnywhereDialog) {
        FAnywhereDialog->show();
        FAnywhereDialog->raise();
        FAnywhereDialog->activateWindow();
        return;
    }
    ReadAnywhereSettings();
    auto *dialog = new TAnywhereDialog(*FAnywhere, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // A window of its own, reachable while the main window is hidden in the tray.
    dialog->setWindowFlag(Qt::Window);
    FAnywhereDialog = dialog;
    if (FPickAnywhere)
        dialog->ShowKeyState(FPickAnywhere->KeyState());
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        *FAnywhere = dialog->Settings();
        ApplyAnywhere(false);
    });
    dialog->show();
}
