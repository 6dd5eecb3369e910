#include "desktop/GlobalKey.h"

#include "desktop/PortalKey.h"
#include "desktop/ScreenPick.h"
#include "desktop/X11KeyGrab.h"

#include <QGuiApplication>
#include <QKeySequence>

#include <xcb/xproto.h>

namespace {

struct TNamedKey {
    Qt::Key Key;
    std::uint32_t Keysym;
    const char *Name; // the keysym's name, as the portal's triggers write it
};

// Keys beside letters, digits and F-keys that a desktop-wide key may use.
constexpr TNamedKey NamedKeys[] = {
    {Qt::Key_Space, 0x0020, "space"},     {Qt::Key_Print, 0xff61, "Print"},       {Qt::Key_Pause, 0xff13, "Pause"},
    {Qt::Key_Insert, 0xff63, "Insert"},   {Qt::Key_Delete, 0xffff, "Delete"},     {Qt::Key_Home, 0xff50, "Home"},
    {Qt::Key_End, 0xff57, "End"},         {Qt::Key_PageUp, 0xff55, "Prior"},      {Qt::Key_PageDown, 0xff56, "Next"},
    {Qt::Key_Left, 0xff51, "Left"},       {Qt::Key_Up, 0xff52, "Up"},             {Qt::Key_Right, 0xff53, "Right"},
    {Qt::Key_Down, 0xff54, "Down"},       {Qt::Key_Return, 0xff0d, "Return"},     {Qt::Key_Tab, 0xff09, "Tab"},
    {Qt::Key_Backspace, 0xff08, "BackSpace"}, {Qt::Key_Comma, 0x002c, "comma"},   {Qt::Key_Period, 0x002e, "period"},
    {Qt::Key_Slash, 0x002f, "slash"},     {Qt::Key_Semicolon, 0x003b, "semicolon"}, {Qt::Key_Minus, 0x002d, "minus"},
    {Qt::Key_Equal, 0x003d, "equal"},     {Qt::Key_BracketLeft, 0x005b, "bracketleft"},
    {Qt::Key_BracketRight, 0x005d, "bracketright"}, {Qt::Key_Backslash, 0x005c, "backslash"},
    {Qt::Key_Apostrophe, 0x0027, "apostrophe"}, {Qt::Key_QuoteLeft, 0x0060, "grave"},
};

// The key's keysym and name; empty for a key not offered.
std::optional<std::pair<std::uint32_t, QString>> KeySymbol(Qt::Key key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const char c = static_cast<char>('a' + (key - Qt::Key_A));
        return std::pair{static_cast<std::uint32_t>(c), QString(QLatin1Char(c))};
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return std::pair{static_cast<std::uint32_t>(key), QString(QLatin1Char(static_cast<char>(key)))};
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return std::pair{static_cast<std::uint32_t>(0xffbe + (key - Qt::Key_F1)), QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1)};
    for (const TNamedKey &k : NamedKeys)
        if (k.Key == key)
            return std::pair{k.Keysym, QString::fromLatin1(k.Name)};
    return std::nullopt;
}

