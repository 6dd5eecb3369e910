// The colour history, the comparison colour for contrast, and palette files as the main window
// runs them: their commands, and their sections of the settings file, with the exact colour's.
#include "app/Unit1.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/NotationsWindow.h"
#include "colour/PaletteFile.h"
#include "framework/Failure.h"
#include "settings/IniFile.h"
#include "settings/RegMng.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString HistoryItem = QStringLiteral("ColourHistory");
const QString ComparisonItem = QStringLiteral("ComparisonColour");
const QString ExactItem = QStringLiteral("ExactColour");
// A palette file beyond this is no palette a person made; it is refused without being read.
constexpr qint64 MaxPaletteBytes = 16 * 1024 * 1024;
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

void TForm1::ExportPaletteClick()
{
    QString name = AskFileName(true, QStringLiteral("Export palette"),
                               QStringLiteral("GIMP palette (*.gpl);;CSS custom properties (*.css)"));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".gpl");
    std::vector<TExactColour> colours;
    for (int n = FirstUserSlot; n < FirstUserSlot + UserColours; ++n)
        colours.push_back(TExactColour::FromRgb8(ShownRgb(ColorPickerDialog->GetTemporaryPalette(n))));
    const auto &history = FColour->History().Colours();
    colours.insert(colours.end(), history.begin(), history.end());
    const bool css = QFileInfo(name).suffix().compare(QLatin1String("css"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = css ? WriteCssPalette(colours) : WriteGimpPalette(QStringLiteral("Pigmora"), colours);
    // A symlink in the chosen place is replaced, never written through.
    QString error;
    if (!WriteWholeFileAtomic(name, bytes, TSymlinks::Replace, &error))
        throw Exception(QStringLiteral("The palette could not be written to %1: %2").arg(name, error));
}

void TForm1::ImportPaletteClick()
{
    const QString name = AskFileName(false, QStringLiteral("Import palette"), QStringLiteral("GIMP palette (*.gpl)"));
    if (name.isEmpty())
        return;
    // Opened without waiting, so that a FIFO or a device in the chosen place is refused, not read.
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw Exception(QStringLiteral("The palette %1 could not be read: %2").arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    QFile file;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw Exception(QStringLiteral("The palette %1 could not be read: it is no regular file").arg(name));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Exception(QStringLiteral("The palette %1 could not be read: %2").arg(name, file.errorString()));
    }
    if (file.size() > MaxPaletteBytes)
        throw Exception(QStringLiteral("The palette %1 could not be read: it is larger than 16 MB").arg(name));
    const QByteArray bytes = file.read(MaxPaletteBytes + 1);
    if (bytes.size() > MaxPaletteBytes)
        throw Exception(QStringLiteral("The palette %1 could not be read: it is larger than 16 MB").arg(name));
    const auto colours = ReadGimpPalette(bytes, UserColours);
    if (!colours)
        throw Exception(QStringLiteral("%1 is no GIMP palette").arg(name));
    if (colours->empty())
        throw Exception(QStringLiteral("The GIMP palette %1 holds no colours").arg(name));
    for (int i = 0; i < static_cast<int>(colours->size()); ++i) {
        const TRgb8 &c = (*colours)[i];
        ColorPickerDialog->SetTemporaryPalette(FirstUserSlot + i, RGB(c.R, c.G, c.B));
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
