#include "app/PickCommand.h"

#include "app/ConvertNotations.h"
#include "colour/ColourHistory.h"
#include "desktop/DisplayProfile.h"
#include "desktop/ScreenPick.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The eyedropper's messages, on standard error instead of in boxes.
class TStderrSink : public TMessageSink {
public:
    void ShowMessage(const QString &text) override { Say(text); }
    void ShowError(const QString &text) override { Say(text); }
    void ShowStoreError(const QString &text) override { Say(text); }
    bool NoWayToPick = false;
    bool Said = false;

private:
    void Say(const QString &text)
    {
        Said = true;
        NoWayToPick = NoWayToPick || text == NoColorPickingText();
        WriteText(stderr, QStringLiteral("pigmora: %1\n").arg(text));
    }
};

} // namespace

int RunPickCommand(const TCommandLine &cl)
{
    const TConversion check = ConvertColour(0, cl.To, cl.Srgb);
    if (!check.UnknownName.isEmpty()) {
        WriteText(stderr, QStringLiteral("pigmora: '%1' is no notation; the notations are: %2\n")
                              .arg(ShownText(check.UnknownName.left(200)), NotationNames().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    TStderrSink messages;
    TScreenPickEnv env;
    env.Messages = &messages;
    const bool asShown = cl.AsShown;
    env.AsShown = [asShown] { return asShown; };
    // A profile that cannot be used is said once; the pick goes on with the device values.
    env.Profiles = [&messages](int screen, int monitor) {
        TDisplayProfile profile = X11DisplayProfile(screen, monitor);
        if (!profile.Why().isEmpty())
            messages.ShowMessage(QStringLiteral("the monitor's display profile cannot be used (%1); the colour is taken as "
                                                "sent to the monitor")
                                     .arg(profile.Why()));
        return profile;
    };
    int average = cl.Average;
    env.AverageSize = [&average] { return average; };
    env.AverageSizeChanged = [&average](int side) { average = side; };
    TScreenPicker picker(env);
    std::optional<TExactColour> taken;
    picker.PickExact(nullptr, [&](const TExactColour &c) { taken = c; });
    // The eyedropper says when it is done only through its answer; a cancelled or failed pick has
    // none, so its end is seen as the picker falling idle.
    QTimer idle;
    QObject::connect(&idle, &QTimer::timeout, [&] {
        if (!picker.Busy())
            QApplication::quit();
    });
    idle.start(50);
    if (picker.Busy())
        QApplication::exec();
    // Without --to the colour is #RRGGBB, whatever its name: a script reads one form always.
    const QString hex = taken ? HtmlText(taken->Rgb8()) : QString();
    if (taken && cl.Open) {
        // The window starts as any start does: as the first, or handing the colour to the one running.
        // A colour kept exactly (a wide-gamut monitor's) goes as its CSS text, which says all of it.
        const QString given = taken->FromBytes ? hex : ExactColourText(*taken);
        return QProcess::startDetached(QApplication::applicationFilePath(), {given}) ? 0 : ExitUnreadable;
    }
    if (taken) {
        const QString text = cl.To.isEmpty() ? hex : ConvertColour(*taken, cl.To, cl.Srgb).Lines.join(QLatin1Char('\n'));
        if (WriteText(stdout, text + QLatin1Char('\n')))
            return 0;
        WriteText(stderr, QStringLiteral("pigmora: the output could not be written: %1\n").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return ExitUnreadable;
    }
    return messages.NoWayToPick ? ExitNoPick : ExitUnreadable;
}
