#include "app/TrayIcon.h"

#include "app/ColourState.h"
#include "app/ConvertNotations.h"
#include "app/NotationsWindow.h"
#include "app/Unit1.h"
#include "framework/Dispatch.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSystemTrayIcon>

QString NoTrayText()
{
    return QStringLiteral("This desktop shows no tray icons: Pigmora runs on without one (start it again to "
                          "show its window).");
}

TPigmoraTray::TPigmoraTray(TForm1 &form, QObject *parent) : QObject(parent), FForm(form)
{
    FMenu = new QMenu;
    FMenu->setObjectName(QStringLiteral("TrayMenu"));
    FMenu->addAction(QStringLiteral("Pick from screen"), this, &TPigmoraTray::PickRequested);
    FRecent = FMenu->addMenu(QStringLiteral("Recent colours"));
    FRecent->setObjectName(QStringLiteral("RecentColours"));
    FMenu->addSeparator();
    FMenu->addAction(QStringLiteral("Open Pigmora"), this, &TPigmoraTray::ShowWindow);
    FMenu->addAction(QStringLiteral("Notations"), this, [this] {
        ShowWindow();
        if (!FForm.NotationsWindow() || !FForm.NotationsWindow()->isVisible())
            RunCommand(*FForm.Messages(), [this] { FForm.NotationsClick(); });
    });
    FMenu->addAction(QStringLiteral("Desktop-wide key…"), this, [this] { FForm.AnywhereSettingsClick(); });
    FMenu->addSeparator();
    FMenu->addAction(QStringLiteral("Quit"), this, &TPigmoraTray::QuitRequested);
    FillRecent();
    connect(&FForm.Colour(), &TColourState::HistoryChanged, this, &TPigmoraTray::FillRecent);
}

TPigmoraTray::~TPigmoraTray()
{
    delete FIcon;
    delete FMenu;
}

bool TPigmoraTray::Show()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!FIcon) {
        FIcon = new QSystemTrayIcon(QApplication::windowIcon(), this);
        FIcon->setToolTip(QStringLiteral("Pigmora"));
        FIcon->setContextMenu(FMenu);
        connect(FIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                ShowWindow();
            else if (reason == QSystemTrayIcon::MiddleClick)
                emit PickRequested();
        });
    }
    FIcon->show();
    return true;
}

void TPigmoraTray::Hide()
{
    if (FIcon)
        FIcon->hide();
}

bool TPigmoraTray::Shown() const
{
    return FIcon && FIcon->isVisible();
}

void TPigmoraTray::SetNotation(const QString &name)
{
    if (name == FNotation)
        return;
    FNotation = name;
    FillRecent();
}

void TPigmoraTray::FillRecent()
{
    FRecent->clear();
    const auto &colours = FForm.Colour().History().Colours();
    const int n = std::min<int>(RecentCount, static_cast<int>(colours.size()));
    for (int i = 0; i < n; ++i) {
        const QString text = ConvertColour(colours[i], {FNotation}, FForm.fSrgb).Lines.value(0);
        QString caption = text;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        FRecent->addAction(caption, this, [text] { QGuiApplication::clipboard()->setText(text); });
    }
    FRecent->setEnabled(n > 0);
}

void TPigmoraTray::ShowWindow()
{
    if (FForm.isMinimized())
        FForm.showNormal();
    FForm.show();
    FForm.raise();
    FForm.activateWindow();
}
