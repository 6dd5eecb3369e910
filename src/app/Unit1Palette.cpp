// The colour history, the comparison colour for contrast, and palette files as the main window
// runs them: their commands, and their sections of the settings file, with the exact colour's.
#include "app/Unit1.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/NotationsWindow.h"
#include "app/PaletteFiles.h"
#include "colour/ColourHistory.h"
#include "framework/Failure.h"
#include "settings/IniFile.h"
#include "settings/RegMng.h"

#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString HistoryItem = QStringLiteral("ColourHistory");
const QString ComparisonItem = QStringLiteral("ComparisonColour");
const QString ExactItem = QStringLiteral("ExactColour");
constexpr int UserColours = 11;
constexpr int FirstUserSlot = 16;

} // namespace

void AddPaletteRegItems(TRegItems &items)
{
    items.Add(HistoryItem, QStringLiteral("Form\\History"), QStringLiteral("Colours"), QString());
    items.Add(ComparisonItem, QStringLiteral("Form\\Contrast"), QStringLiteral("Comparison"), QStringLiteral("#FFFFFF"));
    items.Add(ExactItem, QStringLiteral("Form\\Colour"), QStringLiteral("Exact"), QString());
}

void TForm1::CreatePaletteCommands()
{
    const auto ctrlShift = Qt::CTRL | Qt::SHIFT;
    CommandMenu->AddCommand({QStringLiteral("Set as comparison colour"), QKeySequence(ctrlShift | Qt::Key_K),
                             [this] { Command(&TForm1::SetComparisonClick); }, {}, {}});
    CommandMenu->AddCommand({QStringLiteral("Export palette\u2026"), QKeySequence(ctrlShift | Qt::Key_S),
                             [this] { Command(&TForm1::ExportPaletteClick); }, {}, {}});
    CommandMenu->AddCommand({QStringLiteral("Import palette\u2026"), QKeySequence(ctrlShift | Qt::Key_O),
                             [this] { Command(&TForm1::ImportPaletteClick); }, {}, {}});
    CommandMenu->AddCommand({QStringLiteral("Clear colour history"), QKeySequence(ctrlShift | Qt::Key_Backspace),
                             [this] { Command(&TForm1::ClearHistoryClick); }, {}, {}});
}

void TForm1::SetComparisonClick()
{
    FColour->SetComparison(FColour->Exact());
}

void TForm1::ClearHistoryClick()
{
    FColour->ClearHistory();
}

QString TForm1::AskFileName(bool save, const QString &caption, const QString &filter)
{
    if (FEnv.FileDialog)
        return FEnv.FileDialog(save, caption, filter);
    return save ? QFileDialog::getSaveFileName(this, caption, QString(), filter)
                : QFileDialog::getOpenFileName(this, caption, QString(), filter);
}

namespace {

// Every palette file that can be read, then each format alone.
QString ImportFilter()
{
    QStringList patterns;
    for (const TPaletteFormatInfo &f : PaletteFormats())
        if (f.CanRead)
            for (const QString &suffix : f.Suffixes)
                patterns << QStringLiteral("*.") + suffix;
    return QStringLiteral("Palettes (%1);;%2").arg(patterns.join(QLatin1Char(' ')), PaletteFileFilter(false));
}

} // namespace

void TForm1::ExportPaletteClick()
{
    QString name = AskFileName(true, QStringLiteral("Export palette"), PaletteFileFilter(true));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".gpl");
    std::vector<TExactColour> colours;
    for (int n = FirstUserSlot; n < FirstUserSlot + UserColours; ++n)
        colours.push_back(TExactColour::FromRgb8(ShownRgb(ColorPickerDialog->GetTemporaryPalette(n))));
    const auto &history = FColour->History().Colours();
    colours.insert(colours.end(), history.begin(), history.end());
    // Each colour named by its hex, as the GIMP palette always named them; CSS custom properties
    // keep their numbered names.
    const bool css = PaletteFormatForFile(name) == TPaletteFormat::Css;
    TPalette palette{css ? QString() : QStringLiteral("Pigmora"), {}};
    for (size_t i = 0; i < colours.size(); ++i)
        palette.Entries.push_back({css ? QStringLiteral("pigmora-%1").arg(i + 1) : HtmlText(colours[i].Rgb8()), colours[i]});
    QString error;
    if (!WritePaletteFile(name, palette, &error))
        throw Exception(error);
}

void TForm1::ImportPaletteClick()
{
    const QString name = AskFileName(false, QStringLiteral("Import palette"), ImportFilter());
    if (name.isEmpty())
        return;
    QString error;
    const auto palette = ReadPaletteFile(name, &error);
    if (!palette)
        throw Exception(error);
    const size_t count = std::min<size_t>(palette->Entries.size(), UserColours);
    for (size_t i = 0; i < count; ++i) {
        const TRgb8 c = palette->Entries[i].Colour.Rgb8();
        ColorPickerDialog->SetTemporaryPalette(FirstUserSlot + static_cast<int>(i), RGB(c.R, c.G, c.B));
    }
}

void TForm1::LoadPaletteSettings()
{
    FColour->LoadHistory(RegManager1->Filer(HistoryItem)->ReadString());
    FColour->LoadComparison(RegManager1->Filer(ComparisonItem)->ReadString());
}

void TForm1::StorePaletteSettings()
{
    // Each section is written only once it holds something, so that a user who never changed the
    // colour keeps the file as it was.
    if (const auto history = FColour->HistoryToStore())
        RegManager1->Filer(HistoryItem)->WriteString(*history);
    if (const auto comparison = FColour->ComparisonToStore())
        RegManager1->Filer(ComparisonItem)->WriteString(*comparison);
}

void TForm1::LoadExactSetting()
{
    // Taken only while it still gives the stored 8 bits: otherwise they were changed by hand or by
    // a program that knows no exact colour, and they win.
    FColour->RestoreExact(RegManager1->Filer(ExactItem)->ReadString(), fMyColor);
}

void TForm1::StoreExactSetting()
{
    // Written only while the colour says more than its 8 bits, so that a file of 8-bit colours
    // keeps its bytes; a key that no longer applies (or never read) goes.
    const TRegItem *item = RegManager1->RegItems()->FindItem(ExactItem);
    if (const auto text = FColour->ExactToStore())
        RegManager1->Filer(ExactItem)->WriteString(*text);
    else if (FColour->ExactKeyToRemove())
        RegManager1->Filer(ExactItem)->DeleteEntry(item->Section, item->Ident);
}
