// The palette window as the main window runs it: its command, and the user's palette in a
// section of the settings file of its own, written once the palette was used.
#include "app/Unit1.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/PaletteModel.h"
#include "app/PaletteWindow.h"
#include "framework/Dispatch.h"
#include "framework/Failure.h"
#include "settings/RegMng.h"

namespace {

const QString PaletteSection = QStringLiteral("Form\\Palette");
const QString PaletteNameItem = QStringLiteral("PaletteName");
const QString PaletteColoursItem = QStringLiteral("PaletteColours");

} // namespace

void AddPaletteWindowRegItems(TRegItems &items)
{
    items.Add(PaletteNameItem, PaletteSection, QStringLiteral("Name"), QString());
    items.Add(PaletteColoursItem, PaletteSection, QStringLiteral("Colours"), QString());
}

void TForm1::CreatePaletteWindowCommands()
{
    if (!FPalette)
        FPalette = new TPaletteModel(this);
    CommandMenu->AddCommand({QStringLiteral("Palette"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
                             [this] { Command(&TForm1::PaletteWindowClick); }, {},
                             [this] { return FPaletteWindow && FPaletteWindow->isVisible(); }});
}

void TForm1::PaletteWindowClick()
{
    if (FPaletteWindow && FPaletteWindow->isVisible()) {
        FPaletteWindow->hide();
        return;
    }
    if (!FPaletteWindow) {
        TPaletteWindowActions actions;
        actions.Current = [this] { return FColour->Exact(); };
        actions.Comparison = [this] { return FColour->Comparison(); };
        actions.Choose = [this](const TExactColour &c) { RunCommand(*FEnv.Messages, [this, c] { FColour->Take(c); }); };
        actions.Fail = [this](const QString &message) {
            RunCommand(*FEnv.Messages, [message] { throw Exception(message); });
        };
        actions.AskFileName = [this](bool save, const QString &caption, const QString &filter) {
            return AskFileName(save, caption, filter);
        };
        FPaletteWindow = new TPaletteWindow(this, FPalette, std::move(actions));
        FPaletteWindow->adjustSize();
    }
    FPaletteWindow->show();
    FPaletteWindow->raise();
    FPaletteWindow->activateWindow();
}

void TForm1::LoadPaletteWindowSettings()
{
    const TRegItem *colours = RegManager1->RegItems()->FindItem(PaletteColoursItem);
    QStringList lines;
    RegManager1->Filer(PaletteColoursItem)->ReadStrings(&lines);
    // The section counts as held when its list of colours is there, even empty.
    const QString count = RegManager1->Filer(PaletteColoursItem)
                              ->ReadEntry(colours->Section, colours->Ident + QStringLiteral("_ItemCount"), QString());
    FPalette->Load(RegManager1->Filer(PaletteNameItem)->ReadString(), lines, !count.isEmpty());
}

void TForm1::StorePaletteWindowSettings()
{
    // A user who never touched the palette keeps the file as it was.
    if (!FPalette || !FPalette->Used())
        return;
    RegManager1->Filer(PaletteNameItem)->WriteString(FPalette->Palette().Name);
    const QStringList lines = FPalette->StoredLines();
    RegManager1->Filer(PaletteColoursItem)->WriteStrings(&lines);
}
