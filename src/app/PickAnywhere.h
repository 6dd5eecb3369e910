#pragma once

#include "desktop/GlobalKey.h"
#include "framework/Colors.h"
#include "framework/MessageBoxes.h"

#include <QDBusConnection>
#include <QKeyCombination>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class TForm1;
class TRegItems;
class TRegManager;
class TPigmoraTray;

// The desktop-wide key and the tray, as the settings file keeps them. Off, Super+Shift+C and
// HTML until the user changes them.
struct TAnywhereSettings {
    bool KeyOn = false;
    QKeyCombination Key = DefaultGlobalKey;
    QString Notation = QStringLiteral("html");
    bool Tray = false;
    friend bool operator==(const TAnywhereSettings &, const TAnywhereSettings &) = default;
};

void AddAnywhereRegItems(TRegItems &items);
TAnywhereSettings ReadAnywhereSettings(TRegManager &store);
// Whether the key or the tray is on: all the start reads while both are off.
bool AnywhereOn(TRegManager &store);
// Writes each value that differs from what the file held (`read`), so a file whose user never
// changed them keeps its bytes.
void StoreAnywhereSettings(TRegManager &store, const TAnywhereSettings &now, const TAnywhereSettings &read);

// Picking from anywhere: the desktop-wide key and the tray icon around the main window, made
// only once one of them is on. A pick from either makes the colour current, copies it in the
// chosen notation and shows it in a desktop notification.
class TPickAnywhere : public QObject {
    Q_OBJECT
public:
    struct TEnv {
        TMessageSink *Messages = nullptr;
        // The session bus; empty for QDBusConnection::sessionBus().
        std::function<QDBusConnection()> Bus;
        TGlobalKey::TEnv Key;
    };
    TPickAnywhere(TForm1 &form, TEnv env);
    ~TPickAnywhere() override;

    // Binds or lets go of the key and shows or hides the tray icon as the settings say; `background`
    // keeps the program running with no window (the key and the tray on whatever the settings).
    void Apply(const TAnywhereSettings &settings, bool background);
    // "Pick from screen" from outside the window: ignored while a pick runs.
    void Pick();
    // The tray's "Quit": the window's close (which stores the settings), then the end.
    void Quit();
    // Whether the program stays running with its window closed.
    bool OutOfSight() const { return FBackground || FTrayShown; }
    bool TrayShown() const { return FTrayShown; }
    TGlobalKey *Key() const { return FKey; }
    TPigmoraTray *Tray() const { return FTray; }
    // What the key's binding says: where it is bound, or why not; empty while it is off.
    QString KeyState() const { return FKeyState; }

signals:
    void KeyStateChanged(const QString &text);

private:
    void Taken(TColor colour);
    // Says a message once a run, in a box and on standard error.
    void SayOnce(const QString &text);
    QDBusConnection Bus() const;

    TForm1 &FForm;
    TEnv FEnv;
    TAnywhereSettings FSettings;
    bool FBackground = false;
    bool FTrayShown = false;
    QKeyCombination FBoundKey;
    bool FKeyWanted = false;
    QPointer<TGlobalKey> FKey;
    TPigmoraTray *FTray = nullptr;
    QString FKeyState;
    QSet<QString> FSaid;
};

// The notification's texts for a picked colour.
QString PickedSummary();
