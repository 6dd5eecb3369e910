// The Notations window as the main window runs it: its command, the "Copy as" submenu, following
// every rendering, and its place and open state in the settings file.
#include "app/Unit1.h"

#include "app/CommandMenu.h"
#include "app/NotationsWindow.h"
#include "framework/Dispatch.h"
#include "settings/RegMng.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>

namespace {

const QString NotationsSection = QStringLiteral("Form\\Notations");
const QString OpenItem = QStringLiteral("NotationsOpen");
const QString LeftItem = QStringLiteral("NotationsLeft");
const QString TopItem = QStringLiteral("NotationsTop");
const QString WidthItem = QStringLiteral("NotationsWidth");
const QString HeightItem = QStringLiteral("NotationsHeight");


QString MenuText(const TNotationRow &row)
{
    QString text = row.Caption + QStringLiteral(": ") + row.Text;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TRgb8 ShownRgb(TColor color)
{
    const TColor c = ColorToRGB(color);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

void AddNotationsRegItems(TRegItems &items)
{
    items.Add(OpenItem, NotationsSection, QStringLiteral("Open"), QStringLiteral("0"));
    items.Add(LeftItem, NotationsSection, QStringLiteral("Left"), QStringLiteral("0"));
    items.Add(TopItem, NotationsSection, QStringLiteral("Top"), QStringLiteral("0"));
    items.Add(WidthItem, NotationsSection, QStringLiteral("Width"), QStringLiteral("0"));
    items.Add(HeightItem, NotationsSection, QStringLiteral("Height"), QStringLiteral("0"));
}

void TForm1::CreateNotationsCommands()
{
    CommandMenu->AddCommand({QStringLiteral("Notations"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
                             [this] { Command(&TForm1::NotationsClick); }, {},
                             [this] { return FNotations && FNotations->isVisible(); }});
    // Each entry shows its text, written when the menu opens.
    QMenu *copyAs = CommandMenu->AddSubmenu(QStringLiteral("Copy as"));
    copyAs->setObjectName(QStringLiteral("CopyAsMenu"));
    connect(copyAs, &QMenu::aboutToShow, this, [this, copyAs] {
        copyAs->clear();
        for (const TNotationRow &row : WriteNotations(ShownRgb(fMyColor))) {
            const QString text = row.Text;
            copyAs->addAction(MenuText(row), this, [this, text] { PutOnClipboard(text); });
        }
    });
    connect(this, &TForm1::ColorRendered, this, &TForm1::UpdateNotations);
}

void TForm1::NotationsClick()
{
    if (FNotations && FNotations->isVisible()) {
        FNotations->hide();
        return;
    }
    ShowNotations();
    // Opened by the user: the keys and the screen reader follow it there.
    FNotations->activateWindow();
}

void TForm1::ShowNotations()
{
    if (!FNotations) {
        TNotationsActions actions;
        actions.Copy = [this](const QString &text) { PutOnClipboard(text); };
        actions.SetComparison = [this] { Command(&TForm1::SetComparisonClick); };
        actions.ExportPalette = [this] { Command(&TForm1::ExportPaletteClick); };
        actions.ImportPalette = [this] { Command(&TForm1::ImportPaletteClick); };
        actions.ClearHistory = [this] { Command(&TForm1::ClearHistoryClick); };
        actions.Choose = [this](const TRgb8 &c) { RunCommand(*FEnv.Messages, [this, c] { SetColor(RGB(c.R, c.G, c.B)); }); };
        FNotations = new TNotationsWindow(this, std::move(actions));
        FNotations->ShowColour(ShownRgb(fMyColor), {}, FComparison);
        FNotations->ShowHistory(FHistory);
        if (FNotationsStoredRect.isValid() && ShownOnSomeScreen(FNotationsStoredRect)) {
            FNotations->setGeometry(FNotationsStoredRect);
        } else {
            // Beside the main window, where it covers none of it, when the screen has room there.
            FNotations->adjustSize();
            const QPoint beside = frameGeometry().topRight() + QPoint(8, 0);
            const QScreen *screen = this->screen();
            if (screen && screen->availableGeometry().contains(QRect(beside, FNotations->frameSize())))
                FNotations->move(beside);
        }
    }
    FNotations->ShowColour(ShownRgb(fMyColor), FNotations->Note()->text(), FComparison);
    FNotations->show();
    FNotations->raise();
}

void TForm1::UpdateNotations()
{
    // Only a new colour enters the history: the switches and "repre" render the same one again.
    const TRgb8 shown = ShownRgb(fMyColor);
    if (shown != FLastShown) {
        FHistory.Add(FLastShown);
        FHistory.Add(shown);
        FLastShown = shown;
        FHistoryKept = true;
        if (FNotations)
            FNotations->ShowHistory(FHistory);
    }
    const QString note = std::exchange(FPendingNote, {});
    if (!note.isEmpty() && !FNotations)
        ShowNotations();
    else if (!note.isEmpty())
        FNotations->show();
    // A hidden window is written when it shows again: its rows' changes would reach a screen
    // reader all the same, a flood of them on every colour.
    if (FNotations && FNotations->isVisible())
        FNotations->ShowColour(ShownRgb(fMyColor), note, FComparison);
}

void TForm1::LoadNotationsSettings()
{
    FNotationsStoredOpen = RegManager1->Filer(OpenItem)->ReadBool();
    FNotationsStoredRect = QRect(RegManager1->Filer(LeftItem)->ReadInteger(), RegManager1->Filer(TopItem)->ReadInteger(),
                                 RegManager1->Filer(WidthItem)->ReadInteger(), RegManager1->Filer(HeightItem)->ReadInteger());
    if (!FNotationsStoredRect.isValid() || FNotationsStoredRect.width() > 10000 || FNotationsStoredRect.height() > 10000)
        FNotationsStoredRect = {};
    // Opened again once the main window is up, so that the start itself stays as light as before.
    if (FNotationsStoredOpen)
        QTimer::singleShot(0, this, [this] {
            if (!FNotations)
                ShowNotations();
        });
}

void TForm1::StoreNotationsSettings()
{
    // Nothing is added to a file whose user never opened the window, so it keeps its bytes.
    if (!FNotations && !FNotationsStoredOpen && !FNotationsStoredRect.isValid())
        return;
    const bool open = FNotations && FNotations->isVisible();
    const QRect rect = FNotations ? FNotations->geometry() : FNotationsStoredRect;
    RegManager1->Filer(OpenItem)->WriteBool(open);
    RegManager1->Filer(LeftItem)->WriteInteger(rect.x());
    RegManager1->Filer(TopItem)->WriteInteger(rect.y());
    RegManager1->Filer(WidthItem)->WriteInteger(rect.width());
    RegManager1->Filer(HeightItem)->WriteInteger(rect.height());
}
