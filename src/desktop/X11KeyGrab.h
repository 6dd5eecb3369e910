#pragma once

#include "desktop/GlobalKey.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <vector>

// A passive grab of one key on every X screen's root window: the server hands the key's presses
// to this program whichever window has the focus. Presses with Caps Lock or Num Lock on count too.
class TX11KeyGrab : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TX11KeyGrab(QObject *parent = nullptr);
    ~TX11KeyGrab() override;

    enum class TResult { Grabbed, Taken, Unusable };
    // Grabs the key, letting go of one grabbed before. Taken: another program holds it.
    // Unusable: no X server, or the keyboard has no key for the keysym.
    TResult Grab(const TX11Chord &chord);
    void Release();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void Pressed();

private:
    struct TGrabbed {
        std::uint32_t Root;
        std::uint8_t Keycode;
        std::uint16_t Modifiers;
    };
    std::vector<TGrabbed> FGrabs;
    std::uint8_t FKeycode = 0;
    std::uint16_t FModifiers = 0;
    std::uint16_t FIgnored = 0; // Caps Lock and Num Lock
    bool FFiltering = false;
};
