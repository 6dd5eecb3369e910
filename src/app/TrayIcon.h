#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;
class TForm1;

// The tray icon of a program that runs out of sight (a StatusNotifierItem where the desktop has a
// tray host): its menu picks from the screen, lists the last colours (a click copies one),
// opens the windows and quits.
class TPigmoraTray : public QObject {
    Q_OBJECT
public:
    static constexpr int RecentCount = 10;

    TPigmoraTray(TForm1 &form, QObject *parent = nullptr);
    ~TPigmoraTray() override;

    // False (and nothing shown) where the desktop has no tray.
    bool Show();
    void Hide();
    bool Shown() const;
    // The notation the recent colours are shown and copied in.
    void SetNotation(const QString &name);
    QMenu *Menu() const { return FMenu; }

signals:
    void PickRequested();
    void QuitRequested();

private:
    void FillRecent();
    void ShowWindow();

    TForm1 &FForm;
    QSystemTrayIcon *FIcon = nullptr;
    QMenu *FMenu = nullptr;
    QMenu *FRecent = nullptr;
    QString FNotation = QStringLiteral("html");
};

// The message for a desktop without a tray.
QString NoTrayText();
