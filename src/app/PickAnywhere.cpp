#include "app/PickAnywhere.h"

#include "app/ColourState.h"
#include "app/ConvertNotations.h"
#include "app/TrayIcon.h"
#include "app/Unit1.h"
#include "desktop/CommandLine.h"
#include "desktop/Notification.h"
#include "framework/Dispatch.h"
#include "settings/RegMng.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>

namespace {

const QString Section = QStringLiteral("Form\\DesktopKey");
const QString KeyOnItem = QStringLiteral("DesktopKeyOn");
const QString KeyItem = QStringLiteral("DesktopKey");
const QString NotationItem = QStringLiteral("DesktopKeyNotation");
const QString TrayItem = QStringLiteral("TrayIcon");

QString StoredKeyText(QKeyCombination key) { return QKeySequence(key).toString(QKeySequence::PortableText); }

} // namespace

void AddAnywhereRegItems(TRegItems &items)
{
    const TAnywhereSettings defaults;
    items.Add(KeyOnItem, Section, QStringLiteral("On"), QStringLiteral("0"));
    items.Add(KeyItem, Section, QStringLiteral("Key"), StoredKeyText(defaults.Key));
    items.Add(NotationItem, Section, QStringLiteral("Notation"), defaults.Notation);
    items.Add(TrayItem, Section, QStringLiteral("Tray"), QStringLiteral("0"));
}

TAnywhereSettings ReadAnywhereSettings(TRegManager &store)
{
    TAnywhereSettings s;
    s.KeyOn = store.Filer(KeyOnItem)->ReadBool();
    s.Tray = store.Filer(TrayItem)->ReadBool();
    // A key or a notation that does not read keeps the default, and is written back only if changed.
    const QKeySequence key = QKeySequence::fromString(store.Filer(KeyItem)->ReadString(), QKeySequence::PortableText);
    if (key.count() == 1 && key[0].key() != Qt::Key_unknown)
        s.Key = key[0];
    const QString notation = store.Filer(NotationItem)->ReadString().trimmed().toLower();
    if (NotationNames().contains(notation))
        s.Notation = notation;
    return s;
}

bool AnywhereOn(TRegManager &store)
{
    return store.Filer(KeyOnItem)->ReadBool() || store.Filer(TrayItem)->ReadBool();
}

void StoreAnywhereSettings(TRegManager &store, const TAnywhereSettings &now, const TAnywhereSettings &read)
{
    if (now.KeyOn != read.KeyOn)
        store.Filer(KeyOnItem)->WriteBool(now.KeyOn);
    if (now.Key != read.Key)
        store.Filer(KeyItem)->WriteString(StoredKeyText(now.Key));
    if (now.Notation != read.Notation)
        store.Filer(NotationItem)->WriteString(now.Notation);
    if (now.Tray != read.Tray)
        store.Filer(TrayItem)->WriteBool(now.Tray);
}

QString PickedSummary()
{
    return QStringLiteral("Colour picked and copied");
}

TPickAnywhere::TPickAnywhere(TForm1 &form, TEnv env) : QObject(&form), FForm(form), FEnv(std::move(env))
{
    if (!FEnv.Key.Bus)
        FEnv.Key.Bus = FEnv.Bus;
}

TPickAnywhere::~TPickAnywhere() = default;

QDBusConnection TPickAnywhere::Bus() const
{
    return FEnv.Bus ? FEnv.Bus() : QDBusConnection::sessionBus();
}

void TPickAnywhere::Apply(const TAnywhereSettings &settings, bool background)
{
    FSettings = settings;
    FBackground = FBackground || background;
    const bool keyOn = settings.KeyOn || FBackground;
    if (keyOn && (!FKeyWanted || FBoundKey != settings.Key)) {
        if (!FKey) {
            FKey = new TGlobalKey(FEnv.Key, this);
            connect(FKey, &TGlobalKey::Activated, this, &TPickAnywhere::Pick);
            connect(FKey, &TGlobalKey::Bound, this, [this](const QString &text) {
                FKeyState = QStringLiteral("Bound to %1").arg(text);
                WriteText(stderr, QStringLiteral("pigmora: the desktop-wide key is %1\n").arg(text));
                emit KeyStateChanged(FKeyState);
            });
            connect(FKey, &TGlobalKey::Failed, this, [this](const QString &text) {
                FKeyState = text;
                emit KeyStateChanged(FKeyState);
                SayOnce(text);
            });
        }
        FBoundKey = settings.Key;
        FKeyState = QStringLiteral("Binding…");
        FKey->Bind(settings.Key, settings.Key == DefaultGlobalKey);
    } else if (!keyOn && FKey) {
        FKey->Unbind();
        FKeyState.clear();
        emit KeyStateChanged(FKeyState);
    }
    FKeyWanted = keyOn;

    const bool trayOn = settings.Tray || FBackground;
    if (trayOn && !FTray) {
        FTray = new TPigmoraTray(FForm, this);
        connect(FTray, &TPigmoraTray::PickRequested, this, &TPickAnywhere::Pick);
        connect(FTray, &TPigmoraTray::QuitRequested, this, &TPickAnywhere::Quit);
    }
    FTrayShown = false;
    if (FTray) {
        if (trayOn && !FTray->Show())
            SayOnce(NoTrayText());
        else if (!trayOn)
            FTray->Hide();
        FTrayShown = trayOn && FTray->Shown();
        FTray->SetNotation(settings.Notation);
    }
    // Out of sight the program ends by the tray's "Quit" or the session's end, not its last window.
    QGuiApplication::setQuitOnLastWindowClosed(!OutOfSight());
}

void TPickAnywhere::Pick()
{
    // One pick at a time: a key pressed again while the magnifier (or the portal's picker) is open
    // goes to it, not into a second pick.
    TScreenPicker &picker = FForm.ScreenPicker();
    if (picker.Busy())
        return;
    // A hidden or never-shown window is no parent for the portal's dialog.
    QWidget *window = FForm.isVisible() && !FForm.isMinimized() ? &FForm : nullptr;
    picker.Pick(window, [this](TColor colour) { Taken(colour); });
}

void TPickAnywhere::Taken(TColor colour)
{
    TMessageSink &messages = *FEnv.Messages;
    RunCommand(messages, [&] { FForm.SetColor(colour); });
    const TConversion text = ConvertColour(FForm.Colour().Exact(), {FSettings.Notation}, FForm.fSrgb);
    const QString copied = text.Lines.value(0);
    QGuiApplication::clipboard()->setText(copied);
    NotifyColour(Bus(), PickedSummary(), copied, colour);
}

void TPickAnywhere::Quit()
{
    FForm.close();
    QCoreApplication::exit(0);
}

void TPickAnywhere::SayOnce(const QString &text)
{
    if (FSaid.contains(text))
        return;
    FSaid.insert(text);
    WriteText(stderr, QStringLiteral("pigmora: %1\n").arg(text));
    if (FEnv.Messages)
        FEnv.Messages->ShowMessage(text);
}
