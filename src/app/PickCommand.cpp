#include "app/PickCommand.h"

#include "app/ConvertNotations.h"
#include "desktop/ScreenPick.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include <cstdio>

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
        std::fprintf(stderr, "pigmora: %s\n", text.toLocal8Bit().constData());
    }
};

} // namespace

int RunPickCommand(const TCommandLine &cl)
{
    const QStringList to = cl.To.isEmpty() ? QStringList{QStringLiteral("html")} : cl.To;
    const TConversion check = ConvertColour(0, to, cl.Srgb);
    if (!check.UnknownName.isEmpty()) {
        std::fprintf(stderr, "pigmora: '%s' is no notation; the notations are: %s\n",
                     check.UnknownName.left(200).toLocal8Bit().constData(),
                     NotationNames().join(QStringLiteral(", ")).toLocal8Bit().constData());
        return ExitUsage;
    }
    TStderrSink messages;
    TScreenPickEnv env;
    env.Messages = &messages;
    const bool asShown = cl.AsShown;
    env.AsShown = [asShown] { return asShown; };
    TScreenPicker picker(env);
    std::optional<TColor> taken;
    picker.Pick(nullptr, [&](TColor c) { taken = c; });
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
    if (taken && cl.Open) {
        // The window starts as any start does: as the first, or handing the colour to the one running.
        return QProcess::startDetached(QApplication::applicationFilePath(), {ConvertColour(*taken, {QStringLiteral("html")}, false).Lines.first()})
                   ? 0
                   : ExitUnreadable;
    }
    if (taken) {
        const QStringList lines = ConvertColour(*taken, to, cl.Srgb).Lines;
        std::fprintf(stdout, "%s\n", lines.join(QLatin1Char('\n')).toLocal8Bit().constData());
        return 0;
    }
    return messages.NoWayToPick ? ExitNoPick : ExitUnreadable;
}
