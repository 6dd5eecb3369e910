// What a screen reader sees of a command button: a push button named by its caption (or the
// name its window gives it), its hint as the description, its latched state, and a Press action
// that runs the button's click.
#include "widgets/ShineSpdBtn.h"

#include "framework/Accessible.h"

#include <QPointer>

namespace {

class TShineButtonAccessible : public QAccessibleWidget {
public:
    explicit TShineButtonAccessible(TShineSpeedButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return AccessibleNameOr(Button(), CaptionText());
        case QAccessible::Description:
            return Button()->accessibleDescription().isEmpty() ? Button()->toolTip() : Button()->accessibleDescription();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (Button()->GroupIndex() != 0) {
            s.checkable = true;
            s.checked = Button()->Down();
        }
        s.pressed = Button()->State() <= sbDown;
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    // Run from the event loop, as a click is: a command that opens a modal box must not hold
    // the screen reader's call until the box is closed.
    void doAction(const QString &name) override
    {
        if (name != pressAction() || !Button()->isEnabled())
            return;
        QMetaObject::invokeMethod(
            Button(), [button = QPointer<TShineSpeedButton>(Button())] {
                if (button)
                    button->Click();
            },
            Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TShineSpeedButton *Button() const { return static_cast<TShineSpeedButton *>(widget()); }
    // The caption as shown: accelerator marks removed, "&&" read as "&".
    QString CaptionText() const
    {
        QString caption = Button()->Caption();
        QString shown;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
                ++i;
            shown += caption[i];
        }
        return shown;
    }
};

} // namespace

void InstallShineButtonAccessible()
{
    InstallAccessible<TShineSpeedButton, TShineButtonAccessible>();
}
