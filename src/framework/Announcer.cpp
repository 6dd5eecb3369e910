#include "framework/Announcer.h"

#include "framework/Accessible.h"

namespace {

class TAnnouncerAccessible : public QAccessibleWidget {
public:
    explicit TAnnouncerAccessible(TAnnouncer *a) : QAccessibleWidget(a, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const TAnnouncer *>(object())->Said();
        return {};
    }
};

} // namespace

TAnnouncer::TAnnouncer(QWidget *window) : QWidget(window)
{
    InstallAccessible<TAnnouncer, TAnnouncerAccessible>();
    setObjectName(QStringLiteral("Announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
}

void TAnnouncer::Say(const QString &text)
{
    FText = text;
    if (!QAccessible::isActive() || !parentWidget() || !parentWidget()->isVisible())
        return;
    // A screen reader reads a notification when it is shown: hidden and shown again, the same
    // text is said again too.
    hide();
    show();
}
