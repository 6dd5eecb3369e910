#pragma once

#include <QDBusConnection>
#include <QKeyCombination>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class TX11KeyGrab;
class TPortalKey;

// The desktop-wide key's default: Super+Shift+C.
constexpr QKeyCombination DefaultGlobalKey(Qt::META | Qt::SHIFT, Qt::Key_C);

// A key as the X server grabs it: the keysym of its unshifted symbol and the modifier mask.
struct TX11Chord {
    std::uint32_t Keysym = 0;
    std::uint16_t Modifiers = 0;
    friend bool operator==(const TX11Chord &, const TX11Chord &) = default;
};
// Empty for a key that has no X11 keysym here, or that no desktop-wide key may be: one without a
// modifier, or a modifier alone.
std::optional<TX11Chord> X11ChordFor(QKeyCombination key);
// The key as the desktop portal's preferred trigger writes it ("LOGO+SHIFT+c"); empty as above.
QString PortalTriggerFor(QKeyCombination key);
// The keys tried in turn for the default when it is taken: the default, then its neighbours.
QList<QKeyCombination> DefaultKeyCandidates();
// A key as the user reads it ("Meta+Shift+C" is written "Super+Shift+C", as desktops name it).
QString KeyText(QKeyCombination key);

// One desktop-wide key that fires while the program's windows are hidden or minimised: through
// the desktop portal's global shortcuts where the desktop offers them, else (on X11) through a
// key grab on the root window. Failures are said once each through Failed; the key is then off.
class TGlobalKey : public QObject {
    Q_OBJECT
public:
    struct TEnv {
        // The bus the portal is asked on; empty for the session bus.
        std::function<QDBusConnection()> Bus;
        // Whether a key grab on the X server sees every key (X11, not XWayland under a Wayland
        // session); empty: asked of Qt and the session.
        std::optional<bool> X11;
    };
    explicit TGlobalKey(TEnv env, QObject *parent = nullptr);
    ~TGlobalKey() override;

    // Binds the key (the portal may let the user choose another); `isDefault`: when the key is
    // the default and taken, the nearest free neighbour is bound instead. A key bound before is
    // let go first.
    void Bind(QKeyCombination key, bool isDefault);
    void Unbind();
    // What the desktop says the bound key is, once bound; empty before and when off.
    QString BoundText() const { return FBoundText; }
    bool ThroughPortal() const { return FPortal; }

signals:
    void Activated();
    // The key is bound; text: the key as the desktop names it.
    void Bound(const QString &text);
    // The key could not be had, or was lost; message: what to tell the user.
    void Failed(const QString &message);

private:
    void BindOnX11();
    void SetBound(const QString &text);
    void Fail(const QString &message);

    TEnv FEnv;
    QKeyCombination FKey;
    bool FDefault = false;
    bool FPortal = false;
    QString FBoundText;
    TPortalKey *FPortalKey = nullptr;
    TX11KeyGrab *FGrab = nullptr;
};

// The messages: the key taken by another program, no way to have a desktop-wide key here, the
// portal's refusal, the portal gone.
QString KeyTakenText(QKeyCombination key);
QString KeyUnusableText(QKeyCombination key);
QString NoGlobalKeyText();
QString PortalRefusedKeyText();
QString PortalGoneText();