// Without Ctrl, Alt or Super a key would be taken from every program that types it.
bool HasCommandModifier(Qt::KeyboardModifiers m)
{
    return m & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

std::optional<TX11Chord> X11ChordFor(QKeyCombination key)
{
    const auto symbol = KeySymbol(key.key());
    const Qt::KeyboardModifiers m = key.keyboardModifiers();
    if (!symbol || !HasCommandModifier(m))
        return std::nullopt;
    TX11Chord chord;
    chord.Keysym = symbol->first;
    if (m & Qt::ShiftModifier)
        chord.Modifiers |= XCB_MOD_MASK_SHIFT;
    if (m & Qt::ControlModifier)
        chord.Modifiers |= XCB_MOD_MASK_CONTROL;
    if (m & Qt::AltModifier)
        chord.Modifiers |= XCB_MOD_MASK_1;
    if (m & Qt::MetaModifier)
        chord.Modifiers |= XCB_MOD_MASK_4;
    return chord;
}

QString PortalTriggerFor(QKeyCombination key)
{
    const auto symbol = KeySymbol(key.key());
    const Qt::KeyboardModifiers m = key.keyboardModifiers();
    if (!symbol || !HasCommandModifier(m))
        return {};
    QStringList parts;
    if (m & Qt::ControlModifier)
        parts << QStringLiteral("CTRL");
    if (m & Qt::AltModifier)
        parts << QStringLiteral("ALT");
    if (m & Qt::ShiftModifier)
        parts << QStringLiteral("SHIFT");
    if (m & Qt::MetaModifier)
        parts << QStringLiteral("LOGO");
    parts << symbol->second;
    return parts.join(QLatin1Char('+'));
}

QList<QKeyCombination> DefaultKeyCandidates()
{
    return {DefaultGlobalKey, QKeyCombination(Qt::META | Qt::CTRL, Qt::Key_C), QKeyCombination(Qt::META | Qt::ALT, Qt::Key_C),
            QKeyCombination(Qt::META | Qt::CTRL | Qt::SHIFT, Qt::Key_C), QKeyCombination(Qt::CTRL | Qt::ALT | Qt::SHIFT, Qt::Key_C)};
}

QString KeyText(QKeyCombination key)
{
    QString text = QKeySequence(key).toString(QKeySequence::PortableText);
    text.replace(QStringLiteral("Meta+"), QStringLiteral("Super+"));
    return text;
}

QString KeyTakenText(QKeyCombination key)
{
    return QStringLiteral("The desktop-wide key %1 is taken by another program; choose another one in "
                          "\"Desktop-wide key\".").arg(KeyText(key));
}

QString KeyUnusableText(QKeyCombination key)
{
    return QStringLiteral("%1 cannot be a desktop-wide key; choose one with Ctrl, Alt or Super.").arg(KeyText(key));
}

QString NoGlobalKeyText()
{
    return QStringLiteral("This desktop offers no desktop-wide keys to programs; set one in the desktop's own "
                          "keyboard settings that runs \"pigmora --pick --open\".");
}

QString PortalRefusedKeyText()
{
    return QStringLiteral("The desktop refused the desktop-wide key.");
}

QString PortalGoneText()
{
    return QStringLiteral("The desktop's portal went away: the desktop-wide key no longer works.");
}

TGlobalKey::TGlobalKey(TEnv env, QObject *parent) : QObject(parent), FEnv(std::move(env)) {}

TGlobalKey::~TGlobalKey() = default;

void TGlobalKey::Bind(QKeyCombination key, bool isDefault)
{
    Unbind();
    FKey = key;
    FDefault = isDefault;
    if (!X11ChordFor(key)) {
        Fail(KeyUnusableText(key));
        return;
    }
    FPortalKey = new TPortalKey(FEnv.Bus ? FEnv.Bus() : QDBusConnection::sessionBus(), PortalTriggerFor(key), this);
    connect(FPortalKey, &TPortalKey::Bound, this, [this](const QString &text) {
        FPortal = true;
        SetBound(text.isEmpty() ? KeyText(FKey) : text);
    });
    connect(FPortalKey, &TPortalKey::Activated, this, &TGlobalKey::Activated);
    connect(FPortalKey, &TPortalKey::NoPortal, this, [this] {
        Unbind();
        BindOnX11();
    });
    connect(FPortalKey, &TPortalKey::Refused, this, [this] { Fail(PortalRefusedKeyText()); });
    connect(FPortalKey, &TPortalKey::Gone, this, [this] { Fail(PortalGoneText()); });
    FPortalKey->Start();
}

void TGlobalKey::BindOnX11()
{
    // Under a Wayland session an X11 client's grab would see only the keys typed into X11 windows.
    const bool x11 = FEnv.X11.value_or(QGuiApplication::platformName() == QLatin1String("xcb")
                                       && SessionPickPath() == TPickPath::ScreenGrab);
    if (!x11) {
        Fail(NoGlobalKeyText());
        return;
    }
    if (!FGrab) {
        FGrab = new TX11KeyGrab(this);
        connect(FGrab, &TX11KeyGrab::Pressed, this, &TGlobalKey::Activated);
    }
    const QList<QKeyCombination> keys = FDefault ? DefaultKeyCandidates() : QList<QKeyCombination>{FKey};
    for (const QKeyCombination key : keys) {
        switch (FGrab->Grab(*X11ChordFor(key))) {
        case TX11KeyGrab::TResult::Grabbed: SetBound(KeyText(key)); return;
        case TX11KeyGrab::TResult::Unusable: Fail(KeyUnusableText(key)); return;
        case TX11KeyGrab::TResult::Taken: break;
        }
    }
    Fail(KeyTakenText(FKey));
}

void TGlobalKey::Unbind()
{
    // Let go from the event loop: this may run inside one of the portal key's own signals.
    if (FPortalKey) {
        FPortalKey->disconnect(this);
        FPortalKey->deleteLater();
    }
    FPortalKey = nullptr;
    if (FGrab)
        FGrab->Release();
    FPortal = false;
    FBoundText.clear();
}

void TGlobalKey::SetBound(const QString &text)
{
    FBoundText = text;
    emit Bound(text);
}

void TGlobalKey::Fail(const QString &message)
{
    Unbind();
    emit Failed(message);
}
