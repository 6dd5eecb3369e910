#include "desktop/ScreenPick.h"

#include "desktop/PortalPick.h"
#include "desktop/ScreenshotPick.h"

#include <QGuiApplication>
#include <QWidget>

TPickPath ChoosePickPath(const QString &platform, const QString &sessionType, const QString &waylandDisplay)
{
    if (platform.startsWith(QLatin1String("wayland")))
        return TPickPath::Portal;
    if (platform == QLatin1String("xcb")
        && (sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 || !waylandDisplay.isEmpty()))
        return TPickPath::Portal;
    return TPickPath::ScreenGrab;
}

TPickPath SessionPickPath()
{
    return ChoosePickPath(QGuiApplication::platformName(), qEnvironmentVariable("XDG_SESSION_TYPE"),
                          qEnvironmentVariable("WAYLAND_DISPLAY"));
}

QString NoColorPickingText()
{
    return QStringLiteral("This desktop offers no way to pick a colour from the screen.");
}

QString PickFailedText()
{
    return QStringLiteral("The desktop could not pick a colour from the screen.");
}

TScreenPicker::TScreenPicker(TScreenPickEnv env, QObject *parent) : QObject(parent), FEnv(std::move(env)) {}

TScreenPicker::~TScreenPicker()
{
    Abandon();
}

void TScreenPicker::Abandon()
{
    // Deleting the overlay releases its grabs; an abandoned portal request answers nobody.
    delete FOverlay.data();
    delete FRequest.data();
    delete FScreenshot.data();
}

void TScreenPicker::Pick(QWidget *window, TTaken taken)
{
    PickExact(window, [taken](const TExactColour &c) {
        const TRgb8 rgb = c.Rgb8();
        if (taken)
            taken(static_cast<TColor>(rgb.R | (rgb.G << 8) | (rgb.B << 16)));
    });
}

int TScreenPicker::AverageSize() const
{
    return FEnv.AverageSize ? FEnv.AverageSize() : 1;
}

void TScreenPicker::SizeChanged(int side)
{
    if (FEnv.AverageSizeChanged)
        FEnv.AverageSizeChanged(side);
}

void TScreenPicker::PickExact(QWidget *window, TTakenExact taken)
{
    Abandon();
    if (!FEnv.Path)
        FEnv.Path = SessionPickPath();
    if (*FEnv.Path == TPickPath::Portal)
        PickThroughPortal(window, std::move(taken));
    else
        PickOnScreen(window, std::move(taken));
}

void TScreenPicker::PickOnScreen(QWidget *window, TTakenExact taken)
{
    auto *overlay = new TPickOverlay(FEnv.Screen, window);
    FOverlay = overlay;
    overlay->SetAverageSize(AverageSize());
    connect(overlay, &TPickOverlay::AverageSizeChanged, this, &TScreenPicker::SizeChanged);
    // Profiles are read afresh for each pick: a calibration tool may have set a new one since.
    if (FEnv.AsShown && FEnv.AsShown())
        overlay->ShowAsShown(std::make_shared<TDisplayProfiles>(FEnv.Profiles));
    // The overlay closes itself; from its answer on the picker is free again.
    connect(overlay, &TPickOverlay::Cancelled, this, [this] { FOverlay = nullptr; });
    connect(overlay, &TPickOverlay::Taken, this, [this, taken](TColor, const TExactColour &color) {
        FOverlay = nullptr;
        if (taken)
            taken(color);
    });
    overlay->Begin();
}

void TScreenPicker::PickThroughPortal(QWidget *window, TTakenExact taken)
{
    const QDBusConnection bus = FEnv.Bus ? FEnv.Bus() : QDBusConnection::sessionBus();
    QString parentWindow;
    if (window && QGuiApplication::platformName() == QLatin1String("xcb"))
        parentWindow = QStringLiteral("x11:%1").arg(window->window()->winId(), 0, 16);
    auto *request = new TPortalColorRequest(bus, parentWindow, this);
    FRequest = request;
    connect(request, &TPortalColorRequest::Finished, this,
            [this, request, taken, window, bus, parentWindow](TPortalColorRequest::TOutcome outcome, TColor color) {
                request->deleteLater();
                FRequest = nullptr;
                if (outcome == TPortalColorRequest::TOutcome::Picked && taken)
                    taken(TExactColour::FromRgb8({static_cast<int>(GetRValue(color)), static_cast<int>(GetGValue(color)),
                                                  static_cast<int>(GetBValue(color))}));
                else if (outcome == TPortalColorRequest::TOutcome::NoPortal || outcome == TPortalColorRequest::TOutcome::Failed)
                    PickFromScreenshot(window, bus, parentWindow, taken, outcome == TPortalColorRequest::TOutcome::NoPortal);
            });
    request->Start();
}

void TScreenPicker::PickFromScreenshot(QWidget *window, const QDBusConnection &bus, const QString &parentWindow,
                                       TTakenExact taken, bool sayNoPortal)
{
    auto *request = new TPortalColorRequest(bus, parentWindow, this, QStringLiteral("Screenshot"),
                                            {{QStringLiteral("interactive"), true}});
    FRequest = request;
    connect(request, &TPortalColorRequest::Finished, this,
            [this, request, taken, window, sayNoPortal](TPortalColorRequest::TOutcome outcome, TColor) {
                request->deleteLater();
                FRequest = nullptr;
                if (outcome == TPortalColorRequest::TOutcome::Picked)
                    PickOnScreenshot(window, request->Results().value(QStringLiteral("uri")).toString(), taken);
                // Without a screenshot either: no way to pick at all, or a pick that failed.
                else if (outcome == TPortalColorRequest::TOutcome::NoPortal && FEnv.Messages)
                    FEnv.Messages->ShowMessage(sayNoPortal ? NoColorPickingText() : PickFailedText());
                else if (outcome == TPortalColorRequest::TOutcome::Failed && FEnv.Messages)
                    FEnv.Messages->ShowMessage(PickFailedText());
            });
    request->Start();
}

void TScreenPicker::PickOnScreenshot(QWidget *window, const QString &uri, TTakenExact taken)
{
    QImage shot = TakeScreenshotFile(uri, FEnv.TemporaryFolders ? FEnv.TemporaryFolders() : ::TemporaryFolders());
    if (shot.isNull()) {
        if (FEnv.Messages)
            FEnv.Messages->ShowMessage(ScreenshotUnreadableText());
        return;
    }
    auto *pick = new TScreenshotPick(std::move(shot), window);
    FScreenshot = pick;
    pick->SetAverageSize(AverageSize());
    connect(pick, &TScreenshotPick::AverageSizeChanged, this, &TScreenPicker::SizeChanged);
    connect(pick, &TScreenshotPick::Cancelled, this, [this, pick] {
        pick->deleteLater();
        FScreenshot = nullptr;
    });
    connect(pick, &TScreenshotPick::Taken, this, [this, pick, taken](TColor, const TExactColour &color) {
        pick->deleteLater();
        FScreenshot = nullptr;
        if (taken)
            taken(color);
    });
    pick->Begin();
}
