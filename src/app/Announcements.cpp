#include "app/Announcements.h"

#include "app/ColorSwatch.h"
#include "framework/Announcer.h"

#include <QApplication>
#include <QClipboard>

namespace {

// Enough of a copied text to recognise it by; a long one is not read out whole.
constexpr int SaidCopyLength = 120;

} // namespace

void AnnounceChanges(QWidget *window, TColorSwatch *swatch)
{
    auto *announcer = new TAnnouncer(window);
    QObject::connect(swatch, &TColorSwatch::Changed, announcer,
                     [announcer](const QString &text) { announcer->Say(QStringLiteral("Colour %1").arg(text)); });
    QClipboard *clipboard = QApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::dataChanged, announcer, [announcer, clipboard] {
        // Only what this program copied: a change by another program is not this window's news.
        // (The offscreen platform's clipboard is the process's own and tells no owner.)
        if (!clipboard->ownsClipboard() && QGuiApplication::platformName() != QLatin1String("offscreen"))
            return;
        const QString text = clipboard->text().simplified();
        if (!text.isEmpty())
            announcer->Say(QStringLiteral("Copied %1").arg(text.left(SaidCopyLength)));
    });
}
