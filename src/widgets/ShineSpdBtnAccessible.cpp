// What a screen reader sees of a command button: a push button named by its caption (or the
// name its window gives it), its hint as the description, its latched state, and a Press action
// that runs the button's click.
#include "widgets/ShineSpdBtn.h"

#include "framework/Accessible.h"

namespace {

class TShineButtonAccessible : public QAccessibleWidget {
public:
    explicit TShineButtonAccessible(TShineSpeedButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return AccessibleNameOr(Button(), CaptionText());
        default: // the description is the hint
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

    void doAction(const QString &name) override
    {
        if (name == pressAction() && Button()->isEnabled())
            RunActionLater(Button(), [](TShineSpeedButton *b) { b->Click(); });
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
