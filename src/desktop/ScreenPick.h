#pragma once

#include "desktop/DisplayProfile.h"
#include "desktop/PickOverlay.h"
#include "desktop/PortalPick.h"
#include "desktop/ScreenshotPick.h"
#include "colour/ExactColour.h"
#include "framework/Colors.h"
#include "framework/MessageBoxes.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QWidget;

// How a colour is taken from the screen: by reading the screen under a pointer grab, or by
// asking the desktop portal (a Wayland session lets no program read the screen itself), which
// picks itself or, where it cannot, hands over a screenshot to pick from.
enum class TPickPath { ScreenGrab, Portal };

// The way for this session. platform is the Qt platform plug-in's name; sessionType and
// waylandDisplay are the session's XDG_SESSION_TYPE and WAYLAND_DISPLAY. An X11 client under a
// Wayland session sees only the other X11 clients on its root window, so it asks the portal too.
TPickPath ChoosePickPath(const QString &platform, const QString &sessionType, const QString &waylandDisplay);
// ChoosePickPath for the running program.
TPickPath SessionPickPath();

// The text of the one box shown when the desktop has no portal that picks colours.
QString NoColorPickingText();
// The text of the box shown when the desktop took the request and then could not pick (its
// portal failed the request); a pick the user cancelled shows nothing.
QString PickFailedText();

struct TScreenPickEnv {
    TMessageSink *Messages = nullptr;
    // Empty: SessionPickPath(), decided at the first pick.
    std::optional<TPickPath> Path;
    // The bus the portal is asked on; empty for the session bus, connected at the first pick.
    std::function<QDBusConnection()> Bus;
    // What the magnifier reads and how it moves the pointer; empty members for the screen itself.
    TScreenAccess Screen;
    // Whether colours are taken as the monitor shows them (through its display profile); empty
    // for never. Asked at the start of each pick.
    std::function<bool()> AsShown;
    // Where the monitors' profiles come from; empty for the X server's root window properties.
    TDisplayProfiles::TSource Profiles;
    // The folders whose screenshot files are deleted once read; empty for TemporaryFolders().
    std::function<QStringList()> TemporaryFolders;
    // The side of the square a pick averages (one of PickSizes), asked at the start of each pick;
    // empty for one pixel. AverageSizeChanged hears each change the user makes during a pick.
    std::function<int()> AverageSize;
    std::function<void(int)> AverageSizeChanged;
};

// The eyedropper both windows share. Pick() returns at once; `taken` runs later with the colour
// the user took, and never when the pick was cancelled or failed.
class TScreenPicker : public QObject {
    Q_OBJECT
public:
    explicit TScreenPicker(TScreenPickEnv env, QObject *parent = nullptr);
    ~TScreenPicker() override;

    using TTaken = std::function<void(TColor)>;
    using TTakenExact = std::function<void(const TExactColour &)>;
    // window: the window that asked (the overlay's parent, the portal dialog's parent).
    // A pick already running is abandoned first.
    void Pick(QWidget *window, TTaken taken);
    // The same, with the colour as it was taken: exact from a wide-gamut monitor's profile,
    // else 8-bit sRGB.
    void PickExact(QWidget *window, TTakenExact taken);
    // The open magnifier of the screen-grab path, or nullptr.
    TPickOverlay *Overlay() const { return FOverlay; }
    // The open screenshot of the portal's fallback, or nullptr.
    TScreenshotPick *Screenshot() const { return FScreenshot; }
    bool Busy() const { return FOverlay || FRequest || FScreenshot; }

private:
    void Abandon();
    void PickOnScreen(QWidget *window, TTakenExact taken);
    void PickThroughPortal(QWidget *window, TTakenExact taken);
    // Where the portal picks no colour but takes screenshots: one interactive screenshot, and the
    // pick over it. sayNoPortal: whether a portal without screenshots either gets the box.
    void PickFromScreenshot(QWidget *window, const QDBusConnection &bus, const QString &parentWindow,
                            TTakenExact taken, bool sayNoPortal);
    void PickOnScreenshot(QWidget *window, const QString &uri, TTakenExact taken);
    int AverageSize() const;
    void SizeChanged(int side);

    TScreenPickEnv FEnv;
    QPointer<TPickOverlay> FOverlay;
    QPointer<TPortalColorRequest> FRequest;
    QPointer<TScreenshotPick> FScreenshot;
};
