// The Notations window as the main window runs it: its command, the "Copy as" submenu, following
// every rendering, and its place and open state in the settings file.
#include "app/Unit1.h"

#include "app/ColourState.h"
#include "app/CommandMenu.h"
#include "app/NotationsWindow.h"
#include "framework/Dispatch.h"
#include "settings/RegMng.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QTimer>

#include <algorithm>

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
        for (const TNotationRow &row : WriteNotations(FColour->Exact())) {
            const QString text = row.Text;
            copyAs->addAction(MenuText(row), this, [this, text] { PutOnClipboard(text); });
        }
    });
    connect(FColour, &TColourState::ColourChanged, this, &TForm1::UpdateNotations);
    connect(FColour, &TColourState::ComparisonChanged, this, &TForm1::UpdateNotations);
    connect(FColour, &TColourState::HistoryChanged, this, [this] {
        if (FNotations)
            FNotations->ShowHistory(FColour->History());
    });
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
        actions.Choose = [this](const TExactColour &c) { RunCommand(*FEnv.Messages, [this, c] { FColour->Take(c); }); };
        actions.Adjust = [this](const TExactColour &c) { RunCommand(*FEnv.Messages, [this, c] { FColour->Adjust(c); }); };
        actions.Beep = [this] { Beep(); };
        FNotations = new TNotationsWindow(this, std::move(actions));
        FNotations->ShowHistory(FColour->History());
        if (FColour->NotationsStoredRect.isValid() && ShownOnSomeScreen(FColour->NotationsStoredRect)) {
            FNotations->setGeometry(FColour->NotationsStoredRect);
        } else {
            // Beside the main window, where it covers none of it, when the screen has room there
            // (raised as far as needed to fit the screen's height).
            FNotations->adjustSize();
            QPoint beside = frameGeometry().topRight() + QPoint(8, 0);
            const QScreen *screen = this->screen();
            if (screen) {
                const QRect room = screen->availableGeometry();
                beside.setY(std::max(room.top(), std::min(beside.y(), room.bottom() + 1 - FNotations->frameSize().height())));
            }
            if (screen && screen->availableGeometry().contains(QRect(beside, FNotations->frameSize())))
                FNotations->move(beside);
        }
    }
    FNotations->ShowColour(*FColour);
    FNotations->show();
    FNotations->raise();
}

void TForm1::UpdateNotations()
{
    // A hidden window is written when it shows again: its rows' changes would reach a screen
    // reader all the same, a flood of them on every colour.
    if (FNotations && FNotations->isVisible())
        FNotations->ShowColour(*FColour);
}

void TForm1::LoadNotationsSettings()
{
    bool &storedOpen = FColour->NotationsStoredOpen;
    QRect &storedRect = FColour->NotationsStoredRect;
    storedOpen = RegManager1->Filer(OpenItem)->ReadBool();
    storedRect = QRect(RegManager1->Filer(LeftItem)->ReadInteger(), RegManager1->Filer(TopItem)->ReadInteger(),
                       RegManager1->Filer(WidthItem)->ReadInteger(), RegManager1->Filer(HeightItem)->ReadInteger());
    if (!storedRect.isValid() || storedRect.width() > 10000 || storedRect.height() > 10000)
        storedRect = {};
    // Opened again once the main window is up, so that the start itself stays as light as before.
    if (storedOpen)
        QTimer::singleShot(0, this, [this] {
            if (!FNotations)
                ShowNotations();
        });
}

void TForm1::StoreNotationsSettings()
{
    // Nothing is added to a file whose user never opened the window, so it keeps its bytes.
    if (!FNotations && !FColour->NotationsStoredOpen && !FColour->NotationsStoredRect.isValid())
        return;
    const bool open = FNotations && FNotations->isVisible();
    const QRect rect = FNotations ? FNotations->geometry() : FColour->NotationsStoredRect;
    RegManager1->Filer(OpenItem)->WriteBool(open);
    RegManager1->Filer(LeftItem)->WriteInteger(rect.x());
    RegManager1->Filer(TopItem)->WriteInteger(rect.y());
    RegManager1->Filer(WidthItem)->WriteInteger(rect.width());
    RegManager1->Filer(HeightItem)->WriteInteger(rect.height());
}
