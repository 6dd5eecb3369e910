// The main window's command menu and the commands that live only there: pasting a colour in any
// notation, the POV-Ray 3.7 gamma switch, and colour drag and drop on the swatch.
#include "app/Unit1.h"

#include "app/ColorDrop.h"
#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/PovGamma.h"
#include "framework/Dispatch.h"
#include "settings/RegMng.h"
#include "widgets/LCBox.h"

#include <QApplication>
#include <QClipboard>

void TForm1::CreateCommands()
{
    CommandMenu = new TCommandMenu(this);
    CommandMenu->OpenOnRightClick(Label1);
    CommandMenu->AddCommand({QStringLiteral("Paste colour"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
                             [this] { Command(&TForm1::PasteColorClick); },
                             [] { return ColorFromMime(QApplication::clipboard()->mimeData()).has_value(); },
                             {}});
    CommandMenu->AddCommand({QStringLiteral("srgb (POV-Ray 3.7 gamma)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G),
                             [this] { Command(&TForm1::SrgbSwitchClick); }, {}, [this] { return fSrgb; }});
    // The pigment box's own click takes the focus; from the menu or its key the focus stays
    // in the field being typed in.
    CommandMenu->AddCommand({QStringLiteral("pigment{ } wrapper"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W),
                             [this] {
                                 LCheckBox->SetChecked(!LCheckBox->Checked());
                                 Command(&TForm1::LCheckBoxClick);
                             },
                             {}, [this] { return LCheckBox->Checked(); }});
    CommandMenu->AddCommand({QStringLiteral("Pick as the monitor shows it"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M),
                             [this] { Command(&TForm1::AsShownSwitchClick); }, {}, [this] { return fAsShown; }});
    CreateNotationsCommands();
    CreatePaletteCommands();
    CreateJudgeCommands();
    CreatePaletteWindowCommands();
    CommandMenu->AddSeparator();

    new TColorDrop(
        Label1, [this] { return fMyColor; },
        [this](const TTakenColor &taken) { RunCommand(*FEnv.Messages, [this, taken] { Take(taken); }); });
}

bool TForm1::TakeColor(const QMimeData *data)
{
    const std::optional<TTakenColor> taken = ColorFromMime(data);
    if (taken)
        Take(*taken);
    return taken.has_value();
}

void TForm1::Take(const TTakenColor &taken)
{
    FColour->Take(taken.Colour);
    if (taken.Mapped)
        ShowNotations();
}

void TForm1::PasteColorClick()
{
    if (!TakeColor(QApplication::clipboard()->mimeData()))
        Beep();
}

void TForm1::SrgbSwitchClick()
{
    fSrgb = !fSrgb;
    if (fMyColor != 0)
        DoRGB();
}

void TForm1::Beep()
{
    if (FEnv.Beep)
        FEnv.Beep();
    else
        QApplication::beep();
}

void TForm1::LoadSrgbSetting()
{
    FSrgbStored = RegManager1->Filer(SrgbItemName)->ReadBool();
    fSrgb = FSrgbStored;
}

void TForm1::StoreSrgbSetting()
{
    StoreSwitch(SrgbItemName, fSrgb, FSrgbStored);
}

void TForm1::StoreSwitch(const QString &item, bool on, bool stored)
{
    // Nothing is added to a file that never had the switch on, so it keeps its bytes.
    if (on || stored)
        RegManager1->Filer(item)->WriteBool(on);
}
